// The main window STmain: the design inputs, the outputs of the current
// record, record navigation, the commands and the menus. The window draws
// its model (vst::STmainModel) through a Binder and forwards every event to
// it; the model decides everything.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "workspace/dialogs.h"
#include "workspace/document_messages.h"
#include "workspace/file_session.h"
#include "workspace/stmain_model.h"

class QMenu;
class QScrollBar;

namespace vst::ui {

class Binder;
class QtDialogs;
class AboutForm;
class AppForm;
class HelpViewer;
class LineList;

class STmain : public QMainWindow {
  Q_OBJECT
 public:
  // dialogs: where the model's dialogs go; null uses the real Qt dialogs.
  STmain(UnitSystem units, PressureUnit pressureUnit, char decimalMark, Dialogs* dialogs = nullptr,
         QWidget* parent = nullptr);
  ~STmain() override;

  STmainModel& model() { return *model_; }
  Binder& binder() { return *binder_; }

  // Runs a model call from outside the window's own widgets (the about box's
  // mode gesture, a test) as an event: the window redraws afterwards.
  void run(const std::function<void()>& call);

  // The folder beside the program that holds the help books and the "PDF
  // Files" folder (tests point it elsewhere), and the launcher of the product
  // documents (null restores the desktop's). The help viewer, once opened.
  void setProgramFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
  void setDocumentLauncher(DocumentLauncher* launcher);
  HelpViewer* helpViewer() const;

  // Draws the window as it is shown, scaled to fit the device's page in
  // proportion, from its top left (the print of the "&Print" command).
  bool paintWindowImage(QPaintDevice& device);

  // Opens a design file as "Open File" does once a file is chosen (a file
  // named when the program starts). True when it was opened.
  bool openDesignFile(const QString& path);
  // Opens a recent file: the closing prompt's question first.
  bool openRecentFile(const QString& path);
  const FileSession& files() const { return *files_; }

  // "Open Line List..." (Ctrl+L): a line list at `path` (the file dialog
  // when empty) in a Line List window of its own; null when nothing was
  // opened (a refused list is said, naming its line).
  LineList* openLineList(const QString& path = {});

 signals:
  // The window has been shown for the first time.
  void firstShown();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildLayout();
  void buildMenus();
  void addLineListCommand();
  bool closeLineLists();  // each Line List window closed; false when one stays open
  void afterEvent(bool outermost);
  void fitHeight();
  void serviceWindowRequest(const WindowRequest& request);
  void printWindow();
  void showHelp(int context);
  // Closing prompt hook: returns whether the window may close.
  bool mayClose();
  // The folder of the program file: the template and the dialogs start there.
  std::filesystem::path programFolder() const;
  // Shortcuts, label buddies, accessible names, tab order, recent files
  // (stmain_desktop.cpp).
  void setUpDesktop();
  void fillRecentFiles();
  // The output pane's context menu with "Copy Results".
  void setUpResultsMenu();
  void showResultsMenu(QWidget* widget, const QPoint& at);
  // The file history into the settings store; the menu and title follow.
  void rememberFiles();
  // The program's caption with the open file's name and the unsaved mark.
  void updateTitle();

  std::unique_ptr<QtDialogs> ownDialogs_;
  Dialogs* dialogs_ = nullptr;
  std::unique_ptr<STmainModel> model_;
  Binder* binder_ = nullptr;
  QTimer clock_;
  QPointer<QWidget> aboutForm_;
  QPointer<QWidget> appForm_;
  std::unique_ptr<FileSession> files_;
  QPointer<QMenu> recentMenu_;
  QPointer<HelpViewer> helpViewer_;
  std::unique_ptr<DocumentLauncher> ownLauncher_;
  DocumentLauncher* launcher_ = nullptr;
  std::filesystem::path folder_;  // empty: the program file's folder
  bool shownOnce_ = false;
  bool closeApproved_ = false;  // the closing prompt allowed the window to close
};

}  // namespace vst::ui
