// The Line List window's Edit menu: undo and redo of every edit, added row
// and deleted row (the model keeps the history), and Delete Row.
#include <QAction>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenuBar>
#include <QProgressBar>
#include <QTableView>
#include <algorithm>

#include "ui/line_list_window.h"
#include "ui/qt_text.h"

namespace vst::ui {

int LineListTable::replay(const std::optional<LineListModel::EditStep>& step, bool (LineListModel::*take)()) {
  if (step && step->kind != LineListModel::EditKind::Cell) {
    if (step->inserts) {
      beginInsertRows({}, step->row, step->row);
      (model_.*take)();
      endInsertRows();
    } else {
      beginRemoveRows({}, step->row, step->row);
      (model_.*take)();
      endRemoveRows();
    }
    rowsChanged(step->row, rowCount() - 1);
    return step->row;
  }
  if (!step || !(model_.*take)()) return -1;
  rowsChanged(step->row, step->row);
  return step->row;
}

int LineListTable::undo() { return replay(model_.undoStep(), &LineListModel::undo); }

int LineListTable::redo() { return replay(model_.redoStep(), &LineListModel::redo); }

int LineListTable::deleteRow(int row) {
  if (model_.running() || row < 0 || row >= rowCount()) return -1;
  beginRemoveRows({}, row, row);
  model_.deleteRow(row);
  endRemoveRows();
  rowsChanged(row, rowCount() - 1);
  return row;
}

void LineList::addEditMenu() {
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  edit->menuAction()->setObjectName(QStringLiteral("lineListEdit"));
  undo_ = edit->addAction(QStringLiteral("&Undo"));
  undo_->setObjectName(QStringLiteral("undoEdit"));
  undo_->setShortcut(QKeySequence::Undo);
  connect(undo_, &QAction::triggered, this, &LineList::undo);
  redo_ = edit->addAction(QStringLiteral("&Redo"));
  redo_->setObjectName(QStringLiteral("redoEdit"));
  redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  connect(redo_, &QAction::triggered, this, &LineList::redo);
  edit->addSeparator();
  QAction* remove = edit->addAction(QStringLiteral("&Delete Row"));
  remove->setObjectName(QStringLiteral("deleteRowAction"));
  remove->setShortcut(QKeySequence::Delete);
  // Only while the table itself has the focus: Delete in a cell's editor or
  // the filter box deletes text, never a row.
  remove->setShortcutContext(Qt::WidgetShortcut);
  view_->addAction(remove);
  connect(remove, &QAction::triggered, this, &LineList::deleteRow);
}

void LineList::updateEditActions() {
  if (!undo_) return;
  const std::string undoName = model_->undoStep() ? model_->undoName() : std::string();
  const std::string redoName = model_->redoStep() ? model_->redoName() : std::string();
  undo_->setEnabled(!undoName.empty());
  redo_->setEnabled(!redoName.empty());
  undo_->setText(undoName.empty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo %1").arg(Q(undoName)));
  redo_->setText(redoName.empty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo %1").arg(Q(redoName)));
}

void LineList::afterEdit(int row) {
  if (row >= 0) {
    const int shownRow = std::min(row, model_->rowCount() - 1);
    if (shownRow >= 0) {
      const QModelIndex shown = proxy_->mapFromSource(table_->index(shownRow, 1));
      if (shown.isValid()) {
        view_->setCurrentIndex(shown);
        view_->scrollTo(shown);
      }
    }
  }
  progress_->setRange(0, std::max(1, model_->rowCount()));
  updateTitle();
  updateCounts();
  showDetails();
}

void LineList::deleteRow() {
  if (model_->running()) return;
  afterEdit(table_->deleteRow(selectedRow()));
}

void LineList::undo() {
  if (model_->running()) return;
  view_->setFocus();  // an open editor ends first
  afterEdit(table_->undo());
}

void LineList::redo() {
  if (model_->running()) return;
  view_->setFocus();
  afterEdit(table_->redo());
}

}  // namespace vst::ui
