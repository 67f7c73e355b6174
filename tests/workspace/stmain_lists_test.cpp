// What discards the stored design, and what a design shows of its
// installation.
#include <gtest/gtest.h>

#include "circuit/lists.h"
#include "stmain_test_support.h"

namespace vst {
namespace {

using test::Session;

// The outputs a design puts on the screen.
void ExpectDesignShown(const Session& s) {
  EXPECT_EQ(s.text("Max_Maint_Temp"), "150");
  EXPECT_EQ(s.text("Cond_Load"), "0.023");
  EXPECT_TRUE(s.c("TraceLb").visible);
  EXPECT_TRUE(s.model.set().current().HoldsDesign());
}

void ExpectDiscarded(const Session& s) {
  for (const char* name : {"Max_Maint_Temp", "Min_Maint_Temp", "Ht_Lswo_Out", "Cond_Load", "Insul_Size",
                           "Tot_Cab_Out", "Trap_Dist", "Rise"}) {
    EXPECT_EQ(s.text(name), "") << name;
  }
  EXPECT_FALSE(s.c("TraceLb").visible);
  EXPECT_FALSE(s.c("TraceTp").visible);
  EXPECT_FALSE(s.model.set().current().HoldsDesign());
  EXPECT_FALSE(s.model.set().DesignSaved);
}

TEST(DiscardStoredDesign, ResetsTheRecordButKeepsItsTextsAndPreferences) {
  Session s;
  s.type("Circ_No", "C-7");
  s.type("Line_No", "L-12");
  s.pick("Cab_In", "Fillet Trace");
  s.design();
  DesignRecord& r = s.model.set().current();
  r.COVR = "YJ-1";
  r.TBAND = 12;
  r.SSFLAG = 2;
  r.UNDER = 1;
  r.PRESSURE = 2;
  r.TRACETUB = 1;
  r.IntermittentExposure = 375;
  r.TUBEMAT = 1;
  r.VALN = 3;
  s.model.controls()["Min_Maint_Temp"].backColor = kColorYellow;
  s.model.set().DesignSaved = true;

  s.type("Max_Amb", "101");
  ExpectDiscarded(s);
  EXPECT_EQ(s.c("Min_Maint_Temp").backColor, kColorWhite);
  DesignRecord expected;
  expected.INSTYPE = 3;
  expected.TRACEINS = 2;
  expected.PIPESIZE = 5;
  expected.CEM1 = " ";
  expected.HeatUpInitialTemp = expected.HeatUpFinalTemp = expected.HeatUpDensity = "0";
  expected.HeatUpSpecificHeat = expected.HeatUpLatentHeat = expected.HeatUpPhaseChangeTemp = "0";
  // Kept.
  expected.COVR = "YJ-1";
  expected.TBAND = 12;
  expected.SSFLAG = 2;
  expected.UNDER = 1;
  expected.PRESSURE = 2;
  expected.CIRTXT = "C-7";
  expected.PIPETXT = "L-12";
  expected.TRACETUB = 1;
  expected.IntermittentExposure = 375;
  EXPECT_EQ(r, expected);
  // The screen keeps what was typed.
  EXPECT_EQ(s.text("Max_Amb"), "101");
  EXPECT_EQ(s.selected("Cab_In"), "Fillet Trace");
}

TEST(DiscardStoredDesign, SameInstallationKeepsTheDesignAnotherDiscardsIt) {
  Session s;
  s.pick("Cab_In", "Fillet Trace");
  s.design();
  s.model.set().DesignSaved = true;
  s.pick("Cab_In", "Fillet Trace");
  ExpectDesignShown(s);
  EXPECT_TRUE(s.model.set().DesignSaved);
  s.pick("Cab_In", "Troughline");
  ExpectDiscarded(s);
}

TEST(DiscardStoredDesign, EachInputDiscardsOnlyWhenItsValueChanges) {
  struct Row {
    const char* control;
    bool list;
    const char* same;  // the value the design stored
    const char* changed;
  };
  const Row rows[] = {
      {"Max_Amb", false, "100", "100.5"},
      {"Min_Amb", false, "0", "-1"},
      {"MT_In", false, "100", "99"},
      {"Max_Exp_Temp", false, "375", "376"},
      {"Pipe_Len_In", false, "100", "120"},
      {"Pressure", false, "50", "49"},
      {"txtIntExpTemp", false, "375", "370"},
      {"Max_Amb", false, "100", ""},       // empty text counts as changed
      {"Pressure", false, "50", "fifty"},  // so does text that is not a number
      {"Insul_Th_In", true, "1.0", "2.0"},
      {"Insul_Typ_In", true, "Fiberglass", "Mineral Fiber"},
      {"Pipe_Dia_In", true, "2.0", "4.0"},
      {"Pass", true, "1", "2"},
      {"Cab_Sel", true, "3/8", "1/2"},
      {"cboTracerMaterial", true, "Copper", "Stainless Wld"},
      {"cboTubeWallThick", true, "0.032", "0.049"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.control) + " \"" + row.changed + "\"");
    Session s;
    s.pick("Cab_In", "Fillet Trace");
    s.design();
    s.model.set().DesignSaved = true;
    if (row.list) {
      s.pick(row.control, row.same);
    } else {
      s.model.gotFocus(row.control);
      s.model.textChanged(row.control, row.same);
      s.model.lostFocus(row.control);
    }
    ExpectDesignShown(s);
    EXPECT_TRUE(s.model.set().DesignSaved);
    if (row.list) {
      s.pick(row.control, row.changed);
    } else {
      s.type(row.control, row.changed);
    }
    ExpectDiscarded(s);
  }
}

TEST(DiscardStoredDesign, NothingIsDiscardedWhileARecordIsLoaded) {
  Session s;
  s.pick("Cab_In", "Fillet Trace");
  s.design();
  const DesignRecord designed = s.model.set().current();
  s.model.set().RecordLoading = true;
  s.pick("Cab_In", "Troughline");
  s.type("Max_Amb", "55");
  s.pick("Pass", "3");
  EXPECT_EQ(s.model.set().current(), designed);
  EXPECT_EQ(s.text("Max_Maint_Temp"), "150");
  s.model.set().RecordLoading = false;
}

TEST(InstallationResult, NamesTheMethodAfterADesignAndWhenShownAgain) {
  struct Row {
    const char* installation;
    const char* afterDesign;
    const char* shownAgain;
    const char* type;
  };
  const Row rows[] = {
      {"Troughline", "Troughline", "Trough Line", "E-50-C"},
      {"Fillet Trace", "Fillet Trace with", "Fillet Trace with", "E-50-C"},
      {"Coverlyn  YJ-1", "Coverlyn Type", "Coverlyn Type", "YJ-2"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.installation);
    Session s;
    s.pick("Cab_In", row.installation);
    s.design();
    EXPECT_EQ(s.text("TraceLb"), row.afterDesign);
    EXPECT_EQ(s.text("TraceTp"), row.type);
    EXPECT_TRUE(s.c("TraceLb").visible);
    EXPECT_TRUE(s.c("TraceTp").visible);
    s.model.spinnerStep(1);  // previous step at record 1 shows it again
    EXPECT_EQ(s.text("TraceLb"), row.shownAgain);
    EXPECT_EQ(s.text("TraceTp"), row.type);
    EXPECT_TRUE(s.c("TraceLb").visible);
  }
}

}  // namespace
}  // namespace vst
