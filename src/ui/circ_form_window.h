// The circuit list window `Circ_Form` (modal, caption " Circuit List"): the
// grid Grid_Circ with five records side by side, " &6-10" (`More`) for the
// other five, "&Print" (`Print_Circ_But`) and "&Return" (`Can_Cls_Circ`). It
// shows vst::CircuitListModel and never changes the design set.
#pragma once

#include <QDialog>

#include "reports/circuit_list.h"

class QPushButton;

namespace vst {
class Dialogs;
}

namespace vst::ui {

class ReportGrid;

class Circ_Form : public QDialog {
  Q_OBJECT
 public:
  // `dialogs` reports a failed print job; it must outlive the window.
  Circ_Form(const CircuitListRecords& records, UnitSystem units, bool internalMode, Dialogs& dialogs,
            QWidget* parent = nullptr);

  const CircuitListModel& model() const { return model_; }

 private:
  void draw();

  CircuitListModel model_;
  Dialogs& dialogs_;
  UnitSystem units_;  // the session's: the paper when the printer has none of its own
  ReportGrid* grid_ = nullptr;
  QPushButton* more_ = nullptr;
};

}  // namespace vst::ui
