#include "ui/report_grid.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt_text.h"
#include "ui/twips.h"

namespace vst::ui {

namespace {

constexpr int kCellPadding = 10;  // pixels beside a text, both sides together
constexpr int kLinePadding = 6;   // pixels above and below a line of text, together

}  // namespace

QPushButton* NewReportButton(const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption));
  button->setObjectName(QString::fromUtf8(name));
  button->setAutoDefault(false);
  // Wide enough for the longest caption of the report windows.
  button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("Return")) + 40);
  return button;
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

ReportGrid::ReportGrid(const QString& name, int rows, int columns, QWidget* parent)
    : QTableWidget(rows, columns, parent) {
  setObjectName(name);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setMinimumSectionSize(0);
  verticalHeader()->setMinimumSectionSize(0);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);
}

void ReportGrid::setCell(int row, int column, const std::string& text, bool centred) {
  QTableWidgetItem* cell = item(row, column);
  if (cell == nullptr) {
    cell = new QTableWidgetItem;
    // The first row and column are the grid's fixed cells.
    if (row == 0 || column == 0) cell->setBackground(palette().button());
    setItem(row, column, cell);
  }
  cell->setText(Q(text));
  cell->setTextAlignment(Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignLeft));
}

int ReportGrid::textPixels(const std::string& text) const {
  if (text.empty()) return 0;
  return fontMetrics().horizontalAdvance(Q(text)) + kCellPadding;
}

void ReportGrid::applyColumnWidth(int column, int twips, int textWidth) {
  setColumnWidth(column, std::max(TwipsToPixels(twips, *this), textWidth));
}

void ReportGrid::setRowHeights(int gridTwips) {
  int shown = 0;
  for (int row = 0; row < rowCount(); ++row) shown += isRowHidden(row) ? 0 : 1;
  const int share = shown > 0 ? TwipsToPixels(gridTwips, *this) / shown : 0;
  const int height = std::max(share, fontMetrics().height() + kLinePadding);
  for (int row = 0; row < rowCount(); ++row) setRowHeight(row, height);
}

void ReportGrid::fitToCells(int minWidthTwips) {
  int width = 0;
  for (int column = 0; column < columnCount(); ++column)
    width += isColumnHidden(column) ? 0 : columnWidth(column);
  int height = 0;
  for (int row = 0; row < rowCount(); ++row) height += isRowHidden(row) ? 0 : rowHeight(row);
  const int frame = 2 * frameWidth();
  setFixedSize(std::max(width + frame, TwipsToPixels(minWidthTwips, *this)), height + frame);
}

void LayOutReport(QWidget& window, QWidget* grid, std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* button : buttons) row->addWidget(button);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(grid, 0, Qt::AlignHCenter);
  layout->addLayout(row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vst::ui
