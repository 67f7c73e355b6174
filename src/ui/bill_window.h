// Bill: the summary bill of materials of the design set (model:
// vst::BillModel). "&Print" prints it through the printer dialog, "&Export"
// writes it to a workbook and opens that with the desktop's program for
// spreadsheets, "&Return" closes the window.
#pragma once

#include <QDialog>
#include <functional>

#include "workspace/bill_models.h"

namespace vst {
class Dialogs;
}

namespace vst::ui {

// Opens a written file with the desktop's default program; false when none
// could. Tests replace it (an empty opener restores the desktop's).
using FileOpener = std::function<bool(const QString& path)>;
void SetFileOpener(FileOpener opener);

class Bill : public QDialog {
  Q_OBJECT
 public:
  // `units`: the session's unit system, which gives the paper when the
  // printer has none of its own.
  Bill(BillModel& model, Dialogs& dialogs, UnitSystem units, QWidget* parent = nullptr);

  void printBill();
  void exportBill();

 private:
  BillModel& model_;
  Dialogs& dialogs_;
  UnitSystem units_;
};

}  // namespace vst::ui
