#include "batch/batch_design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace vst {
namespace {

CsvTable Table(const std::string& text) {
  CsvError err;
  auto t = ParseCsv(text, err);
  EXPECT_TRUE(t) << err.message;
  return t ? *t : CsvTable{};
}

std::vector<std::string> Texts(const CircuitResult& c) {
  std::vector<std::string> out;
  for (const auto& m : c.messages) out.push_back(m.title + ": " + m.text);
  return out;
}

const char* kHeader =
    "CIRTXT,PIPETXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
    "TRACETUB,TUBEMAT,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES\n";

TEST(BatchDesign, ARowTheWindowCannotTakeIsAnErrorOfThatRowAlone) {
  struct Case {
    const char* row;
    const char* message;
  };
  const Case cases[] = {
      {"A,,100,0,100,375,Cork,1.0,2.0,100,1,50,Troughline,3/8,Copper,,,,,,",
       "Input Error: Column INSTYPE: \"Cork\" is not in the insulation type list"},
      {"A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,YJ-0,3/8,Copper,,,,,,",
       "Input Error: Column TRACEINS: \"YJ-0\" is not in the installation list"},
      {"A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,YJ-2,1/2,Copper,,,,,,",
       "Input Error: Column TRACETUB: \"1/2\" is not in the tracer tubing list"},
      {"A,,abc,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,,,,,",
       "Input Error: Column MAXAMB: \"abc\" is not a number"},
      {"A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,Maybe,,,,,",
       "Input Error: Column ALLOWANCE: \"Maybe\" is neither Yes nor No"},
      {"A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,-1,,,,",
       "Input Error: Column VALN: \"-1\" is negative"},
      {"A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,,,,,12by4",
       "Input Error: Column SHOES: \"12by4\" is not a length x count pair such as 12x4"},
      {"A,,100,0,100,375,Fiberglass,1.0,7.0,100,1,50,Troughline,3/8,Copper,,,,,,",
       "Input Error: Column PIPESIZE: \"7.0\" is not in the pipe size list"},
  };
  for (const auto& c : cases) {
    const std::string good =
        "B,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,Yes,0,0,0,0,";
    const auto batch = DesignLineList(Table(std::string(kHeader) + c.row + "\n" + good + "\n"), {});
    ASSERT_TRUE(batch.ok) << batch.error;
    ASSERT_EQ(batch.circuits.size(), 2u);
    EXPECT_FALSE(batch.circuits[0].ok) << c.row;
    ASSERT_FALSE(batch.circuits[0].messages.empty()) << c.row;
    EXPECT_EQ(Texts(batch.circuits[0]).back(), c.message);
    EXPECT_TRUE(batch.circuits[1].ok) << testing::PrintToString(Texts(batch.circuits[1]));
  }
}

TEST(BatchDesign, TheWindowDefaultsGiveTheMinimumTheProgramIsKnownToShow) {
  // The window's default English circuit (2 in pipe, 1 in fiberglass, 50 psig,
  // one 3/8 in copper Coverlyn YJ-2 tracer, ambients 0/100 F) is known to give
  // a minimum maintained temperature of 131.780279532365 F, shown as 131.7803.
  const auto batch =
      DesignLineList(Table(std::string(kHeader) +
                           "A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,YJ-2,3/8,Copper,No,0,0,0,0,\n"),
                     {});
  ASSERT_TRUE(batch.ok);
  ASSERT_TRUE(batch.circuits.at(0).ok) << testing::PrintToString(Texts(batch.circuits[0]));
  EXPECT_EQ(batch.circuits[0].display.at(1), "131.7803");
  EXPECT_NEAR(batch.circuits[0].record.TP1, 131.780279532365, 2e-5);
  EXPECT_EQ(batch.circuits[0].installation, "Coverlyn  YJ-2");
}

TEST(BatchDesign, ABlankedPipeSizeGetsTheWindowsOwnRefusal) {
  const auto batch =
      DesignLineList(Table(std::string(kHeader) +
                           "A,,100,0,100,375,Fiberglass,1.0,1,100,1,50,Troughline,1/2,Copper,,,,,,\n"),
                     {});
  ASSERT_TRUE(batch.ok);
  EXPECT_FALSE(batch.circuits[0].ok);
  EXPECT_EQ(
      Texts(batch.circuits[0]),
      (std::vector<std::string>{"Input Error: Trough Line does not fit on Pipe Sizes smaller than 1.5''."}));
}

TEST(BatchDesign, AListItselfUnusableNamesTheLine) {
  struct Case {
    std::string text;
    const char* error;
  };
  const Case cases[] = {
      {"CIRTXT,MAXAMB\nA,1\n", "line 1: the required column MINAMB is missing"},
      {"MAXAMB,maxamb\n1,2\n", "line 1: the column MAXAMB appears twice"},
  };
  for (const auto& c : cases) {
    const auto batch = DesignLineList(Table(c.text), {});
    EXPECT_FALSE(batch.ok);
    EXPECT_EQ(batch.error, c.error);
  }
}

TEST(BatchOutput, JsonAndCsvCarryEveryRecordField) {
  const auto batch = DesignLineList(
      Table(std::string(kHeader) +
            "A \"x\",,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,Yes,0,0,0,0,\n"),
      {});
  const std::string json = BatchJson(batch, {});
  for (const auto& f : RecordFields()) {
    EXPECT_NE(json.find("\"" + std::string(f.name) + "\":"), std::string::npos) << f.name;
  }
  EXPECT_NE(json.find("\"units\":\"english\",\"mode\":\"standard\""), std::string::npos);
  EXPECT_NE(json.find("\"CIRTXT\":\"A \\\"x\\\"\""), std::string::npos);
  const std::string csv = BatchCsv(batch, {});
  CsvError err;
  auto back = ParseCsv(csv, err);
  ASSERT_TRUE(back) << err.message;
  ASSERT_EQ(back->rows.size(), 1u);
  const auto& head = back->header;
  const auto col = [&](const char* name) {
    return static_cast<std::size_t>(std::find(head.begin(), head.end(), name) - head.begin());
  };
  ASSERT_LT(col("Tube"), head.size());
  EXPECT_EQ(back->rows[0].fields[col("Tube")], batch.circuits[0].record.TSIZ);
  EXPECT_EQ(back->rows[0].fields[col("Designed")], "Yes");
  EXPECT_EQ(back->rows[0].fields[col("CIRTXT")], "A \"x\"");
  EXPECT_EQ(back->rows[0].fields[col("INSTYPE")], "Fiberglass");  // the list's text, not its position
  EXPECT_EQ(head.back(), "Messages");
  const std::set<std::string> unique(head.begin(), head.end());
  EXPECT_EQ(unique.size(), head.size()) << "every column is named once";
}

}  // namespace
}  // namespace vst

namespace vst {
namespace {

const char* kListHeader =
    "CIRTXT,PIPETXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
    "TRACETUB,TUBEMAT,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES\n";

TEST(BatchDesign, EveryRowOfAListIsDesignedAsInAWindowOfItsOwn) {
  // The window is reused from row to row: nothing of one row may reach the
  // next. Rows F to H enter the same first inputs as A to C (the window kept
  // after them, a correction among them) and go on differently.
  const std::vector<std::string> rows = {
      "A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,YJ-2,3/8,Copper,No,0,0,0,0,",
      "B,,100,0,200,375,Mineral Fiber,1.5,3.0,250,1,50,YJ-2,3/8,Stainless Wld,No,1,2,0,0,",
      "C,,100,0,100,450,Polyisocyanurate,1.0,2.0,100,2,400,Troughline,3/8,Copper,Yes,2,3,1,5,12x4",
      "D,,100,0,100,375,Fiberglass,1.0,1,100,1,50,Troughline,1/2,Copper,,,,,,",
      "E,,90,-10,150,375,Calcium Silicate,1.0,1,80,1,100,Fillet Trace,3/8,Copper,Yes,0,2,0,0,",
      "F,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,YJ-2,3/8,Copper,No,0,0,0,0,",
      "G,,100,0,200,375,Calcium Silicate,2.0,3.0,40,2,150,YJ-2,3/8,Stainless Wld,Yes,0,0,0,0,",
      "H,,100,0,100,450,Fiberglass,1.5,2.0,300,1,50,Troughline,3/8,Copper,No,1,0,0,0,",
  };
  for (const bool internal : {false, true}) {
    BatchOptions options;
    options.internalMode = internal;
    std::string list = kListHeader;
    for (const auto& r : rows) list += r + "\n";
    const auto together = DesignLineList(Table(list), options);
    ASSERT_EQ(together.circuits.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(rows[i]);
      const auto alone = DesignLineList(Table(std::string(kListHeader) + rows[i] + "\n"), options);
      const auto& a = alone.circuits.at(0);
      const auto& t = together.circuits[i];
      EXPECT_EQ(t.record, a.record);
      EXPECT_EQ(Texts(t), Texts(a));
      ASSERT_EQ(t.corrections.size(), a.corrections.size());
      for (std::size_t k = 0; k < t.corrections.size(); ++k) {
        EXPECT_EQ(t.corrections[k].column + t.corrections[k].used + t.corrections[k].message,
                  a.corrections[k].column + a.corrections[k].used + a.corrections[k].message);
      }
      EXPECT_EQ(t.display, a.display);
    }
  }
}

TEST(BatchDesign, InputsTheWindowsChecksChangeAreReportedAndStrictRefusesThem) {
  struct Case {
    const char* row;
    std::vector<std::vector<std::string>> corrections;  // column, entered, used
  };
  const Case cases[] = {
      {"A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,400,Troughline,3/8,Copper,No,0,0,0,0,",
       {{"STEAMPRS", "400", "50"}}},
      {"A,,100,0,100,450,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,No,0,0,0,0,",
       {{"MAXEXP", "450", "375"}}},
      {"A,,100,0,100,375,Polyisocyanurate,1.0,2.0,100,1,100,Troughline,3/8,Stainless Wld,No,0,0,0,0,",
       {{"INSTYPE", "Polyisocyanurate", "Calcium Silicate"}}},
      {"A,,100,0,100,450,Fiberglass,1.0,2.0,100,1,400,Troughline,3/8,Copper,No,0,0,0,0,",
       {{"MAXEXP", "450", "375"}, {"STEAMPRS", "400", "50"}}},
      {"A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,No,0,0,0,0,", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    for (const bool strict : {false, true}) {
      BatchOptions options;
      options.strict = strict;
      const auto batch = DesignLineList(Table(std::string(kListHeader) + c.row + "\n"), options);
      const auto& got = batch.circuits.at(0);
      ASSERT_EQ(got.corrections.size(), c.corrections.size());
      for (std::size_t i = 0; i < c.corrections.size(); ++i) {
        EXPECT_EQ(got.corrections[i].column, c.corrections[i][0]);
        EXPECT_EQ(got.corrections[i].entered, c.corrections[i][1]);
        EXPECT_EQ(got.corrections[i].used, c.corrections[i][2]);
        // The message is the check's own warning, shown among the row's messages.
        EXPECT_NE(got.corrections[i].message.find("should not be used"), std::string::npos);
      }
      const bool corrected = !c.corrections.empty();
      EXPECT_EQ(got.ok, !(strict && corrected)) << testing::PrintToString(Texts(got));
      if (strict && corrected) {
        EXPECT_FALSE(got.record.HoldsDesign());
        EXPECT_NE(got.messages.back().text.find("(--strict)"), std::string::npos);
      }
    }
  }
}

// A misspelt column would take its default in silence (no valves, no
// flanges: the tracer under-ordered): every unknown column is named, with the
// column it is probably meant to be.
TEST(BatchDesign, UnknownColumnsAreNamedWithTheColumnTheyProbablyMean) {
  const std::vector<std::string> all = [] {
    std::vector<std::string> names;
    for (const auto& c : LineListColumns()) names.emplace_back(c.name);
    return names;
  }();
  struct Case {
    const char* name;
    const char* suggestion;
  };
  const Case cases[] = {
      {"VALVES", "VALN"},
      {"Flanges", "FLNO"},
      {"SHOE", "SHOES"},
      {"PIPELENGTH", "PIPELN"},
      {"Pipe Length", "PIPELN"},
      {"MAXAMBIENT", "MAXAMB"},
      {"steam_prs", "STEAMPRS"},
      {"TRACETUBE", "TRACETUB"},
      {"MAINTTEMP", "MAINTEMP"},
      {"INSTHICK", "INSTHK"},
      {"COMMENT", ""},
      {"X", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SuggestedColumn(c.name, all), c.suggestion) << c.name;
  // A column the header already has is not suggested again.
  EXPECT_EQ(SuggestedColumn("VALVES", {"FLNO"}), "");

  const std::string header = std::string(kHeader).substr(0, std::string(kHeader).find(",VALN")) +
                             ",VALVES,FLANGES,NOPX,WCTB,SHOE,Comment\n";
  const auto batch = DesignLineList(
      Table(header +
            "A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,No,4,6,0,0,12x8,x\n"),
      {});
  ASSERT_TRUE(batch.ok) << batch.error;
  std::vector<std::string> named;
  for (const auto& i : batch.ignoredColumns) named.push_back(IgnoredColumnText(i));
  EXPECT_EQ(named, (std::vector<std::string>{"VALVES: did you mean VALN?", "FLANGES: did you mean FLNO?",
                                             "SHOE: did you mean SHOES?", "Comment"}));
  EXPECT_EQ(batch.ignoredColumns[0].position, 17);
  // A name that could break a message's line, or make it long, is escaped or cut.
  EXPECT_EQ(IgnoredColumnText({"Bad\nName", 3, ""}), "\"Bad\\nName\"");
  EXPECT_EQ(IgnoredColumnText({std::string(100, 'Z'), 3, ""}), std::string(60, 'Z') + "...");
  EXPECT_TRUE(batch.circuits.at(0).ok);
  const std::string json = BatchJson(batch, {});
  EXPECT_NE(
      json.find("\"ignored_columns\":[{\"column\":\"VALVES\",\"position\":17,\"suggestion\":\"VALN\"},"),
      std::string::npos)
      << json.substr(0, 300);
  EXPECT_NE(json.find("{\"column\":\"Comment\",\"position\":22,\"suggestion\":null}]"), std::string::npos);

  // With --strict the same header designs nothing; a trailing delimiter is no column.
  BatchOptions strict;
  strict.strict = true;
  const LineListDesigner refused(Table(header + "\n").header, strict);
  EXPECT_TRUE(refused.refusedUnknownColumns());
  EXPECT_EQ(refused.error(),
            "line 1: columns not known (--strict): VALVES: did you mean VALN?; FLANGES: did you mean FLNO?; "
            "SHOE: did you mean SHOES?; Comment");
  const LineListDesigner trailing(
      Table(std::string(kHeader).insert(std::string(kHeader).size() - 1, ",")).header, strict);
  EXPECT_TRUE(trailing.ok()) << trailing.error();
  EXPECT_TRUE(trailing.ignoredColumns().empty());

  // Thousands of unknown columns give a message of one short line.
  std::string wide = kHeader;
  wide.pop_back();
  for (int i = 0; i < 5000; ++i) wide += ",EXTRA" + std::to_string(i);
  const LineListDesigner many(Table(wide + "\n").header, strict);
  EXPECT_EQ(many.ignoredColumns().size(), 5000u);
  EXPECT_LT(many.error().size(), 200u);
  EXPECT_NE(many.error().find("EXTRA9; and 4990 more"), std::string::npos) << many.error();

  // A required column missing names the unknown column meant for it.
  std::string misspelt = kHeader;
  misspelt.replace(misspelt.find("PIPELN"), 6, "PIPELENGHT");
  EXPECT_EQ(DesignLineList(Table(misspelt), {}).error,
            "line 1: the required column PIPELN is missing; PIPELENGHT: did you mean PIPELN?");
}

// A list that a spreadsheet set to decimal commas exports (semicolons or tabs
// between its fields) designs exactly as the same list written with points;
// in a comma-separated list the comma stays a separator.
TEST(BatchDesign, DecimalCommasOfSemicolonAndTabListsAreTheNumbersTheyMean) {
  struct Case {
    UnitSystem units;
    std::vector<std::string> fields;  // the columns of kListHeader, written with points
  };
  constexpr std::size_t kLength = 9;  // PIPELN among them
  const Case cases[] = {
      {UnitSystem::English, {"ST-1",   "L-1", "100.5", "0", "100",  "375",        "Mineral Fiber",
                             "1.5",    "2.0", "100.5", "1", "50.5", "Troughline", "3/8",
                             "Copper", "No",  "2",     "3", "1",    "0",          "12.5x4;6.25x2"}},
      {UnitSystem::Metric,
       {"ST-2", "L-2",        "38.5", "-18",    "38", "190", "Fiberglass", "25", "50", "30.5",        "1",
        "3.5",  "Troughline", "10",   "Copper", "No", "2",   "3",          "1",  "0",  "0.3x4;0.45x2"}},
  };
  const auto list = [](const std::vector<std::string>& fields, char delimiter, bool decimalCommas) {
    std::string header = kListHeader;
    std::replace(header.begin(), header.end(), ',', delimiter);
    std::string row;
    for (std::string f : fields) {
      if (decimalCommas) std::replace(f.begin(), f.end(), '.', ',');
      row += (row.empty() ? "" : std::string(1, delimiter)) + "\"" + f + "\"";
    }
    return Table(header + row + "\n");
  };
  for (const Case& c : cases) {
    BatchOptions options;
    options.units = c.units;
    if (c.units == UnitSystem::Metric) options.pressureUnit = PressureUnit::BarG;
    const CircuitResult points = DesignLineList(list(c.fields, ',', false), options).circuits.at(0);
    ASSERT_TRUE(points.ok) << testing::PrintToString(Texts(points));
    EXPECT_EQ(points.record.PIPELN, std::stof(c.fields[kLength]));
    for (const char delimiter : {';', '\t'}) {
      SCOPED_TRACE(std::string("delimiter ") + (delimiter == ';' ? "semicolon" : "tab") + ", " + c.fields[0]);
      for (const bool commas : {false, true}) {
        const CircuitResult got = DesignLineList(list(c.fields, delimiter, commas), options).circuits.at(0);
        EXPECT_EQ(got.record, points.record);
        EXPECT_EQ(got.display, points.display);
        EXPECT_EQ(got.used, points.used);
        EXPECT_EQ(Texts(got), Texts(points));
        EXPECT_EQ(got.corrections.size(), points.corrections.size());
      }
    }
  }
  // A number with a comma and a point, and a comma list's quoted comma, are
  // refused as written.
  std::vector<std::string> fields = cases[0].fields;
  fields[kLength] = "1.000,5";
  EXPECT_EQ(Texts(DesignLineList(list(fields, ';', false), {}).circuits.at(0)).back(),
            "Input Error: Column PIPELN: \"1.000,5\" is not a number");
  fields[kLength] = "100,5";
  EXPECT_EQ(Texts(DesignLineList(list(fields, ',', false), {}).circuits.at(0)).back(),
            "Input Error: Column PIPELN: \"100,5\" is not a number");
}

// The shoe column is read as the shoe dialog reads its boxes: inches, or
// millimetres in Metric; the CSV header says so.
TEST(BatchOutput, TheShoeColumnIsHeadedWithTheDialogsUnits) {
  BatchOptions metric;
  metric.units = UnitSystem::Metric;
  EXPECT_NE(BatchCsvHeader({}).find(",SHOES (in x count),"), std::string::npos);
  EXPECT_NE(BatchCsvHeader(metric).find(",SHOES (mm x count),"), std::string::npos);
  EXPECT_EQ(BatchCsvHeader({}).find(" ft x count"), std::string::npos);
}

}  // namespace
}  // namespace vst
