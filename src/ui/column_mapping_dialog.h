// The column mapping dialog: one row per heading of the list, with the
// column it gives (a list of the columns and "Ignore"), the first rows of
// the list beside it, the required columns no heading gives named below,
// and "Save Map..." to keep the mapping as a map file for vantrel-design
// --columns. It draws ColumnMappingModel and hands every choice to it.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace vst {
class ColumnMappingModel;
class Dialogs;
}  // namespace vst

namespace vst::ui {

class ColumnMappingDialog : public QDialog {
 public:
  ColumnMappingDialog(ColumnMappingModel& model, Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  void redraw();
  void saveMap();

  ColumnMappingModel& model_;
  Dialogs& dialogs_;
  QTableWidget* table_;
  QLabel* problem_;
  QPushButton* ok_;
};

}  // namespace vst::ui
