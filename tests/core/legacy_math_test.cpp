#include "core/legacy_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace vst {
namespace {

TEST(LegacyRounding, IntRoundsDownAndFixTowardZero) {
  struct Row {
    double x, intValue, fixValue;
  };
  const Row rows[] = {
      {1.5, 1, 1}, {-1.5, -2, -1}, {-17.8, -18, -17}, {101.7, 101, 101}, {0.0, 0, 0}, {-0.2, -1, -0},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Int(r.x), r.intValue) << r.x;
    EXPECT_EQ(Fix(r.x), r.fixValue) << r.x;
  }
}

TEST(LegacyRounding, TenthsTruncateAndWholeCountsRoundHalfToEven) {
  EXPECT_DOUBLE_EQ(IntTenths(12.89), 12.8);
  EXPECT_DOUBLE_EQ(IntTenths(150.15), 150.1);
  EXPECT_DOUBLE_EQ(IntTenths(-0.05), -0.1);
  struct Row {
    double x, rounded;
  };
  const Row rows[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {2.4, 2}, {-2.5, -2}};
  for (const auto& r : rows) EXPECT_EQ(RoundHalfEven(r.x), r.rounded) << r.x;
}

TEST(FieldText, ParsesWhatAFieldMayHoldAndRefusesTheRest) {
  struct Row {
    const char* text;
    char mark;
    bool ok;
    double value;
  };
  const Row rows[] = {
      {" 375", '.', true, 375}, {"3.45", '.', true, 3.45}, {"3,45", ',', true, 3.45},
      {"-18", '.', true, -18},  {"+5", '.', true, 5},      {".5", '.', true, 0.5},
      {"1e3", '.', true, 1000}, {"", '.', false, 0},       {"   ", '.', false, 0},
      {"abc", '.', false, 0},   {"12abc", '.', false, 0},  {"inf", '.', false, 0},
      {"nan", '.', false, 0},   {"-", '.', false, 0},      {"1.2.3", '.', false, 0},
      {"1e999", '.', false, 0}, {"0x10", '.', false, 0},
  };
  for (const auto& r : rows) {
    auto v = ParseNumber(r.text, r.mark);
    EXPECT_EQ(v.has_value(), r.ok) << '"' << r.text << '"';
    if (v && r.ok) {
      EXPECT_DOUBLE_EQ(*v, r.value) << r.text;
    }
  }
  // A value that fits a double but not a single is no value for a field.
  EXPECT_FALSE(ParseSingle("1e40").has_value());
}

TEST(FieldText, ShortestTextReadsBackToTheSameSingle) {
  struct Row {
    float v;
    const char* text;
  };
  const Row rows[] = {{131.7803f, "131.7803"},
                      {131.780279532365f, "131.78027"},
                      {-18.0f, "-18"},
                      {0.5f, "0.5"},
                      {3.45f, "3.45"},
                      {0.0f, "0"},
                      {-0.0f, "0"},
                      {100.0f, "100"}};
  for (const auto& r : rows) EXPECT_EQ(ShortestText(r.v), r.text) << r.v;
  for (float v : {0.1f, 297.5123f, 1e-3f, 12345.678f}) {
    EXPECT_EQ(*ParseSingle(ShortestText(v)), v) << v;
  }
}

TEST(FieldText, FieldsShowASingleWithAtMostSevenSignificantDigits) {
  struct Row {
    float v;
    const char* text;
  };
  const Row rows[] = {{131.780279532365f, "131.7803"},
                      {-18.0f, "-18"},
                      {0.5f, "0.5"},
                      {3.45f, "3.45"},
                      {0.0f, "0"},
                      {-0.0f, "0"},
                      {12345.678f, "12345.68"},
                      {297.5f, "297.5"},
                      {1e-3f, "0.001"},
                      {9999999.0f, "9999999"},
                      {10000000.0f, "10000000"},
                      {123456789.0f, "123456792"}};
  for (const auto& r : rows) EXPECT_EQ(SingleText(r.v), r.text) << r.v;
}

TEST(FieldText, ASingleAskedAgainGetsThePrintfTextAgain) {
  // Whole numbers, fractions and values that share remembered slots, each
  // asked twice, against "%.7g" itself.
  for (int round = 0; round < 2; ++round) {
    for (int i = -3000; i < 3000; ++i) {
      for (float v : {static_cast<float>(i), i * 0.37f, i * 1021.5f, i / 7.0f}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.7g", static_cast<double>(v));
        if (v == 0.0f || std::strchr(expected, 'e')) continue;
        ASSERT_EQ(SingleText(v), expected) << v;
      }
    }
  }
}

TEST(FieldText, FixedAndGeneralForms) {
  EXPECT_EQ(FixedText(0.1234, 3), "0.123");
  EXPECT_EQ(FixedText(0.0, 3), "0.000");
  EXPECT_EQ(FixedText(-0.0001, 3), "0.000");
  EXPECT_EQ(FixedText(1.5, 3), "1.500");
  EXPECT_EQ(General15Text(3.4 * 14.5 / 0.1450326), "339.923575802957");
  EXPECT_EQ(General15Text(50.0), "50");
  EXPECT_EQ(General15Text(3.4), "3.4");
}

}  // namespace
}  // namespace vst
