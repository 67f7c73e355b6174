// The circuit list (window Circ_Form): the inputs and outputs of the ten
// records side by side in the grid Grid_Circ, one record per column, five
// records to a page. Every cell text is computed here; the window only shows
// them.
#pragma once

#include <array>
#include <string>

#include "core/design_record.h"

namespace vst {

inline constexpr int kCircuitListRows = 28;
inline constexpr int kCircuitListColumns = 6;      // row titles, then five records
inline constexpr int kCircuitListPageRecords = 5;  // records per page
inline constexpr int kCircuitListSecondPage = 5;   // first record (index) of page 2

// Column widths in twips: the row titles, and each record column (7615
// twips shared by five columns, truncated).
inline constexpr int kCircuitTitleColumnTwips = 1700;
inline constexpr int kCircuitRecordColumnTwips = 7615 / kCircuitListPageRecords;

using CircuitListRecords = std::array<DesignRecord, DesignSet::kRecords>;

// One page of the grid: every cell text by row and column, and which rows
// are shown. A hidden row's cells are empty.
struct CircuitListPage {
  std::array<std::array<std::string, kCircuitListColumns>, kCircuitListRows> cells{};
  std::array<bool, kCircuitListRows> rowVisible{};
};

// Whether a record fills its column: it holds a design, or its maximum
// ambient is not 0. (A designed circuit may well have a maximum ambient of
// 0 degrees, so the ambient alone would hide it.)
bool FillsCircuitListColumn(const DesignRecord& record);

// Whether the " &6-10" button shows: any of records 6 to 10 fills a column.
bool CircuitListHasSecondPage(const CircuitListRecords& records);

// Whether a row is shown in the mode: rows 25 to 27 only in InternalMode.
bool CircuitListRowVisible(int row, bool internalMode);

// Whether a cell is centred: rows 0 to 2 and the row titles of column 0.
bool CircuitListCellCentred(int row, int column);

// The page whose columns 1 to 5 show records firstRecord to firstRecord + 4
// (firstRecord 0 or kCircuitListSecondPage; other values are clamped to a
// page that exists).
CircuitListPage CircuitListCells(const CircuitListRecords& records, int firstRecord, UnitSystem units,
                                 bool internalMode);

// The state of the window Circ_Form: the page shown and the button `More`,
// which switches between records 1 to 5 and 6 to 10.
class CircuitListModel {
 public:
  // The records are copied: the list shows the set as it was when opened.
  CircuitListModel(const CircuitListRecords& records, UnitSystem units, bool internalMode);

  const CircuitListPage& page() const { return page_; }
  int firstRecord() const { return firstRecord_; }
  bool moreVisible() const { return moreVisible_; }
  // " &6-10" when the window opens, then "&1-5" and "&6-10" in turn.
  const std::string& moreCaption() const { return moreCaption_; }
  // `More` pressed: the other five records. Nothing while `More` is hidden.
  void more();

  // Both pages, for a layout that does not change between them.
  const CircuitListPage& otherPage() const { return otherPage_; }

 private:
  CircuitListRecords records_;
  UnitSystem units_;
  bool internalMode_;
  int firstRecord_ = 0;
  bool moreVisible_ = false;
  std::string moreCaption_ = " &6-10";
  CircuitListPage page_;
  CircuitListPage otherPage_;
};

}  // namespace vst
