// The main window as it opens, its program-mode refresh, prompts, commands
// and clock.
#include <gtest/gtest.h>

#include "circuit/lists.h"
#include "stmain_test_support.h"

namespace vst {
namespace {

using test::Session;

std::string Items(const Control& c) {
  std::string s;
  for (const auto& e : c.items) s += "[" + e + "]";
  return s;
}

TEST(MainWindowLoading, SetsTheDefaultsAndCaptionsOfEachUnitSystem) {
  struct Row {
    const char* control;
    const char* english;
    const char* metric;
  };
  const Row rows[] = {
      {"Max_Amb", "100", "38"},
      {"Min_Amb", "0", "-18"},
      {"MT_In", "100", "38"},
      {"Max_Exp_Temp", " 375", "190"},
      {"txtIntExpTemp", "375", "190"},
      {"Pressure", "50", "3.45"},
      {"Pipe_Len_In", "100", "30"},
      {"txtPCTemp", "32", "0"},
      {"txtProdCp", "1", "4186.553"},
      {"txtProdDensity", "62.4", "982.846"},
      {"txtLatentHeat", "144", "334922"},
      {"txtInitalTemp", "0", "-18"},  // copies of Min_Amb and MT_In
      {"txtFinalTemp", "100", "38"},
      {"Rec_Num", "1", "1"},
      {"Label6", "  psig", " bar g"},
      {"Unit1", "\u00B0F", "\u00B0C"},
      {"Unit7", "\u00B0F", "\u00B0C"},
      {"lblPCTempUnit", "\u00B0F", "\u00B0C"},
      {"feet1", "ft", "m"},
      {"feet4", "ft", "m"},
      {"W_Ft1", " BTU/hr-ft", "W/m"},
      {"lblCondUnit", " Lb/hr-ft", "kg/hr-m"},
      {"inch3", " in", "mm"},
      {"lblInsThickUnit", "in", "mm"},
      {"lblPipeUnit", "in", "mm"},
      {"lblTraceTubeUnit", "in", "mm"},
      {"lblTraceTubeUnit2", "in", "mm"},
      {"lblProdDensUnit", "lb/ft\u00B3", "kg/m\u00B3"},
      {"lblProdCpUnit", "BTU/lb-\u00B0F", "J/kg-\u00B0C"},
      {"lblLatentHeatUnit", "BTU/lb", "J/kg"},
      {"MessagePanel", "Design this record", "Design this record"},
      {"Des_But", "&Design", "&Design"},
      {"lblMax_Exp_Temp", "Steam &Out /      Max. Process Temp.", "Steam &Out /      Max. Process Temp."},
      {"lblCab_Sel", "Tracer T&ubing ", "Tracer T&ubing "},
      {"Max_Maint_Temp", "", ""},
  };
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    Session s(units);
    const bool metric = units == UnitSystem::Metric;
    for (const Row& row : rows) {
      EXPECT_EQ(s.text(row.control), metric ? row.metric : row.english)
          << row.control << (metric ? " (Metric)" : " (English)");
    }
    EXPECT_EQ(s.model.caption(), "Vantrel-ST Version 3.0.1");
    EXPECT_EQ(s.model.set().PressureUnit, metric ? PressureUnit::BarG : PressureUnit::Psig);
    EXPECT_FALSE(s.c("chbPhaseChange").checked);
  }
}

TEST(MainWindowLoading, SelectsTheStartEntriesAndBuildsTheDependentLists) {
  struct Row {
    const char* control;
    const char* english;
    const char* metric;
  };
  const Row selected[] = {
      {"Insul_Th_In", "1.0", "25"},
      {"Insul_Typ_In", "Fiberglass", "Fiberglass"},
      {"Pass", "1", "1"},
      {"cboTracerMaterial", "Copper", "Copper"},
      {"cboApplication", "Maintenance", "Maintenance"},
      {"cboProduct", "Water", "Water"},
      {"Cab_In", "Coverlyn  YJ-2", "Coverlyn  YJ-2"},  // the last entry
      {"Cab_Sel", "3/8", "10"},
      {"Pipe_Dia_In", "2.0", "50"},
      {"cboTubeWallThick", "0.032", "1"},
  };
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    Session s(units);
    const bool metric = units == UnitSystem::Metric;
    for (const Row& row : selected) {
      EXPECT_EQ(s.selected(row.control), metric ? row.metric : row.english)
          << row.control << (metric ? " (Metric)" : " (English)");
    }
    EXPECT_EQ(s.c("Pipe_Dia_In").index, kPipeSizeStart);
    // The installation's selection replaced the first fills.
    EXPECT_EQ(s.c("Pipe_Dia_In").items, PipeSizeList(units, false));
    EXPECT_EQ(Items(s.c("Cab_Sel")), metric ? "[10]" : "[3/8]");
    EXPECT_EQ(Items(s.c("cboTubeWallThick")), metric ? "[1][1.5]" : "[0.032][0.049]");
    EXPECT_EQ(s.c("cboProduct").items.size(), 41u);
    EXPECT_EQ(s.c("SSTab1").index, 0);
    EXPECT_FALSE(s.c("SSTab1Tab1").enabled);
    EXPECT_TRUE(s.model.set().DesignSaved);  // nothing entered yet: nothing to lose
    EXPECT_FALSE(s.model.set().DesignLock);
    EXPECT_FALSE(s.model.set().RecordLoading);
    EXPECT_TRUE(s.dialogs.messages().empty());
  }
}

TEST(MainWindowLoading, HeatUpFieldsStartDisabledForWater) {
  Session s;
  for (const char* name : {"txtProdDensity", "txtProdCp", "chbPhaseChange", "txtPCTemp", "txtLatentHeat",
                           "lblProdDensity", "lblLatentHeatUnit"}) {
    EXPECT_FALSE(s.c(name).enabled) << name;
  }
}

TEST(ProgramModeRefresh, ShowsTheExtraOutputsOnlyInInternalMode) {
  const char* internalOnly[] = {"Label9", "Cond_Load", "lblCondUnit", "Label7", "Trap_Dist",
                                "feet3",  "Label8",    "Rise",        "feet4",  "YJ0"};
  Session s;
  for (const char* name : internalOnly) EXPECT_FALSE(s.c(name).visible) << name << " in the standard mode";
  EXPECT_TRUE(s.c("lblAddResultLabel").visible);
  EXPECT_EQ(
      s.text("lblAddResultLabel"),
      "\"Min. Maint. Temp.\" and \"Max. Maint. Temp.\" shown are without temperature control based on the "
      "minimum and maximum ambient values entered. Quorvex's Engineering Services can also provide "
      "condensate loads, maximum trapping distances, and the maximum allowable vertical rise for each "
      "circuit.");
  for (const char* name : {"Label17", "txtIntExpTemp", "Unit7"}) EXPECT_FALSE(s.c(name).visible) << name;
  EXPECT_EQ(s.c("Cab_In").items.size(), 4u);

  s.model.toggleProgramMode();
  EXPECT_TRUE(s.model.internalMode());
  EXPECT_EQ(s.model.caption(), "Vantrel-ST Version 3.0.1 **INTERNAL MODE**");
  for (const char* name : internalOnly) EXPECT_TRUE(s.c(name).visible) << name << " in InternalMode";
  EXPECT_FALSE(s.c("lblAddResultLabel").visible);
  for (const char* name : {"Label17", "txtIntExpTemp", "Unit7"}) EXPECT_FALSE(s.c(name).visible) << name;
  EXPECT_EQ(Items(s.c("Cab_In")),
            "[Troughline][Fillet Trace][Coverlyn  YJ-0][Coverlyn  YJ-1][Coverlyn  YJ-2]");
  EXPECT_EQ(s.c("Cab_In").index, 4);
  EXPECT_EQ(s.text("txtIntExpTemp"), "375");  // hidden, but keeps its text

  s.model.toggleProgramMode();
  EXPECT_FALSE(s.model.internalMode());
  EXPECT_EQ(s.model.caption(), "Vantrel-ST Version 3.0.1");
  EXPECT_EQ(s.selected("Cab_In"), "Coverlyn  YJ-2");
  EXPECT_EQ(s.c("Cab_In").index, 3);
  EXPECT_TRUE(s.dialogs.messages().empty());
}

TEST(ProgramModeToggle, IsRefusedOnceADesignHasRun) {
  Session s;
  s.design();
  ASSERT_TRUE(s.model.set().DesignLock);
  s.dialogs.clearRecords();
  s.model.toggleProgramMode();
  EXPECT_FALSE(s.model.internalMode());
  EXPECT_EQ(s.model.caption(), "Vantrel-ST Version 3.0.1");
  ASSERT_EQ(s.dialogs.messages().size(), 1u);
  EXPECT_EQ(s.dialogs.messages()[0].text, "Program mode cannot be changed after performing a design");
  EXPECT_EQ(s.dialogs.messages()[0].title, "Error");
  EXPECT_EQ(s.dialogs.messages()[0].buttons, MsgButtons::Ok);
  // The refusal leaves the window alone: the design is still shown.
  EXPECT_EQ(s.text("Max_Maint_Temp"), "150");
  EXPECT_EQ(s.c("Cab_In").items.size(), 4u);
}

TEST(StatusPrompts, FollowTheFocus) {
  struct Row {
    const char* control;
    const char* prompt;
  };
  const Row rows[] = {
      {"Max_Amb", "Enter the maximum ambient temperature"},
      {"Min_Amb", "Enter the minimum ambient temperature"},
      {"MT_In", "Enter the desired maintenance temperature"},
      {"Max_Exp_Temp", "Enter the maximum exposure temperature due to steam out or process conditions"},
      {"Insul_Typ_In", "Select insulation type from the list"},
      {"Insul_Th_In", "Select thickness of insulation from the list"},
      {"Pipe_Dia_In", "Select the size of the pipe to be traced from the list"},
      {"Pipe_Len_In", "Enter the length of the pipe to be traced"},
      {"Pass", "Specify the number of passes of tracing to be used"},
      {"Pressure", "Enter the supply pressure of the steam"},
      {"Cab_In", "Select the type of tracer/installation from the list"},
      {"Cab_Sel", "Select size of tracer tube from the list"},
      {"Circ_No", "Enter a Circuit Number for this design (optional)"},
      {"Line_No", "Enter a Line or Pipe number for this record (optional)"},
      {"Spin1", "Change to different record"},
      {"Cir_BOM_But", "Generate Bill of Materials for this record"},
      {"Sum_BOM_But", "Generate a Summary BOM for all records"},
      {"Print_But", "Print this design"},
  };
  Session s;
  for (const Row& row : rows) {
    s.model.gotFocus("Des_But");  // no prompt of its own: the previous one stays
    s.model.gotFocus(row.control);
    EXPECT_EQ(s.text("MessagePanel"), row.prompt) << row.control;
  }
  s.model.gotFocus("Des_But");
  EXPECT_EQ(s.text("MessagePanel"), "Print this design");
}

TEST(Commands, OpenTheirWindowsOnlyWhenTheirConditionHolds) {
  using K = WindowRequest::Kind;
  Session s;
  const auto opens = [&](const char* name) -> std::optional<K> {
    s.model.clicked(name);
    const auto request = s.model.takeWindowRequest();
    if (!request) return std::nullopt;
    return request->kind;
  };
  // Before any design: the bills and the circuit list stay shut.
  for (const char* name : {"Cir_BOM_But", "Sum_BOM_But", "sp_circrp_bom", "bill_of_mat", "sp_circ"}) {
    EXPECT_EQ(opens(name), std::nullopt) << name;
  }
  EXPECT_EQ(opens("rating"), K::Ratings);
  EXPECT_EQ(opens("settings"), K::Preferences);
  EXPECT_EQ(opens("Aboutmnu"), K::AboutBox);
  EXPECT_EQ(opens("Print_But"), K::Print);
  EXPECT_EQ(opens("exit"), K::Exit);
  EXPECT_EQ(opens("Openfile"), K::OpenFile);
  EXPECT_EQ(opens("Savefile"), K::SaveFile);
  EXPECT_EQ(opens("channel"), std::nullopt);  // a submenu
  EXPECT_EQ(opens("YJ0"), std::nullopt);      // hidden in the standard mode
  s.model.clicked("K30");
  auto panel = s.model.takeWindowRequest();
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->kind, K::AppPanel);
  EXPECT_EQ(panel->panel, "K30");
  s.model.clicked("mnuK90Info");
  auto document = s.model.takeWindowRequest();
  ASSERT_TRUE(document);
  EXPECT_EQ(document->kind, K::Document);
  EXPECT_EQ(document->panel, "mnuK90Info");
  EXPECT_EQ(opens("mnuHTCompounds"), std::nullopt);  // a submenu

  // A design in record 2 only: the buttons follow the output field, the menu
  // commands follow record 1.
  s.model.set().at(0).TSIZ = "3/8";
  s.model.spinnerStep(-1);
  ASSERT_EQ(s.text("Rec_Num"), "2");
  s.design();
  ASSERT_FALSE(s.text("Max_Maint_Temp").empty());
  EXPECT_EQ(opens("Cir_BOM_But"), K::CircuitBill);
  EXPECT_EQ(opens("Sum_BOM_But"), K::SummaryBill);
  EXPECT_EQ(opens("sp_circrp_bom"), std::nullopt);
  EXPECT_EQ(opens("bill_of_mat"), std::nullopt);
  EXPECT_EQ(opens("sp_circ"), std::nullopt);
  s.model.set().at(0).TP2 = 180;
  EXPECT_EQ(opens("sp_circrp_bom"), K::CircuitBill);
  EXPECT_EQ(opens("bill_of_mat"), K::SummaryBill);
  EXPECT_EQ(opens("sp_circ"), K::CircuitList);
}

TEST(Commands, YJ0PanelOpensInInternalMode) {
  Session s;
  s.internalMode();
  s.model.clicked("YJ0");
  const auto request = s.model.takeWindowRequest();
  ASSERT_TRUE(request);
  EXPECT_EQ(request->kind, WindowRequest::Kind::AppPanel);
  EXPECT_EQ(request->panel, "YJ0");
}

TEST(Help, F1OnAnInputAndAClickOnAnOutputOpenTheirTopics) {
  Session s;
  const auto topic = [&](std::optional<WindowRequest> r) {
    return r && r->kind == WindowRequest::Kind::Help ? r->helpContext : -1;
  };
  s.model.helpKey("Max_Amb");
  const int maxAmb = topic(s.model.takeWindowRequest());
  s.model.clicked("Trap_Dist");
  const int trap = topic(s.model.takeWindowRequest());
  EXPECT_GT(maxAmb, 0);
  EXPECT_GT(trap, 0);
  EXPECT_NE(maxAmb, trap);
  s.model.clicked("Max_Amb");  // clicking an input opens nothing
  EXPECT_FALSE(s.model.takeWindowRequest());
  s.model.helpKey("Spin1");  // no topic
  EXPECT_FALSE(s.model.takeWindowRequest());
  s.model.clicked("ctfwHelp");
  EXPECT_EQ(topic(s.model.takeWindowRequest()), 0);
  // The window's F1 shortcut: an output's topic, nothing for an input with a
  // topic (its own key opens it), the help anywhere else.
  s.model.helpShortcut("Trap_Dist");
  EXPECT_EQ(topic(s.model.takeWindowRequest()), trap);
  s.model.helpShortcut("Max_Amb");
  EXPECT_FALSE(s.model.takeWindowRequest());
  for (const char* focus : {"", "Spin1"}) {
    s.model.helpShortcut(focus);
    EXPECT_EQ(topic(s.model.takeWindowRequest()), 0) << focus;
  }
}

TEST(Menus, EveryMenuItemIsAControlWithItsCaption) {
  Session s;
  for (const MenuEntry& m : MainMenuTree()) {
    ASSERT_TRUE(s.model.controls().has(m.name)) << m.name;
    EXPECT_EQ(s.text(m.name), m.caption) << m.name;
    EXPECT_EQ(s.c(m.name).kind, ControlKind::MenuItem) << m.name;
    if (!m.parent.empty()) {
      EXPECT_TRUE(s.model.controls().has(m.parent)) << m.name << " under " << m.parent;
    }
  }
  EXPECT_EQ(s.text("exit"), "E&xit");
  EXPECT_EQ(s.text("rating"), "Ra&tings");
  EXPECT_EQ(s.text("Applications"), "&Applications");
  EXPECT_EQ(s.text("HelpMenu"), "&Help");
}

TEST(Clock, ShowsTwelveHourTimeAndTheMediumDate) {
  struct Row {
    int year, month, day, hour, minute;
    const char* time;
    const char* date;
  };
  const Row rows[] = {
      {2026, 12, 8, 14, 5, "2:05p", "08-Dec-26"},
      {2026, 1, 31, 0, 7, "12:07a", "31-Jan-26"},
      {2030, 7, 4, 12, 0, "12:00p", "04-Jul-30"},
      {2009, 3, 15, 9, 59, "9:59a", "15-Mar-09"},
  };
  Session s;
  for (const Row& row : rows) {
    std::tm local{};
    local.tm_year = row.year - 1900;
    local.tm_mon = row.month - 1;
    local.tm_mday = row.day;
    local.tm_hour = row.hour;
    local.tm_min = row.minute;
    local.tm_isdst = -1;
    s.model.tick(std::mktime(&local));
    EXPECT_EQ(s.text("Time_display"), row.time) << row.time;
    EXPECT_EQ(s.text("Date_Display"), row.date) << row.date;
  }
}

// The set counts as changed exactly when a save would keep something that
// is not kept yet: not at the start, not for typing or switching tabs, but
// for a design, and for a discarded design, until the set is saved.
TEST(SavedState, OnlyChangesASaveWouldKeepCount) {
  Session s;
  const auto expectSaved = [&s](bool saved, const char* after) {
    EXPECT_EQ(s.model.unsavedChanges(), !saved) << after;
    EXPECT_EQ(s.model.set().DesignSaved, saved) << after;
  };
  expectSaved(true, "the start");
  s.type("Pressure", "60");
  s.type("Circ_No", "C-7");
  s.model.tabChanged(0);
  expectSaved(true, "typing and a tab switch");
  s.design();
  expectSaved(false, "a design");
  s.model.fileSaved(true);
  expectSaved(true, "a save");
  s.design();
  expectSaved(true, "the same design again");
  s.pick("Cab_In", "Troughline");
  expectSaved(false, "a discarded design");
  s.model.fileSaved(false);
  expectSaved(false, "a failed save");
}

TEST(Preferences, ConvertedPressureAndUnitReachTheWindow) {
  Session s(UnitSystem::Metric);
  PreferencesInput in = s.model.preferencesInput();
  EXPECT_EQ(in.units, UnitSystem::Metric);
  EXPECT_EQ(in.pressureUnit, PressureUnit::BarG);
  EXPECT_EQ(in.pressureText, "3.45");
  PreferencesOutcome out;
  out.insulationSizing = InsulationSizing::Minimal;
  out.pressureUnit = PressureUnit::Kpa;
  out.pressureText = "344.92";
  out.pressureCaption = " kPa";
  s.model.applyPreferences(out);
  EXPECT_EQ(s.text("Pressure"), "344.92");
  EXPECT_EQ(s.text("Label6"), " kPa");
  EXPECT_EQ(s.model.set().PressureUnit, PressureUnit::Kpa);
  EXPECT_EQ(s.model.set().InsulationSizing, InsulationSizing::Minimal);
  // The next design stores them.
  s.design();
  EXPECT_EQ(s.model.set().current().PRESSURE, StoredNumber(PressureUnit::Kpa));
  EXPECT_EQ(s.model.set().current().UNDER, 1);
}

TEST(ClosingPrompt, AsksUntilTheSetIsSavedAndStaysWhenTheSaveFails) {
  Session s;
  EXPECT_TRUE(s.model.queryUnsavedChanges({}));  // nothing entered yet: no question
  EXPECT_TRUE(s.dialogs.messages().empty());
  s.design();
  s.dialogs.answer(MsgAnswer::No);
  EXPECT_TRUE(s.model.queryUnsavedChanges({}));
  ASSERT_EQ(s.dialogs.messages().size(), 1u);
  EXPECT_EQ(s.dialogs.messages()[0].text, "Do you want to save your current design?");
  EXPECT_EQ(s.dialogs.messages()[0].title, "Save");
  EXPECT_EQ(s.dialogs.messages()[0].icon, MsgIcon::Question);
  EXPECT_EQ(s.dialogs.messages()[0].buttons, MsgButtons::YesNoCancel);

  s.dialogs.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(s.model.queryUnsavedChanges({}));

  s.dialogs.answer(MsgAnswer::Yes);
  EXPECT_FALSE(s.model.queryUnsavedChanges([&] { s.model.fileSaved(false); }));
  s.dialogs.answer(MsgAnswer::Yes);
  EXPECT_FALSE(s.model.queryUnsavedChanges([] {}));  // a save that reports nothing has not saved
  s.dialogs.answer(MsgAnswer::Yes);
  EXPECT_TRUE(s.model.queryUnsavedChanges([&] { s.model.fileSaved(true); }));
  EXPECT_TRUE(s.model.set().DesignSaved);

  s.dialogs.clearRecords();
  EXPECT_TRUE(s.model.queryUnsavedChanges({}));
  EXPECT_TRUE(s.dialogs.messages().empty());
  EXPECT_TRUE(s.dialogs.allAnswersUsed());
}

TEST(KeyPress, TurnsThePointIntoTheLocaleMarkInNumericFields) {
  Session comma(UnitSystem::English, ',');
  for (const char* field : {"Max_Amb", "Min_Amb", "MT_In", "Max_Exp_Temp", "Pipe_Len_In", "Pressure"}) {
    EXPECT_EQ(comma.model.keyPress(field, '.'), ',') << field;
    EXPECT_EQ(comma.model.keyPress(field, '5'), '5') << field;
  }
  EXPECT_EQ(comma.model.keyPress("Circ_No", '.'), '.');
  Session point;
  EXPECT_EQ(point.model.keyPress("Max_Amb", '.'), '.');
}

TEST(CopyResults, ListsEveryShownOutputWithCaptionValueAndUnit) {
  Session s;
  s.design();
  EXPECT_EQ(s.model.resultsText(),
            "Max. Maint. Temp.\t150\t\u00b0F\n"
            "Min. Maint. Temp.\t120\t\u00b0F\n"
            "Design Heat Loss\t20.5\tBTU/hr-ft\n"
            "Nominal Insulation Size (Oversized I.D.)\t3\tin\n"
            "Total Tracer Length with Allowances\t110\tft\n"
            "Heat Up Time\t\thr\n"
            "Coverlyn Type\tYJ-2\t\n");
  Session internal(UnitSystem::Metric);
  internal.internalMode();
  internal.design();
  const std::string text = internal.model.resultsText();
  EXPECT_NE(text.find("Operating Condensate Load\t0.023\tkg/hr-m\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Max. Vertical Rise\t7.5\tm\n"), std::string::npos) << text;
}

TEST(HandlerFailure, NamesTheCommandByItsCaption) {
  const std::pair<const char*, const char*> cases[] = {
      {"Des_But", "\"Design\" failed: no memory. The design set is as it was before."},
      {"Openfile", "\"Open File\" failed: no memory. The design set is as it was before."},
      {"SaveAsfile", "\"Save File As\" failed: no memory. The design set is as it was before."},
      {"Max_Amb", "\"Max. Ambient\" failed: no memory. The design set is as it was before."},
      {"", "The command failed: no memory. The design set is as it was before."},
  };
  Session s;
  for (const auto& [name, text] : cases) {
    const Message m = s.model.handlerFailedMessage(name, "no memory");
    EXPECT_EQ(m.text, text) << name;
    EXPECT_EQ(m.title, "Error");
  }
}

}  // namespace
}  // namespace vst
