#include "bom/allowances.h"

#include <gtest/gtest.h>

#include <limits>

namespace vst {
namespace {

TEST(FittingsRow, StepsBackFromTheInsulationRowByTheTracerRoom) {
  struct Row {
    int insulationRow;
    double diameter;
    double allowance;
    int expected;
  };
  const Row rows[] = {
      // Bundles of 5 in and more: 1 in and 2 in are the limits.
      {20, 5.0, 1.0, 19},
      {20, 5.0, 1.01, 18},
      {20, 8.6, 2.0, 18},
      {20, 8.6, 2.01, 17},
      {20, 8.6, 0.0, 19},
      // Smaller bundles: steps of half an inch up to 2 in, nothing beyond.
      {11, 4.99, 0.5, 10},
      {11, 4.99, 0.51, 9},
      {11, 3.0, 1.0, 9},
      {11, 3.0, 1.01, 8},
      {11, 3.0, 1.5, 8},
      {11, 3.0, 1.51, 7},
      {11, 3.0, 2.0, 7},
      {11, 3.0, 2.01, kNoFittingsRow},
      // The largest pipes would step back to a row beyond the tables: held at 31.
      {36, 30.0, 0.875, 31},
      {34, 36.0, 2.5, 31},
      {33, 30.0, 2.5, 30},
      // Nothing below row 1.
      {1, 2.0, 0.4, kNoFittingsRow},
      {2, 2.0, 0.4, 1},
      {3, 2.0, 1.6, kNoFittingsRow},
      {0, 6.0, 0.5, kNoFittingsRow},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(FittingsRow(r.insulationRow, r.diameter, r.allowance), r.expected)
        << "R " << r.insulationRow << " D " << r.diameter << " t " << r.allowance;
  }
  EXPECT_EQ(FittingsRow(12, 3.0, std::numeric_limits<double>::quiet_NaN()), kNoFittingsRow);
}

TEST(ValveAllowance, VariantFollowsTubeAndInstallation) {
  struct Row {
    int tube;
    int installation;
    int variant;
  };
  const Row rows[] = {
      {0, 0, 1}, {0, 1, 1},  {0, 2, 2}, {0, 4, 2},             // 3/8 in: strip, fillet; jacketed
      {1, 0, 2}, {1, 1, 2},  {1, 2, 3}, {1, 3, 2}, {1, 4, 2},  // 1/2 in: code 2 alone takes variant 3
      {2, 0, 3}, {2, 1, 3},  {2, 3, 3},                        // 5/8 in
      {3, 0, 3}, {3, 1, 3},                                    // 3/4 in: the 5/8 in values
      {4, 0, 0}, {-1, 0, 0},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ValveAllowanceVariant(r.tube, r.installation), r.variant)
        << "tube " << r.tube << " code " << r.installation;
  }
}

TEST(ValveAllowance, TableRowsPerVariant) {
  struct Row {
    int row;
    double v1, v2, v3;
  };
  const Row rows[] = {
      {1, 0, 0, 0},     {3, 3, 0, 0},     {4, 3, 2, 0},     {9, 7, 5, 0},
      {10, 10, 7, 6},   {13, 15, 11, 9},  {16, 20, 15, 12}, {18, 25, 20, 14},
      {20, 30, 25, 20}, {21, 35, 35, 28}, {24, 40, 40, 32}, {26, 45, 45, 35},
      {30, 50, 50, 40}, {31, 60, 60, 50}, {0, 0, 0, 0},     {32, 0, 0, 0},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ValveAllowanceFt(1, r.row), r.v1) << "row " << r.row;
    EXPECT_EQ(ValveAllowanceFt(2, r.row), r.v2) << "row " << r.row;
    EXPECT_EQ(ValveAllowanceFt(3, r.row), r.v3) << "row " << r.row;
  }
  EXPECT_EQ(ValveAllowanceFt(0, 10), 0.0);
  EXPECT_EQ(ValveAllowanceFt(4, 10), 0.0);
}

TEST(ShoeAllowance, CountsRoundHalvesToEvenAndTotalsTruncateToTenths) {
  struct Row {
    UnitSystem units;
    double total, length, count, expected;
  };
  const Row rows[] = {
      {UnitSystem::English, 0, 12, 4, 10},   {UnitSystem::Metric, 0, 300, 4, 3},
      {UnitSystem::English, 0, 12, 0.5, 0},  {UnitSystem::English, 0, 12, 1.5, 5},
      {UnitSystem::English, 0, 12, 2.5, 5},  {UnitSystem::English, 0, 12, 3.5, 10},
      {UnitSystem::English, 1.2, 5, 1, 2.5},  // 1.2 + 0.5 + 0.8333 = 2.5333
      {UnitSystem::Metric, 0, 0, 3, 0.5},     // bends alone: 3 x 0.17 = 0.51
  };
  for (const auto& r : rows) {
    EXPECT_DOUBLE_EQ(AddShoeAllowance(r.units, r.total, r.length, r.count), r.expected)
        << (r.units == UnitSystem::Metric ? "Metric " : "English ") << r.total << " + " << r.count << " x "
        << r.length;
  }
}

TEST(AllowanceAnswer, YesCountsOnlyWithOneTracer) {
  EXPECT_TRUE(AllowanceAlreadyIncluded(kAllowanceIncludedYes, 1));
  EXPECT_FALSE(AllowanceAlreadyIncluded(kAllowanceIncludedYes, 2));
  EXPECT_FALSE(AllowanceAlreadyIncluded(kAllowanceIncludedNo, 1));
}

}  // namespace
}  // namespace vst
