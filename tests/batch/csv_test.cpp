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

TEST(CsvReading, FieldsAcrossTheReadersChunksReadWhole) {
  // The reader takes the text in chunks of 64 KiB: a field of each kind
  // placed at every offset around a chunk's end reads as it was written.
  struct Row {
    const char* written;
    std::string_view read;
  };
  const Row rows[] = {
      {"plain-field-text", "plain-field-text"},
      {"\"a,b \"\"q\"\" \r c\"", "a,b \"q\" \r c"},
      {"\"two\nlines\"", "two\nlines"},
      {"x\"y\"z", "x\"y\"z"},
  };
  constexpr std::size_t kChunk = 1 << 16;
  for (const auto& r : rows) {
    for (std::size_t end = kChunk - 24; end < kChunk + 8; ++end) {
      const std::string header = "A,B\n";
      const std::string padding(end - header.size() - 8, 'p');
      CsvError err;
      const auto t = ParseCsv(header + padding + ",1\nk," + r.written + "\nlast,2\n", err);
      ASSERT_TRUE(t) << err.message;
      ASSERT_EQ(t->rows.size(), 3u) << end;
      EXPECT_EQ(t->rows[1].fields, (std::vector<std::string>{"k", std::string(r.read)})) << end;
      EXPECT_EQ(t->rows[2].line, std::string_view(r.read).find('\n') == std::string_view::npos ? 4 : 5)
          << end;
    }
  }
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
  const std::vector<std::string> fields = {"plain", "a,b", "q\"q", " lead", "", "tab\tinside"};
  EXPECT_EQ(CsvLine(fields), "plain,\"a,b\",\"q\"\"q\",\" lead\",,tab\tinside");
  CsvError err;
  auto t = ParseCsv("H1,H2,H3,H4,H5,H6\n" + CsvLine(fields) + "\n", err);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->rows.at(0).fields, fields);
}

TEST(CsvWriting, TextsASpreadsheetWouldRunOrShowWrongAreDefused) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const std::pair<std::string, std::string> cases[] = {
      {"=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0"},
      {"=HYPERLINK(\"http://x\",\"y\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""},
      {"+1+2", "'+1+2"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"-2-3", "'-2-3"},
      {"\t=1", "'\t=1"},
      {"  =1", "'  =1"},
      {"-", "'-"},
      // Numbers keep their sign.
      {"-5", "-5"},
      {"+3", "+3"},
      {"-12.5e3", "-12.5e3"},
      {" -20", "\" -20\""},
      // Control characters but tab, and bytes that are no UTF-8.
      {"red\x1b[31m", "red" + r + "[31m"},
      {"bell\x07", "bell" + r},
      {"two\nlines\r", "two" + r + "lines" + r},
      {"\r=1", r + "=1"},
      {"del\x7f c1\xC2\x85", "del" + r + " c1" + r},
      {"bad\xFF end\xC3", "bad" + r + " end" + r},
      {"Süd 温度", "Süd 温度"},
  };
  for (const auto& [text, written] : cases) EXPECT_EQ(CsvField(text), written) << text;
}

TEST(JsonText, EscapesEveryControlCharacter) {
  EXPECT_EQ(JsonString("esc\x1b bel\x07 del\x7f c1\xC2\x9B"),
            "\"esc\\u001b bel\\u0007 del\\u007f c1\\u009b\"");
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

// Members and elements are separated once each, whatever nests between
// them, and a new line replaces the blank after a spaced comma.
TEST(JsonText, WriterSeparatesNestedMembersAndElements) {
  std::string compact;
  JsonWriter c(compact, false);
  c.beginObject()
      .key("a")
      .beginArray()
      .integer(1)
      .beginObject()
      .end()
      .null()
      .end()
      .key("b")
      .boolean(true)
      .end();
  EXPECT_EQ(compact, R"({"a":[1,{},null],"b":true})");
  std::string spaced;
  JsonWriter s(spaced, true);
  s.beginObject()
      .keyText("k\"")
      .strings({"x", "y"})
      .onNewLine(1)
      .key("n")
      .beginArray()
      .onNewLine(2)
      .integer(-3);
  s.onNewLine(0).end().end();
  EXPECT_EQ(spaced, "{\"k\\\"\": [\"x\", \"y\"],\n \"n\": [\n  -3\n]}");
}

}  // namespace
}  // namespace vst

namespace vst {
namespace {

// Fields within their limit, the line beyond its own.
std::string LongLine() {
  std::string line;
  while (line.size() <= kMaxCsvLineBytes) {
    line.append(4000, 'x');
    line.push_back(',');
  }
  return line;
}

TEST(CsvReading, AFieldOrLineBeyondItsLimitIsAnErrorOfItsRowAlone) {
  const std::string longField(kMaxCsvFieldBytes + 1, 'c');
  const std::string longLine = LongLine();
  const std::string manyFields(kMaxCsvFields, ',');
  CsvError err;
  auto t = ParseCsv("CIRTXT,PIPETXT\n" + longField + ",1\nA,\"" + longField + "\"\n" + longLine + "\nB,2\n" +
                        std::string(kMaxCsvFieldBytes, 'k') + ",3\n" + manyFields + "\n",
                    err);
  ASSERT_TRUE(t) << err.message;
  ASSERT_EQ(t->rows.size(), 6u);
  EXPECT_EQ(t->rows[0].problem, "line 2: field CIRTXT is longer than 4,096 bytes");
  EXPECT_EQ(t->rows[0].fields.at(0).size(), kMaxCsvFieldBytes);
  EXPECT_EQ(t->rows[1].problem, "line 3: field PIPETXT is longer than 4,096 bytes");
  EXPECT_EQ(t->rows[2].problem, "line 4: the line is longer than 1 MiB (1,048,576 bytes)");
  EXPECT_EQ(t->rows[3].fields, (std::vector<std::string>{"B", "2"}));
  EXPECT_EQ(t->rows[3].problem, "");
  EXPECT_EQ(t->rows[4].problem, "") << "a field of exactly the limit is whole";
  EXPECT_EQ(t->rows[4].line, 6);
  EXPECT_EQ(t->rows[5].problem, "line 7: the row has more than 65,536 fields");
  EXPECT_EQ(t->rows[5].fields.size(), kMaxCsvFields);
}

TEST(CsvReading, AHeaderBeyondTheLimitsOrWithTwoByteOrderMarksIsRefused) {
  // Built by appending: GCC 12 at -O2 takes moves of long concatenations
  // into an array for overflows (-Warray-bounds).
  std::string longHeaderField = "A,";
  longHeaderField.append(kMaxCsvFieldBytes + 1, 'h').append("\n1,2\n");
  std::string longHeaderLine = LongLine();
  longHeaderLine.append("\n1\n");
  std::string manyHeaderFields(kMaxCsvFields, ',');
  manyHeaderFields.append("\n1\n");
  const std::pair<std::string, const char*> cases[] = {
      {longHeaderField, "field 2 is longer than 4,096 bytes"},
      {longHeaderLine, "longer than 1 MiB"},
      {manyHeaderFields, "more than 65,536 fields"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF"
       "CIRTXT\n1\n",
       "two byte order marks"},
  };
  for (const auto& [text, needle] : cases) {
    CsvError err;
    EXPECT_FALSE(ParseCsv(text, err));
    EXPECT_NE(err.message.find(needle), std::string::npos) << err.message;
    EXPECT_EQ(err.line, 1);
  }
  CsvError err;
  auto one = ParseCsv(
      "\xEF\xBB\xBF"
      "CIRTXT\n1\n",
      err);
  ASSERT_TRUE(one);
  EXPECT_EQ(one->header.at(0), "CIRTXT");
}

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
