// LineList: a plant's line list as a table of circuits (model:
// vst::LineListModel). "&Design all" (F5) designs every row on worker
// threads while the table fills in, with a progress bar, the count done and
// "Cancel"; input cells are edited in place (list cells offer the lists of
// the row's installation and unit system) and the row is redesigned at once;
// the status column says by text and by colour what became of each row; a
// filter box and a status filter narrow the rows. "Circuit BOM" and "Summary
// BOM" open the bill windows; the File menu saves the list, its results and
// its design files.
#pragma once

#include <QAbstractTableModel>
#include <QMainWindow>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "workspace/line_list_model.h"

class QAction;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace vst {
class Dialogs;
}

namespace vst::ui {

// The table of a line list over its toolkit-free model.
class LineListTable : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kSortRole = Qt::UserRole + 1;
  explicit LineListTable(LineListModel& model, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Rows [first, last] changed outside the table (a run's chunk).
  void rowsChanged(int first, int last);
  // A change of the whole table (its captions too), told to the views.
  void changeAll(const std::function<void()>& change);
  // A row added at the end, a copy of `from`; its row, -1 when none was added.
  int addRow(int from);
  // The model's undo, redo and row deletion with the rows announced to the
  // views; the row changed, -1 when nothing was done.
  int undo();
  int redo();
  int deleteRow(int row);
  LineListModel& model() { return model_; }

 private:
  // Takes one step back (undo) or forward (redo), the row it adds or
  // removes announced to the views.
  int replay(const std::optional<LineListModel::EditStep>& step, bool (LineListModel::*take)());
  LineListModel& model_;
};

// The filter box and the status filter over the table; numbers sort as numbers.
class LineListFilter : public QSortFilterProxyModel {
  Q_OBJECT
 public:
  LineListFilter(LineListModel& model, QObject* parent = nullptr);
  void setFilter(const QString& text, StatusFilter status);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  LineListModel& model_;
  std::string text_;
  StatusFilter status_ = StatusFilter::All;
};

// Editors of the input cells: a list for a list cell, a line for the others.
class LineListDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  LineListDelegate(LineListModel& model, const QSortFilterProxyModel& proxy, QObject* parent = nullptr);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

 private:
  LineListModel& model_;
  const QSortFilterProxyModel& proxy_;
};

class LineList : public QMainWindow {
  Q_OBJECT
 public:
  // `templatePath`: the design file template the design files are made from.
  LineList(std::unique_ptr<LineListModel> model, Dialogs& dialogs, std::filesystem::path templatePath,
           QWidget* parent = nullptr);
  ~LineList() override;

  LineListModel& model() { return *model_; }
  QTableView* table() const { return view_; }

  void designAll();
  void cancelDesign();
  void addRow();
  void deleteRow();
  void undo();
  void redo();
  void circuitBill();
  void summaryBill();
  bool saveList(bool askName);
  void saveResults();
  void saveDesignFiles();
  void print();    // the printer dialog, then the list's printout
  void savePdf();  // the printout into a PDF file the user names

 signals:
  // A run ended (cancelled or not) and its last results are in the table.
  void designFinished(bool cancelled);
  // F1: the window's help topic.
  void helpRequested(int context);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void applyFilter();
  void setUpGrid();
  QHBoxLayout* makeCommandBar();
  QHBoxLayout* makeFilterBar();
  void addFileMenu();
  void showDetails();
  void updateTitle();
  void updateCounts();
  int selectedRow() const;  // the source row, -1 for none
  void addEditMenu();
  QWidget* makeIgnoredBar();
  void refreshIgnoredBar();
  void readIgnoredAs(std::size_t index);
  QWidget* makeUnitsBar();
  void addUnitsMenu();
  void refreshUnits();  // the units label, the menu's check marks, the offer
  void openInUnits(UnitSystem units, PressureUnit pressure);
  void afterEdit(int row);  // an undo, redo or deletion changed `row`
  void updateEditActions();

  std::unique_ptr<LineListModel> model_;
  Dialogs& dialogs_;
  std::filesystem::path template_;
  LineListTable* table_ = nullptr;
  LineListFilter* proxy_ = nullptr;
  QTableView* view_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QComboBox* statusFilter_ = nullptr;
  QPushButton* design_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* count_ = nullptr;
  QLabel* summary_ = nullptr;
  QWidget* ignoredBar_ = nullptr;  // the columns the list does not read, with their suggestions
  QWidget* unitsBar_ = nullptr;    // the offer to open the list in the other unit system
  std::optional<LineListModel::UnitsOffer> unitsOffer_;  // what that bar offers, when shown
  QLabel* units_ = nullptr;  // the window's own unit system, pressure unit and mode
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QPlainTextEdit* details_ = nullptr;
  int shownRows_ = 0;  // rows of the run already redrawn
};

}  // namespace vst::ui
