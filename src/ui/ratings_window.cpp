#include "ui/ratings_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "ui/report_grid.h"
#include "ui/window_print.h"

namespace vst::ui {

Ratings::Ratings(UnitSystem units, bool internalMode, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), model_(units, internalMode), dialogs_(dialogs), units_(units) {
  setObjectName(QStringLiteral("Ratings"));
  setWindowTitle(QStringLiteral("Ratings"));
  setModal(true);

  grid_ = new ReportGrid(QStringLiteral("RatingGrid"), kRatingRows, kRatingColumns, this);
  grid_->setAccessibleName(QStringLiteral("Ratings"));
  more_ = NewReportButton("More", " &More");
  back_ = NewReportButton("Back", " &Back");
  auto* print = NewReportButton("PrintBill", "&Print");
  auto* done = NewReportButton("Done1", " &Return");
  connect(more_, &QPushButton::clicked, this, [this] {
    model_.more();
    draw();
  });
  connect(back_, &QPushButton::clicked, this, [this] {
    model_.back();
    draw();
  });
  connect(print, &QPushButton::clicked, this, [this] { PrintWindow(*this, dialogs_, units_); });
  connect(done, &QPushButton::clicked, this, &QDialog::accept);

  // " &Back" takes the place of " &More" on the second page.
  LayOutReport(*this, grid_, {more_, back_, print, done});

  draw();
  adjustSize();
  CentreOnScreen(*this);
}

void Ratings::draw() {
  const RatingsPage& page = model_.page();
  for (int row = 0; row < kRatingRows; ++row) {
    const auto r = static_cast<std::size_t>(row);
    grid_->setRowHidden(row, !page.rowVisible[r]);
    for (int column = 0; column < kRatingColumns; ++column) {
      grid_->setCell(row, column, page.cells[r][static_cast<std::size_t>(column)], row == 0);
    }
  }
  for (int column = 0; column < kRatingColumns; ++column) {
    std::vector<std::string> texts;
    for (const auto& row : page.cells) texts.push_back(row[static_cast<std::size_t>(column)]);
    grid_->setColumnTwips(column, page.columnTwips[static_cast<std::size_t>(column)], texts);
  }
  grid_->setRowHeights(page.gridHeightTwips);
  grid_->fitToCells(page.gridWidthTwips);
  more_->setVisible(model_.moreVisible());
  back_->setVisible(model_.backVisible());
}

}  // namespace vst::ui
