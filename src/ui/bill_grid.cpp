#include "ui/bill_grid.h"

#include <QHeaderView>
#include <algorithm>

#include "ui/twips.h"

namespace vst::ui {

QTableWidget* NewBillGrid(const char* name, std::initializer_list<int> widthsTwips, QWidget* parent) {
  auto* grid = new QTableWidget(parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setColumnCount(static_cast<int>(widthsTwips.size()));
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->setFocusPolicy(Qt::NoFocus);
  grid->setWordWrap(false);
  grid->setTextElideMode(Qt::ElideNone);
  // Widths from the twips at the screen's resolution; WidenToContents then
  // keeps a text whole where the desktop font is wider.
  int column = 0;
  int total = 0;
  for (int twips : widthsTwips) {
    const int width = TwipsToPixels(twips, *grid);
    grid->setColumnWidth(column++, width);
    total += width;
  }
  grid->setMinimumWidth(total + 2 * grid->frameWidth() + 2);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  return grid;
}

void WidenToContents(QTableWidget& grid) {
  int total = 0;
  for (int c = 0; c < grid.columnCount(); ++c) {
    int needed = 0;
    for (int r = 0; r < grid.rowCount(); ++r) {
      if (const QTableWidgetItem* item = grid.item(r, c)) {
        QFontMetrics metrics(item->font());
        needed = std::max(needed, metrics.horizontalAdvance(item->text()));
      }
    }
    needed += 2 * grid.fontMetrics().averageCharWidth();
    if (needed > grid.columnWidth(c)) grid.setColumnWidth(c, needed);
    total += grid.columnWidth(c);
  }
  grid.setMinimumWidth(std::max(grid.minimumWidth(), total + 2 * grid.frameWidth() + 2));
}

int FullGridHeight(const QTableWidget& grid) {
  int height = 2 * grid.frameWidth();
  for (int r = 0; r < grid.rowCount(); ++r) height += grid.rowHeight(r);
  return height;
}

}  // namespace vst::ui
