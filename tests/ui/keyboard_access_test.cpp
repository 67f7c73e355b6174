// Every window can be worked from the keyboard and read by a screen reader:
// each input has an accessible name and a mnemonic of its own within the
// window (its caption label's, through the label's buddy), each output
// field its caption as its name.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "recording_dialogs.h"
#include "support/script_dialogs.h"
#include "support/test_paths.h"
#include "ui/about_box_window.h"
#include "ui/about_form_window.h"
#include "ui/app_form_window.h"
#include "ui/bill_window.h"
#include "ui/circ_form_window.h"
#include "ui/cktbill_window.h"
#include "ui/line_list_window.h"
#include "ui/pipe_shoe_forms.h"
#include "ui/ratings_window.h"
#include "ui/setting_window.h"
#include "ui/stmain.h"
#include "workspace/allowance_forms.h"
#include "workspace/preferences_window.h"
#include "workspace/stmain_test_support.h"

namespace vst::ui {
namespace {

// The mnemonic of a caption ("Pipe Si&ze" -> Alt+Z), or an empty sequence.
QKeySequence Mnemonic(const QString& text) { return QKeySequence::mnemonic(text); }

QString AccessibleName(QWidget* w) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
  return face ? face->text(QAccessible::Name).trimmed() : QString();
}

bool IsInput(QWidget* w) {
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return !edit->isReadOnly();
  return qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QScrollBar*>(w);
}

// The faults of one window as the user sees it now (visible widgets only:
// the shortcut of a hidden widget does not fire).
std::vector<std::string> KeyboardFaults(QWidget* window) {
  std::vector<std::string> faults;
  const auto visible = [window](QWidget* w) { return w->isVisibleTo(window) && !w->objectName().isEmpty(); };
  const auto name = [](QObject* o) { return o->objectName().toStdString(); };

  // Every mnemonic the window offers: captions with buddies, buttons, tabs,
  // the menu bar's titles.
  QMap<QKeySequence, std::vector<std::string>> owners;
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (visible(label) && label->buddy() && !Mnemonic(label->text()).isEmpty())
      owners[Mnemonic(label->text())].push_back(name(label->buddy()));
  }
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (visible(button) && !Mnemonic(button->text()).isEmpty())
      owners[Mnemonic(button->text())].push_back(name(button));
  }
  for (QTabBar* bar : window->findChildren<QTabBar*>()) {
    for (int i = 0; bar->isVisibleTo(window) && i < bar->count(); ++i) {
      if (!Mnemonic(bar->tabText(i)).isEmpty()) owners[Mnemonic(bar->tabText(i))].push_back("tab");
    }
  }
  for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
    for (QAction* a : bar->actions()) {
      if (a->isVisible() && !Mnemonic(a->text()).isEmpty())
        owners[Mnemonic(a->text())].push_back(a->objectName().toStdString());
    }
  }

  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!visible(w)) continue;
    auto* edit = qobject_cast<QLineEdit*>(w);
    const bool output = edit && edit->isReadOnly();
    if (!IsInput(w) && !output && !qobject_cast<QTableWidget*>(w)) continue;
    if (AccessibleName(w).isEmpty()) faults.push_back(name(w) + ": no accessible name");
    if (!IsInput(w) || qobject_cast<QScrollBar*>(w)) continue;  // the spinner has no caption
    // The input's mnemonic: its caption label's, or a check box's own.
    QKeySequence keys;
    if (auto* check = qobject_cast<QCheckBox*>(w)) keys = Mnemonic(check->text());
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->buddy() == w && visible(label)) keys = Mnemonic(label->text());
    }
    if (keys.isEmpty()) {
      faults.push_back(name(w) + ": no mnemonic");
    } else if (owners.value(keys).size() > 1) {
      std::string shared;
      for (const std::string& o : owners.value(keys)) shared += " " + o;
      faults.push_back(name(w) + ": mnemonic " + keys.toString().toStdString() + " shared by" + shared);
    }
  }
  return faults;
}

void ExpectKeyboardAccess(QWidget* window, const std::string& where) {
  window->show();
  QApplication::processEvents();
  // Each page of a tab panel in turn.
  std::vector<QTabWidget*> tabs;
  for (QTabWidget* t : window->findChildren<QTabWidget*>()) tabs.push_back(t);
  const int pages = tabs.empty() ? 1 : tabs.front()->count();
  for (int page = 0; page < pages; ++page) {
    if (!tabs.empty()) {
      if (!tabs.front()->isTabEnabled(page)) continue;
      tabs.front()->setCurrentIndex(page);
      EXPECT_EQ(tabs.front()->currentIndex(), page) << where;
    }
    QApplication::processEvents();
    for (const std::string& fault : KeyboardFaults(window))
      ADD_FAILURE() << where << " page " << page << ": " << fault;
  }
  window->hide();
}

TEST(KeyboardAccess, EveryWindowNamesItsFieldsAndGivesEachInputItsOwnMnemonic) {
  test::Session s;
  s.design();
  test::RecordingDialogs dialogs;

  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    for (bool internal : {false, true}) {
      STmain window(units, units == UnitSystem::English ? PressureUnit::Psig : PressureUnit::BarG, '.',
                    &dialogs);
      if (internal) window.run([&] { window.model().toggleProgramMode(); });
      // The heat-up page as it is when an application other than maintenance
      // uses it, with the phase change rows shown.
      window.run([&] {
        window.model().controls()["SSTab1Tab1"].enabled = true;
        window.model().checkClicked("chbPhaseChange", true);
      });
      ExpectKeyboardAccess(&window, std::string("STmain") + (internal ? " internal" : ""));
    }
  }
  About_Form startup;
  ExpectKeyboardAccess(&startup, "About_Form");
  PreferencesModel preferences(PreferencesInput{UnitSystem::English, PressureUnit::Psig, 0, "50", '.'},
                               dialogs);
  Setting setting(preferences);
  ExpectKeyboardAccess(&setting, "Setting");
  AboutForm about([] {});
  ExpectKeyboardAccess(&about, "AboutForm");
  AppForm panel(UnitSystem::English, nullptr, &dialogs);
  ExpectKeyboardAccess(&panel, "AppForm");
  PipeFormSetup pipeSetup;
  pipeSetup.pipeLengthText = "100";
  PipeFormModel pipe(pipeSetup, dialogs);
  PipeForm pipeForm(pipe);
  ExpectKeyboardAccess(&pipeForm, "PipeForm");
  ShoeFormModel shoe(ShoeFormSetup{}, dialogs);
  ShoeForm shoeForm(shoe);
  ExpectKeyboardAccess(&shoeForm, "ShoeForm");
  CktBillModel circuitBill(s.model, std::time_t{0});
  CktBill cktBill(circuitBill, s.dialogs, UnitSystem::English);
  ExpectKeyboardAccess(&cktBill, "CktBill");
  BillModel summary(s.model.set());
  Bill bill(summary, s.dialogs, UnitSystem::English);
  ExpectKeyboardAccess(&bill, "Bill");
  Circ_Form list(s.model.set().records, UnitSystem::English, false, dialogs);
  ExpectKeyboardAccess(&list, "Circ_Form");
  Ratings ratings(UnitSystem::English, false, dialogs);
  ExpectKeyboardAccess(&ratings, "Ratings");
  std::string error;
  LineList lineList(LineListModel::Open(vst::test::TestDataDir() + "/examples/line_list.csv", {}, error),
                    dialogs, {});
  ExpectKeyboardAccess(&lineList, "LineList");
}

TEST(KeyboardAccess, AnOutputIsCopiedWithTheKeyboardWithoutChangingTheSet) {
  test::RecordingDialogs dialogs;
  STmain window(UnitSystem::English, PressureUnit::Psig, '.', &dialogs);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.run([&] {
    window.model().controls()["Min_Maint_Temp"].text = "131.7803";  // as a design shows it
    window.model().set().DesignSaved = true;                        // and a save leaves it
  });
  auto* output = window.findChild<QLineEdit*>(QStringLiteral("Min_Maint_Temp"));
  ASSERT_FALSE(output->text().isEmpty());
  output->setFocus();
  QTest::keyClick(output, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(output, Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(output->hasFocus());
  EXPECT_EQ(QApplication::clipboard()->text(), output->text());
  EXPECT_TRUE(window.model().set().DesignSaved);
  EXPECT_FALSE(window.isWindowModified());
}

}  // namespace
}  // namespace vst::ui
