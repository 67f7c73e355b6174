#include "reports/line_list_printout.h"

#include <algorithm>
#include <string_view>

#include "core/utf8_text.h"

namespace vst {

namespace {

constexpr double kHeaderSize = 9;
constexpr double kTitleSize = 12;

int Characters(std::string_view text) { return static_cast<int>(Utf8Characters(text)); }

// A band: the table's columns [first, last) and the print column each starts at.
struct Band {
  std::size_t first = 0;
  std::size_t last = 0;
  std::vector<int> at;
};

// Columns packed into bands left to right, each band after the row number's
// own column; a column wider than a band takes a band of its own.
std::vector<Band> Bands(const std::vector<int>& widths, int start) {
  std::vector<Band> bands;
  int column = start;
  for (std::size_t c = 0; c < widths.size(); ++c) {
    if (bands.empty() ||
        (column + widths[c] > kTableBandColumns + 1 && bands.back().last > bands.back().first)) {
      bands.push_back({c, c, {}});
      column = start;
    }
    bands.back().at.push_back(column);
    bands.back().last = c + 1;
    column += widths[c];
  }
  return bands;
}

}  // namespace

PageDescription LineListPage(const PrintHeader& header, const TablePrintout& table) {
  PageDescription page;
  page.title = "Line List " + table.name;
  page.landscape = true;
  page.text(kHeaderSize, {{0, header.product}, {0, "   " + header.date + " " + header.time}});
  page.text(kTitleSize, {{0, "LINE LIST: " + table.name}});
  page.text(kHeaderSize,
            {{0, std::to_string(table.rows.size()) + (table.rows.size() == 1 ? " row" : " rows")}});
  page.empty(kHeaderSize);

  // Each column as wide as its heading or its longest text, within the limit.
  std::vector<int> widths;
  for (std::size_t c = 0; c < table.captions.size(); ++c) {
    int width = Characters(table.captions[c]);
    for (const auto& row : table.rows) {
      if (c < row.size()) width = std::max(width, Characters(row[c]));
    }
    // A fifth more than the characters: headings are capitals, wider than
    // the average character a print column measures.
    widths.push_back((std::min(width, kTableColumnWidthLimit) * 6 + 4) / 5 + 2);
  }
  const int numberWidth = std::max(Characters("Row"), Characters(std::to_string(table.rows.size()))) + 2;
  const std::vector<Band> bands = Bands(widths, 1 + numberWidth);

  const std::size_t headingStart = page.lines.size();
  for (std::size_t b = 0; b < bands.size(); ++b) {
    std::vector<PrintPiece> pieces{{1, b == 0 ? "Row" : ""}};
    for (std::size_t c = bands[b].first; c < bands[b].last; ++c)
      pieces.push_back({bands[b].at[c - bands[b].first], table.captions[c]});
    page.text(kTableTypeSize, std::move(pieces));
  }
  page.rule();
  page.headingFrom(headingStart);

  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const auto& row = table.rows[r];
    for (std::size_t b = 0; b < bands.size(); ++b) {
      std::vector<PrintPiece> pieces{{1, b == 0 ? std::to_string(r + 1) : ""}};
      for (std::size_t c = bands[b].first; c < bands[b].last; ++c)
        pieces.push_back({bands[b].at[c - bands[b].first], c < row.size() ? row[c] : std::string()});
      page.text(kTableTypeSize, std::move(pieces));
    }
    // A row of several bands is closed by a rule, so the next row reads apart.
    if (bands.size() > 1) page.rule();
  }
  return page;
}

}  // namespace vst
