// CktBill: the circuit report and bill of materials of the main window's
// current record (model: vst::CktBillModel). "&Print" prints the report
// through the printer dialog; "&Return" closes the window.
#pragma once

#include <QDialog>
#include <QTimer>

#include "workspace/bill_models.h"

class QLabel;
class QTableWidget;

namespace vst {
class Dialogs;
}

namespace vst::ui {

class CktBill : public QDialog {
  Q_OBJECT
 public:
  // `units`: the session's unit system, which gives the paper when the
  // printer has none of its own.
  CktBill(CktBillModel& model, Dialogs& dialogs, UnitSystem units, QWidget* parent = nullptr);

  // The print command: the printer dialog, then the printout.
  void printReport();

 private:
  void redrawClock();

  CktBillModel& model_;
  Dialogs& dialogs_;
  UnitSystem units_;
  QTimer timer_;  // Timer1
  QLabel* time_ = nullptr;
  QLabel* date_ = nullptr;
};

}  // namespace vst::ui
