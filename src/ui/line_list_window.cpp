#include "ui/line_list_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <ctime>
#include <filesystem>

#include "ui/background_work.h"
#include "ui/bill_window.h"
#include "ui/cktbill_window.h"
#include "ui/qt_text.h"

namespace vst::ui {

namespace {

// The status colours: a light background that dark text reads on. The
// status text says the same, so nothing depends on the colour alone.
QColor StatusColor(RowStatus status) {
  switch (status) {
    case RowStatus::Designed:
      return QColor(0xd8, 0xf0, 0xd8);
    case RowStatus::BelowTarget:
      return QColor(0xff, 0xf0, 0xa8);
    case RowStatus::Corrected:
      return QColor(0xd8, 0xe6, 0xff);
    case RowStatus::NotDesigned:
      return QColor(0xff, 0xd0, 0xd0);
    case RowStatus::Waiting:
      break;
  }
  return {};
}

// A mark in front of the status text, readable without colour.
const char* StatusMark(RowStatus status) {
  switch (status) {
    case RowStatus::Designed:
      return "\u2714 ";  // heavy check mark
    case RowStatus::BelowTarget:
      return "\u25BC ";  // down-pointing triangle
    case RowStatus::Corrected:
      return "\u270E ";  // pencil
    case RowStatus::NotDesigned:
      return "\u2716 ";  // heavy multiplication x
    case RowStatus::Waiting:
      break;
  }
  return "";
}

}  // namespace

LineListTable::LineListTable(LineListModel& model, QObject* parent)
    : QAbstractTableModel(parent), model_(model) {}

int LineListTable::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : model_.rowCount();
}

int LineListTable::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : model_.columnCount();
}

QVariant LineListTable::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const int column = index.column();
  const bool statusColumn = model_.columns()[static_cast<std::size_t>(column)].kind == LineColumnKind::Status;
  switch (role) {
    case Qt::DisplayRole:
      if (statusColumn) return Q(StatusMark(model_.status(row)) + model_.statusText(row));
      return Q(model_.cellText(row, column));
    case Qt::EditRole:
      return Q(model_.cellText(row, column));
    case Qt::ToolTipRole:
      return Q(model_.details(row));
    case Qt::BackgroundRole: {
      const QColor color = StatusColor(model_.status(row));
      if (!color.isValid()) return {};
      // The status cell in its colour, the rest of the row lighter.
      return statusColumn ? color : color.lighter(106);
    }
    case Qt::ForegroundRole:
      if (model_.status(row) != RowStatus::Waiting) return QColor(Qt::black);
      return {};
    case kSortRole: {
      if (auto n = model_.sortNumber(row, column)) return *n;
      return Q(model_.cellText(row, column));
    }
    default:
      return {};
  }
}

QVariant LineListTable::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
  const LineColumn& column = model_.columns().at(static_cast<std::size_t>(section));
  // The caption on the header, the field code a line list names it by in its tooltip.
  if (role == Qt::DisplayRole) return Q(column.caption);
  if (role == Qt::ToolTipRole && !column.code.empty()) return Q(column.code);
  return {};
}

Qt::ItemFlags LineListTable::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.isValid() && model_.editable(index.row(), index.column())) f |= Qt::ItemIsEditable;
  return f;
}

bool LineListTable::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  if (!model_.setCell(index.row(), index.column(), value.toString().toStdString())) return false;
  rowsChanged(index.row(), index.row());
  return true;
}

void LineListTable::rowsChanged(int first, int last) {
  if (first > last || model_.columnCount() == 0) return;
  emit dataChanged(index(first, 0), index(last, model_.columnCount() - 1));
}

int LineListTable::addRow(int from) {
  if (model_.running()) return -1;
  const int at = model_.rowCount();
  beginInsertRows({}, at, at);
  const auto added = model_.addRow(from);
  endInsertRows();
  return added ? *added : -1;
}

LineListFilter::LineListFilter(LineListModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
  setSortRole(LineListTable::kSortRole);
}

void LineListFilter::setFilter(const QString& text, StatusFilter status) {
  text_ = text.toStdString();
  status_ = status;
  invalidateFilter();
}

bool LineListFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  return model_.shown(sourceRow, text_, status_);
}

bool LineListFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const QVariant a = left.data(LineListTable::kSortRole);
  const QVariant b = right.data(LineListTable::kSortRole);
  const bool an = a.typeId() == QMetaType::Double;
  const bool bn = b.typeId() == QMetaType::Double;
  // Numbers before texts; numbers by value, texts as a person reads them.
  if (an && bn) return a.toDouble() < b.toDouble();
  if (an != bn) return an;
  return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
}

LineListDelegate::LineListDelegate(LineListModel& model, const QSortFilterProxyModel& proxy, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), proxy_(proxy) {}

QWidget* LineListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
  const QModelIndex source = proxy_.mapToSource(index);
  const auto choices = model_.choices(source.row(), source.column());
  if (choices.empty()) return QStyledItemDelegate::createEditor(parent, option, index);
  auto* box = new QComboBox(parent);
  box->setObjectName(QStringLiteral("cellChoices"));
  for (const auto& c : choices) box->addItem(Q(c));
  return box;
}

void LineListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    const QString text = index.data(Qt::EditRole).toString().trimmed();
    int at = box->findText(text, Qt::MatchFixedString);
    if (at < 0) {
      // A number written another way ("2" for "2.0") still finds its entry.
      bool ok = false;
      const double v = text.toDouble(&ok);
      for (int i = 0; ok && i < box->count() && at < 0; ++i) {
        bool entryOk = false;
        if (box->itemText(i).trimmed().toDouble(&entryOk) == v && entryOk) at = i;
      }
    }
    box->setCurrentIndex(at);
    return;
  }
  QStyledItemDelegate::setEditorData(editor, index);
}

void LineListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    if (box->currentIndex() >= 0) model->setData(index, box->currentText(), Qt::EditRole);
    return;
  }
  QStyledItemDelegate::setModelData(editor, model, index);
}

LineList::LineList(std::unique_ptr<LineListModel> model, Dialogs& dialogs, std::filesystem::path templatePath,
                   QWidget* parent)
    : QMainWindow(parent), model_(std::move(model)), dialogs_(dialogs), template_(std::move(templatePath)) {
  setObjectName(QStringLiteral("LineList"));
  setWindowFlag(Qt::Window);
  table_ = new LineListTable(*model_, this);
  proxy_ = new LineListFilter(*model_, this);
  proxy_->setSourceModel(table_);

  setUpGrid();
  QHBoxLayout* commands = makeCommandBar();
  QHBoxLayout* filters = makeFilterBar();

  details_ = new QPlainTextEdit;
  details_->setObjectName(QStringLiteral("rowDetails"));
  details_->setAccessibleName(QStringLiteral("Row details"));
  details_->setReadOnly(true);
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(view_);
  split->addWidget(details_);
  split->setStretchFactor(0, 4);
  split->setStretchFactor(1, 1);

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->addLayout(commands);
  layout->addLayout(filters);
  layout->addWidget(makeIgnoredBar());
  layout->addWidget(makeUnitsBar());
  layout->addWidget(split, 1);
  setCentralWidget(central);

  addFileMenu();
  addEditMenu();
  addUnitsMenu();

  resize(1180, 640);
  view_->setFocus();  // the keys move in the table from the start
  updateTitle();
  updateCounts();
  showDetails();
  refreshUnits();
}

// The grid of the list: the rows through the status and text filters,
// columns as wide as their captions; a change of a row shows its details.
void LineList::setUpGrid() {
  view_ = new QTableView;
  view_->setObjectName(QStringLiteral("LineListGrid"));
  view_->setAccessibleName(QStringLiteral("Line list"));
  view_->setModel(proxy_);
  view_->setItemDelegate(new LineListDelegate(*model_, *proxy_, view_));
  view_->setSortingEnabled(true);
  view_->sortByColumn(-1, Qt::AscendingOrder);  // the file's order until a header is clicked
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  // A cell is edited on a double click, F2 or Enter, never on a bare
  // keystroke: a stray key must not overwrite a circuit number.
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  connect(view_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
    if (index.flags() & Qt::ItemIsEditable) view_->edit(index);
  });
  view_->setWordWrap(false);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  // Uniform rows and fixed column widths keep a long list cheap to scroll.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view_->horizontalHeader()->setDefaultSectionSize(96);
  // Each column as wide as its caption (units included), the status wider:
  // measured from the captions alone, so a long list opens at once.
  const QFontMetrics captions(view_->horizontalHeader()->font());
  for (int c = 1; c < model_->columnCount(); ++c) {
    const int width =
        captions.horizontalAdvance(Q(model_->columns()[static_cast<std::size_t>(c)].caption)) + 24;
    view_->setColumnWidth(c, std::max(96, width));
  }
  view_->setColumnWidth(0, 290);
  connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LineList::showDetails);
  connect(table_, &QAbstractItemModel::dataChanged, this, [this] {
    if (model_->running()) return;  // a run's chunk: the counts follow at its end
    showDetails();
    updateTitle();
    updateCounts();
  });
}

// The design, cancel, progress, row and bill commands, with F5 and the help
// key.
QHBoxLayout* LineList::makeCommandBar() {
  design_ = new QPushButton(QStringLiteral("&Design all"));
  design_->setObjectName(QStringLiteral("designAll"));
  design_->setToolTip(QStringLiteral("Design every row (F5)"));
  cancel_ = new QPushButton(QStringLiteral("Cancel"));
  cancel_->setObjectName(QStringLiteral("cancelDesign"));
  cancel_->setEnabled(false);
  progress_ = new QProgressBar;
  progress_->setObjectName(QStringLiteral("designProgress"));
  progress_->setAccessibleName(QStringLiteral("Design progress"));
  progress_->setRange(0, std::max(1, model_->rowCount()));
  progress_->setValue(0);
  count_ = new QLabel;
  count_->setObjectName(QStringLiteral("designCount"));
  auto* addButton = new QPushButton(QStringLiteral("Add &Row"));
  addButton->setObjectName(QStringLiteral("addRow"));
  addButton->setToolTip(QStringLiteral("Add a row at the end, a copy of the selected row"));
  connect(addButton, &QPushButton::clicked, this, &LineList::addRow);
  auto* deleteButton = new QPushButton(QStringLiteral("Dele&te Row"));
  deleteButton->setObjectName(QStringLiteral("deleteRow"));
  deleteButton->setToolTip(QStringLiteral("Delete the selected row (Del); Ctrl+Z brings it back"));
  connect(deleteButton, &QPushButton::clicked, this, &LineList::deleteRow);
  auto* circuitBom = new QPushButton(QStringLiteral("&Circuit BOM"));
  circuitBom->setObjectName(QStringLiteral("circuitBom"));
  auto* summaryBom = new QPushButton(QStringLiteral("&Summary BOM"));
  summaryBom->setObjectName(QStringLiteral("summaryBom"));
  connect(design_, &QPushButton::clicked, this, &LineList::designAll);
  connect(cancel_, &QPushButton::clicked, this, &LineList::cancelDesign);
  connect(circuitBom, &QPushButton::clicked, this, &LineList::circuitBill);
  connect(summaryBom, &QPushButton::clicked, this, &LineList::summaryBill);
  auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(f5, &QShortcut::activated, this, &LineList::designAll);
  auto* help = new QShortcut(QKeySequence::HelpContents, this);
  connect(help, &QShortcut::activated, this, [this] { emit helpRequested(kLineListHelpContext); });
  auto* commands = new QHBoxLayout;
  commands->addWidget(design_);
  commands->addWidget(cancel_);
  commands->addWidget(progress_, 1);
  commands->addWidget(count_);
  commands->addSpacing(12);
  commands->addWidget(addButton);
  commands->addWidget(deleteButton);
  commands->addWidget(circuitBom);
  commands->addWidget(summaryBom);
  return commands;
}

// The text filter, the status filter, the counts of each status and the
// units in use.
QHBoxLayout* LineList::makeFilterBar() {
  filter_ = new QLineEdit;
  filter_->setObjectName(QStringLiteral("filterText"));
  filter_->setPlaceholderText(QStringLiteral("Filter rows"));
  filter_->setClearButtonEnabled(true);
  auto* filterLabel = new QLabel(QStringLiteral("Fi&lter:"));
  filterLabel->setObjectName(QStringLiteral("lblFilter"));
  filterLabel->setBuddy(filter_);
  statusFilter_ = new QComboBox;
  statusFilter_->setObjectName(QStringLiteral("statusFilter"));
  for (const auto& name : StatusFilterNames()) statusFilter_->addItem(Q(name));
  auto* statusLabel = new QLabel(QStringLiteral("S&how:"));
  statusLabel->setObjectName(QStringLiteral("lblShow"));
  statusLabel->setBuddy(statusFilter_);
  connect(filter_, &QLineEdit::textChanged, this, &LineList::applyFilter);
  connect(statusFilter_, &QComboBox::currentIndexChanged, this, &LineList::applyFilter);
  summary_ = new QLabel;
  summary_->setObjectName(QStringLiteral("statusCounts"));
  auto* filters = new QHBoxLayout;
  filters->addWidget(filterLabel);
  filters->addWidget(filter_, 1);
  filters->addWidget(statusLabel);
  filters->addWidget(statusFilter_);
  filters->addWidget(summary_);
  units_ = new QLabel;
  units_->setObjectName(QStringLiteral("unitsInUse"));
  filters->addWidget(units_);
  return filters;
}

// The File menu: the saves of the list, of its results and of its design
// files, printing, and Close.
void LineList::addFileMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->menuAction()->setObjectName(QStringLiteral("lineListFile"));
  auto add = [&](const char* name, const QString& caption, const QKeySequence& keys, auto slot) {
    QAction* a = file->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (!keys.isEmpty()) a->setShortcut(keys);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  add("saveList", QStringLiteral("&Save Line List"), QKeySequence::Save, [this] { saveList(false); });
  add("saveListAs", QStringLiteral("Save Line List &As..."), QKeySequence::SaveAs,
      [this] { saveList(true); });
  add("saveResults", QStringLiteral("Save &Results..."), QKeySequence(), [this] { saveResults(); });
  add("saveDesignFiles", QStringLiteral("Save &Design Files..."), QKeySequence(),
      [this] { saveDesignFiles(); });
  file->addSeparator();
  add("printList", QStringLiteral("&Print..."), QKeySequence::Print, [this] { print(); });
  add("savePdf", QStringLiteral("Save as PD&F..."), QKeySequence(), [this] { savePdf(); });
  file->addSeparator();
  add("closeList", QStringLiteral("&Close"), QKeySequence::Close, [this] { close(); });
}

LineList::~LineList() {
  // The worker ends before the model goes; its queued posts die with this window.
  model_->cancel();
  model_->join();
  // The views read the model while Qt takes them down: they go before it.
  delete takeCentralWidget();
  delete proxy_;
  delete table_;
}

void LineList::designAll() {
  if (model_->running()) return;
  view_->setFocus();  // an open editor gives its text to the row before the run
  design_->setEnabled(false);
  cancel_->setEnabled(true);
  progress_->setValue(0);
  count_->setText(QStringLiteral("0 of %1").arg(QLocale().toString(model_->rowCount())));
  // The rows keep their places while results arrive; sorting and the
  // filter apply again once the run is over.
  proxy_->setDynamicSortFilter(false);
  const PostToWindow post = [this](std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
  };
  shownRows_ = 0;
  const bool started = model_->startDesignAll(
      post,
      [this](int done, int total) {
        table_->rowsChanged(shownRows_, done - 1);
        shownRows_ = done;
        progress_->setValue(done);
        updateCounts();
        count_->setText(QStringLiteral("%1 of %2").arg(QLocale().toString(done), QLocale().toString(total)));
      },
      [this](bool cancelled) {
        design_->setEnabled(true);
        cancel_->setEnabled(false);
        proxy_->setDynamicSortFilter(true);
        proxy_->invalidate();
        updateCounts();
        showDetails();
        updateEditActions();
        refreshUnits();
        if (cancelled) count_->setText(count_->text() + QStringLiteral(" (cancelled)"));
        emit designFinished(cancelled);
      });
  if (started) updateEditActions();  // no undo while rows are being designed
}

void LineList::cancelDesign() { model_->cancel(); }

void LineList::addRow() {
  if (model_->running()) return;
  const int row = table_->addRow(selectedRow());
  if (row < 0) return;
  progress_->setRange(0, std::max(1, model_->rowCount()));
  // The new row shown whatever the filter, current and ready for its edits.
  filter_->clear();
  statusFilter_->setCurrentIndex(0);
  const QModelIndex shown = proxy_->mapFromSource(table_->index(row, 1));
  view_->setCurrentIndex(shown);
  view_->scrollTo(shown);
  view_->setFocus();
  updateTitle();
  updateCounts();
}

int LineList::selectedRow() const {
  const QModelIndex current = view_->currentIndex();
  if (!current.isValid()) return -1;
  return proxy_->mapToSource(current).row();
}

void LineList::circuitBill() {
  const int row = selectedRow();
  if (auto refusal = model_->circuitBillRefusal(row)) {
    dialogs_.message(*refusal);
    return;
  }
  CktBillModel bill(std::move(*model_->circuitReport(row)), std::time(nullptr));
  CktBill(bill, dialogs_, model_->options().units, this).exec();
}

void LineList::summaryBill() {
  if (auto refusal = model_->summaryBillRefusal()) {
    dialogs_.message(*refusal);
    return;
  }
  BillModel bill(model_->summaryBill());
  Bill(bill, dialogs_, model_->options().units, this).exec();
}

bool LineList::saveList(bool askName) {
  std::string path = model_->path();
  if (model_->saveListAsksName(askName)) {
    auto chosen = dialogs_.saveFileName(model_->saveDialog(LineListModel::SaveKind::List));
    if (!chosen || chosen->empty()) return false;
    path = *chosen;
  }
  if (auto failed = LineListModel::SaveFailed(LineListModel::SaveKind::List, path, model_->saveList(path))) {
    dialogs_.message(*failed);
    return false;
  }
  updateTitle();
  return true;
}

void LineList::saveResults() {
  using Kind = LineListModel::SaveKind;
  auto chosen = dialogs_.saveFileName(model_->saveDialog(Kind::Results));
  if (!chosen || chosen->empty()) return;
  const auto format = LineListModel::ResultFormatOf(*chosen);
  const std::string problem = RunWithProgress(
      this, Q(LineListModel::SavingText(Kind::Results, *chosen)),
      [&](const WorkProgress& progress) { return model_->saveResults(*chosen, format, progress); });
  if (auto failed = LineListModel::SaveFailed(Kind::Results, *chosen, problem)) dialogs_.message(*failed);
}

void LineList::saveDesignFiles() {
  using Kind = LineListModel::SaveKind;
  auto chosen = dialogs_.saveFileName(model_->saveDialog(Kind::DesignFiles, template_.string()));
  if (!chosen || chosen->empty()) return;
  std::vector<std::string> written;
  const std::string problem = RunWithProgress(
      this, Q(LineListModel::SavingText(Kind::DesignFiles, *chosen)), [&](const WorkProgress& progress) {
        return model_->saveDesignFiles(*chosen, template_.string(), written, progress);
      });
  if (auto failed = LineListModel::SaveFailed(Kind::DesignFiles, *chosen, problem)) {
    dialogs_.message(*failed);
  } else if (problem.empty()) {
    dialogs_.message(LineListModel::DesignFilesSaved(written));
  }
}

void LineList::closeEvent(QCloseEvent* event) {
  if (!model_->queryClose(dialogs_, [this] { return saveList(false); })) {
    event->ignore();
    return;
  }
  model_->cancel();
  event->accept();
}

void LineList::applyFilter() {
  model_->releaseKeptRows();  // the filter chosen again: rows edited under it go when they no longer match
  proxy_->setFilter(filter_->text(), static_cast<StatusFilter>(std::max(0, statusFilter_->currentIndex())));
}

void LineList::showDetails() { details_->setPlainText(Q(model_->detailsPane(selectedRow()))); }

void LineList::updateTitle() {
  updateEditActions();
  setWindowTitle(Q(model_->windowTitle()));
}

void LineList::updateCounts() {
  const QLocale locale;
  summary_->setText(QStringLiteral("%1 rows: %2 designed, %3 below target, %4 corrected, %5 not designed")
                        .arg(locale.toString(model_->rowCount()), locale.toString(model_->designedCount()),
                             locale.toString(model_->count(StatusFilter::BelowTarget)),
                             locale.toString(model_->count(StatusFilter::Corrected)),
                             locale.toString(model_->count(StatusFilter::NotDesigned))));
}

}  // namespace vst::ui
