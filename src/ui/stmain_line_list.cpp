// The main window's way to a plant's line list: "Open Line List..." (Ctrl+L)
// in the Files menu opens a .csv or an .xlsx in a Line List window (headings
// the program does not read by itself mapped first), designed in the unit
// system, program mode, pressure unit and insulation sizing in force.
#include <QAction>
#include <QMenu>
#include <QSettings>

#include "core/message_titles.h"
#include "designfile/design_file.h"
#include "ui/line_list_window.h"
#include "ui/stmain.h"
#include "workspace/column_mapping.h"
#include "workspace/file_session.h"
#include "workspace/stmain_model.h"

namespace vst::ui {

namespace {
// The rows of the list the column mapping dialog shows beside the headings.
constexpr int kMappingPreviewRows = 3;
}  // namespace

void STmain::addLineListCommand() {
  QAction* open = nullptr;
  for (QAction* action : findChildren<QAction*>()) {
    if (action->objectName() == QLatin1String(kOpenFileItem)) open = action;
  }
  auto* files = open ? qobject_cast<QMenu*>(open->parent()) : nullptr;
  if (!files) return;
  auto* command = new QAction(QStringLiteral("Open Line &List..."), files);
  command->setObjectName(QStringLiteral("OpenLineList"));
  command->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  const QList<QAction*> items = files->actions();
  const int at = static_cast<int>(items.indexOf(open));
  files->insertAction(at + 1 < items.size() ? items[at + 1] : nullptr, command);
  connect(command, &QAction::triggered, this, [this] { openLineList(); });
}

LineList* STmain::openLineList(const QString& path) {
  std::string chosen = path.toStdString();
  if (chosen.empty()) {
    FileDialogSpec spec;
    spec.title = "Open Line List";
    spec.startFolder = files_ ? files_->startFolder().string() : std::string();
    spec.filters = {"Line lists (*.csv *.xlsx)", "All files (*)"};
    auto name = dialogs_->openFileName(spec);
    if (!name || name->empty()) return nullptr;
    chosen = *name;
  }
  // A workbook of several sheets: the one that holds the list.
  std::string error;
  std::string sheet;
  const auto sheets = LineListModel::WorkbookSheets(chosen, error);
  if (sheets.size() > 1) {
    const auto at = dialogs_->chooseItem("Open Line List", "The sheet that holds the line list:", sheets);
    if (!at) return nullptr;
    sheet = sheets[*at];
  }
  BatchOptions options = OptionsOf(model_->context());
  // Headings the program does not read by itself: the column mapping
  // dialog first, or the mapping remembered for the same headings.
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> preview;
  if (LineListModel::Peek(chosen, sheet, kMappingPreviewRows, header, preview, error)) {
    ColumnMappingModel mapping(header, preview, options);
    QSettings settings;
    const QString key = QStringLiteral("ColumnMaps/") + QString::fromStdString(mapping.settingsKey());
    std::string remember;
    if (!MapColumnsBeforeOpening(mapping, settings.value(key).toString().toStdString(), *dialogs_, remember))
      return nullptr;
    if (!remember.empty()) settings.setValue(key, QString::fromStdString(remember));
    options.columns = mapping.map();
  }
  error.clear();
  auto list = LineListModel::Open(chosen, options, error, sheet);
  if (!list) {
    dialogs_->message(Message{"The line list was not opened: " + error + ".", kErrorTitle,
                              MsgIcon::Exclamation, MsgButtons::Ok, false});
    return nullptr;
  }
  auto* window = new LineList(std::move(list), *dialogs_, TemplatePath(programFolder()), this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(window, &LineList::helpRequested, this, [this](int context) { showHelp(context); });
  window->show();
  return window;
}

bool STmain::closeLineLists() {
  for (LineList* list : findChildren<LineList*>()) {
    if (list->isVisible() && !list->close()) return false;
  }
  return true;
}

}  // namespace vst::ui
