// The installation choice and the lists that depend on it, and what
// discards the stored design.
#include <gtest/gtest.h>

#include "circuit/lists.h"
#include "stmain_test_support.h"

namespace vst {
namespace {

using test::Session;

TEST(InstallationChange, StandardModeCapsTheTubeAtHalfInch) {
  Session s;
  s.pick("Cab_In", "Fillet Trace");
  EXPECT_EQ(s.selected("Cab_Sel"), "3/8");  // from the single size of YJ-2
  s.pick("Cab_Sel", "3/4");
  s.pick("Cab_In", "Troughline");
  EXPECT_EQ(s.selected("Cab_Sel"), "1/2");
  EXPECT_EQ(s.c("Cab_Sel").index, 1);
  s.pick("Cab_Sel", "5/8");
  s.pick("Cab_In", "Fillet Trace");
  EXPECT_EQ(s.selected("Cab_Sel"), "1/2");
  s.pick("Cab_In", "Coverlyn  YJ-1");
  EXPECT_EQ(s.c("Cab_Sel").items, TextList{"3/8"});
  EXPECT_EQ(s.c("Cab_Sel").index, 0);
}

TEST(InstallationChange, InternalModeKeepsTheTubeExceptForYJ0) {
  Session s;
  s.internalMode();
  s.pick("Cab_In", "Fillet Trace");
  s.pick("Cab_Sel", "3/4");
  s.pick("Cab_In", "Troughline");
  EXPECT_EQ(s.selected("Cab_Sel"), "3/4");
  s.pick("Cab_In", "Coverlyn  YJ-0");
  EXPECT_EQ(s.c("Cab_Sel").items, (TextList{"3/8", "1/2"}));
  EXPECT_EQ(s.selected("Cab_Sel"), "1/2");
  s.pick("Cab_In", "Coverlyn  YJ-2");
  EXPECT_EQ(s.selected("Cab_Sel"), "3/8");
  s.pick("Cab_In", "Fillet Trace");
  EXPECT_EQ(s.selected("Cab_Sel"), "3/8");
}

TEST(InstallationChange, FromASingleSizeToFourKeepsTheSmallestTube) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    Session s(units);
    ASSERT_EQ(s.selected("Cab_In"), "Coverlyn  YJ-2");
    s.pick("Cab_In", "Fillet Trace");
    EXPECT_EQ(s.c("Cab_Sel").index, 0);
    EXPECT_EQ(s.c("Cab_Sel").items.size(), 4u);
    EXPECT_EQ(s.selected("Cab_Sel"), units == UnitSystem::Metric ? "10" : "3/8");
  }
}

TEST(PipeSizeList, TroughlineWithALargerTubeBlanksTheSmallestSizesKeepingPositions) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    const bool metric = units == UnitSystem::Metric;
    SCOPED_TRACE(metric ? "Metric" : "English");
    Session s(units);
    s.pick("Cab_In", "Troughline");
    EXPECT_EQ(s.c("Pipe_Dia_In").items[0], metric ? "15" : ".5");  // 3/8 in tube: all sizes
    s.model.listClicked("Pipe_Dia_In", 3);
    s.model.listClicked("Cab_Sel", 1);
    const Control& pipes = s.c("Pipe_Dia_In");
    ASSERT_EQ(pipes.items.size(), 19u);
    EXPECT_EQ(pipes.items[0], "");
    EXPECT_EQ(pipes.items[1], "");
    EXPECT_EQ(pipes.items[2], "");
    EXPECT_EQ(pipes.index, 3);
    EXPECT_EQ(s.selected("Pipe_Dia_In"), metric ? "40" : "1.5");
    // Back to Fillet Trace: the sizes return, the position stays.
    s.pick("Cab_In", "Fillet Trace");
    EXPECT_EQ(s.c("Pipe_Dia_In").items[0], metric ? "15" : ".5");
    EXPECT_EQ(s.c("Pipe_Dia_In").index, 3);
  }
}

TEST(WallThickness, MetricListIsAlwaysOneAndOneAndAHalf) {
  Session s(UnitSystem::Metric);
  s.pick("Cab_In", "Troughline");
  for (const char* tube : {"10", "12", "16", "20"}) {
    for (const char* material : {"Copper", "Stainless Wld", "Stainless Smls"}) {
      s.pick("cboTracerMaterial", material);
      s.pick("Cab_Sel", tube);
      EXPECT_EQ(s.c("cboTubeWallThick").items, (TextList{"1", "1.5"})) << tube << " " << material;
      EXPECT_EQ(s.selected("cboTubeWallThick"), "1") << tube << " " << material;
    }
  }
}

TEST(WallThickness, EnglishListFollowsTubeAndMaterialAndKeepsUnlistedCases) {
  Session s;
  s.pick("Cab_In", "Troughline");
  EXPECT_EQ(s.c("cboTubeWallThick").items, (TextList{"0.032", "0.049"}));
  s.model.listClicked("cboTubeWallThick", 1);
  s.pick("cboTracerMaterial", "Stainless Smls");  // 3/8 in seamless: the list stays as it was
  EXPECT_EQ(s.c("cboTubeWallThick").items, (TextList{"0.032", "0.049"}));
  EXPECT_EQ(s.c("cboTubeWallThick").index, 1);
  s.pick("Cab_Sel", "1/2");
  EXPECT_EQ(s.c("cboTubeWallThick").items, (TextList{"0.035", "0.049"}));
  EXPECT_EQ(s.c("cboTubeWallThick").index, 0);
  s.pick("Cab_Sel", "5/8");  // 5/8 in seamless: unchanged again
  EXPECT_EQ(s.c("cboTubeWallThick").items, (TextList{"0.035", "0.049"}));
  s.pick("cboTracerMaterial", "Copper");
  EXPECT_EQ(s.c("cboTubeWallThick").items, (TextList{"0.042", "0.049", "0.065"}));
  s.pick("cboTracerMaterial", "Stainless Wld");
  EXPECT_EQ(s.c("cboTubeWallThick").items, (TextList{"0.049", "0.065"}));
}

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
  expected.HeatUpSpecificHeat = expected.HeatUpLatentHeat = "0";
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
