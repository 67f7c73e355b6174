#include "circuit/allowance_step.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "circuit/design.h"
#include "support/script_dialogs.h"
#include "workspace/allowance_forms.h"

namespace vst {
namespace {

using test::PipeAnswer;
using test::ScriptDialogs;

// 100 ft of 2 in pipe with a 3/8 in fillet tracer whose sizing lands on
// fittings row 10 (insulation row 11, bundle under 5 in, allowance 0.4 in).
AllowanceInputs FilletOnRowTen(int passesPos) {
  AllowanceInputs in;
  in.pipeLengthText = "100";
  in.pipeLength = 100;
  in.riseText = "";
  in.tubeSizePos = 0;
  in.insulationThicknessPos = 2;
  in.pipeSizePos = 4;
  in.passesPos = passesPos;
  in.installation = 1;
  in.tubeIndex = 0;
  in.insulationRow = 11;
  in.tracedPipeDiameterIn = 2.375 + 0.4;
  in.tracerAllowanceIn = 0.4;
  return in;
}

// The step as a design's first pass runs it, on a record whose values the
// dialogs open with, and the record the design then stores; the lengths the
// run designs with (not completed when a dialog was closed).
AllowanceResult AllowanceStepOnRecord(const AllowanceInputs& in, DesignRecord& record,
                                      AllowanceQuestions& questions) {
  const AllowanceRecorded recorded{
      {record.AllowanceIncluded, record.VALN, record.FLNO, record.NOPX, record.WCTB}, record.ShoeAllowance};
  CircuitDesign design;
  design.allowance = AskAllowances(in, recorded, questions);
  record = RecordOf(design, CircuitContext{}, record);
  if (design.allowance->lengths) return *design.allowance->lengths;
  AllowanceResult unfinished;
  unfinished.designPipeLengthFt = StartDesignPipeLengthFt(in.units, in.pipeLength);
  unfinished.slenFt = design.allowance->startSlenFt;
  return unfinished;
}

TEST(AllowanceStep, TwoValvesOnePumpThreeFlangesLengthenTheDesign) {
  struct Row {
    int passesPos;
    int answer;
    bool shoeFormShown;
    double designPipeLength;
    float slen;
  };
  const Row rows[] = {
      {0, kAllowanceIncludedNo, true, 143.0, 143.0f},   // 2 x 10 + 2 x 10 x 1 + 3 = 43 ft
      {1, kAllowanceIncludedNo, true, 121.5, 121.5f},   // shared by two tracers: 100 + 43 / 2
      {0, kAllowanceIncludedYes, false, 100.0, 57.0f},  // already included: banding on 100 - 43
      {1, kAllowanceIncludedYes, true, 121.5, 121.5f},  // "Yes" means nothing with two tracers
  };
  for (const auto& r : rows) {
    ScriptDialogs dialogs;
    dialogs.pipe({r.answer, "2", "3", "1", "0"}).shoes({});
    DesignRecord record;
    const auto result = AllowanceStepOnRecord(FilletOnRowTen(r.passesPos), record, dialogs);
    const std::string where =
        "passes " + std::to_string(r.passesPos + 1) + " answer " + std::to_string(r.answer);
    ASSERT_TRUE(result.completed) << where;
    EXPECT_EQ(result.fittingsRow, 10) << where;
    EXPECT_EQ(result.valveAllowanceFt, 10.0) << where;
    EXPECT_DOUBLE_EQ(result.fittingsAllowanceFt, 43.0) << where;
    EXPECT_DOUBLE_EQ(result.designPipeLengthFt, r.designPipeLength) << where;
    EXPECT_EQ(record.SLEN, r.slen) << where;
    EXPECT_EQ(result.slenFt, r.slen) << where;
    EXPECT_EQ(dialogs.shoeForms().size(), r.shoeFormShown ? 1u : 0u) << where;
    EXPECT_EQ(result.status, "Design created") << where;
    EXPECT_TRUE(dialogs.allAnswersUsed() || !r.shoeFormShown) << where;
  }
}

TEST(AllowanceStep, NextStoresTheCountsTheAnswerAndTheWindowsPositions) {
  ScriptDialogs dialogs;
  dialogs.pipe({kAllowanceIncludedNo, "2", "3", "1", "25.5"}).shoes({.sizes = {{"12", "4"}}});
  DesignRecord record;
  record.TRACETUB = 3;
  record.NUMPASS = 5;
  record.AllowanceIncluded = kAllowanceIncludedYes;
  AllowanceInputs in = FilletOnRowTen(1);
  in.tubeSizePos = 1;
  in.insulationThicknessPos = 4;
  in.pipeSizePos = 7;
  const auto result = AllowanceStepOnRecord(in, record, dialogs);
  ASSERT_TRUE(result.completed);
  EXPECT_EQ(record.AllowanceIncluded, kAllowanceIncludedNo);
  EXPECT_EQ(record.TRACETUB, 1);
  EXPECT_EQ(record.INSTHK, 4);
  EXPECT_EQ(record.PIPESIZE, 7);
  EXPECT_EQ(record.NUMPASS, 1);
  EXPECT_EQ(record.VALN, 2.0f);
  EXPECT_EQ(record.FLNO, 3.0f);
  EXPECT_EQ(record.NOPX, 1.0f);
  EXPECT_EQ(record.WCTB, 25.5f);
  EXPECT_EQ(result.wrapcore, 25.5f);
  EXPECT_EQ(record.ShoeAllowance, 10.0f);
  EXPECT_DOUBLE_EQ(result.shoeTotalFt, 10.0);
  // Pre-insulated tubing is listed in the bill, not added to the length.
  EXPECT_DOUBLE_EQ(result.fittingsAllowanceFt, 53.0);
  EXPECT_DOUBLE_EQ(result.designPipeLengthFt, 126.5);
  EXPECT_EQ(dialogs.log(), (std::vector<std::string>{"PipeForm: Pipe Length = 100 Feet",
                                                     "ShoeForm:  Tubing Allowances for Shoes"}));
}

TEST(AllowanceStep, MetricLengthsAndShoesAreCountedInFeet) {
  ScriptDialogs dialogs;
  dialogs.pipe({}).shoes({.sizes = {{"300", "4"}}});
  DesignRecord record;
  AllowanceInputs in = FilletOnRowTen(0);
  in.units = UnitSystem::Metric;
  in.pipeLengthText = "30";
  in.pipeLength = 30;
  const auto result = AllowanceStepOnRecord(in, record, dialogs);
  ASSERT_TRUE(result.completed);
  EXPECT_EQ(dialogs.pipeForms().at(0).caption, "Pipe Length = 30 Meters");
  EXPECT_EQ(dialogs.pipeForms().at(0).unitLabel, " m");
  EXPECT_EQ(record.ShoeAllowance, 3.0f);          // metres, as the form shows it
  EXPECT_NEAR(result.shoeTotalFt, 9.843, 1e-12);  // 3 m x 3.281
  EXPECT_NEAR(result.designPipeLengthFt, 98.43 + 9.843, 1e-9);
  EXPECT_EQ(record.SLEN, static_cast<float>(98.43 + 9.843));
}

TEST(AllowanceStep, TheShoeFormStartsFromTheRecordsRunningTotal) {
  ScriptDialogs dialogs;
  dialogs.pipe({})
      .shoes({.sizes = {{"12", "1"}}})
      .pipe({})
      .shoes({.clearFirst = true, .sizes = {{"12", "1"}}});
  DesignRecord record;
  record.ShoeAllowance = 10;
  AllowanceStepOnRecord(FilletOnRowTen(0), record, dialogs);
  EXPECT_EQ(record.ShoeAllowance, 12.5f);
  EXPECT_EQ(dialogs.shoeForms().at(0).total, "10");
  AllowanceStepOnRecord(FilletOnRowTen(0), record, dialogs);
  EXPECT_EQ(dialogs.shoeForms().at(1).total, "12.5");
  EXPECT_EQ(record.ShoeAllowance, 2.5f);
}

TEST(AllowanceStep, FittingsOnARowlessBundleAddOnlyFlangesAndShoes) {
  ScriptDialogs dialogs;
  dialogs.pipe({kAllowanceIncludedNo, "4", "2", "3", "0"}).shoes({});
  DesignRecord record;
  AllowanceInputs in = FilletOnRowTen(0);
  in.tracerAllowanceIn = 2.5;  // bundle under 5 in with more than 2 in of tracer: no row
  const auto result = AllowanceStepOnRecord(in, record, dialogs);
  EXPECT_EQ(result.fittingsRow, kNoFittingsRow);
  EXPECT_DOUBLE_EQ(result.fittingsAllowanceFt, 2.0);
  EXPECT_DOUBLE_EQ(result.designPipeLengthFt, 102.0);
}

TEST(AllowanceStep, LoopsLongerThanAnIncludedLengthLeaveNoNegativeBanding) {
  ScriptDialogs dialogs;
  dialogs.pipe({kAllowanceIncludedYes, "12", "0", "0", "0"});
  DesignRecord record;
  const auto result = AllowanceStepOnRecord(FilletOnRowTen(0), record, dialogs);
  EXPECT_DOUBLE_EQ(result.fittingsAllowanceFt, 120.0);
  EXPECT_DOUBLE_EQ(result.designPipeLengthFt, 100.0);
  EXPECT_EQ(record.SLEN, 0.0f);
}

TEST(AllowanceStep, ARefusedCountIsAskedAgainAndADismissedFormStopsTheStep) {
  ScriptDialogs dialogs;
  dialogs.pipe({kAllowanceIncludedNo, "-2", "0", "0", "0"})
      .pipe({kAllowanceIncludedNo, "2", "0", "0", "0"})
      .shoes({});
  DesignRecord record;
  auto result = AllowanceStepOnRecord(FilletOnRowTen(0), record, dialogs);
  ASSERT_TRUE(result.completed);
  EXPECT_EQ(record.VALN, 2.0f);
  EXPECT_EQ(dialogs.messageTexts(),
            std::vector<std::string>{"The Number of Valves must be a number from 0 to 1000000."});

  PipeAnswer dismiss;
  dismiss.dismiss = true;
  dialogs.pipe(dismiss);
  DesignRecord untouched;
  untouched.VALN = 7;
  result = AllowanceStepOnRecord(FilletOnRowTen(0), untouched, dialogs);
  EXPECT_FALSE(result.completed);
  EXPECT_TRUE(result.status.empty());
  EXPECT_EQ(untouched.VALN, 7.0f);
  EXPECT_EQ(untouched.SLEN, 100.0f);  // the step's first store
}

TEST(AllowanceStep, RefusesInputsOutsideTheirDomain) {
  ScriptDialogs dialogs;
  DesignRecord record;
  AllowanceInputs in = FilletOnRowTen(0);
  in.pipeLength = -1;
  EXPECT_THROW(AllowanceStepOnRecord(in, record, dialogs), std::invalid_argument);
  in = FilletOnRowTen(0);
  in.pipeLength = std::numeric_limits<float>::infinity();
  EXPECT_THROW(AllowanceStepOnRecord(in, record, dialogs), std::invalid_argument);
  in = FilletOnRowTen(0);
  in.tubeIndex = 4;
  EXPECT_THROW(AllowanceStepOnRecord(in, record, dialogs), std::invalid_argument);
  EXPECT_TRUE(dialogs.log().empty());
}

}  // namespace
}  // namespace vst
