// The printout of a line list: the table the Line List window shows (every
// row with its status, the names, the results and the inputs, each heading
// with its unit), on landscape pages in a small type. A row whose columns do
// not fit across the page continues on further lines (bands) under the same
// heading layout, so no column is left out; the heading lines stand at the
// top of every page.
#pragma once

#include <string>
#include <vector>

#include "reports/bill_printout.h"
#include "reports/page_description.h"

namespace vst {

struct TablePrintout {
  std::string name;                            // the list's file name
  std::vector<std::string> captions;           // with their units
  std::vector<std::vector<std::string>> rows;  // one text per caption
};

// Print columns a band of the table may take: landscape Letter within its
// margins holds about 205 average characters of the desktop's font at the
// type size below; the rest is room for a wider font (the page painter wraps
// what still does not fit).
inline constexpr int kTableBandColumns = 190;
inline constexpr double kTableTypeSize = 7;
// The widest a column is laid out; a longer text (a status with its
// reason) wraps inside its cell.
inline constexpr int kTableColumnWidthLimit = 36;

PageDescription LineListPage(const PrintHeader& header, const TablePrintout& table);

}  // namespace vst
