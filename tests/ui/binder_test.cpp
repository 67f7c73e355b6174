// The binder draws a control set onto widgets named after the controls and
// forwards user events by name. A small recording model stands in for a
// window model, so each test sees exactly which calls the binder made.
#include "ui/binder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vst::ui {
namespace {

// A window model that records every call and reacts as a test configures.
struct RecordingModel {
  ControlSet controls;
  std::vector<std::string> calls;
  std::function<void(const std::string&)> onCall;  // runs inside each call

  RecordingModel() {
    controls.add("Max_Amb", ControlKind::TextBox, "100");
    controls.add("Min_Amb", ControlKind::TextBox, "0");
    controls.add("Cab_In", ControlKind::List).items = {"Troughline", "Fillet Trace"};
    controls["Cab_In"].index = 0;
    controls.add("chbPhaseChange", ControlKind::CheckBox, "Product Changes Phase");
    controls.add("Des_But", ControlKind::Button, "&Design");
    controls.add("MessagePanel", ControlKind::Label, "Design this record");
    controls.add("Frame1", ControlKind::Frame, "Output");
    controls.add("Tab0", ControlKind::Tab, "Circuit Design Input Data");
    controls.add("Tab1", ControlKind::Tab, "Heat Up Data").enabled = false;
    controls.add("Spin1", ControlKind::Label).index = 0;
    controls.add("SSTab1", ControlKind::Tab).index = 0;
  }
  void record(std::string call) {
    calls.push_back(call);
    if (onCall) onCall(call);
  }
};

class BinderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    auto add = [&](QWidget* w, const char* name) {
      w->setObjectName(QString::fromLatin1(name));
      layout->addWidget(w);
      return w;
    };
    maxAmb = static_cast<QLineEdit*>(add(new QLineEdit, "Max_Amb"));
    minAmb = static_cast<QLineEdit*>(add(new QLineEdit, "Min_Amb"));
    cabIn = static_cast<QComboBox*>(add(new QComboBox, "Cab_In"));
    phase = static_cast<QCheckBox*>(add(new QCheckBox, "chbPhaseChange"));
    design = static_cast<QPushButton*>(add(new QPushButton, "Des_But"));
    panel = static_cast<QLabel*>(add(new QLabel, "MessagePanel"));
    frame = static_cast<QGroupBox*>(add(new QGroupBox, "Frame1"));
    tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(tabs);
    auto* page0 = new QWidget;
    page0->setObjectName(QStringLiteral("Tab0"));
    auto* page1 = new QWidget;
    page1->setObjectName(QStringLiteral("Tab1"));
    tabs->addTab(page0, QString());
    tabs->addTab(page1, QString());
    spin = static_cast<QScrollBar*>(add(new QScrollBar(Qt::Vertical), "Spin1"));
    spin->setRange(-100, 100);

    BinderEvents events;
    events.gotFocus = [this](const std::string& n) { model.record("gotFocus " + n); };
    events.lostFocus = [this](const std::string& n) { model.record("lostFocus " + n); };
    events.textChanged = [this](const std::string& n, const std::string& t) {
      model.controls[n].text = t;
      model.record("textChanged " + n + " " + t);
    };
    events.keyPress = [this](const std::string& n, char c) -> char {
      model.record("keyPress " + n + " " + std::string(1, c));
      if (c == 'x') return 0;
      if (c == '.') return ',';
      return c;
    };
    events.windowKeyPress = [this] { model.record("windowKeyPress"); };
    events.listClicked = [this](const std::string& n, int i) {
      model.controls[n].index = i;
      model.record("listClicked " + n + " " + std::to_string(i));
    };
    events.checkClicked = [this](const std::string& n, bool b) {
      model.controls[n].checked = b;
      model.record("checkClicked " + n + (b ? " on" : " off"));
    };
    events.clicked = [this](const std::string& n) { model.record("clicked " + n); };
    events.tabChanged = [this](const std::string& n, int i) {
      model.controls[n].index = i;
      model.record("tabChanged " + n + " " + std::to_string(i));
    };
    events.spinnerStep = [this](const std::string& n, int p) {
      model.record("spinnerStep " + n + " " + std::to_string(p));
    };
    events.afterEvent = [this](bool outermost) {
      afterEvents.push_back(outermost);
      if (afterEvent) afterEvent(outermost);
    };
    binder = std::make_unique<Binder>([this]() -> const ControlSet& { return model.controls; }, window.get(),
                                      events);
    binder->redraw();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  RecordingModel model;
  std::unique_ptr<QWidget> window;
  std::unique_ptr<Binder> binder;
  std::vector<bool> afterEvents;
  std::function<void(bool)> afterEvent;
  QLineEdit* maxAmb = nullptr;
  QLineEdit* minAmb = nullptr;
  QComboBox* cabIn = nullptr;
  QCheckBox* phase = nullptr;
  QPushButton* design = nullptr;
  QLabel* panel = nullptr;
  QGroupBox* frame = nullptr;
  QTabWidget* tabs = nullptr;
  QScrollBar* spin = nullptr;
};

TEST_F(BinderTest, RedrawShowsTheStateOfEveryControlKind) {
  EXPECT_EQ(maxAmb->text(), "100");
  EXPECT_EQ(cabIn->count(), 2);
  EXPECT_EQ(cabIn->currentText(), "Troughline");
  EXPECT_EQ(phase->text(), "Product Changes Phase");
  EXPECT_EQ(design->text(), "&Design");
  EXPECT_EQ(panel->text(), "Design this record");
  EXPECT_EQ(frame->title(), "Output");
  EXPECT_EQ(tabs->tabText(0), "Circuit Design Input Data");
  EXPECT_FALSE(tabs->isTabEnabled(1));

  model.controls["Max_Amb"].text = "38";
  model.controls["Max_Amb"].backColor = kColorYellow;
  model.controls["Cab_In"].items = {"Troughline", "Fillet Trace", "Coverlyn  YJ-1"};
  model.controls["Cab_In"].index = 2;
  model.controls["chbPhaseChange"].checked = true;
  model.controls["Des_But"].enabled = false;
  model.controls["Min_Amb"].visible = false;
  model.controls["Tab1"].enabled = true;
  binder->redraw();

  EXPECT_EQ(maxAmb->text(), "38");
  EXPECT_EQ(maxAmb->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_EQ(cabIn->count(), 3);
  EXPECT_EQ(cabIn->currentText(), "Coverlyn  YJ-1");
  EXPECT_TRUE(phase->isChecked());
  EXPECT_FALSE(design->isEnabled());
  EXPECT_TRUE(minAmb->isHidden());
  EXPECT_TRUE(tabs->isTabEnabled(1));

  model.controls["Max_Amb"].backColor = kColorWhite;
  model.controls["Min_Amb"].visible = true;
  binder->redraw();
  EXPECT_EQ(maxAmb->palette().color(QPalette::Base), QColor(255, 255, 255));
  EXPECT_FALSE(minAmb->isHidden());
}

TEST_F(BinderTest, RedrawNeverCallsTheModel) {
  maxAmb->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return maxAmb->hasFocus(); }));
  model.calls.clear();
  model.controls["Max_Amb"].text = "55";
  model.controls["Cab_In"].items = {"A", "B", "C"};
  model.controls["Cab_In"].index = 1;
  model.controls["chbPhaseChange"].checked = true;
  model.controls["Spin1"].index = 7;
  // Hiding the focused field moves the focus; that move is not the user's.
  model.controls["Max_Amb"].visible = false;
  binder->redraw();
  EXPECT_EQ(spin->value(), 7);
  EXPECT_TRUE(model.calls.empty()) << "first call: " << model.calls.front();
}

TEST_F(BinderTest, UserEventsReachTheModelByControlName) {
  struct Row {
    const char* what;
    std::function<void()> act;
    std::string expected;
  };
  const std::vector<Row> rows = {
      {"pick the next list entry",
       [&] {
         cabIn->setFocus();
         QTest::keyClick(cabIn, Qt::Key_Down);
       },
       "listClicked Cab_In 1"},
      {"tick the box", [&] { QTest::mouseClick(phase, Qt::LeftButton); }, "checkClicked chbPhaseChange on"},
      {"press the button", [&] { QTest::mouseClick(design, Qt::LeftButton); }, "clicked Des_But"},
      {"choose the second tab", [&] { tabs->setCurrentIndex(1); }, "tabChanged SSTab1 1"},
      {"step the spinner up", [&] { spin->triggerAction(QAbstractSlider::SliderSingleStepSub); },
       "spinnerStep Spin1 -1"},
  };
  for (const Row& row : rows) {
    model.calls.clear();
    row.act();
    EXPECT_NE(std::find(model.calls.begin(), model.calls.end(), row.expected), model.calls.end())
        << row.what << ": expected \"" << row.expected << "\"";
  }
}

TEST_F(BinderTest, TypedKeysAreFilteredByTheModel) {
  maxAmb->setFocus();
  maxAmb->clear();
  QTest::keyClicks(maxAmb, "1.5x");
  EXPECT_EQ(maxAmb->text(), "1,5") << "'.' is replaced by ',' and 'x' dropped";
  EXPECT_EQ(model.controls["Max_Amb"].text, "1,5");
  EXPECT_EQ(std::count(model.calls.begin(), model.calls.end(), "windowKeyPress"), 4);
}

TEST_F(BinderTest, FocusMovesAreForwardedInOrder) {
  maxAmb->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return maxAmb->hasFocus(); }));
  model.calls.clear();
  minAmb->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(model.calls.size(), 2u);
  EXPECT_EQ(model.calls[0], "lostFocus Max_Amb");
  EXPECT_EQ(model.calls[1], "gotFocus Min_Amb");
}

TEST_F(BinderTest, ModelStateChangedByAnEventIsDrawnRightAway) {
  model.onCall = [&](const std::string& call) {
    if (call == "gotFocus Min_Amb")
      model.controls["MessagePanel"].text = "Enter the minimum ambient temperature";
  };
  minAmb->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(panel->text(), "Enter the minimum ambient temperature");
}

TEST_F(BinderTest, RefusedSpinnerStepRestoresThePosition) {
  // The model keeps its position at 0: the step is refused.
  spin->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(spin->value(), 0);
  EXPECT_EQ(model.calls.back(), "spinnerStep Spin1 1");
}

TEST_F(BinderTest, FocusRequestedAfterAnEventIsAnEventOfItsOwn) {
  afterEvent = [&](bool outermost) {
    if (outermost && model.calls.back() == "clicked Des_But") binder->focus("Min_Amb");
  };
  QTest::mouseClick(design, Qt::LeftButton);
  EXPECT_TRUE(minAmb->hasFocus());
  ASSERT_GE(afterEvents.size(), 2u);
  EXPECT_EQ(model.calls.back(), "gotFocus Min_Amb");
  EXPECT_FALSE(afterEvents.back()) << "the focus event nested in the click is not the outermost one";
}

TEST_F(BinderTest, EveryControlHasAWidget) {
  EXPECT_TRUE(binder->unboundControls().empty());
  model.controls.add("Not_There", ControlKind::TextBox);
  ASSERT_EQ(binder->unboundControls().size(), 1u);
  EXPECT_EQ(binder->unboundControls().front(), "Not_There");
}

TEST_F(BinderTest, AFailingEventIsShownAsAnErrorNamingTheCommand) {
  model.onCall = [](const std::string& call) {
    if (call == "clicked Des_But") throw std::runtime_error("the list is empty");
  };
  QString shown;
  QTimer closer;  // the box is modal: read it and close it
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->windowTitle() + QStringLiteral(": ") + box->text();
      box->accept();
    }
  });
  closer.start(20);
  QTest::mouseClick(design, Qt::LeftButton);
  EXPECT_EQ(shown, QStringLiteral("Error: \"Design\" failed: the list is empty."));
  EXPECT_FALSE(binder->busy());
  model.onCall = nullptr;  // the window goes on
  model.calls.clear();
  QTest::mouseClick(design, Qt::LeftButton);
  EXPECT_EQ(std::count(model.calls.begin(), model.calls.end(), "clicked Des_But"), 1);
}

}  // namespace
}  // namespace vst::ui
