// The ratings window `Ratings` (modal): the grid RatingGrid with the
// products' temperature limits and water solubility, " &More" (`More`) for
// packaging, shelf life and sizes, " &Back" (`Back`) to return, "&Print"
// (`PrintBill`) and " &Return" (`Done1`). It shows vst::RatingsModel.
#pragma once

#include <QDialog>

#include "reports/ratings.h"

class QPushButton;

namespace vst {
class Dialogs;
}

namespace vst::ui {

class ReportGrid;

class Ratings : public QDialog {
  Q_OBJECT
 public:
  // `dialogs` reports a failed print job; it must outlive the window.
  Ratings(UnitSystem units, bool internalMode, Dialogs& dialogs, QWidget* parent = nullptr);

  const RatingsModel& model() const { return model_; }

 private:
  void draw();

  RatingsModel model_;
  Dialogs& dialogs_;
  UnitSystem units_;  // the session's: the paper when the printer has none of its own
  ReportGrid* grid_ = nullptr;
  QPushButton* more_ = nullptr;
  QPushButton* back_ = nullptr;
};

}  // namespace vst::ui
