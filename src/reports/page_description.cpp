#include "reports/page_description.h"

#include <utility>

namespace vst {

PageDescription& PageDescription::text(double pointSize, std::vector<PrintPiece> pieces) {
  PrintLine line;
  line.pointSize = pointSize;
  line.pieces = std::move(pieces);
  lines.push_back(std::move(line));
  return *this;
}

PageDescription& PageDescription::empty(double pointSize) {
  PrintLine line;
  line.pointSize = pointSize;
  lines.push_back(std::move(line));
  return *this;
}

PageDescription& PageDescription::rule() {
  PrintLine line;
  line.kind = PrintLine::Kind::Rule;
  lines.push_back(std::move(line));
  return *this;
}

PageDescription& PageDescription::headingFrom(std::size_t first) {
  for (std::size_t i = first; i < lines.size(); ++i) lines[i].heading = true;
  return *this;
}

std::string PlainText(const PageDescription& page) {
  std::string out;
  for (const PrintLine& line : page.lines) {
    if (line.kind == PrintLine::Kind::Rule) {
      out += "----\n";
      continue;
    }
    std::string text;
    for (const PrintPiece& piece : line.pieces) {
      if (piece.column > 0 && !text.empty()) text += ' ';
      text += piece.text;
    }
    out += text + "\n";
  }
  return out;
}

Paper SessionPaper(UnitSystem units) { return units == UnitSystem::English ? Paper::Letter : Paper::A4; }

}  // namespace vst
