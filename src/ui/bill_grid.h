// A read-only grid of a bill window (CktBillGrid, CktRptGrid, BillGrid): a
// table without headers whose row 0 holds the titles, column widths given
// in twips as the grid defines them.
#pragma once

#include <QTableWidget>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

namespace vst::ui {

// A grid named `name` with columns of the given widths (twips).
QTableWidget* NewBillGrid(const char* name, std::initializer_list<int> widthsTwips,
                          QWidget* parent = nullptr);

// Widens a column whose longest text does not fit its width.
void WidenToContents(QTableWidget& grid);

// Fills the grid with the rows; row 0 shown bold.
template <std::size_t N>
void FillBillGrid(QTableWidget& grid, const std::vector<std::array<std::string, N>>& rows) {
  grid.setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < static_cast<int>(N); ++c) {
      auto* item = new QTableWidgetItem(
          QString::fromStdString(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (r == 0) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      grid.setItem(r, c, item);
    }
  }
  WidenToContents(grid);
}

// The height that shows every row of the grid without scrolling.
int FullGridHeight(const QTableWidget& grid);

}  // namespace vst::ui
