#include "batch/csv.h"

#include <gtest/gtest.h>

#include "batch/json.h"

namespace vst {
namespace {

TEST(CsvReading, QuotedFieldsLineEndsAndBlankLines) {
  CsvError err;
  auto t = ParseCsv("CIRTXT,PIPETXT\r\n\"A,1\",\"say \"\"hi\"\"\"\n\nB,\"two\nlines\"\nC,", err);
  ASSERT_TRUE(t) << err.message;
  ASSERT_EQ(t->header, (std::vector<std::string>{"CIRTXT", "PIPETXT"}));
  ASSERT_EQ(t->rows.size(), 3u);
  EXPECT_EQ(t->rows[0].fields, (std::vector<std::string>{"A,1", "say \"hi\""}));
  EXPECT_EQ(t->rows[0].line, 2);
  EXPECT_EQ(t->rows[1].fields, (std::vector<std::string>{"B", "two\nlines"}));
  EXPECT_EQ(t->rows[1].line, 4);
  EXPECT_EQ(t->rows[2].fields, (std::vector<std::string>{"C", ""}));
  EXPECT_EQ(t->rows[2].line, 6);
}

TEST(CsvReading, MalformedTextNamesTheLine) {
  struct Row {
    const char* text;
    int line;
    const char* needle;
  };
  const Row rows[] = {
      {"A,B\n1,2\n3,\"open\n4,5\n", 3, "unterminated"},
      {"A,B\n1,\"x\"y\n", 2, "after the closing quote"},
      {"", 1, "no header"},
      {"\n\n", 1, "no header"},
      {std::string_view("A\n\0\n", 4).data(), 2, "NUL"},
  };
  for (const auto& r : rows) {
    CsvError err;
    const std::string_view text =
        r.needle == std::string_view("NUL") ? std::string_view("A\n\0\n", 4) : std::string_view(r.text);
    EXPECT_FALSE(ParseCsv(text, err)) << r.text;
    EXPECT_EQ(err.line, r.line) << r.text;
    EXPECT_NE(err.message.find(r.needle), std::string::npos) << err.message;
    EXPECT_EQ(err.message.rfind("line " + std::to_string(r.line), 0), 0u) << err.message;
  }
}

TEST(CsvWriting, QuotesOnlyWhatNeedsItAndReadsBack) {
  const std::vector<std::string> fields = {"plain", "a,b", "q\"q", " lead", "", "two\nlines"};
  EXPECT_EQ(CsvLine(fields), "plain,\"a,b\",\"q\"\"q\",\" lead\",,\"two\nlines\"");
  CsvError err;
  auto t = ParseCsv("H1,H2,H3,H4,H5,H6\n" + CsvLine(fields) + "\n", err);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->rows.at(0).fields, fields);
}

TEST(JsonText, EscapesControlsAndKeepsOutputValidUtf8) {
  EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  EXPECT_EQ(JsonString("\u00B0F"), "\"\u00B0F\"");
  EXPECT_EQ(JsonString("bad\xFF"
                       "end"),
            "\"bad\\ufffdend\"");
  EXPECT_EQ(JsonString("\xC3"), "\"\\ufffd\"");  // cut-off sequence
  EXPECT_EQ(JsonNumber(3.45f), "3.45");
  EXPECT_EQ(JsonNumber(-18.0f), "-18");
}

}  // namespace
}  // namespace vst

namespace vst {
namespace {

TEST(CsvReading, TheDelimiterIsFoundFromTheHeader) {
  struct Case {
    const char* text;
    char delimiter;
  };
  const Case cases[] = {
      {"A,B;x\n1,2;y\n", ','},
      {"A;B;\"C,D\"\n1;2,5;3\n", ';'},  // commas inside quotes and values do not count
      {"A\tB\n1\t2\n", '\t'},
      {"A\n1\n", ','},
  };
  for (const auto& c : cases) {
    CsvError err;
    auto t = ParseCsv(c.text, err);
    ASSERT_TRUE(t) << c.text;
    EXPECT_EQ(t->delimiter, c.delimiter) << c.text;
    EXPECT_EQ(t->rows.at(0).fields.size(), t->header.size()) << c.text;
  }
}

}  // namespace
}  // namespace vst
