#include "ui/stmain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSessionManager>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>

#include "ui/about_box_window.h"
#include "ui/app_form_window.h"
#include "ui/bill_window.h"
#include "ui/binder.h"
#include "ui/circ_form_window.h"
#include "ui/cktbill_window.h"
#include "ui/document_launcher.h"
#include "ui/help_viewer.h"
#include "ui/qt_dialogs.h"
#include "ui/ratings_window.h"
#include "ui/setting_window.h"
#include "ui/window_print.h"
#include "workspace/file_commands.h"

namespace vst::ui {
namespace {

QString L(const char* text) { return QString::fromUtf8(text); }

QLabel* NewLabel(const char* name, const QString& text = {}) {
  auto* label = new QLabel(text);
  if (name) label->setObjectName(L(name));
  label->setTextFormat(Qt::PlainText);
  return label;
}

// Width of a numeric field: room for about nine digits.
int NumberWidth(const QWidget* w) {
  return w->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12;
}

QWidget* NewField(const ControlRow& row) {
  QWidget* w = nullptr;
  switch (row.kind) {
    case ControlKind::TextBox: {
      auto* edit = new QLineEdit;
      if (row.output) edit->setReadOnly(true);
      edit->setMinimumWidth(NumberWidth(edit));
      w = edit;
      break;
    }
    case ControlKind::List: {
      auto* box = new QComboBox;
      box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
      box->setMinimumContentsLength(15);
      w = box;
      break;
    }
    case ControlKind::CheckBox:
      w = new QCheckBox;
      break;
    default:
      w = new QLabel;
      break;
  }
  w->setObjectName(L(row.name));
  return w;
}

// Lays rows out in a caption | field | unit grid. Each row's widgets hide
// with their control, and a grid row whose widgets are all hidden takes no
// room, so the grid closes up when a mode hides some outputs.
QGridLayout* NewGrid(Pane pane) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  int r = 0;
  for (const ControlRow& row : STmainControlRows()) {
    if (row.pane != pane) continue;
    if (row.captionName) grid->addWidget(NewLabel(row.captionName), r, 0);
    QWidget* field = NewField(row);
    grid->addWidget(field, r, 1);
    if (row.unitName) grid->addWidget(NewLabel(row.unitName), r, 2);
    ++r;
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnMinimumWidth(2, 60);
  return grid;
}

// The input tab (the design inputs) and the heat-up tab (product data).
QTabWidget* NewInputTabs() {
  auto* tabs = new QTabWidget;
  tabs->setObjectName(QStringLiteral("SSTab1"));
  auto* inputs = new QWidget;
  inputs->setObjectName(QStringLiteral("SSTab1Tab0"));
  auto* inputsLayout = new QHBoxLayout(inputs);
  inputsLayout->setContentsMargins(10, 8, 10, 8);
  inputsLayout->setSpacing(24);
  auto* left = NewGrid(Pane::InputsLeft);
  auto* right = NewGrid(Pane::InputsRight);
  auto* leftBox = new QVBoxLayout;
  leftBox->addLayout(left);
  leftBox->addStretch(1);
  auto* rightBox = new QVBoxLayout;
  rightBox->addLayout(right);
  rightBox->addStretch(1);
  inputsLayout->addLayout(leftBox, 1);
  inputsLayout->addLayout(rightBox, 1);
  tabs->addTab(inputs, QString());

  auto* heatUp = new QWidget;
  heatUp->setObjectName(QStringLiteral("SSTab1Tab1"));
  auto* heatLayout = new QHBoxLayout(heatUp);
  heatLayout->setContentsMargins(10, 8, 10, 8);
  heatLayout->setSpacing(24);
  auto* heatLeft = NewGrid(Pane::HeatUpLeft);
  auto* heatRight = NewGrid(Pane::HeatUpRight);
  for (QGridLayout* g : {heatLeft, heatRight}) {
    auto* box = new QVBoxLayout;
    box->addLayout(g);
    box->addStretch(1);
    heatLayout->addLayout(box, 1);
  }
  tabs->addTab(heatUp, QString());
  return tabs;
}

// The outputs of the current record with the standard mode's note.
QGroupBox* NewOutputFrame() {
  auto* frame = new QGroupBox;
  frame->setObjectName(QStringLiteral("fraOutput"));
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->setContentsMargins(10, 8, 10, 8);
  auto* outputs = new QHBoxLayout;
  outputs->setSpacing(24);
  auto* outLeft = NewGrid(Pane::OutputsLeft);
  auto* outRight = NewGrid(Pane::OutputsRight);
  for (QGridLayout* g : {outLeft, outRight}) {
    auto* box = new QVBoxLayout;
    box->addLayout(g);
    box->addStretch(1);
    outputs->addLayout(box, 1);
  }
  frameLayout->addLayout(outputs);
  auto* note = NewLabel("lblAddResultLabel");
  note->setWordWrap(true);
  frameLayout->addWidget(note);
  return frame;
}

// Record navigation, circuit and line numbers.
QHBoxLayout* NewRecordBar() {
  auto* record = new QHBoxLayout;
  record->setSpacing(6);
  record->addWidget(NewLabel("lblRec_Num"));
  auto* recNum = NewLabel("Rec_Num");
  recNum->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  recNum->setAlignment(Qt::AlignCenter);
  recNum->setMinimumWidth(recNum->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
  record->addWidget(recNum);
  auto* spin = new QScrollBar(Qt::Vertical);
  spin->setObjectName(QStringLiteral("Spin1"));
  spin->setRange(kSpinnerMin, kSpinnerMax);
  spin->setPageStep(1);
  spin->setFocusPolicy(Qt::StrongFocus);
  spin->setFixedHeight(recNum->sizeHint().height() + 14);
  record->addWidget(spin);
  record->addSpacing(18);
  record->addWidget(NewLabel("lblCirc_No"));
  auto* circ = new QLineEdit;
  circ->setObjectName(QStringLiteral("Circ_No"));
  record->addWidget(circ, 1);
  record->addSpacing(12);
  record->addWidget(NewLabel("lblLine_No"));
  auto* line = new QLineEdit;
  line->setObjectName(QStringLiteral("Line_No"));
  record->addWidget(line, 1);
  return record;
}

// The command buttons, from the control table.
QHBoxLayout* NewCommandBar() {
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  for (const ControlRow& row : STmainControlRows()) {
    if (row.pane != Pane::CommandBar) continue;
    auto* button = new QPushButton;
    button->setObjectName(L(row.name));
    button->setAutoDefault(false);
    buttons->addWidget(button, 1);
  }
  return buttons;
}

// The status panel and the clock.
void FillStatusBar(QStatusBar* bar) {
  auto* panel = NewLabel("MessagePanel");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setMargin(2);
  bar->addWidget(panel, 1);
  auto* time = NewLabel("Time_display");
  time->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  time->setMargin(2);
  time->setAlignment(Qt::AlignCenter);
  time->setMinimumWidth(time->fontMetrics().horizontalAdvance(QStringLiteral("00:00am")) + 16);
  bar->addPermanentWidget(time);
  auto* date = NewLabel("Date_Display");
  date->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  date->setMargin(2);
  date->setAlignment(Qt::AlignCenter);
  date->setMinimumWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("00-May-0000")) + 16);
  bar->addPermanentWidget(date);
  bar->setSizeGripEnabled(false);
}

}  // namespace

STmain::STmain(UnitSystem units, PressureUnit pressureUnit, char decimalMark, Dialogs* dialogs,
               QWidget* parent)
    : QMainWindow(parent) {
  setObjectName(QStringLiteral("STmain"));
  if (!dialogs) {
    ownDialogs_ = std::make_unique<QtDialogs>(this);
    dialogs = ownDialogs_.get();
  }
  dialogs_ = dialogs;
  model_ = std::make_unique<STmainModel>(units, pressureUnit, *dialogs_, decimalMark);
  // A session logout runs the same closing prompt as the close box.
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
    if (!mayClose()) manager.cancel();
  });

  buildMenus();
  buildLayout();

  BinderEvents events;
  STmainModel& m = *model_;
  events.gotFocus = [&m](const std::string& n) { m.gotFocus(n); };
  events.lostFocus = [&m](const std::string& n) { m.lostFocus(n); };
  events.textChanged = [&m](const std::string& n, const std::string& t) { m.textChanged(n, t); };
  events.keyPress = [&m](const std::string& n, char c) { return m.keyPress(n, c); };
  events.listClicked = [&m](const std::string& n, int i) { m.listClicked(n, i); };
  events.checkClicked = [&m](const std::string& n, bool b) { m.checkClicked(n, b); };
  events.clicked = [&m](const std::string& n) { m.clicked(n); };
  events.labelClicked = [&m](const std::string& n) { m.clicked(n); };
  events.helpKey = [&m](const std::string& n) { m.helpKey(n); };
  events.tabChanged = [&m](const std::string&, int i) { m.tabChanged(i); };
  events.spinnerStep = [&m](const std::string&, int p) { m.spinnerStep(p); };
  events.afterEvent = [this](bool outermost) { afterEvent(outermost); };
  events.checkpoint = [&m]() -> std::function<void()> {
    auto before = std::make_shared<const STmainModel::Snapshot>(m.snapshot());
    return [&m, before] { m.restore(*before); };
  };
  events.failed = [this](const std::string& name, const std::string& reason) {
    dialogs_->message(model_->handlerFailedMessage(name, reason));
  };
  binder_ =
      new Binder([this]() -> const ControlSet& { return model_->controls(); }, this, std::move(events), this);
  binder_->redraw();
  setUpDesktop();
  updateTitle();

  connect(&clock_, &QTimer::timeout, this, [this] { run([this] { model_->tick(std::time(nullptr)); }); });
  clock_.start(1000);
}

STmain::~STmain() = default;

void STmain::run(const std::function<void()>& call) { binder_->dispatch(call); }

void STmain::buildMenus() {
  // The tree comes from the model's menu table, parents first: an entry
  // with items is a menu, any other entry a command.
  const std::vector<MenuEntry>& tree = MainMenuTree();
  auto hasItems = [&tree](const std::string& name) {
    return std::any_of(tree.begin(), tree.end(), [&name](const MenuEntry& e) { return e.parent == name; });
  };
  QHash<QString, QMenu*> menus;
  QMenuBar* bar = menuBar();
  for (const MenuEntry& entry : tree) {
    const QString name = QString::fromStdString(entry.name);
    const QString caption = QString::fromStdString(entry.caption);
    QMenu* parentMenu = entry.parent.empty() ? nullptr : menus.value(QString::fromStdString(entry.parent));
    if (hasItems(entry.name)) {
      QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : bar->addMenu(caption);
      menu->menuAction()->setObjectName(name);  // drawn through its action
      menus.insert(name, menu);
    } else {
      QAction* action = parentMenu ? parentMenu->addAction(caption) : bar->addAction(caption);
      action->setObjectName(name);
    }
  }
}

void STmain::buildLayout() {
  auto* central = new QWidget;
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(8, 6, 8, 4);
  outer->setSpacing(6);
  outer->addWidget(NewInputTabs());
  outer->addWidget(NewOutputFrame());
  outer->addLayout(NewRecordBar());
  outer->addLayout(NewCommandBar());
  setCentralWidget(central);
  // The exposure caption is written for two lines ("Steam Out /" over
  // "Max. Process Temp."): let it wrap in its column.
  if (auto* exposure = central->findChild<QLabel*>(QStringLiteral("lblMax_Exp_Temp")))
    exposure->setWordWrap(true);

  FillStatusBar(statusBar());
}

void STmain::fitHeight() {
  // The outputs shown depend on the program mode: the window takes the
  // height its contents need at its present width, so no gap is left where
  // hidden rows were and nothing is squeezed when rows appear.
  QWidget* central = centralWidget();
  QLayout* layout = central->layout();
  layout->invalidate();
  layout->activate();
  int contents = layout->hasHeightForWidth() ? layout->heightForWidth(central->width()) : -1;
  if (contents < 0) contents = layout->sizeHint().height();
  const int height = contents + menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
  if (height != this->height()) resize(width(), height);
}

void STmain::afterEvent(bool outermost) {
  updateTitle();
  if (!outermost) return;
  // Focus moves and windows the model asks for are themselves events of the
  // window; service them until the model asks for nothing more.
  for (int guard = 0; guard < 100; ++guard) {
    const std::string focus = model_->takeFocusRequest();
    if (!focus.empty()) {
      binder_->focus(focus);
      continue;
    }
    if (auto request = model_->takeWindowRequest()) {
      serviceWindowRequest(*request);
      binder_->redraw();
      updateTitle();
      continue;
    }
    break;
  }
  // The window keeps the size it has (the user's); rows that appear take
  // their room inside it, and the layout's minimum size keeps them whole.
  binder_->takeLayoutChange();
}

void STmain::serviceWindowRequest(const WindowRequest& request) {
  using Kind = WindowRequest::Kind;
  switch (request.kind) {
    case Kind::Preferences: {
      PreferencesModel preferences(model_->preferencesInput(), *dialogs_);
      Setting setting(preferences, this);
      setting.exec();
      if (setting.outcome()) model_->applyPreferences(*setting.outcome());
      break;
    }
    case Kind::AboutBox: {
      if (!aboutForm_) {
        // The box's mode gesture is an event of this window: it redraws after.
        auto* box = new AboutForm([this] { run([this] { model_->toggleProgramMode(); }); }, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        aboutForm_ = box;
      }
      aboutForm_->show();
      aboutForm_->raise();
      aboutForm_->activateWindow();
      break;
    }
    case Kind::AppPanel: {
      if (!appForm_) {
        auto* panel = new AppForm(model_->units(), this, dialogs_);
        panel->setAttribute(Qt::WA_DeleteOnClose);
        appForm_ = panel;
      }
      static_cast<AppForm*>(appForm_.data())->showPanel(request.panel);
      appForm_->show();
      appForm_->raise();
      appForm_->activateWindow();
      break;
    }
    case Kind::Print:
      printWindow();
      break;
    case Kind::Exit:
      // Queued, so the close (and its prompt) runs after the menu command.
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
      break;
    case Kind::NewSet:
      NewSetCommand(*model_, *files_);
      rememberFiles();
      break;
    case Kind::OpenFile:
      OpenFileCommand(*model_, *files_);
      rememberFiles();
      break;
    case Kind::SaveFile:
      SaveFileCommand(*model_, *files_);
      rememberFiles();
      break;
    case Kind::SaveFileAs:
      SaveFileAsCommand(*model_, *files_);
      rememberFiles();
      break;
    case Kind::CircuitBill: {
      CktBillModel bill(*model_, std::time(nullptr));
      CktBill(bill, *dialogs_, model_->units(), this).exec();
      break;
    }
    case Kind::SummaryBill: {
      BillModel bill(model_->set());
      Bill(bill, *dialogs_, model_->units(), this).exec();
      break;
    }
    case Kind::CircuitList: {
      Circ_Form list(model_->set().records, model_->units(), model_->internalMode(), *dialogs_, this);
      list.exec();
      break;
    }
    case Kind::Ratings: {
      Ratings ratings(model_->units(), model_->internalMode(), *dialogs_, this);
      ratings.exec();
      break;
    }
    case Kind::Help:
      showHelp(request.helpContext);
      break;
    case Kind::Document:
      if (const ProductDocument* document = FindDocument(request.panel)) {
        if (!launcher_) setDocumentLauncher(nullptr);
        OpenDocument(programFolder(), document->file, *launcher_, *dialogs_);
      }
      break;
  }
}

void STmain::printWindow() { PrintWindow(*this, *dialogs_, model_->units()); }

bool STmain::paintWindowImage(QPaintDevice& device) { return PaintWindowOnPage(*this, device).isEmpty(); }

std::filesystem::path STmain::programFolder() const {
  if (!folder_.empty()) return folder_;
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

void STmain::setDocumentLauncher(DocumentLauncher* launcher) {
  if (!launcher) {
    if (!ownLauncher_) ownLauncher_ = std::make_unique<QtDocumentLauncher>();
    launcher = ownLauncher_.get();
  }
  launcher_ = launcher;
}

HelpViewer* STmain::helpViewer() const { return helpViewer_.data(); }

void STmain::showHelp(int context) {
  // The book of the mode in force; the viewer belongs to this window.
  const HelpLocation where = LocateHelp(programFolder(), model_->internalMode(), context);
  if (!helpViewer_) helpViewer_ = new HelpViewer(this);
  if (const auto problem = helpViewer_->showTopic(where.book, where.page)) {
    dialogs_->message(HelpFileMessage(*problem, where.book));
    return;
  }
  helpViewer_->show();
  helpViewer_->raise();
  helpViewer_->activateWindow();
}

bool STmain::mayClose() {
  // Asked once: after a logout was allowed, the close that follows asks nothing.
  if (closeApproved_) return true;
  bool closes = true;
  run([this, &closes] {
    closes = QueryUnsavedChanges(*model_, *files_);
    rememberFiles();
  });
  closeApproved_ = closes;
  return closes;
}

void STmain::closeEvent(QCloseEvent* event) {
  if (closeLineLists() && mayClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void STmain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    fitHeight();
    emit firstShown();
  }
}

}  // namespace vst::ui
