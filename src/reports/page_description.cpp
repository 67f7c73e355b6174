#include "reports/page_description.h"

#include <utility>

namespace vst {

PageDescription& PageDescription::text(double pointSize, std::vector<PrintPiece> pieces) {
  lines.push_back({PrintLine::Kind::Text, pointSize, std::move(pieces)});
  return *this;
}

PageDescription& PageDescription::empty(double pointSize) {
  lines.push_back({PrintLine::Kind::Text, pointSize, {}});
  return *this;
}

PageDescription& PageDescription::rule() {
  lines.push_back({PrintLine::Kind::Rule, 0, {}});
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

}  // namespace vst
