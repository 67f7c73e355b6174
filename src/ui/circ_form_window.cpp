#include "ui/circ_form_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "ui/report_grid.h"
#include "ui/window_print.h"

namespace vst::ui {

Circ_Form::Circ_Form(const CircuitListRecords& records, UnitSystem units, bool internalMode, Dialogs& dialogs,
                     QWidget* parent)
    : QDialog(parent), model_(records, units, internalMode), dialogs_(dialogs), units_(units) {
  setObjectName(QStringLiteral("Circ_Form"));
  setWindowTitle(QStringLiteral(" Circuit List"));
  setModal(true);

  grid_ = new ReportGrid(QStringLiteral("Grid_Circ"), kCircuitListRows, kCircuitListColumns, this);
  grid_->setAccessibleName(QStringLiteral("Circuit list"));
  for (int row = 0; row < kCircuitListRows; ++row) {
    grid_->setRowHidden(row, !model_.page().rowVisible[static_cast<std::size_t>(row)]);
  }
  // Widths from twips, wide enough for what either page shows, so the
  // window keeps its size when `More` switches pages.
  for (int column = 0; column < kCircuitListColumns; ++column) {
    std::vector<std::string> texts;
    for (const CircuitListPage* page : {&model_.page(), &model_.otherPage()}) {
      for (const auto& row : page->cells) texts.push_back(row[static_cast<std::size_t>(column)]);
    }
    grid_->setColumnTwips(column, column == 0 ? kCircuitTitleColumnTwips : kCircuitRecordColumnTwips, texts);
  }
  grid_->setRowHeights(0);

  more_ = NewReportButton("More", "");
  auto* print = NewReportButton("Print_Circ_But", "&Print");
  auto* close = NewReportButton("Can_Cls_Circ", "&Return");
  connect(more_, &QPushButton::clicked, this, [this] {
    model_.more();
    draw();
  });
  connect(print, &QPushButton::clicked, this, [this] { PrintWindow(*this, dialogs_, units_); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  LayOutReport(*this, grid_, {more_, print, close});

  draw();
  adjustSize();
  CentreOnScreen(*this);
}

void Circ_Form::draw() {
  const CircuitListPage& page = model_.page();
  for (int row = 0; row < kCircuitListRows; ++row) {
    for (int column = 0; column < kCircuitListColumns; ++column) {
      grid_->setCell(row, column, page.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)],
                     CircuitListCellCentred(row, column));
    }
  }
  grid_->fitToCells();
  more_->setText(QString::fromUtf8(model_.moreCaption().c_str()));
  more_->setVisible(model_.moreVisible());
}

}  // namespace vst::ui
