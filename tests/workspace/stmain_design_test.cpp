// Designs driven through the main window with the real design run: type the
// inputs, press "&Design", answer the dialogs from a script, and check the
// messages in order, the output fields and the stored record.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "circuit/lists.h"
#include "stmain_test_support.h"

namespace vst {
namespace {

using test::Session;

const char* const kOutputs[] = {"Max_Maint_Temp", "Min_Maint_Temp", "Ht_Lswo_Out", "Cond_Load",
                                "Insul_Size",     "Tot_Cab_Out",    "Trap_Dist",   "Rise"};

struct Case {
  UnitSystem units;
  bool internal;
  std::string name() const {
    return std::string(units == UnitSystem::Metric ? "Metric" : "English") +
           (internal ? " InternalMode" : " standard");
  }
};
const Case kCases[] = {{UnitSystem::English, false},
                       {UnitSystem::English, true},
                       {UnitSystem::Metric, false},
                       {UnitSystem::Metric, true}};

// A session whose design button runs the engine, with one answer queued for
// each allowance dialog.
void UseEngine(Session& s, const Case& c) {
  s.model.setDesignRunner({});
  if (c.internal) s.internalMode();
  s.dialogs.pipe({kAllowanceIncludedNo, "2", "3", "1", "0"}).shoes({.sizes = {{"12", "4"}}});
}

std::vector<std::string> OutputTexts(const Session& s) {
  std::vector<std::string> texts;
  for (const char* name : kOutputs) texts.push_back(s.text(name));
  texts.push_back(s.text("TraceTp"));
  return texts;
}

TEST(DesignFromTheWindow, DefaultInputsDesignTheRecordAndShowIt) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name());
    Session s(c.units);
    UseEngine(s, c);
    const bool metric = c.units == UnitSystem::Metric;
    s.type("Circ_No", "C-100");
    s.type("Line_No", "2\"-ST-7");
    s.design();

    EXPECT_EQ(s.dialogs.log(), (std::vector<std::string>{metric ? "PipeForm: Pipe Length = 30 Meters"
                                                                : "PipeForm: Pipe Length = 100 Feet",
                                                         "ShoeForm:  Tubing Allowances for Shoes"}));
    EXPECT_TRUE(s.dialogs.allAnswersUsed());
    EXPECT_EQ(s.text("MessagePanel"), "Design created");

    const DesignRecord& r = s.model.set().current();
    ASSERT_TRUE(r.HoldsDesign());
    EXPECT_TRUE(s.model.set().DesignLock);
    // The fields show the record's values.
    EXPECT_EQ(s.text("Max_Maint_Temp"), SingleText(r.TP2));
    EXPECT_EQ(s.text("Min_Maint_Temp"), SingleText(r.TP1));
    EXPECT_EQ(s.text("Cond_Load"), FixedText(r.COND, 3));
    EXPECT_EQ(s.text("Rise"), SingleText(r.VTR));
    EXPECT_EQ(s.text("Insul_Size"), SingleText(r.INSIZE));
    EXPECT_EQ(s.text("TraceLb"), "Coverlyn Type");
    EXPECT_EQ(s.text("TraceTp"), r.COVR);
    EXPECT_TRUE(s.c("TraceLb").visible);
    EXPECT_GT(r.TP2, r.TP1);
    // The inputs the window stores.
    EXPECT_EQ(r.MAXAMB, metric ? 38.0f : 100.0f);
    EXPECT_EQ(r.MINAMB, metric ? -18.0f : 0.0f);
    EXPECT_EQ(r.MAINTEMP, metric ? 38.0f : 100.0f);
    EXPECT_EQ(r.MAXEXP, metric ? 190.0f : 375.0f);
    EXPECT_EQ(r.STEAMPRS, metric ? 3.45f : 50.0f);
    EXPECT_EQ(r.PIPELN, metric ? 30.0f : 100.0f);
    EXPECT_EQ(r.INSTYPE, 3);
    EXPECT_EQ(r.PIPESIZE, kPipeSizeStart);
    EXPECT_EQ(r.TRACEINS, c.internal ? 4 : 3);
    EXPECT_EQ(r.PRESSURE, StoredNumber(metric ? PressureUnit::BarG : PressureUnit::Psig));
    EXPECT_EQ(r.VALN, 2.0f);
    EXPECT_EQ(r.FLNO, 3.0f);
    EXPECT_EQ(r.NOPX, 1.0f);
    EXPECT_EQ(r.CIRTXT, "C-100");
    EXPECT_EQ(r.PIPETXT, "2\"-ST-7");

    // The values read the same after navigating away and back.
    const std::vector<std::string> shown = OutputTexts(s);
    s.model.spinnerStep(-1);
    EXPECT_EQ(s.text("Rec_Num"), "2");
    for (const char* name : kOutputs) EXPECT_EQ(s.text(name), "") << name;
    s.model.spinnerStep(0);
    EXPECT_EQ(s.text("Rec_Num"), "1");
    EXPECT_EQ(OutputTexts(s), shown);
    EXPECT_EQ(s.text("TraceLb"), "Coverlyn Type");
    EXPECT_EQ(s.text("Circ_No"), "C-100");
  }
}

TEST(DesignFromTheWindow, JacketedTracersFallBackWithTheirMessagesAndKeepTheRecord) {
  struct Row {
    bool internal;
    const char* pipe;
    std::vector<std::string> fallbacks;
    const char* installation;
    const char* afterDesign;
    const char* shownAgain;
  };
  const Row rows[] = {
      {false,
       "2.0",
       {"YJ-2 could not maintain desired temperature. YJ-1 has been selected.",
        "YJ-1 could not maintain desired temperature. Trough Line has been selected."},
       "Troughline",
       "Troughline",
       "Trough Line"},
      {false,
       "1",
       {"YJ-2 could not maintain desired temperature. YJ-1 has been selected.",
        "YJ-1 could not maintain desired temperature. Fillet Trace has been selected."},
       "Fillet Trace",
       "Fillet Trace with",
       "Fillet Trace with"},
      {true,
       "2.0",
       {"YJ-2 could not maintain desired temperature. YJ-1 has been selected.",
        "YJ-1 could not maintain desired temperature. YJ-0 has been selected.",
        "YJ-0 could not maintain desired temperature. Trough Line has been selected."},
       "Troughline",
       "Troughline",
       "Trough Line"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.internal ? "InternalMode " : "standard ") + row.pipe + " in");
    Session s;
    UseEngine(s, {UnitSystem::English, row.internal});
    s.pick("Pipe_Dia_In", row.pipe);
    s.type("MT_In", "250");
    s.design();
    std::vector<std::string> expected{"PipeForm: Pipe Length = 100 Feet",
                                      "ShoeForm:  Tubing Allowances for Shoes"};
    for (const std::string& m : row.fallbacks) expected.push_back("Message []: " + m);
    EXPECT_EQ(s.dialogs.log(), expected);  // the allowance step runs once
    EXPECT_EQ(s.selected("Cab_In"), row.installation);
    EXPECT_EQ(s.c("Cab_Sel").items.size(), 4u);
    EXPECT_EQ(s.text("TraceLb"), row.afterDesign);
    const DesignRecord& r = s.model.set().current();
    // The fallbacks' list changes discarded nothing of the design under way.
    ASSERT_TRUE(r.HoldsDesign());
    EXPECT_EQ(r.TRACEINS, s.c("Cab_In").index);
    EXPECT_EQ(r.STEAMPRS, 50.0f);
    EXPECT_EQ(r.MAINTEMP, 250.0f);
    EXPECT_EQ(s.text("TraceTp"), r.CEM);
    EXPECT_EQ(s.text("Max_Maint_Temp"), SingleText(r.TP2));
    s.model.spinnerStep(1);
    EXPECT_EQ(s.text("TraceLb"), row.shownAgain);
    EXPECT_EQ(s.selected("Cab_In"), row.installation);
  }
}

TEST(DesignFromTheWindow, InputErrorsOfTheRunEndItWithoutADesign) {
  struct Row {
    UnitSystem units;
    std::function<void(Session&)> setup;
    const char* message;
  };
  const Row rows[] = {
      {UnitSystem::English,
       [](Session& s) {
         s.pick("cboTracerMaterial", "Stainless Wld");
         s.type("Pressure", "400");
       },
       "Steam pressure must be between 5 and 300 psig."},
      {UnitSystem::Metric,
       [](Session& s) {
         s.pick("cboTracerMaterial", "Stainless Wld");
         s.type("Pressure", "25");
       },
       "Steam pressure must be between .35 and 20.68 bar g."},
      {UnitSystem::English, [](Session& s) { s.type("Max_Amb", "-5"); },
       " Max ambient must be greater than min ambient"},
      {UnitSystem::Metric,
       [](Session& s) {
         // Troughline with a 12 mm tube blanks the smallest pipe sizes.
         s.pick("Cab_In", "Troughline");
         s.pick("Cab_Sel", "12");
         s.model.listClicked("Pipe_Dia_In", 1);
       },
       "Pipe Sizes smaller then 40mm not available for Troughline."},
      {UnitSystem::English,
       [](Session& s) {
         s.pick("Cab_In", "Troughline");
         s.pick("Cab_Sel", "1/2");
         s.model.listClicked("Pipe_Dia_In", 0);
       },
       "Trough Line does not fit on Pipe Sizes smaller than 1.5''."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    Session s(row.units);
    UseEngine(s, {row.units, false});
    row.setup(s);
    s.dialogs.clearRecords();
    s.design();
    EXPECT_EQ(s.dialogs.log(),
              std::vector<std::string>{std::string("Message [Input Error]: ") + row.message});
    ASSERT_EQ(s.dialogs.messages().size(), 1u);
    EXPECT_TRUE(s.dialogs.messages()[0].systemModal);
    EXPECT_FALSE(s.model.set().current().HoldsDesign());
    EXPECT_TRUE(s.model.set().DesignLock);
    for (const char* name : kOutputs) EXPECT_EQ(s.text(name), "") << name;
    EXPECT_FALSE(s.c("TraceLb").visible);
    // Nothing to step on from a record without a design.
    s.model.spinnerStep(-1);
    EXPECT_EQ(s.text("Rec_Num"), "1");
  }
}

TEST(DesignFromTheWindow, FilletTraceAboveItsLimitSwitchesToTroughline) {
  Session s;
  UseEngine(s, {UnitSystem::English, false});
  s.pick("cboTracerMaterial", "Stainless Wld");
  s.pick("Cab_In", "Fillet Trace");
  s.type("Pressure", "250");
  s.design();
  EXPECT_EQ(s.dialogs.log(),
            (std::vector<std::string>{
                "Message [Input Error]: Maximum temperature exposure or Steam temperature is "
                "too high for Fillet Trace. Troughline has been selected.",
                "PipeForm: Pipe Length = 100 Feet", "ShoeForm:  Tubing Allowances for Shoes"}));
  EXPECT_EQ(s.selected("Cab_In"), "Troughline");
  EXPECT_EQ(s.text("TraceLb"), "Troughline");
  EXPECT_TRUE(s.model.set().current().HoldsDesign());
  EXPECT_EQ(s.model.set().current().TRACEINS, kInstallTroughline);
}

// "Heat Up" shows the listed product's data at the mean of the initial and
// final temperatures (water at 70 F: 62.30 lb/ft3 and 0.999 BTU/(lb F); at
// 20 C: 998.2 kg/m3 and 4184 J/(kg K), NIST), leaves the values of "Other"
// as entered, and the design shows the heat-up time with its labels.
TEST(DesignFromTheWindow, HeatUpShowsTheProductDataAndTheTime) {
  struct Row {
    UnitSystem units;
    const char *initial, *final;
    double density, specificHeat;
    const char *otherDensity, *otherSpecificHeat;
  };
  const Row rows[] = {{UnitSystem::English, "50", "90", 62.30, 0.999, "62.4", "1"},
                      {UnitSystem::Metric, "10", "30", 998.2, 4184.0, "982.846", "4186.553"}};
  for (const Row& row : rows) {
    Session s(row.units);
    UseEngine(s, {row.units, false});
    s.pick("cboApplication", "Heat Up");
    s.pick("cboProduct", "Water");
    s.type("txtInitalTemp", row.initial);
    s.type("txtFinalTemp", row.final);
    EXPECT_NEAR(std::stod(s.text("txtProdDensity")), row.density, row.density * 1e-3);
    EXPECT_NEAR(std::stod(s.text("txtProdCp")), row.specificHeat, row.specificHeat * 2e-3);
    EXPECT_FALSE(s.c("txtProdDensity").enabled);
    s.model.textChanged("txtProdDensity", "1");  // the read-only field echoed back: not an entry
    s.pick("cboProduct", "Other");
    EXPECT_EQ(s.text("txtProdDensity"), row.otherDensity);
    EXPECT_EQ(s.text("txtProdCp"), row.otherSpecificHeat);
    s.pick("cboProduct", "Water");
    s.design();
    const DesignRecord& r = s.model.set().current();
    ASSERT_TRUE(r.HoldsDesign());
    EXPECT_GT(r.HeatUpTime, 0.0f);
    EXPECT_EQ(s.text("txtHuTime"), FixedText(r.HeatUpTime, 2));
    EXPECT_TRUE(s.c("lblHuTime").enabled);
    EXPECT_EQ(r.HeatUpDensity, row.otherDensity);
    s.type("txtFinalTemp", row.initial);  // the time no longer follows from the inputs
    EXPECT_EQ(s.text("txtHuTime"), "");
    EXPECT_EQ(r.HeatUpTime, 0.0f);
    EXPECT_TRUE(r.HoldsDesign());
  }
}

TEST(DesignFromTheWindow, AHeatUpAboveWhereTheLineSettlesShowsADashAndSaysWhy) {
  Session s;
  UseEngine(s, {UnitSystem::English, false});
  s.pick("cboApplication", "Heat Up");
  s.type("txtFinalTemp", "400");
  s.design();
  EXPECT_EQ(s.text("txtHuTime"), "\u2014");
  const Message& warning = s.dialogs.messages().back();
  EXPECT_EQ(warning.title, "Warning");
  EXPECT_EQ(warning.text.rfind("The line cannot reach the final temperature of 400.0 \u00B0F", 0), 0u);
}

TEST(DesignFromTheWindow, AShortfallMarksTheMinimumAndWarns) {
  Session s;
  UseEngine(s, {UnitSystem::English, false});
  s.pick("Cab_In", "Troughline");
  s.type("MT_In", "290");
  s.design();
  ASSERT_EQ(s.dialogs.log().size(), 3u);
  const Message& warning = s.dialogs.messages().back();
  EXPECT_EQ(warning.title, "Warning");
  EXPECT_EQ(warning.text.rfind("The Minimum Maintenance Temperature is less then the input Maintenance", 0),
            0u);
  EXPECT_EQ(s.c("Min_Maint_Temp").backColor, kColorYellow);
  const DesignRecord& r = s.model.set().current();
  ASSERT_TRUE(r.HoldsDesign());
  EXPECT_LT(r.TP1, 290.0f);
  // Shown again, the minimum keeps its mark; a discard clears it.
  s.model.spinnerStep(1);
  EXPECT_EQ(s.c("Min_Maint_Temp").backColor, kColorYellow);
  s.type("MT_In", "200");
  EXPECT_EQ(s.c("Min_Maint_Temp").backColor, kColorWhite);
  EXPECT_EQ(s.text("Min_Maint_Temp"), "");
}

TEST(DesignFromTheWindow, CommaLocaleAndKpaPressureReachTheRecord) {
  Session s(UnitSystem::Metric, ',');
  UseEngine(s, {UnitSystem::Metric, false});
  EXPECT_EQ(s.model.keyPress("Pressure", '.'), ',');
  s.type("Pressure", "3,45");
  s.design();
  ASSERT_TRUE(s.model.set().current().HoldsDesign());
  EXPECT_EQ(s.model.set().current().STEAMPRS, 3.45f);
  const std::string barg = s.text("Max_Maint_Temp");

  // Record 2 in kPa (446 kPa is about the same steam as 3.45 bar g).
  s.model.spinnerStep(-1);
  PreferencesOutcome prefs;
  prefs.pressureUnit = PressureUnit::Kpa;
  prefs.pressureText = "446";
  prefs.pressureCaption = " kPa";
  s.model.applyPreferences(prefs);
  s.dialogs.pipe({}).shoes({});
  s.design();
  const DesignRecord& r = s.model.set().current();
  ASSERT_TRUE(r.HoldsDesign());
  EXPECT_EQ(r.PRESSURE, StoredNumber(PressureUnit::Kpa));
  EXPECT_EQ(r.STEAMPRS, 446.0f);
  // Back on record 1 the window returns to bar g.
  s.model.spinnerStep(0);
  EXPECT_EQ(s.text("Label6"), " bar g");
  EXPECT_EQ(s.model.set().PressureUnit, PressureUnit::BarG);
  EXPECT_EQ(s.text("Pressure"), "3.45");
  EXPECT_EQ(s.text("Max_Maint_Temp"), barg);
  s.model.spinnerStep(-1);
  EXPECT_EQ(s.text("Label6"), " kPa");
  EXPECT_EQ(s.model.set().PressureUnit, PressureUnit::Kpa);
}

}  // namespace
}  // namespace vst
