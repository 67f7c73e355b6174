#include "core/legacy_math.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "core/typed_number.h"

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

// The general parser's value of a text, bit for bit.
std::optional<double> FullParse(std::string_view text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

TEST(FieldText, PlainDecimalsReadAsTheGeneralParserReadsThem) {
  // Texts the shortcut takes, and texts it must leave to the full parser.
  const char* taken[] = {"0",
                         "7",
                         "150",
                         "007",
                         "12.5",
                         "9007199254740992",
                         ".5",
                         "7.",
                         "0.1",
                         "3.45",
                         "0.000001",
                         "123456789.123456",
                         "0.000000000000000001",
                         "000000000000000012.5"};
  for (const char* text : taken) {
    const auto plain = PlainDecimalValue(text);
    const auto full = FullParse(text);
    ASSERT_TRUE(plain.has_value() && full.has_value()) << text;
    EXPECT_EQ(std::memcmp(&*plain, &*full, sizeof(double)), 0) << text;
  }
  const char* left[] = {"",
                        ".",
                        "1e3",
                        "1E3",
                        "-5",
                        "+5",
                        " 5",
                        "5 ",
                        "1.2.3",
                        "1,5",
                        "abc",
                        "inf",
                        "9007199254740993",
                        "12345678901234567890",
                        "0.0000000000000000001",
                        "1.7976931348623157",
                        "99999999999999999.9"};
  for (const char* text : left) EXPECT_FALSE(PlainDecimalValue(text).has_value()) << text;
  // Random decimals of every length and point position, through ParseNumber
  // too: the shortcut never changes a value.
  std::mt19937_64 random(7);
  for (int n = 0; n < 20000; ++n) {
    std::string text(1 + random() % 18, '0');
    for (char& c : text) c = static_cast<char>('0' + random() % 10);
    if (random() % 4 != 0) text.insert(random() % (text.size() + 1), 1, '.');
    const auto full = FullParse(text);
    if (!full) continue;  // a lone "."
    const auto parsed = ParseNumber(text);
    ASSERT_TRUE(parsed.has_value()) << text;
    EXPECT_EQ(std::memcmp(&*parsed, &*full, sizeof(double)), 0) << text;
    EXPECT_EQ(*ParseNumber("-" + text), -*full) << text;
  }
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
  // The characters printf writes, halfway cases, long and huge values too.
  const double values[] = {0.0005, 0.0015, 2.675, 1.0005, -1.0005, 123456.789, 1e15 / 3,
                           1e60,   -1e60,  1e-7,  0.5,    2.5,     -0.0004999, 4.0005e-3};
  for (const double v : values) {
    for (const int decimals : {0, 1, 3, 6}) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
      std::string want = expected;
      if (want[0] == '-' && want.find_first_not_of("-0.") == std::string::npos) want.erase(0, 1);
      EXPECT_EQ(FixedText(v, decimals), want) << v << " " << decimals;
    }
  }
  EXPECT_EQ(General15Text(3.4 * 14.5 / 0.1450326), "339.923575802957");
  EXPECT_EQ(General15Text(50.0), "50");
  EXPECT_EQ(General15Text(3.4), "3.4");
}

}  // namespace
}  // namespace vst

namespace vst {
namespace {

// A typed number holds the value its text read as with the mark it was
// typed in; asked with another mark it reads the text again, so a comma
// locale's "50,5" is a number there and not in a point list.
TEST(TypedNumber, KeepsTheValueOfItsMarkAndRereadsForAnother) {
  struct Row {
    const char* text;
    char typedWith, askedWith;
    std::optional<double> value;
    std::optional<float> single;
  };
  const Row rows[] = {
      {"50,5", ',', ',', 50.5, 50.5f},
      {"50,5", '.', '.', std::nullopt, std::nullopt},
      {"50,5", '.', ',', 50.5, 50.5f},
      {"50.5", ',', '.', 50.5, 50.5f},
      {" 375", '.', '.', 375, 375.0f},
      {"1e39", '.', '.', 1e39, std::nullopt},
      {"", '.', '.', std::nullopt, std::nullopt},
  };
  for (const Row& r : rows) {
    const TypedNumber n(r.text, r.typedWith);
    EXPECT_EQ(n.value(r.askedWith), r.value) << r.text << " typed with " << r.typedWith;
    EXPECT_EQ(n.single(r.askedWith), r.single) << r.text << " typed with " << r.typedWith;
    EXPECT_EQ(n, std::string(r.text));
  }
  // What a list's reader already read is not read again.
  EXPECT_EQ(TypedNumber::AlreadyRead("12.5", 12.5).value('.'), 12.5);
}

}  // namespace
}  // namespace vst
