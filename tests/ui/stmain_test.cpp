// The main window skin: every control of the model has its widget, user
// events reach the model by name, the window shows the model's state after
// each event, and the layout keeps every visible widget whole and apart in
// both unit systems and both program modes.
#include "ui/stmain.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/script_dialogs.h"
#include "ui/binder.h"
#include "workspace/stmain_test_support.h"

namespace vst::ui {
namespace {

const char* UnitsName(UnitSystem units) { return units == UnitSystem::English ? "English" : "Metric"; }

class MainWindow {
 public:
  explicit MainWindow(UnitSystem units, char decimalMark = '.')
      : window(std::make_unique<STmain>(
            units, units == UnitSystem::English ? PressureUnit::Psig : PressureUnit::BarG, decimalMark,
            &dialogs)) {
    window->show();
    QApplication::setActiveWindow(window.get());
    active = QTest::qWaitForWindowActive(window.get());
  }
  template <class W>
  W* get(const char* name) const {
    return window->findChild<W*>(QString::fromLatin1(name));
  }
  QString text(const char* name) const {
    if (auto* edit = get<QLineEdit>(name)) return edit->text();
    if (auto* label = get<QLabel>(name)) return label->text();
    return QStringLiteral("<no widget %1>").arg(QString::fromLatin1(name));
  }
  QAction* action(const char* name) const {
    for (QAction* a : window->findChildren<QAction*>()) {
      if (a->objectName() == QLatin1String(name)) return a;
    }
    return nullptr;
  }
  // Picks a list entry as a user would: focus the list, move with the keys.
  void pick(const char* list, int index) const {
    auto* box = get<QComboBox>(list);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(box, Qt::Key_Down);
  }
  // Replaces a field's text by typing.
  void type(const char* field, const char* text) const {
    auto* edit = get<QLineEdit>(field);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QString::fromLatin1(text));
  }

  test::ScriptDialogs dialogs;
  std::unique_ptr<STmain> window;
  bool active = false;
};

TEST(MainWindowLayout, EveryControlOfTheModelHasItsWidget) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    MainWindow w(units);
    std::string missing;
    for (const std::string& name : w.window->binder().unboundControls()) missing += name + " ";
    EXPECT_TRUE(missing.empty()) << UnitsName(units) << ": no widget for " << missing;
  }
}

TEST(MainWindowLayout, ShowsTheModelsStartState) {
  struct Row {
    UnitSystem units;
    const char* field;
    const char* expected;
  };
  const Row rows[] = {
      {UnitSystem::English, "Max_Amb", "100"},
      {UnitSystem::Metric, "Max_Amb", "38"},
      {UnitSystem::English, "Max_Exp_Temp", " 375"},
      {UnitSystem::Metric, "Pressure", "3.45"},
      {UnitSystem::English, "Label6", "  psig"},
      {UnitSystem::Metric, "Label6", " bar g"},
      {UnitSystem::English, "Unit1", "°F"},
      {UnitSystem::Metric, "Unit1", "°C"},
      {UnitSystem::English, "MessagePanel", "Design this record"},
      {UnitSystem::English, "Rec_Num", "1"},
      {UnitSystem::English, "lblLine_No", "Line&\\Pipe No."},
  };
  for (const Row& row : rows) {
    MainWindow w(row.units);
    EXPECT_EQ(w.text(row.field).toStdString(), row.expected) << UnitsName(row.units) << " " << row.field;
  }
  MainWindow w(UnitSystem::English);
  EXPECT_EQ(w.window->windowTitle(), "Vantrel-ST Version 3.0.1[*]");  // [*]: where "*" marks unsaved changes
  auto* tabs = w.get<QTabWidget>("SSTab1");
  EXPECT_EQ(tabs->tabText(0), "Circuit Design Input Data");
  EXPECT_EQ(tabs->tabText(1), "Heat Up Data");
  EXPECT_FALSE(tabs->isTabEnabled(1));
  EXPECT_EQ(w.get<QComboBox>("Cab_In")->currentText(), "Coverlyn  YJ-2");
  EXPECT_EQ(w.get<QPushButton>("Des_But")->text(), "&Design");
  EXPECT_EQ(w.get<QGroupBox>("fraOutput")->title(),
            "Circuit Design Output Data - Valid only for products manufactured by Quorvex");
  EXPECT_TRUE(w.get<QLineEdit>("txtIntExpTemp")->isHidden());
}

TEST(MainWindowEvents, FocusOnAFieldShowsItsPromptInTheStatusPanel) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  const std::pair<const char*, const char*> rows[] = {
      {"Max_Amb", "Enter the maximum ambient temperature"},
      {"Min_Amb", "Enter the minimum ambient temperature"},
      {"Pipe_Len_In", "Enter the length of the pipe to be traced"},
      {"Cab_In", "Select the type of tracer/installation from the list"},
      {"Circ_No", "Enter a Circuit Number for this design (optional)"},
      {"Print_But", "Print this design"},
      {"Spin1", "Change to different record"},
  };
  for (const auto& [field, prompt] : rows) {
    auto* widget = w.get<QWidget>(field);
    ASSERT_NE(widget, nullptr) << field;
    widget->setFocus(Qt::TabFocusReason);
    const QString expected = QString::fromUtf8(prompt);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.text("MessagePanel") == expected; }, 1000))
        << field << ": panel reads \"" << w.text("MessagePanel").toStdString() << "\"";
  }
}

TEST(MainWindowEvents, ChoosingTroughlineWithTheHalfInchTubeBlanksTheSmallestPipeSizes) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  w.pick("Cab_In", 0);
  EXPECT_EQ(w.get<QComboBox>("Cab_In")->currentText(), "Troughline");
  ASSERT_EQ(w.get<QComboBox>("Cab_Sel")->count(), 4) << "Troughline offers four tube sizes";
  w.pick("Cab_Sel", 1);
  EXPECT_EQ(w.get<QComboBox>("Cab_Sel")->currentText(), "1/2");
  auto* pipe = w.get<QComboBox>("Pipe_Dia_In");
  ASSERT_EQ(pipe->count(), 19);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pipe->itemText(i), "") << "pipe size entry " << i;
  EXPECT_EQ(pipe->itemText(3), "1.5");
  EXPECT_EQ(pipe->currentText(), "2.0") << "the selected position stays";
}

TEST(MainWindowEvents, TypedPointBecomesTheLocalesDecimalMark) {
  struct Row {
    char mark;
    const char* typed;
    const char* shown;
  };
  const Row rows[] = {{',', "12.5", "12,5"}, {'.', "12.5", "12.5"}};
  for (const Row& row : rows) {
    MainWindow w(UnitSystem::Metric, row.mark);
    ASSERT_TRUE(w.active);
    w.type("Max_Amb", row.typed);
    EXPECT_EQ(w.text("Max_Amb").toStdString(), row.shown) << "decimal mark '" << row.mark << "'";
  }
}

TEST(MainWindowEvents, DesignWithAnEmptyFieldIsRefused) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  w.type("Pipe_Len_In", "");
  EXPECT_EQ(w.text("Pipe_Len_In"), "");
  QTest::mouseClick(w.get<QPushButton>("Des_But"), Qt::LeftButton);
  ASSERT_EQ(w.dialogs.messages().size(), 1u);
  const Message& m = w.dialogs.messages()[0];
  EXPECT_EQ(m.text, "All Circuit Design Input Data must have values.");
  EXPECT_EQ(m.title, "Input Error");
  EXPECT_EQ(m.icon, MsgIcon::Information);
  EXPECT_EQ(w.text("Max_Maint_Temp"), "") << "nothing was designed";
}

TEST(MainWindowEvents, RefusedRecordStepPutsTheSpinnerBack) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  auto* spin = w.get<QScrollBar>("Spin1");
  const int before = spin->value();
  // Up is the next record; record 1 holds no design, so nothing moves.
  spin->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(spin->value(), before);
  EXPECT_EQ(w.text("Rec_Num"), "1");
}

TEST(MainWindowEvents, SpinnerStepsBetweenRecordsAfterADesign) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  w.dialogs.pipe({kAllowanceIncludedYes});  // one tracer, length includes allowances: no shoe dialog
  QTest::mouseClick(w.get<QPushButton>("Des_But"), Qt::LeftButton);
  ASSERT_FALSE(w.text("Max_Maint_Temp").isEmpty()) << "the design shows its outputs";
  const QString designed = w.text("Max_Maint_Temp");
  auto* spin = w.get<QScrollBar>("Spin1");

  spin->triggerAction(QAbstractSlider::SliderSingleStepSub);  // up: next record
  EXPECT_EQ(w.text("Rec_Num"), "2");
  EXPECT_EQ(w.text("Max_Maint_Temp"), "") << "record 2 holds no design yet";
  EXPECT_EQ(w.text("Max_Amb"), "100") << "a new record starts from the inputs on the screen";

  spin->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // down: previous record
  EXPECT_EQ(w.text("Rec_Num"), "1");
  EXPECT_EQ(w.text("Max_Maint_Temp"), designed) << "record 1 is shown again";
  EXPECT_TRUE(w.dialogs.allAnswersUsed());
}

TEST(MainWindowEvents, ProgramModeToggleShowsTheInternalOutputs) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  const char* internalOnly[] = {"Label9", "Cond_Load", "lblCondUnit", "Label7", "Trap_Dist",
                                "feet3",  "Label8",    "Rise",        "feet4"};
  for (const char* name : internalOnly) EXPECT_TRUE(w.get<QWidget>(name)->isHidden()) << name;
  EXPECT_FALSE(w.get<QWidget>("lblAddResultLabel")->isHidden());
  EXPECT_FALSE(w.action("YJ0")->isVisible());

  w.window->run([&] { w.window->model().toggleProgramMode(); });
  EXPECT_EQ(w.window->windowTitle(), "Vantrel-ST Version 3.0.1 **INTERNAL MODE**[*]");
  for (const char* name : internalOnly) EXPECT_FALSE(w.get<QWidget>(name)->isHidden()) << name;
  EXPECT_TRUE(w.get<QWidget>("lblAddResultLabel")->isHidden());
  EXPECT_TRUE(w.action("YJ0")->isVisible());
  EXPECT_EQ(w.get<QComboBox>("Cab_In")->count(), 5);
}

// Visible leaf widgets of a container, in window coordinates.
std::vector<std::pair<QWidget*, QRect>> VisibleLeaves(QWidget* container, QWidget* window) {
  std::vector<std::pair<QWidget*, QRect>> out;
  for (QWidget* w : container->findChildren<QWidget*>()) {
    if (w->objectName().isEmpty() || !w->isVisibleTo(window)) continue;
    if (!qobject_cast<QLabel*>(w) && !qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w) &&
        !qobject_cast<QPushButton*>(w) && !qobject_cast<QScrollBar*>(w))
      continue;
    out.emplace_back(w, QRect(w->mapTo(window, QPoint(0, 0)), w->size()));
  }
  return out;
}

TEST(MainWindowLayout, VisibleWidgetsNeitherOverlapNorCutTheirText) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    for (bool internal : {false, true}) {
      MainWindow w(units);
      ASSERT_TRUE(w.active);
      if (internal) w.window->run([&] { w.window->model().toggleProgramMode(); });
      QApplication::processEvents();
      const std::string where = std::string(UnitsName(units)) + (internal ? " internal" : " standard");
      const auto leaves = VisibleLeaves(w.window->centralWidget(), w.window.get());
      ASSERT_GT(leaves.size(), 40u) << where;
      for (std::size_t i = 0; i < leaves.size(); ++i) {
        const auto& [a, ra] = leaves[i];
        if (auto* label = qobject_cast<QLabel*>(a); label && !label->wordWrap()) {
          EXPECT_GE(a->width(), a->sizeHint().width())
              << where << ": " << a->objectName().toStdString() << " cut";
        }
        for (std::size_t j = i + 1; j < leaves.size(); ++j) {
          const auto& [b, rb] = leaves[j];
          EXPECT_FALSE(ra.intersects(rb)) << where << ": " << a->objectName().toStdString() << " overlaps "
                                          << b->objectName().toStdString();
        }
      }
    }
  }
}

TEST(MainWindowCommands, CancelledPrintDialogPrintsNothing) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  bool sawDialog = false;
  std::function<void()> cancel = [&] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      QTimer::singleShot(10, cancel);
      return;
    }
    sawDialog = true;
    dialog->reject();
  };
  QTimer::singleShot(0, cancel);
  QTest::mouseClick(w.get<QPushButton>("Print_But"), Qt::LeftButton);
  EXPECT_TRUE(sawDialog);
  EXPECT_TRUE(w.window->isVisible());
}

TEST(MainWindowCommands, PrintDrawsTheWindowScaledToThePageInProportion) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  // A portrait page of 850 x 1100 points, white before printing.
  QImage page(850, 1100, QImage::Format_RGB32);
  page.fill(Qt::white);
  ASSERT_TRUE(w.window->paintWindowImage(page));
  const double aspect = double(w.window->height()) / w.window->width();
  const int drawnHeight = int(850 * aspect);
  ASSERT_LT(drawnHeight, 1100) << "the window is wider than tall";
  auto nonWhiteRows = [&](int from, int to) {
    int rows = 0;
    for (int y = from; y < to; ++y) {
      for (int x = 0; x < page.width(); x += 5) {
        if (page.pixel(x, y) != qRgb(255, 255, 255)) {
          ++rows;
          break;
        }
      }
    }
    return rows;
  };
  EXPECT_GT(nonWhiteRows(0, drawnHeight), drawnHeight * 9 / 10) << "the window fills the page's width";
  EXPECT_EQ(nonWhiteRows(drawnHeight + 2, 1100), 0) << "nothing is drawn below the scaled window";
  // The window's own top-left pixel lands at the page's top left.
  EXPECT_EQ(page.pixel(0, 0), w.window->grab().toImage().pixel(0, 0));
}

TEST(MainWindowCommands, ExitClosesTheWindow) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  w.action("exit")->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.window->isVisible(); }, 2000));
}

TEST(MainWindowCommands, WindowCommandsOpenNoFileDialog) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  // The report windows these commands open are modal: close each one.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->reject();
  });
  closer.start(20);
  for (const char* command : {"rating", "sp_circ", "bill_of_mat", "sp_circrp_bom"}) {
    w.action(command)->trigger();
    EXPECT_TRUE(w.dialogs.fileDialogs().empty()) << command << " showed a file dialog";
  }
  QTest::mouseClick(w.get<QPushButton>("Cir_BOM_But"), Qt::LeftButton);
  QTest::mouseClick(w.get<QPushButton>("Sum_BOM_But"), Qt::LeftButton);
  EXPECT_TRUE(w.dialogs.fileDialogs().empty());
}

TEST(MainWindowCommands, ClockLabelsShowTheTime) {
  MainWindow w(UnitSystem::English);
  EXPECT_FALSE(w.text("Time_display").isEmpty());
  EXPECT_FALSE(w.text("Date_Display").isEmpty());
}

TEST(MainWindowLayout, KeepsItsSizeWhenTheModeChangesAndADesignIsShown) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  w.window->resize(w.window->width() + 40, w.window->height() + 60);  // the user's size
  QApplication::processEvents();
  const QSize size = w.window->size();
  w.window->run([&] { w.window->model().toggleProgramMode(); });
  QApplication::processEvents();
  EXPECT_EQ(w.window->size(), size) << "after the mode change";
  w.dialogs.pipe({kAllowanceIncludedYes});
  QTest::mouseClick(w.get<QPushButton>("Des_But"), Qt::LeftButton);
  QApplication::processEvents();
  ASSERT_FALSE(w.text("Max_Maint_Temp").isEmpty());
  EXPECT_EQ(w.window->size(), size) << "after a design";
}

TEST(MainWindowCommands, AFailingHandlerSaysWhatFailedAndLeavesTheSetAsItWas) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  w.window->model().setDesignRunner(
      [](const CircuitEntry&, const CircuitContext&, DesignQuestions&) -> CircuitDesign {
        throw std::runtime_error("the engine stopped");
      });
  const DesignSet before = w.window->model().set();
  QTest::mouseClick(w.get<QPushButton>("Des_But"), Qt::LeftButton);
  ASSERT_EQ(w.dialogs.messages().size(), 1u);
  EXPECT_EQ(w.dialogs.messages()[0].title, "Error");
  EXPECT_EQ(w.dialogs.messages()[0].text,
            "\"Design\" failed: the engine stopped. The design set is as it was before.");
  EXPECT_EQ(w.window->model().set(), before);  // the button had already reset the record's outputs
  EXPECT_FALSE(w.window->isWindowModified());
  // The window goes on working.
  w.window->model().setDesignRunner(test::FixedResultRun);
  QTest::mouseClick(w.get<QPushButton>("Des_But"), Qt::LeftButton);
  EXPECT_EQ(w.text("Max_Maint_Temp"), QStringLiteral("150"));
}

TEST(MainWindowCommands, TheTitleMarksChangesOnlyWhenADesignWouldBeLost) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  w.window->model().setDesignRunner(test::FixedResultRun);
  EXPECT_FALSE(w.window->isWindowModified()) << "at the start";
  w.type("Pressure", "60");
  EXPECT_FALSE(w.window->isWindowModified()) << "after typing";
  QTest::mouseClick(w.get<QPushButton>("Des_But"), Qt::LeftButton);
  EXPECT_TRUE(w.window->isWindowModified()) << "after a design";
  // Ctrl+N asks first (the commands' questions are the model's tests).
  w.dialogs.answer(MsgAnswer::No);
  QTest::keyClick(w.window.get(), Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(w.dialogs.messageTexts(), std::vector<std::string>{"Do you want to save your current design?"});
  EXPECT_EQ(w.text("Max_Maint_Temp"), QString());
  EXPECT_FALSE(w.window->isWindowModified()) << "after New";
  EXPECT_EQ(w.action("SaveAsfile")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
}

TEST(MainWindowCommands, CopyResultsCopiesEveryShownOutputWithItsCaptionAndUnit) {
  MainWindow w(UnitSystem::English);
  ASSERT_TRUE(w.active);
  w.window->model().setDesignRunner(test::FixedResultRun);
  QTest::mouseClick(w.get<QPushButton>("Des_But"), Qt::LeftButton);
  QApplication::clipboard()->clear();
  // From the pane and from an output field (whose own commands stay).
  for (const char* where : {"fraOutput", "Tot_Cab_Out"}) {
    SCOPED_TRACE(where);
    auto* widget = w.get<QWidget>(where);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), widget->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(widget, &event);
    QMenu* menu = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
      menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      return menu != nullptr;
    }));
    QAction* copy = menu->findChild<QAction*>(QStringLiteral("CopyResults"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->text(), QStringLiteral("Copy Results"));
    EXPECT_EQ(menu->actions().size() > 1, std::string(where) == "Tot_Cab_Out");
    copy->trigger();
    menu->close();
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(QStringLiteral("Max. Maint. Temp.\t150\t\u00b0F")))
        << lines.join(u'|').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Total Tracer Length with Allowances\t110\tft")));
    // Only what the window shows: the condensate load is an InternalMode output.
    EXPECT_FALSE(QApplication::clipboard()->text().contains(QStringLiteral("Condensate")));
    QApplication::clipboard()->clear();
  }
}

}  // namespace
}  // namespace vst::ui
