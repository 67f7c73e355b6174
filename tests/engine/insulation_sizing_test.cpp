#include "engine/insulation_sizing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vst {
namespace {

TEST(PipeSizes, ListPositionsNominalMetricAndOutsideDiameter) {
  struct Row {
    int pos;
    double nominalIn, metricMm, odIn;
  };
  const Row rows[] = {{0, 0.5, 15, 0.84},   {3, 1.5, 40, 1.9}, {4, 2, 50, 2.375}, {6, 3, 80, 3.5},
                      {11, 12, 300, 12.75}, {12, 14, 350, 14}, {18, 36, 900, 36}};
  for (const auto& r : rows) {
    EXPECT_EQ(NominalPipeSizeIn(r.pos), r.nominalIn) << r.pos;
    EXPECT_EQ(MetricPipeSizeMm(r.pos), r.metricMm) << r.pos;
    EXPECT_EQ(PipeOutsideDiameterIn(r.nominalIn), r.odIn) << r.pos;
  }
  EXPECT_FALSE(NominalPipeSizeIn(19).has_value());
  EXPECT_FALSE(MetricPipeSizeMm(-1).has_value());
  EXPECT_FALSE(PipeOutsideDiameterIn(5).has_value());
}

TEST(TracerProfile, HeightAndWidthByMethodTubeAndPipe) {
  struct Row {
    Installation inst;
    int tube;
    double pipeIn, h, w;
  };
  const Row rows[] = {
      {Installation::Troughline, 0, 1, 0.75, 0.6875},
      {Installation::Troughline, 0, 1.5, 0.875, 1.25},
      {Installation::Troughline, 2, 1, 0.875, 1.25},
      {Installation::Troughline, 3, 3, 1.25, 1.6875},
      {Installation::FilletTrace, 0, 2, 0.375, 0},
      {Installation::FilletTrace, 2, 2, 0.625, 0},
      {Installation::FilletTrace, 3, 4, 0.75, 0},
      {Installation::YJ0, 0, 2, 0.5, 0},
      {Installation::YJ0, 1, 2, 0.62, 0},
      {Installation::YJ0, 3, 2, 0.62, 0},
      {Installation::YJ1, 0, 2, 0.75, 0},
      {Installation::YJ2, 0, 2, 1, 0},
  };
  for (const auto& r : rows) {
    const auto p = TracerProfileFor(r.inst, r.tube, r.pipeIn);
    ASSERT_TRUE(p.has_value()) << static_cast<int>(r.inst) << " tube " << r.tube;
    EXPECT_DOUBLE_EQ(p->heightIn, r.h)
        << static_cast<int>(r.inst) << " tube " << r.tube << " on " << r.pipeIn;
    EXPECT_DOUBLE_EQ(p->widthIn, r.w) << static_cast<int>(r.inst) << " tube " << r.tube << " on " << r.pipeIn;
  }
  EXPECT_FALSE(TracerProfileFor(Installation::None, 0, 2).has_value());
  EXPECT_FALSE(TracerProfileFor(Installation::FilletTrace, 4, 2).has_value());
}

TEST(TracerProjection, OneTwoAndMoreTracers) {
  // Reference: the projection geometry evaluated by hand (double precision).
  struct Row {
    double od;
    TracerProfile prof;
    int n;
    double d;
  };
  const Row rows[] = {
      {2.375, {0.875, 1.25}, 1, 0.6972184013},  // 0.875 less the gap under a 1.25 in base
      {2.375, {0.875, 1.25}, 2, 1.3944368027},  // two do not fit 6 in apart: twice
      {2.375, {0.875, 1.25}, 3, 1.3944368027},
      {3.5, {0.75, 0}, 2, 1.5},        // 3.5 x 1.570796 < 6
      {4.5, {1, 0}, 2, 1.8245014611},  // circle through two crowns 6 in apart
      {6.625, {0.875, 1.25}, 2, 1.0354242966},
      {36, {1.25, 1.6875}, 2, 1.2390822448},
      {4.5, {0.75, 0}, 8, 1.5},
  };
  for (const auto& r : rows) {
    EXPECT_NEAR(TracerProjectionIn(r.od, r.prof, r.n), r.d, 1e-9) << r.od << " in, " << r.n << " tracers";
  }
  EXPECT_FALSE(std::isfinite(TracerProjectionIn(1.0, {0.875, 1.25}, 1)));  // base wider than the pipe
}

TEST(EffectiveDiameter, FromAbove1275ToFourteenCountsAsFourteen) {
  struct Row {
    double od, d, de;
  };
  const Row rows[] = {{12, 0.75, 12.75}, {12, 0.76, 14}, {12.75, 0.25, 14}, {13, 1, 14}, {13, 1.01, 14.01}};
  for (const auto& r : rows) EXPECT_DOUBLE_EQ(EffectiveDiameterIn(r.od, r.d), r.de) << r.od << " + " << r.d;
}

TEST(InsulationSizes, TablesAndTheRuleFrom22) {
  struct Row {
    int pos;
    double nominalIn, idIn, mm;
  };
  const Row rows[] = {{1, 0.5, 0.86, 15},   {4, 1.25, 1.68, 32},  {8, 3, 3.53, 80},     {19, 12, 12.84, 300},
                      {20, 14, 14.09, 350}, {21, 14, 14.09, 350}, {22, 15, 15.09, 375}, {23, 16, 16.09, 400},
                      {24, 17, 17.09, 425}, {46, 39, 39.09, 975}};
  for (const auto& r : rows) {
    EXPECT_DOUBLE_EQ(InsulationNominalSizeIn(r.pos), r.nominalIn) << r.pos;
    EXPECT_NEAR(InsulationInnerDiameterIn(r.pos), r.idIn, 1e-12) << r.pos;
    EXPECT_DOUBLE_EQ(InsulationMetricSizeMm(r.pos), r.mm) << r.pos;
  }
  EXPECT_EQ(InsulationInnerDiameterIn(47), 0);
  EXPECT_EQ(InsulationNominalSizeIn(0), 0);
}

TEST(InsulationPosition, FirstThatFitsAndMinimalOversizing) {
  struct Row {
    double de, od;
    bool minimal;
    int pos;
  };
  const Row rows[] = {
      {3.0722, 2.375, false, 8},                       // 2 in pipe, one Troughline: 2.91 < De <= 3.53
      {3.125, 2.375, true, 7},                         // ID 2.91 of position 7 clears 2.375 + 0.375
      {2.275, 1.9, true, 6},                           // ID 1.92 of position 5 does not clear 2.275
      {2.275, 1.9, false, 6},    {13, 12, false, 20},  // De 13 in: position 20 (14 in)
      {3.53, 2.375, false, 8},                         // equal inner diameter fits
      {0.5, 0.4, true, 1},                             // nothing below position 1
      {39.09, 36, false, 46},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(InsulationPosition(r.de, r.od, r.minimal), r.pos) << "De " << r.de << " on " << r.od;
  }
  EXPECT_FALSE(InsulationPosition(39.1, 36, false).has_value());
  EXPECT_FALSE(InsulationPosition(std::nan(""), 2, false).has_value());
}

TEST(InsulationThickness, EnglishByPositionAndThicknessMetricByThickness) {
  struct Row {
    int pos, k;
    UnitSystem u;
    double in;
  };
  const Row rows[] = {
      {1, 0, UnitSystem::English, 1.01},    {8, 0, UnitSystem::English, 1.02},
      {8, 6, UnitSystem::English, 4.11},    {16, 2, UnitSystem::English, 2.15},
      {17, 1, UnitSystem::English, 1.58},   {19, 6, UnitSystem::English, 4.08},
      {20, 1, UnitSystem::English, 1.46},   {46, 3, UnitSystem::English, 2.46},
      {5, 6, UnitSystem::English, 4.42},    {8, 0, UnitSystem::Metric, 0.98425},
      {30, 5, UnitSystem::Metric, 3.14961}, {1, 6, UnitSystem::Metric, 3.937},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(InsulationThicknessIn(r.pos, r.k, r.u), r.in) << "position " << r.pos << ", thickness " << r.k;
  }
  EXPECT_FALSE(InsulationThicknessIn(8, 7, UnitSystem::English).has_value());
  EXPECT_FALSE(InsulationThicknessIn(47, 0, UnitSystem::Metric).has_value());
}

TEST(SizeInsulation, TypicalTracedPipeAndTheFourteenInchRule) {
  const auto typical = SizeInsulation(2.375, {0.875, 1.25}, 1, 0, UnitSystem::English, false);
  ASSERT_TRUE(typical.has_value());
  EXPECT_EQ(typical->position, 8);
  EXPECT_NEAR(typical->effectiveDiameterIn, 3.0722184013, 1e-9);
  EXPECT_DOUBLE_EQ(typical->innerDiameterIn, 3.53);
  EXPECT_DOUBLE_EQ(typical->outerDiameterIn, 3.53 + 2 * 1.02);
  // 12 in pipe with two Troughline tracers: De 13.646 counts as 14 in.
  const auto big = SizeInsulation(12.75, {0.875, 1.25}, 2, 1, UnitSystem::English, false);
  ASSERT_TRUE(big.has_value());
  EXPECT_DOUBLE_EQ(big->effectiveDiameterIn, 14);
  EXPECT_NEAR(big->projectionIn, 0.8960105773, 1e-9);
  EXPECT_EQ(big->position, 20);
  EXPECT_DOUBLE_EQ(big->outerDiameterIn, 14.09 + 2 * 1.46);
  EXPECT_FALSE(SizeInsulation(1.0, {0.875, 1.25}, 1, 0, UnitSystem::English, false).has_value());
}

}  // namespace
}  // namespace vst
