// What the main window does as a desktop program: keyboard shortcuts, label
// buddies and accessible names, the tab order, the window title with the
// open file, and the "&Files" commands with the folder and recent files
// remembered between runs (QSettings).
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QStandardPaths>

#include "ui/binder.h"
#include "ui/qt_text.h"
#include "ui/stmain.h"
#include "workspace/file_commands.h"

namespace vst::ui {
namespace {

const QString kLastFolderKey = QStringLiteral("files/lastFolder");
const QString kRecentKey = QStringLiteral("files/recent");

FileHistory LoadHistory() {
  QSettings settings;
  FileHistory history;
  history.lastFolder = settings.value(kLastFolderKey).toString().toStdString();
  for (const QString& file : settings.value(kRecentKey).toStringList())
    history.recent.push_back(file.toStdString());
  return history;
}

QAction* FindAction(QWidget* window, const char* name) {
  for (QAction* action : window->findChildren<QAction*>()) {
    if (action->objectName() == QLatin1String(name)) return action;
  }
  return nullptr;
}

}  // namespace

void STmain::setUpDesktop() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  files_ = std::make_unique<FileSession>(programFolder(), documents.toStdString(), LoadHistory());

  // Standard shortcuts of the menu commands.
  const std::pair<const char*, QKeySequence> shortcuts[] = {
      {kNewFileItem, QKeySequence(QKeySequence::New)},
      {kOpenFileItem, QKeySequence(QKeySequence::Open)},
      {kSaveFileItem, QKeySequence(QKeySequence::Save)},
      {kSaveFileAsItem, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
      {kExitItem, QKeySequence(QKeySequence::Quit)},
  };
  for (const auto& [name, keys] : shortcuts) {
    if (QAction* action = FindAction(this, name)) action->setShortcut(keys);
  }
  addLineListCommand();
  // Ctrl+P presses "&Print"; the button keeps its own Alt+P.
  auto* print = new QShortcut(QKeySequence::Print, this);
  connect(print, &QShortcut::activated, this, [this] {
    if (auto* button = findChild<QAbstractButton*>(QStringLiteral("Print_But"));
        button && button->isEnabled())
      button->click();
  });
  // F1 in an input with a help topic opens that topic (the field's own key
  // handling); in an output its topic, as a click on it does; anywhere else
  // the help.
  auto* help = new QShortcut(QKeySequence::HelpContents, this);
  connect(help, &QShortcut::activated, this, [this] {
    const QWidget* focus = QApplication::focusWidget();
    const std::string name = focus ? focus->objectName().toStdString() : std::string();
    run([this, &name] { model_->helpShortcut(name); });
  });

  // Every caption names its field: the label is the field's buddy (its
  // mnemonic moves the focus there, and it is the field's accessible name).
  // Fields without a caption label are named explicitly.
  QWidget* previous = nullptr;
  const auto chain = [&previous](QWidget* next) {
    if (!next || next->focusPolicy() == Qt::NoFocus) return;
    if (previous) setTabOrder(previous, next);
    previous = next;
  };
  for (const ControlRow& row : STmainControlRows()) {
    auto* field = findChild<QWidget*>(QLatin1String(row.name));
    if (!field) continue;
    if (row.captionName) {
      if (auto* label = findChild<QLabel*>(QLatin1String(row.captionName))) label->setBuddy(field);
    }
    if (row.kind == ControlKind::Spinner) field->setAccessibleName(QStringLiteral("Record"));
    if (row.kind == ControlKind::TextBox && row.output) {
      // Outputs take the focus, so their text can be selected and copied.
      field->setFocusPolicy(Qt::StrongFocus);
      if (!row.captionName || !*row.caption) field->setAccessibleName(QStringLiteral("Installation"));
    }
    chain(field);
  }

  setUpResultsMenu();

  // The recent files, in the Files menu before its last command.
  if (QAction* exit = FindAction(this, kExitItem)) {
    if (auto* files = qobject_cast<QMenu*>(exit->parent())) {
      recentMenu_ = new QMenu(Q(kRecentFilesCaption), files);
      recentMenu_->setObjectName(QStringLiteral("RecentFiles"));
      files->insertMenu(exit, recentMenu_);
      files->insertSeparator(exit);
      connect(recentMenu_, &QMenu::aboutToShow, this, &STmain::fillRecentFiles);
      fillRecentFiles();
    }
  }
}

void STmain::fillRecentFiles() {
  if (!recentMenu_) return;
  recentMenu_->clear();
  int n = 0;
  for (const std::string& file : files_->history().recent) {
    const QString path = Q(file);
    const QString caption = QStringLiteral("&%1 %2").arg(++n).arg(
        QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&")));
    QAction* action = recentMenu_->addAction(caption);
    action->setToolTip(path);
    action->setStatusTip(path);
    connect(action, &QAction::triggered, this, [this, path] { openRecentFile(path); });
  }
  recentMenu_->setEnabled(n > 0);
}

bool STmain::openDesignFile(const QString& path) {
  bool opened = false;
  run([&] { opened = OpenFilePath(*model_, *files_, path.toStdString()); });
  rememberFiles();
  return opened;
}

bool STmain::openRecentFile(const QString& path) {
  bool opened = false;
  run([&] { opened = OpenRecentFile(*model_, *files_, path.toStdString()); });
  rememberFiles();
  return opened;
}

void STmain::setUpResultsMenu() {
  // The output pane and each output offer "Copy Results"; an output's menu
  // keeps the commands of a read-only field above it.
  auto* frame = findChild<QWidget*>(QStringLiteral("fraOutput"));
  if (!frame) return;
  QList<QWidget*> targets{frame};
  for (const ControlRow& row : STmainControlRows()) {
    if (!row.output) continue;
    if (auto* field = frame->findChild<QLineEdit*>(QLatin1String(row.name))) targets << field;
  }
  for (QWidget* target : targets) {
    target->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(target, &QWidget::customContextMenuRequested, this,
            [this, target](const QPoint& at) { showResultsMenu(target, at); });
  }
}

void STmain::showResultsMenu(QWidget* widget, const QPoint& at) {
  auto* edit = qobject_cast<QLineEdit*>(widget);
  QMenu* menu = edit ? edit->createStandardContextMenu() : new QMenu(widget);
  menu->setObjectName(QStringLiteral("ResultsMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (edit) menu->addSeparator();
  QAction* copy = menu->addAction(QStringLiteral("Copy Results"));
  copy->setObjectName(QStringLiteral("CopyResults"));
  connect(copy, &QAction::triggered, this,
          [this] { QApplication::clipboard()->setText(Q(model_->resultsText())); });
  menu->popup(widget->mapToGlobal(at));
}

void STmain::rememberFiles() {
  QSettings settings;
  const FileHistory& history = files_->history();
  settings.setValue(kLastFolderKey, Q(history.lastFolder));
  QStringList recent;
  for (const std::string& file : history.recent) recent << Q(file);
  settings.setValue(kRecentKey, recent);
  fillRecentFiles();
  updateTitle();
}

void STmain::updateTitle() {
  // "set1.mdb[*] - <caption>" once a file is open; Qt shows the [*] as "*"
  // while the set has changes that are not saved.
  const QString caption = Q(model_->caption());
  const QString file = files_ ? Q(files_->currentFile().string()) : QString();
  setWindowFilePath(file);
  setWindowTitle(file.isEmpty() ? caption + QStringLiteral("[*]")
                                : QFileInfo(file).fileName() + QStringLiteral("[*] - ") + caption);
  setWindowModified(!model_->set().DesignSaved);
}

}  // namespace vst::ui
