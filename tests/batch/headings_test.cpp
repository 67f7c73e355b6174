#include "batch/headings.h"

#include <gtest/gtest.h>

namespace vst {
namespace {

const char* kCodeHeader =
    "CIRTXT,PIPETXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
    "TRACETUB,TUBEMAT,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES\n";
const char* kTwoRows =
    "ST-101,L-1,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,No,2,3,1,0,12x4\n"
    "ST-102,L-2,100,0,200,375,Mineral Fiber,1.5,3.0,250,1,50,YJ-2,3/8,Stainless Wld,No,1,2,0,0,\n";

CsvTable ListTable(const std::string& text) {
  CsvError error;
  auto table = ParseCsv(text, error);
  EXPECT_TRUE(table) << error.message;
  return table ? *table : CsvTable{};
}

std::string ColumnRead(const HeadingReading& h) {
  return h.column < 0 ? "-" : LineListColumns()[static_cast<std::size_t>(h.column)].name;
}

TEST(Headings, HeadingsAsPeopleWriteThemReadAsTheirColumns) {
  struct Case {
    const char* heading;
    const char* column;
    const char* how;
  };
  const Case cases[] = {
      {"maxamb", "MAXAMB", "code"},
      {"MAXAMB (\u00B0F)", "MAXAMB", "code"},
      {"Max. Ambient", "MAXAMB", "caption"},
      {"MAX AMBIENT [degF]", "MAXAMB", "caption"},
      {"Steam Out / Max. Process Temp.", "MAXEXP", "caption"},
      {"Line\\Pipe No.", "PIPETXT", "caption"},
      {"Insulation Type", "INSTYPE", "caption"},
      {"Number of Passes", "PASSES", "caption"},
      {"Number of Valves", "VALN", "caption"},
      {"Total Wrapcore Allowance (ft)", "WCTB", "caption"},
      {"Line No.", "PIPETXT", "word"},
      {"Line Number", "PIPETXT", "word"},
      {"Size", "PIPESIZE", "word"},
      {"Length (ft)", "PIPELN", "word"},
      {"Insulation", "INSTYPE", "word"},
      {"Tracers", "PASSES", "word"},
      // Headings the program's own results write beside the inputs.
      {"Line", "-", "unknown"},
      {"Tube", "-", "unknown"},
      {"Max. Maint. Temp. (\u00B0F)", "-", "unknown"},
      {"Comment", "-", "unknown"},
  };
  std::vector<std::string> header;
  for (const Case& c : cases) header.emplace_back(c.heading);
  const auto read = ReadHeadings(header, {});
  EXPECT_EQ(read.error, "");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].heading);
    EXPECT_EQ(ColumnRead(read.headings[i]), cases[i].column);
    EXPECT_STREQ(HeadingHowName(read.headings[i].how), cases[i].how);
  }
}

// A unit in a heading is the run's or an error naming the option that
// reads it; never converted.
TEST(Headings, AUnitOtherThanTheRunsIsRefusedNamingTheOptionThatReadsIt) {
  BatchOptions metric;
  metric.units = UnitSystem::Metric;
  metric.pressureUnit = PressureUnit::BarG;
  struct Case {
    const char* heading;
    BatchOptions options;
    const char* error;
  };
  const Case cases[] = {
      {"Pipe Length (ft)", {}, ""},
      {"Steam Pressure (bar(g))", metric, ""},
      {"Pipe Length (m)",
       {},
       "line 1: the heading \"Pipe Length (m)\" gives its values in \"m\", while this run reads PIPELN in "
       "\"ft\"; "
       "--units metric reads it"},
      {"Max. Ambient [\u00B0F]", metric,
       "line 1: the heading \"Max. Ambient [\u00B0F]\" gives its values in \"\u00B0F\", while this run reads "
       "MAXAMB in \"\u00B0C\"; --units english reads it"},
      {"STEAMPRS (kPa)", metric,
       "line 1: the heading \"STEAMPRS (kPa)\" gives its values in \"kPa\", while this run reads STEAMPRS in "
       "\"bar g\"; --units metric --pressure-unit kpa reads it"},
      {"Pipe Length (yd)",
       {},
       "line 1: the heading \"Pipe Length (yd)\" gives its values in \"yd\", a unit PIPELN does not take; "
       "this "
       "run reads it in \"ft\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heading);
    EXPECT_EQ(ReadHeadings({c.heading}, c.options).error, c.error);
  }
}

TEST(Headings, TwoHeadingsForOneColumnAreRefusedNamingBoth) {
  std::string header = kCodeHeader;
  header.replace(header.find("PIPETXT"), 7, "Line No.");
  header.replace(header.find("SHOES"), 5, "Line Number");
  EXPECT_EQ(DesignLineList(ListTable(header + kTwoRows), {}).error,
            "line 1: the headings \"Line No.\" and \"Line Number\" both name the column PIPETXT");
}

// The results CSV of a design reads back as a line list and designs the
// same circuits.
TEST(Headings, TheProgramsOwnResultsReadBackAsALineList) {
  for (const UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    BatchOptions options;
    options.units = units;
    options.pressureUnit = units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig;
    const std::string rows = units == UnitSystem::English
                                 ? kTwoRows
                                 : "M-1,P9,38,-18,65,190,Calcium Silicate,40,100,30.5,2,3.45,Troughline,12,"
                                   "Copper,Yes,1,0,0,0,300x2\n";
    const auto first = DesignLineList(ListTable(kCodeHeader + rows), options);
    const std::string results = BatchCsv(first, options);
    const auto again = DesignLineList(ListTable(results.substr(3)), options);  // past the byte order mark
    ASSERT_TRUE(again.ok) << again.error;
    ASSERT_EQ(again.circuits.size(), first.circuits.size());
    for (std::size_t i = 0; i < first.circuits.size(); ++i) {
      EXPECT_TRUE(first.circuits[i].ok);
      EXPECT_EQ(again.circuits[i].record, first.circuits[i].record);
      EXPECT_EQ(again.circuits[i].display, first.circuits[i].display);
    }
    // The JSON says how the headings were read; a list of plain field codes
    // writes what it always wrote.
    EXPECT_NE(BatchJson(again, options).find(R"({"heading":"MAXAMB)"), std::string::npos);
    EXPECT_EQ(BatchJson(first, options).find(R"("columns")"), std::string::npos);
  }
}

TEST(Headings, AColumnMapReadsTheHeadingsItNamesAndIsWrittenFromTheHeadingsRead) {
  std::string header = kCodeHeader;
  header.replace(header.find("MAXAMB"), 6, "Hottest Day");
  header.replace(header.find("SHOES"), 5, "Remarks");
  std::string error;
  const auto map = ParseColumnMap("heading,column\nhottest day,maxamb\nRemarks,ignore\n", error);
  ASSERT_TRUE(map) << error;
  BatchOptions options;
  options.columns = *map;
  const auto batch = DesignLineList(ListTable(header + kTwoRows), options);
  ASSERT_TRUE(batch.ok) << batch.error;
  EXPECT_TRUE(batch.ignoredColumns.empty());  // "ignore" is said once, in the map
  EXPECT_TRUE(batch.circuits[0].ok);
  const std::string written = ColumnMapText(batch.headings);
  EXPECT_NE(written.find("\nHottest Day,MAXAMB\n"), std::string::npos);
  EXPECT_NE(written.find("\nRemarks,ignore\n"), std::string::npos);
  EXPECT_EQ(ParseColumnMap(written, error)->size(), batch.headings.size());

  struct Case {
    const char* text;
    const char* error;
  };
  const Case bad[] = {
      {"Size,PIPESIZE,x\n", "line 1: a map line holds a heading and a column, separated by a comma"},
      {"Size,PIPESIZE\nLength,PIPELENGTH\n",
       "line 2: \"PIPELENGTH\" is no column of a line list (nor \"ignore\")"},
      {"Size,PIPESIZE\n size ,ignore\n", "line 2: the heading \"size\" is mapped twice"},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(c.text);
    EXPECT_FALSE(ParseColumnMap(c.text, error));
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
}  // namespace vst
