// Record navigation with the spinner, loading a record into the window, and
// opening a design set.
#include <gtest/gtest.h>

#include "circuit/lists.h"
#include "stmain_test_support.h"

namespace vst {
namespace {

using test::Session;

void Next(Session& s) { s.model.spinnerStep(s.model.set().SpinnerPosition - 1); }
void Previous(Session& s) { s.model.spinnerStep(s.model.set().SpinnerPosition + 1); }

TEST(Navigation, PreviousStepAtRecordOneShowsWhatTheRecordHolds) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    SCOPED_TRACE(units == UnitSystem::Metric ? "Metric" : "English");
    Session s(units);
    Previous(s);
    EXPECT_EQ(s.text("Rec_Num"), "1");
    EXPECT_EQ(s.model.set().CurrentRecord, 0);
    // Loading the window discarded record 1 once, so it holds zeros and the
    // reset positions, not the defaults.
    for (const char* field : {"Max_Amb", "Min_Amb", "MT_In", "Max_Exp_Temp", "Pressure", "Pipe_Len_In",
                              "txtInitalTemp", "txtFinalTemp"}) {
      EXPECT_EQ(s.text(field), "0") << field;
    }
    EXPECT_EQ(s.c("Insul_Typ_In").index, 2);
    EXPECT_EQ(s.c("Cab_In").index, 2);
    EXPECT_EQ(s.c("Pipe_Dia_In").index, 5);
    EXPECT_EQ(s.c("Insul_Th_In").index, 0);
    EXPECT_EQ(s.text("Max_Maint_Temp"), "");
    EXPECT_FALSE(s.c("TraceLb").visible);
    // A record without a design leaves the pressure unit in force.
    EXPECT_EQ(s.text("Label6"), units == UnitSystem::Metric ? " bar g" : "  psig");
    EXPECT_EQ(s.model.set().PressureUnit,
              units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig);
    EXPECT_EQ(s.model.set().SpinnerPosition, 1);
    EXPECT_TRUE(s.dialogs.messages().empty());
  }
}

TEST(Navigation, NextStepFromARecordWithoutDesignRestoresTheSpinner) {
  Session s;
  s.model.spinnerStep(-3);
  EXPECT_EQ(s.c("Spin1").index, 0);
  EXPECT_EQ(s.model.set().SpinnerPosition, 0);
  EXPECT_EQ(s.text("Rec_Num"), "1");
  EXPECT_EQ(s.text("Max_Amb"), "100");
  s.model.spinnerStep(0);  // an equal position does nothing
  EXPECT_EQ(s.text("Max_Amb"), "100");
}

TEST(Navigation, NextStepToANewRecordKeepsTheInputsAndShowsItsEmptyOutputs) {
  Session s;
  s.design();
  Next(s);
  s.design();
  Next(s);
  s.type("Max_Amb", "90");
  s.type("Circ_No", "C-3");
  s.design();
  ASSERT_EQ(s.text("Rec_Num"), "3");
  ASSERT_TRUE(s.c("TraceLb").visible);

  Next(s);
  EXPECT_EQ(s.text("Rec_Num"), "4");
  EXPECT_EQ(s.model.set().CurrentRecord, 3);
  EXPECT_EQ(s.text("Max_Amb"), "90");
  EXPECT_EQ(s.text("Circ_No"), "C-3");
  EXPECT_FALSE(s.c("TraceLb").visible);
  EXPECT_FALSE(s.c("TraceTp").visible);
  for (const char* name : {"Max_Maint_Temp", "Min_Maint_Temp", "Ht_Lswo_Out", "Cond_Load", "Insul_Size",
                           "Tot_Cab_Out", "Trap_Dist", "Rise"}) {
    EXPECT_EQ(s.text(name), "") << name;
  }
  EXPECT_FALSE(s.model.set().current().HoldsDesign());
  // Record 4 holds nothing, so a further next step is blocked.
  const int position = s.model.set().SpinnerPosition;
  Next(s);
  EXPECT_EQ(s.text("Rec_Num"), "4");
  EXPECT_EQ(s.c("Spin1").index, position);
  s.design();
  EXPECT_TRUE(s.model.set().current().HoldsDesign());
  EXPECT_EQ(s.model.set().current().MAXAMB, 90.0f);
}

TEST(Navigation, StepsBackAndForthBetweenDesignedRecords) {
  Session s;
  s.type("Max_Amb", "80");
  s.type("Circ_No", "C-1");
  s.design();
  Next(s);
  s.type("Max_Amb", "90");
  s.type("Circ_No", "");
  s.type("Pressure", "60");
  s.pick("Cab_In", "Troughline");
  s.design();

  Previous(s);
  EXPECT_EQ(s.text("Rec_Num"), "1");
  EXPECT_EQ(s.text("Max_Amb"), "80");
  EXPECT_EQ(s.text("Pressure"), "50");
  EXPECT_EQ(s.text("Circ_No"), "C-1");
  EXPECT_EQ(s.selected("Cab_In"), "Coverlyn  YJ-2");
  EXPECT_EQ(s.text("TraceLb"), "Coverlyn Type");
  Next(s);
  EXPECT_EQ(s.text("Rec_Num"), "2");
  EXPECT_EQ(s.text("Max_Amb"), "90");
  EXPECT_EQ(s.text("Circ_No"), "");  // the next step sets the texts always
  EXPECT_EQ(s.selected("Cab_In"), "Troughline");
  EXPECT_EQ(s.text("TraceLb"), "Trough Line");
  EXPECT_EQ(s.text("Max_Maint_Temp"), "150");
  EXPECT_EQ(s.text("Cond_Load"), "0.023");
  Previous(s);
  EXPECT_EQ(s.text("Circ_No"), "C-1");
  s.model.set().at(0).CIRTXT.clear();
  s.type("Circ_No", "typed");
  Previous(s);  // record 1 again: an empty stored text leaves the field as it is
  EXPECT_EQ(s.text("Circ_No"), "typed");
  // Navigating discarded nothing.
  EXPECT_TRUE(s.model.set().at(0).HoldsDesign());
  EXPECT_TRUE(s.model.set().at(1).HoldsDesign());
}

TEST(Navigation, RecordTenIsTheLast) {
  Session s;
  for (DesignRecord& r : s.model.set().records) r.TSIZ = "3/8";
  for (int i = 0; i < 9; ++i) Next(s);
  EXPECT_EQ(s.text("Rec_Num"), "10");
  EXPECT_EQ(s.model.set().CurrentRecord, 9);
  const int position = s.model.set().SpinnerPosition;
  Next(s);
  EXPECT_EQ(s.text("Rec_Num"), "10");
  EXPECT_EQ(s.c("Spin1").index, position);
  EXPECT_EQ(s.model.set().SpinnerPosition, position);
}

TEST(LoadingARecord, TakesThePressureUnitAndSizingFromADesignedRecord) {
  Session s(UnitSystem::Metric);
  s.design();
  DesignRecord& r = s.model.set().current();
  r.PRESSURE = StoredNumber(PressureUnit::Kpa);
  r.UNDER = 1;
  r.STEAMPRS = 446;
  Previous(s);
  EXPECT_EQ(s.text("Label6"), " kPa");
  EXPECT_EQ(s.model.set().PressureUnit, PressureUnit::Kpa);
  EXPECT_EQ(s.model.set().InsulationSizing, InsulationSizing::Minimal);
  EXPECT_EQ(s.text("Pressure"), "446");
}

TEST(LoadingARecord, StoredHeatUpTextsWinOverTheCopiesOfTheTemperatures) {
  Session s;
  s.design();
  DesignRecord& r = s.model.set().current();
  r.MINAMB = 10;
  r.HeatUpInitialTemp = "15";
  r.MAINTEMP = 120.5f;
  r.HeatUpFinalTemp = "110";
  r.HeatUpDensity = "50";
  Previous(s);
  EXPECT_EQ(s.text("Min_Amb"), "10");
  EXPECT_EQ(s.text("MT_In"), "120.5");
  EXPECT_EQ(s.text("txtInitalTemp"), "15");
  EXPECT_EQ(s.text("txtFinalTemp"), "110");
  EXPECT_EQ(s.text("txtProdDensity"), "50");
  // A minimum maintained temperature short of the maintenance temperature is
  // marked as the design marked it.
  r.TP1 = 125;
  Previous(s);
  EXPECT_EQ(s.c("Min_Maint_Temp").backColor, kColorWhite);
  r.TP1 = 110;
  Previous(s);
  EXPECT_EQ(s.c("Min_Maint_Temp").backColor, kColorYellow);
}

TEST(LoadingARecord, DoesNotRerunTheInsulationChecksOfTheStoredDesign) {
  Session s;
  s.type("Pressure", "40");
  s.pick("Insul_Typ_In", "Polyisocyanurate");
  s.design();
  Next(s);
  s.pick("Insul_Typ_In", "Fiberglass");
  s.type("Pressure", "60");
  s.design();
  s.dialogs.clearRecords();
  Previous(s);
  EXPECT_TRUE(s.dialogs.messages().empty());
  EXPECT_EQ(s.selected("Insul_Typ_In"), "Polyisocyanurate");
  EXPECT_EQ(s.text("Pressure"), "40");
}

TEST(OpeningASet, TakesTheModeFromTheFileAndShowsThePreviousRecord) {
  Session s;
  s.design();
  Next(s);
  s.design();
  Next(s);
  s.design();
  Next(s);
  ASSERT_EQ(s.text("Rec_Num"), "4");

  std::array<DesignRecord, DesignSet::kRecords> records{};
  for (int i = 0; i < DesignSet::kRecords; ++i) {
    DesignRecord& r = records[static_cast<std::size_t>(i)];
    r.MAXAMB = static_cast<float>(60 + i);
    r.INSTYPE = 3;
    r.TRACEINS = 2;
    r.TSIZ = i < 5 ? "3/8" : "";
  }
  records[2].TRACEINS = 4;  // saved in InternalMode: Coverlyn YJ-2, read as stored
  records[2].COVR = "YJ-2";
  s.model.applyOpenedSet(records, true);

  EXPECT_TRUE(s.model.internalMode());
  EXPECT_EQ(s.model.caption(), "Vantrel-ST Version 3.0.1");  // the caption stays as it was
  EXPECT_EQ(s.text("Rec_Num"), "3");
  EXPECT_EQ(s.text("Max_Amb"), "62");
  EXPECT_EQ(s.model.set().current().TRACEINS, 4);
  EXPECT_EQ(s.c("Cab_In").items.size(), 5u);
  EXPECT_EQ(s.selected("Cab_In"), "Coverlyn  YJ-2");
  EXPECT_EQ(s.text("TraceTp"), "YJ-2");
  EXPECT_TRUE(s.c("Cond_Load").visible);
  EXPECT_TRUE(s.model.set().DesignLock);
  EXPECT_TRUE(s.model.set().DesignSaved);
  EXPECT_FALSE(s.model.set().RecordLoading);
  EXPECT_EQ(s.model.set().at(1).TRACEINS, 2);
  EXPECT_EQ(s.model.set().at(7).MAXAMB, 67.0f);

  s.dialogs.clearRecords();
  s.model.toggleProgramMode();
  EXPECT_TRUE(s.model.internalMode());
  EXPECT_EQ(s.dialogs.messageTexts(),
            std::vector<std::string>{"Program mode cannot be changed after performing a design"});
}

TEST(OpeningASet, AtRecordOneShowsRecordOneInTheStandardMode) {
  Session s;
  s.internalMode();
  std::array<DesignRecord, DesignSet::kRecords> records{};
  records[0].TSIZ = "3/8";
  records[0].TRACEINS = 1;
  records[0].CEM = "E-55-C";
  records[0].INSTYPE = 1;
  s.model.applyOpenedSet(records, false);
  EXPECT_FALSE(s.model.internalMode());
  EXPECT_EQ(s.text("Rec_Num"), "1");
  EXPECT_EQ(s.c("Cab_In").items.size(), 4u);
  EXPECT_EQ(s.selected("Cab_In"), "Fillet Trace");
  EXPECT_EQ(s.text("TraceLb"), "Fillet Trace with");
  EXPECT_EQ(s.text("TraceTp"), "E-55-C");
  EXPECT_EQ(s.selected("Insul_Typ_In"), "Calcium Silicate");
  EXPECT_FALSE(s.c("Cond_Load").visible);
  EXPECT_EQ(s.model.set().current(), records[0]);
}

}  // namespace
}  // namespace vst
