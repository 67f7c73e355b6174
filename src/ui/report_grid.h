// The read-only grids of the report windows (Grid_Circ, RatingGrid): texts
// shown exactly as given, the first row and column shaded as fixed cells,
// column widths from twips, the whole grid shown without scroll bars.
#pragma once

#include <QTableWidget>
#include <algorithm>
#include <initializer_list>
#include <string>

class QPushButton;

namespace vst::ui {

// A command button of a report window under its control name.
QPushButton* NewReportButton(const char* name, const char* caption);

// Centres a window on the screen it is shown on.
void CentreOnScreen(QWidget& window);

// Lays a report window out: its grid centred above one centred row of its
// buttons, the window as large as its contents and fixed at that size.
void LayOutReport(QWidget& window, QWidget* grid, std::initializer_list<QPushButton*> buttons);

class ReportGrid : public QTableWidget {
  Q_OBJECT
 public:
  ReportGrid(const QString& name, int rows, int columns, QWidget* parent = nullptr);

  // Writes a cell; blanks before and after the text are kept.
  void setCell(int row, int column, const std::string& text, bool centred);

  // Sets a column's width from twips, widened where the widest of `texts`
  // (every text the column will ever show) would not fit, so nothing is cut.
  template <typename Texts>
  void setColumnTwips(int column, int twips, const Texts& texts) {
    int widest = 0;
    for (const auto& text : texts) widest = std::max(widest, textPixels(text));
    applyColumnWidth(column, twips, widest);
  }

  // Row heights: the share of `gridTwips` each shown row gets, at least the
  // height a line of text needs. Hidden rows have no height.
  void setRowHeights(int gridTwips);

  // Fixes the grid's size to its shown rows and columns, at least
  // `minWidthTwips` wide.
  void fitToCells(int minWidthTwips = 0);

  // The width a text needs in a cell, padding included.
  int textPixels(const std::string& text) const;

 private:
  void applyColumnWidth(int column, int twips, int textWidth);
};

}  // namespace vst::ui
