// The application checks, the heat-up fields and the design button, driven
// as a user would.
#include <gtest/gtest.h>

#include "circuit/lists.h"
#include "stmain_test_support.h"

namespace vst {
namespace {

using test::Session;

const char* const kPolyPsig =
    "Polyisocyanurate insulation should not be used with steam pressures greater than 50 psig";
const char* const kCopperPsig =
    "A Tracer Tubing Material of Copper should not be used with steam pressures greater than 250 psig";
const char* const kCopper400F =
    "A Tracer Tubing Material of Copper should not be used with a Maximum Exposure Temperature greater than "
    "400\u00B0F";
const char* const kCopper204C =
    "A Tracer Tubing Material of Copper should not be used with a Maximum Exposure Temperature greater than "
    "204\u00B0C";

TEST(PolyisocyanurateCheck, FromThePressureFieldPutsTheLimitBack) {
  struct Row {
    UnitSystem units;
    PressureUnit pressureUnit;
    const char* typed;
    const char* message;  // nullptr: no warning
    const char* shown;
  };
  const Row rows[] = {
      {UnitSystem::English, PressureUnit::Psig, "50", nullptr, "50"},
      {UnitSystem::English, PressureUnit::Psig, "50.5", kPolyPsig, "50"},
      {UnitSystem::Metric, PressureUnit::BarG, "3.448", nullptr, "3.448"},
      {UnitSystem::Metric, PressureUnit::BarG, "3.5",
       "Polyisocyanurate insulation should not be used with steam pressures greater than 3.448 barg", "3.4"},
      {UnitSystem::Metric, PressureUnit::Kpa, "446", nullptr, "446"},
      {UnitSystem::Metric, PressureUnit::Kpa, "447",
       "Polyisocyanurate insulation should not be used with steam pressures greater than 446 kPa", "446"},
      {UnitSystem::English, PressureUnit::Psig, "high", nullptr, "high"},  // not a number: nothing to compare
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("typed ") + row.typed + " unit " +
                 std::to_string(StoredNumber(row.pressureUnit)));
    Session s(row.units);
    PreferencesOutcome prefs;
    prefs.pressureUnit = row.pressureUnit;
    s.model.applyPreferences(prefs);
    s.pick("cboTracerMaterial", "Stainless Wld");
    s.type("Pressure", "1");
    s.pick("Insul_Typ_In", "Polyisocyanurate");
    ASSERT_TRUE(s.dialogs.messages().empty());
    s.model.takeFocusRequest();
    s.type("Pressure", row.typed);
    EXPECT_EQ(s.text("Pressure"), row.shown);
    if (row.message == nullptr) {
      EXPECT_TRUE(s.dialogs.messages().empty());
      EXPECT_EQ(s.model.takeFocusRequest(), "");
      continue;
    }
    ASSERT_EQ(s.dialogs.messages().size(), 1u);
    EXPECT_EQ(s.dialogs.messages()[0].text, row.message);
    EXPECT_EQ(s.dialogs.messages()[0].title, kProgramTitle);
    EXPECT_EQ(s.dialogs.messages()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(s.model.takeFocusRequest(), "Pressure");
    EXPECT_EQ(s.selected("Insul_Typ_In"), "Polyisocyanurate");
  }
}

TEST(PolyisocyanurateCheck, FromTheInsulationListSelectsCalciumSilicate) {
  Session s;
  s.type("Pressure", "60");
  s.pick("Insul_Typ_In", "Polyisocyanurate");
  EXPECT_EQ(s.dialogs.messageTexts(), std::vector<std::string>{kPolyPsig});
  EXPECT_EQ(s.selected("Insul_Typ_In"), "Calcium Silicate");
  EXPECT_EQ(s.text("Pressure"), "60");
  EXPECT_EQ(s.model.takeFocusRequest(), "Insul_Typ_In");
}

TEST(PolyisocyanurateCheck, ANewInsulationIsCheckedForCopperOnlyOnce) {
  Session s;
  s.pick("cboTracerMaterial", "Stainless Wld");
  s.type("Pressure", "300");
  s.type("Max_Exp_Temp", "450");
  s.pick("cboTracerMaterial", "Copper");  // the material list runs no check
  ASSERT_TRUE(s.dialogs.messages().empty());
  s.pick("Insul_Typ_In", "Polyisocyanurate");
  EXPECT_EQ(s.dialogs.messageTexts(), (std::vector<std::string>{kPolyPsig, kCopperPsig, kCopper400F}));
  EXPECT_EQ(s.selected("Insul_Typ_In"), "Calcium Silicate");
  // The insulation list takes the focus after the copper check of its new entry.
  EXPECT_EQ(s.model.takeFocusRequest(), "Insul_Typ_In");
  // From the list nothing is put back and copper stays chosen.
  EXPECT_EQ(s.text("Pressure"), "300");
  EXPECT_EQ(s.text("Max_Exp_Temp"), "450");
  EXPECT_EQ(s.selected("cboTracerMaterial"), "Copper");
}

TEST(CopperCheck, FromTheInsulationListMovesTheFocusAndKeepsTheMaterial) {
  Session s;
  s.pick("cboTracerMaterial", "Stainless Wld");
  s.type("Max_Exp_Temp", "450");
  s.pick("cboTracerMaterial", "Copper");  // the material list runs no check
  ASSERT_TRUE(s.dialogs.messages().empty());
  s.pick("Insul_Typ_In", "Mineral Fiber");
  EXPECT_EQ(s.dialogs.messageTexts(), std::vector<std::string>{kCopper400F});
  EXPECT_EQ(s.model.takeFocusRequest(), "cboTracerMaterial");
  EXPECT_EQ(s.selected("cboTracerMaterial"), "Copper");
  EXPECT_EQ(s.text("Max_Exp_Temp"), "450");
  EXPECT_EQ(s.selected("Insul_Typ_In"), "Mineral Fiber");
}

TEST(CopperCheck, PressureFieldShowsBothWarningsAndPutsBothValuesBack) {
  Session s;
  s.pick("cboTracerMaterial", "Stainless Wld");
  s.type("Max_Exp_Temp", "450");
  s.pick("cboTracerMaterial", "Copper");
  s.type("Pressure", "300");
  EXPECT_EQ(s.dialogs.messageTexts(), (std::vector<std::string>{kCopperPsig, kCopper400F}));
  EXPECT_EQ(s.text("Pressure"), "50");
  EXPECT_EQ(s.text("Max_Exp_Temp"), "375");
  EXPECT_EQ(s.model.takeFocusRequest(), "Max_Exp_Temp");
}

TEST(CopperCheck, ExposureFieldInMetricUnits) {
  struct Row {
    const char* typed;
    bool warns;
    const char* shown;
  };
  const Row rows[] = {{"204", false, "204"}, {"205", true, "190"}, {"204,5", true, "190"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    Session s(UnitSystem::Metric, ',');
    s.type("Max_Exp_Temp", row.typed);
    EXPECT_EQ(s.text("Max_Exp_Temp"), row.shown);
    if (row.warns) {
      EXPECT_EQ(s.dialogs.messageTexts(), std::vector<std::string>{kCopper204C});
      EXPECT_EQ(s.model.takeFocusRequest(), "Max_Exp_Temp");
    } else {
      EXPECT_TRUE(s.dialogs.messages().empty());
    }
  }
}

TEST(CopperCheck, KpaLimitPutsBack446) {
  Session s(UnitSystem::Metric);
  PreferencesOutcome prefs;
  prefs.pressureUnit = PressureUnit::Kpa;
  s.model.applyPreferences(prefs);
  s.type("Pressure", "1825");
  EXPECT_TRUE(s.dialogs.messages().empty());
  s.type("Pressure", "1826");
  EXPECT_EQ(s.dialogs.messageTexts(),
            std::vector<std::string>{"A Tracer Tubing Material of Copper should not be used with steam "
                                     "pressures greater than 1,825 kPa"});
  EXPECT_EQ(s.text("Pressure"), "446");
}

TEST(CopperCheck, StainlessTubingIsNotChecked) {
  Session s;
  s.pick("cboTracerMaterial", "Stainless Smls");
  s.type("Pressure", "300");
  s.type("Max_Exp_Temp", "800");
  EXPECT_TRUE(s.dialogs.messages().empty());
  EXPECT_EQ(s.text("Pressure"), "300");
}

TEST(HeatUpFields, MinimumAmbientAndMaintenanceTemperatureAreCopied) {
  Session s;
  s.model.textChanged("Min_Amb", "-5");
  s.model.textChanged("MT_In", "65");
  EXPECT_EQ(s.text("txtInitalTemp"), "-5");
  EXPECT_EQ(s.text("txtFinalTemp"), "65");
  s.model.textChanged("Max_Amb", "77");
  EXPECT_EQ(s.text("txtInitalTemp"), "-5");
}

TEST(HeatUpFields, ProductRangeWarnsOnPickingAProduct) {
  Session s(UnitSystem::Metric);
  s.type("MT_In", "38");
  s.pick("cboProduct", "Water");
  EXPECT_TRUE(s.dialogs.messages().empty());
  s.type("MT_In", "101");
  EXPECT_TRUE(s.dialogs.messages().empty());  // the check runs on the product list only
  s.pick("cboProduct", "Water");
  ASSERT_EQ(s.dialogs.messages().size(), 1u);
  EXPECT_EQ(s.dialogs.messages()[0].title, "Warning");
  EXPECT_NE(
      s.dialogs.messages()[0].text.find("( 0 - 100 \u00B0C)  for the product property curve fits of Water."),
      std::string::npos);
  s.dialogs.clearRecords();
  s.pick("cboProduct", "Other");
  EXPECT_TRUE(s.dialogs.messages().empty());
  s.type("MT_In", "");
  s.pick("cboProduct", "Acetone");
  EXPECT_TRUE(s.dialogs.messages().empty());
}

TEST(HeatUpFields, OtherEnablesThePropertiesAndThePhaseChangeBoxItsFields) {
  Session s;
  const char* properties[] = {"txtProdDensity", "lblProdDensity", "lblProdDensUnit", "txtProdCp",
                              "lblProdCp",      "lblProdCpUnit",  "chbPhaseChange"};
  const char* phase[] = {"txtPCTemp",     "lblPCTemp",     "lblPCTempUnit",
                         "txtLatentHeat", "lblLatentHeat", "lblLatentHeatUnit"};
  s.pick("cboProduct", "Other");
  for (const char* n : properties) EXPECT_TRUE(s.c(n).enabled) << n;
  for (const char* n : phase) EXPECT_FALSE(s.c(n).enabled) << n;
  s.model.checkClicked("chbPhaseChange", true);
  for (const char* n : phase) EXPECT_TRUE(s.c(n).enabled) << n;
  s.model.checkClicked("chbPhaseChange", false);
  for (const char* n : phase) EXPECT_FALSE(s.c(n).enabled) << n;
  s.model.checkClicked("chbPhaseChange", true);
  s.pick("cboProduct", "Benzene");
  for (const char* n : properties) EXPECT_FALSE(s.c(n).enabled) << n;
  for (const char* n : phase) EXPECT_FALSE(s.c(n).enabled) << n;
  s.pick("cboProduct", "Other");  // the ticked box brings its fields back
  for (const char* n : phase) EXPECT_TRUE(s.c(n).enabled) << n;
}

TEST(Application, MaintenanceKeepsTheHeatUpTabUnavailable) {
  Session s;
  s.pick("cboApplication", "Maintenance");
  EXPECT_FALSE(s.c("SSTab1Tab1").enabled);
  s.model.listClicked("cboApplication", 2);  // no such entry
  EXPECT_FALSE(s.c("SSTab1Tab1").enabled);
  EXPECT_EQ(s.c("cboApplication").index, 0);
  s.pick("cboApplication", "Heat Up");
  EXPECT_TRUE(s.c("SSTab1Tab1").enabled);
  s.pick("cboApplication", "Maintenance");
  EXPECT_FALSE(s.c("SSTab1Tab1").enabled);
}

TEST(DesignButton, RefusesWhenAnInputIsEmpty) {
  for (const char* field :
       {"Pipe_Len_In", "MT_In", "Max_Exp_Temp", "Min_Amb", "Max_Amb", "txtIntExpTemp", "Pressure"}) {
    for (const char* empty : {"", "  "}) {
      SCOPED_TRACE(std::string(field) + " \"" + empty + "\"");
      Session s;
      bool ran = false;
      s.model.setDesignRunner([&](const CircuitEntry&, const CircuitContext&, DesignQuestions&) {
        ran = true;
        return CircuitDesign{};
      });
      s.model.textChanged(field, empty);
      const DesignSet before = s.model.set();
      s.design();
      EXPECT_FALSE(ran);
      ASSERT_EQ(s.dialogs.messages().size(), 1u);
      const Message& m = s.dialogs.messages()[0];
      EXPECT_EQ(m.text, "All Circuit Design Input Data must have values.");
      EXPECT_EQ(m.title, "Input Error");
      EXPECT_EQ(m.icon, MsgIcon::Information);
      EXPECT_TRUE(m.systemModal);
      EXPECT_EQ(s.model.set().records, before.records);
      EXPECT_FALSE(s.model.set().DesignLock);
    }
  }
}

TEST(DesignButton, StoresTheRemainingInputsAfterTheRun) {
  Session s;
  s.model.set().InsulationSizing = InsulationSizing::Minimal;
  s.model.set().DesignSaved = true;
  s.type("Max_Amb", "95.3");
  s.type("Min_Amb", "-7");
  s.type("MT_In", "120");
  s.type("Pipe_Len_In", "250.75");
  s.type("Circ_No", "C-1");
  s.type("Line_No", "6\"-ST-101");
  s.pick("Insul_Typ_In", "Cellular Glass");
  s.pick("cboTracerMaterial", "Stainless Wld");
  s.pick("Cab_In", "Troughline");
  s.pick("Cab_Sel", "1/2");
  s.model.listClicked("cboTubeWallThick", 1);
  s.model.set().DesignSaved = true;

  int runs = 0;
  s.model.setDesignRunner([&](const CircuitEntry& e, const CircuitContext& context, DesignQuestions& q) {
    ++runs;
    const DesignRecord& r = s.model.set().at(0);
    // The button reset the outputs and copied the preferences before the run.
    EXPECT_TRUE(r.TSIZ.empty());
    EXPECT_EQ(r.CEM1, " ");
    EXPECT_EQ(r.CHAN, " ");
    EXPECT_EQ(r.UNDER, 1);
    EXPECT_EQ(r.PRESSURE, StoredNumber(PressureUnit::Psig));
    EXPECT_EQ(context.sizing, InsulationSizing::Minimal);
    return test::FixedResultRun(e, context, q);
  });
  s.design();
  EXPECT_EQ(runs, 1);
  const DesignRecord& r = s.model.set().current();
  EXPECT_EQ(r.MAXAMB, 95.3f);
  EXPECT_EQ(r.MINAMB, -7.0f);
  EXPECT_EQ(r.MAINTEMP, 120.0f);
  EXPECT_EQ(r.PIPELN, 250.75f);
  EXPECT_EQ(r.INSTYPE, 5);  // position 4 plus one
  EXPECT_EQ(r.TRACEINS, 0);
  EXPECT_EQ(r.TUBEMAT, 1);
  EXPECT_EQ(r.TUBEWALL, 1);
  EXPECT_EQ(r.APPTYPE, 0);
  EXPECT_EQ(r.CIRTXT, "C-1");
  EXPECT_EQ(r.PIPETXT, "6\"-ST-101");
  EXPECT_EQ(r.HeatUpInitialTemp, "-7");
  EXPECT_EQ(r.HeatUpFinalTemp, "120");
  EXPECT_EQ(r.HeatUpDensity, "62.4");
  EXPECT_EQ(r.HeatUpProduct, 0);
  EXPECT_TRUE(r.HoldsDesign());
  EXPECT_TRUE(s.model.set().DesignLock);
  EXPECT_FALSE(s.model.set().DesignSaved);  // the set changed
  EXPECT_EQ(s.text("TraceLb"), "Troughline");
  EXPECT_FALSE(s.c("lblHuTime").enabled);
  EXPECT_EQ(s.text("txtHuTime"), "");
}

TEST(DesignButton, AFallbackRebuildsTheListsButDiscardsNothing) {
  Session s;
  s.design();  // a stored design with YJ-2
  ASSERT_EQ(s.model.set().current().TRACEINS, 3);
  int passes = 0;
  s.model.setDesignRunner([&](const CircuitEntry& e, const CircuitContext& context, DesignQuestions& q) {
    ++passes;
    CircuitEntry fallen = e;
    ChooseInstallation(fallen, kInstallTroughline, context);  // the fallback of the first pass
    q.installationChosen(kInstallTroughline);
    return test::FixedResultRun(fallen, context, q);
  });
  s.design();
  EXPECT_EQ(passes, 1);
  const DesignRecord& r = s.model.set().current();
  EXPECT_TRUE(r.HoldsDesign());
  EXPECT_EQ(r.STEAMPRS, 50.0f);
  EXPECT_EQ(r.MAXEXP, 375.0f);
  EXPECT_EQ(r.TRACEINS, 0);
  EXPECT_EQ(s.selected("Cab_In"), "Troughline");
  EXPECT_EQ(s.c("Cab_Sel").items.size(), 4u);
  EXPECT_EQ(s.text("Max_Maint_Temp"), "150");
  EXPECT_TRUE(s.c("TraceLb").visible);
  // After the run the installation list discards again.
  s.pick("Cab_In", "Fillet Trace");
  EXPECT_FALSE(s.model.set().current().HoldsDesign());
}

TEST(DesignButton, EventsReachingTheWindowDuringTheRunLeaveTheRecordAlone) {
  Session s;
  s.design();
  int runs = 0;
  s.model.setDesignRunner([&](const CircuitEntry& e, const CircuitContext& context, DesignQuestions& q) {
    ++runs;
    // While the shoe dialog waits, the user presses keys of the main window.
    s.model.clicked("Des_But");
    s.model.spinnerStep(-1);
    s.model.toggleProgramMode();
    return test::FixedResultRun(e, context, q);
  });
  s.design();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(s.text("Rec_Num"), "1");
  EXPECT_EQ(s.c("Spin1").index, 0);
  EXPECT_FALSE(s.model.internalMode());
  EXPECT_TRUE(s.model.set().current().HoldsDesign());
}

TEST(DesignButton, AStoppedRunStillLocksTheModeAndLeavesNoDesign) {
  Session s;
  s.design();
  s.model.setDesignRunner([](const CircuitEntry& e, const CircuitContext&, DesignQuestions& q) {
    CircuitDesign d;
    d.entry = e;
    d.messages.push_back({"Input Error", "Steam pressure must be between 5 and 300 psig."});
    q.told(d.messages.back());
    return d;
  });
  s.design();
  EXPECT_FALSE(s.model.set().current().HoldsDesign());
  EXPECT_EQ(s.model.set().current().TP2, 0.0f);
  EXPECT_EQ(s.model.set().current().MAXAMB, 100.0f);
  EXPECT_TRUE(s.model.set().DesignLock);
  EXPECT_FALSE(s.c("TraceLb").visible);
}

}  // namespace
}  // namespace vst
