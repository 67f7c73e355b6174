// The circuit bill's material lines and the summary bill's sections, read
// from the quantities the take-off stores in a record: each line's condition
// on both sides, the catalogue codes, the merge rules and the decided mends.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bom/circuit_bill.h"
#include "bom/summary_bill.h"
#include "bom/xlsx_export.h"

namespace vst {
namespace {

using Rows = std::vector<BillRow>;

// A designed 3/8 in copper channel circuit on a 2 in pipe, as the take-off
// leaves it (English units).
DesignRecord Channel() {
  DesignRecord r;
  r.TSIZ = "3/8'' O.D.";
  r.TRACEINS = 0;
  r.CEM = "K-30";
  r.CEM1 = " ";
  r.CHAN = "MCX-4";
  r.BAND = "HB2SS";
  r.MAXEXP = 500;
  r.TLEN = 105;
  r.ACHAN = 27;
  r.TST = 27;
  r.ACEM = 4;
  r.ABAND = 1;
  r.TBAND = 20;
  r.CRS = 85;
  r.FRST = 1;
  return r;
}

DesignRecord With(DesignRecord r, const std::function<void(DesignRecord&)>& change) {
  change(r);
  return r;
}

Rows Lines(const DesignRecord& r, UnitSystem units = UnitSystem::English) {
  Rows rows = CircuitBillRows(r, units);
  EXPECT_EQ(rows.front(), (BillRow{"QUANTITY", "CATALOG NO.", "DESCRIPTION"}));
  rows.erase(rows.begin());
  return rows;
}

const BillRow kTubing{" 105 Feet", "KV-3B32", " 3/8'' O.D. Copper Tubing"};
const BillRow kChannels{" 27", "MCX-4", "Channels"};
const BillRow kBanding{" 1", "HB2SS", " 50' Rolls of Stainless Steel Banding"};
const BillRow kTieWire{" 20 Feet", "WTS-4", "Stainless Steel Tie Wire"};
const BillRow kCrimps{" 85", "CR-34PQ", "Crimp Seals"};
const BillRow kTraps{" 1", "", "Trap Stations"};

TEST(CircuitBill, EachLineFollowsItsCondition) {
  struct Case {
    const char* name;
    DesignRecord record;
    UnitSystem units;
    Rows expected;
  };
  const auto strip = [](float gallons, float exposure) {
    return With(Channel(), [=](DesignRecord& r) {
      r.CEM = "Clipstrip";
      r.ACEM1 = gallons;
      r.ACEM = 0;
      r.MAXEXP = exposure;
    });
  };
  const Case cases[] = {
      {"channel",
       Channel(),
       UnitSystem::English,
       {kTubing,
        kChannels,
        {" 4 Gallons", "K-30", "Heat Transfer Cement"},
        kBanding,
        kTieWire,
        kCrimps,
        kTraps}},
      {"tubing shorter than 1 ft is not listed",
       With(Channel(), [](DesignRecord& r) { r.TLEN = 0.5f; }),
       UnitSystem::English,
       {kChannels, {" 4 Gallons", "K-30", "Heat Transfer Cement"}, kBanding, kTieWire, kCrimps, kTraps}},
      {"strip, one gallon of K-30 for valves",
       strip(1, 700),
       UnitSystem::English,
       {kTubing,
        {" 27 Sections", "CS-1", " 3/8'' Clipstrip System"},
        {" 1 Gallon", "K-30", "Heat Transfer Cement"},
        kBanding,
        kTieWire,
        kCrimps,
        kTraps}},
      {"strip above 700 F takes K-90",
       strip(2, 701),
       UnitSystem::English,
       {kTubing,
        {" 27 Sections", "CS-1", " 3/8'' Clipstrip System"},
        {" 2 Gallons", "K-90", "Heat Transfer Cement"},
        kBanding,
        kTieWire,
        kCrimps,
        kTraps}},
      {"strip without valves or pumps",
       strip(0, 300),
       UnitSystem::English,
       {kTubing, {" 27 Sections", "CS-1", " 3/8'' Clipstrip System"}, kBanding, kTieWire, kCrimps, kTraps}},
      {"fillet in cartridges, no channels",
       With(Channel(),
            [](DesignRecord& r) {
              r.TRACEINS = 1;
              r.CEM = "E-50-C";
              r.ACEM = 3;
              r.TUBEMAT = 1;
              r.TUBEWALL = 1;
            }),
       UnitSystem::English,
       {{" 105 Feet", "KV-3A49", " 3/8'' O.D. Welded S. S. Tubing"},
        {" 3 Cartridges", "E-50-C", "Heat Transfer Cement"},
        kBanding,
        kTieWire,
        kCrimps,
        kTraps}},
      {"jacketed: no compound, tie wire or crimp seals",
       With(Channel(),
            [](DesignRecord& r) {
              r.TRACEINS = 3;
              r.CEM = "COVERLYN";
              r.COVR = "YJ-2";
              r.TUBEMAT = 2;
              r.BAND = "GF-1Q";
              r.TBAND = 0;
              r.CRS = 12;  // a stored count is still not listed
            }),
       UnitSystem::English,
       {{" 105 Feet", "YJ-2-3F35", "Isolated Steam Tracer  (3/8'' O.D. Seamless S. S. Tubing)"},
        {" 1", "GF-1Q", " 108' Rolls of Fiber Tape"},
        kTraps}},
      {"YJ-0 is a steam tracer",
       With(Channel(),
            [](DesignRecord& r) {
              r.TRACEINS = 2;
              r.CEM = "COVERLYN";
              r.COVR = "YJ-0";
              r.CRS = 0;
              r.TBAND = 0;
              r.ABAND = 0;
            }),
       UnitSystem::English,
       {{" 105 Feet", "YJ-0-3B32", "Steam Tracer  (3/8'' O.D. Copper Tubing)"}, kTraps}},
      {"pre-insulated tubing, unions, connectors and seal kits (the count of kits)",
       With(Channel(),
            [](DesignRecord& r) {
              r.WCTB = 12.5f;
              r.UNION = 6;
              r.MACO = 4;
              r.FAK = 3;
              r.FRST = 2;
            }),
       UnitSystem::English,
       {kTubing,
        kChannels,
        {" 4 Gallons", "K-30", "Heat Transfer Cement"},
        kBanding,
        kTieWire,
        kCrimps,
        {" 12.5 Feet", "WQ-3B132-PVC", " 3/8'' O.D. Wrapcore (Copper)"},
        {" 6", "", " 3/8'' Brass Unions"},
        {" 2", "", "Trap Stations"},
        {" 4", "", " 3/8'' Brass Male Connectors"},
        {" 3", "KSK-7", "Tubing Seal Kit"}}},
      {"Metric strip: 371 C is below 700 F (K-30)",
       With(strip(1, 371),
            [](DesignRecord& r) {
              r.TSIZ = "16mm O.D.";
              r.TRACETUB = 2;
              r.TUBEMAT = 1;
              r.BAND = "HB3SS";
              r.TLEN = 32.5f;
              r.TBAND = 6.5f;
              r.UNION = 2;
            }),
       UnitSystem::Metric,
       {{" 32.5 Meters", "KV-16A1", " 16mm O.D. Welded S. S. Tubing"},
        {" 27 Sections", "CS-3", " 20mm Clipstrip System"},
        {" 1 Gallon", "K-30", "Heat Transfer Cement"},
        {" 1", "HB3SS", " 30m Rolls of Stainless Steel Banding"},
        {" 6.5 Meters", "WTS-4", "Stainless Steel Tie Wire"},
        kCrimps,
        {" 2", "", " 16mm Stainless Steel Unions"},
        kTraps}},
      {"Metric strip: 372 C is above 700 F (K-90)",
       With(strip(1, 372), [](DesignRecord& r) { r.TBAND = 0; }),
       UnitSystem::Metric,
       {{" 105 Meters", "KV-10B1", " 3/8'' O.D. Copper Tubing"},
        {" 27 Sections", "CS-1", " 10mm Clipstrip System"},
        {" 1 Gallon", "K-90", "Heat Transfer Cement"},
        {" 1", "HB2SS", " 15m Rolls of Stainless Steel Banding"},
        kCrimps,
        kTraps}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(c.record, c.units), c.expected) << c.name;
}

TEST(CircuitBill, WallCodeByUnitsTubeMaterialAndWall) {
  struct Case {
    UnitSystem units;
    int tube, material, wall;
    const char* code;
  };
  const auto E = UnitSystem::English;
  const Case cases[] = {
      {E, 0, 0, 0, "32"},
      {E, 0, 1, 0, "35"},
      {E, 0, 2, 0, "35"},
      {E, 0, 0, 1, "49"},
      {E, 1, 0, 0, "35"},
      {E, 1, 1, 1, "49"},
      {E, 2, 0, 0, "42"},
      {E, 2, 0, 1, "49"},
      {E, 2, 0, 2, "65"},
      {E, 2, 1, 0, "49"},
      {E, 2, 2, 1, "65"},
      {E, 3, 0, 0, "49"},
      {E, 3, 1, 1, "65"},
      {UnitSystem::Metric, 1, 0, 0, "1"},
      {UnitSystem::Metric, 3, 2, 1, "1.5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WallCode(c.units, c.tube, c.material, c.wall), c.code)
        << "tube " << c.tube << " material " << c.material << " wall " << c.wall;
  }
}

TEST(CircuitReport, OutputsByProgramModeAndUnitSystem) {
  CircuitReportFields f;
  f.maxAmbient = "100";
  f.minAmbient = "0";
  f.insulationType = "Fiberglass";
  f.pipeDiameter = "2";
  f.insulationThickness = "1";
  f.pipeLength = "100.0";  // re-formatted through single precision
  f.tracerTubing = "3/8";
  f.pressure = "50";
  f.maxMaintTemp = "150.5";
  f.minMaintTemp = "120";
  f.heatLoss = "20.5";
  f.condensate = "0.023";
  f.insulationSize = "3";
  f.totalLength = "270";
  f.trapDistance = "300";
  f.rise = "7.5";
  DesignRecord r = Channel();
  r.NUMPASS = 1;
  const auto standard = CircuitReportRows(f, r);
  EXPECT_EQ(standard[1][0], "Maximum Ambient:        100\u00B0F");
  EXPECT_EQ(standard[6][0], "Pipe Length:                100 Feet");
  EXPECT_EQ(standard[8][0], "Steam Pressure:           50 PSIG");
  EXPECT_EQ(standard[9][0], "Number of Passes:        2");
  EXPECT_EQ(standard[3][1], "Heat Loss:                                 20.5 BTU/Hr-Ft");
  EXPECT_EQ(standard[4][1], "Insulation Size:                           3 Inches");
  EXPECT_EQ(standard[6][1], "Troughline:                            K-30");
  EXPECT_EQ(standard[7][1], "");

  f.internalMode = true;
  f.units = UnitSystem::Metric;
  r.PRESSURE = 2;
  const auto internal = CircuitReportRows(f, r);
  EXPECT_EQ(internal[1][1], "Max. Maintenance Temperature:  150.5\u00B0C");
  EXPECT_EQ(internal[4][1], "Condensate Load (Per Tracer):     0.023 kg/Hr-m");
  EXPECT_EQ(internal[7][1], "Trap Distance :                           300 Meters");
  EXPECT_EQ(internal[8][1], "Max. Vertical Rise: " + std::string(21, ' ') + "7.5 Meters");
  EXPECT_EQ(internal[9][1], "Troughline:                            K-30");
  EXPECT_EQ(internal[8][0], "Steam Pressure:           50 bar g");
}

TEST(CircuitReport, AHeatUpDesignAddsItsLinesBelowTheOthersInEitherModeAndUnitSystem) {
  CircuitReportFields f;
  f.product = "Other";
  f.initialTemp = "0";
  f.finalTemp = "150.0";
  f.density = "62.4";
  f.specificHeat = "1";
  f.phaseChangeTemp = "32";
  f.latentHeat = "144";
  f.heatUpTime = "3.46";
  DesignRecord r = Channel();
  const std::size_t maintenanceRows = CircuitReportRows(f, r).size();
  r.APPTYPE = kApplicationHeatUp;
  struct Case {
    bool internalMode;
    UnitSystem units;
    bool phaseChange;
    std::size_t timeRow;  // below the installation line
    std::size_t rows;
  };
  const Case cases[] = {
      {false, UnitSystem::English, false, 7, 15},
      {true, UnitSystem::English, true, 10, 17},
      {false, UnitSystem::Metric, true, 7, 17},
      {true, UnitSystem::Metric, false, 10, 15},
  };
  for (const Case& c : cases) {
    f.internalMode = c.internalMode;
    f.units = c.units;
    f.phaseChange = c.phaseChange;
    const bool metric = c.units == UnitSystem::Metric;
    const std::string degrees = metric ? "\u00B0C" : "\u00B0F";
    const auto rows = CircuitReportRows(f, r);
    SCOPED_TRACE(std::string(c.internalMode ? "internal " : "standard ") + (metric ? "Metric" : "English"));
    ASSERT_EQ(rows.size(), c.rows);
    EXPECT_EQ(rows[9][0], "Number of Passes:        1");
    EXPECT_EQ(rows[10][0], "Heat Up Product:            Other");
    EXPECT_EQ(rows[11][0], "Initial Temperature:        0" + degrees);
    EXPECT_EQ(rows[12][0], "Final Temperature:          150" + degrees);
    EXPECT_EQ(rows[13][0],
              std::string("Product Density:            62.4 ") + (metric ? "kg/m\u00B3" : "lb/ft\u00B3"));
    EXPECT_EQ(rows[c.timeRow - 1][1].rfind("Troughline:", 0), 0u);
    EXPECT_EQ(rows[c.timeRow][1], "Heat Up Time: " + std::string(29, ' ') + "3.46 Hours");
    if (c.phaseChange) {
      EXPECT_EQ(rows[16][0], std::string("Latent Heat:                144 ") + (metric ? "J/kg" : "BTU/lb"));
    }
    const auto printed = CircuitReportOutputs(f, r);
    EXPECT_EQ(printed.back().printLabel, "Heat Up Time:");
  }
  // A line that cannot reach its final temperature, and a time that was not computed.
  f.heatUpTime = "\u2014";
  EXPECT_EQ(CircuitReportOutputs(f, r).back().value, "\u2014 (the final temperature cannot be reached)");
  f.heatUpTime.clear();
  EXPECT_EQ(CircuitReportOutputs(f, r).back().value, "not computed");
  EXPECT_EQ(maintenanceRows, 10u);
}

Rows Summary(const std::vector<DesignRecord>& records, UnitSystem units = UnitSystem::English) {
  SummaryBill bill(units);
  for (const DesignRecord& r : records) bill.add(r);
  return bill.rows();
}

// The rows whose description or catalogue holds `text`.
Rows Find(const Rows& rows, const std::string& text) {
  Rows found;
  for (const BillRow& row : rows) {
    if (row[1].find(text) != std::string::npos || row[2].find(text) != std::string::npos)
      found.push_back(row);
  }
  return found;
}

TEST(SummaryBill, LikeItemsMergeAndOthersSplit) {
  const DesignRecord a = Channel();
  const DesignRecord otherWall = With(a, [](DesignRecord& r) { r.TUBEWALL = 1; });
  const DesignRecord k90 = With(a, [](DesignRecord& r) { r.CEM = "K-90"; });
  const auto strip = [](float exposure) {
    return With(Channel(), [=](DesignRecord& r) {
      r.CEM = "Clipstrip";
      r.ACEM = 0;
      r.ACEM1 = 1;
      r.MAXEXP = exposure;
    });
  };
  const DesignRecord welded = With(a, [](DesignRecord& r) {
    r.TUBEMAT = 1;
    r.MACO = 2;
  });
  const DesignRecord seamless = With(a, [](DesignRecord& r) {
    r.TUBEMAT = 2;
    r.MACO = 4;
  });
  struct Case {
    const char* name;
    std::vector<DesignRecord> records;
    const char* item;
    Rows expected;
  };
  const Case cases[] = {
      {"same tube, material, wall and type",
       {a, a},
       "Tubing",
       {{" 210 Feet", "KV-3B32", " 3/8'' O.D. Copper Tubing"}}},
      {"a different wall",
       {a, otherWall},
       "Tubing",
       {{" 105 Feet", "KV-3B32", " 3/8'' O.D. Copper Tubing"},
        {" 105 Feet", "KV-3B49", " 3/8'' O.D. Copper Tubing"}}},
      {"K-30 with K-30", {a, a}, "Cement", {{" 8", "K-30", "Gallons of Heat Transfer Cement"}}},
      {"K-30 with K-90",
       {a, k90},
       "Cement",
       {{" 4", "K-30", "Gallons of Heat Transfer Cement"},
        {" 4", "K-90", "Gallons of Heat Transfer Cement"}}},
      {"strip compound under the same catalogue number",
       {strip(300), strip(700)},
       "Cement",
       {{" 2", "K-30", "Gallons of Heat Transfer Cement"}}},
      {"strip compound of records with their own exposures",
       {strip(300), strip(800)},
       "Cement",
       {{" 1", "K-30", "Gallon of Heat Transfer Cement"}, {" 1", "K-90", "Gallon of Heat Transfer Cement"}}},
      {"strip sections by tube",
       {strip(300), strip(300)},
       "Clipstrip",
       {{" 54", "CS-1", "Sections of 3/8'' Clipstrip System"}}},
      {"tie wire summed",
       {a, otherWall, k90},
       "Tie Wire",
       {{" 60 Feet", "WTS-4", "Stainless Steel Tie Wire"}}},
      {"crimp seals summed", {a, k90}, "Crimp Seals", {{" 170", "CR-34PQ", "Crimp Seals"}}},
      {"welded and seamless connectors are one line",
       {welded, seamless},
       "Connectors",
       {{" 6", "", "Male Connectors (3/8'' Stainless Steel)"}}},
      {"the strip includes its channel", {a, strip(300)}, "Channels", {{" 27", "MCX-4", "Channels"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Find(Summary(c.records), c.item), c.expected) << c.name;
}

TEST(SummaryBill, CountsSummedOverRecords) {
  const DesignRecord a = With(Channel(), [](DesignRecord& r) {
    r.FRST = 2;
    r.FAK = 1;
    r.WCTB = 10;
    r.UNION = 4;
  });
  const DesignRecord b = With(a, [](DesignRecord& r) {
    r.FRST = 3;
    r.FAK = 2;
    r.TUBEMAT = 1;
  });
  const Rows rows = Summary({a, b});
  EXPECT_EQ(Find(rows, "Trap Stations"), (Rows{{" 5", "", "Trap Stations"}}));
  EXPECT_EQ(Find(rows, "Seal Kit"), (Rows{{" 3", "KSK-7", "Tubing Seal Kit"}}));
  EXPECT_EQ(Find(rows, "Unions"),
            (Rows{{" 4", "", " 3/8'' Brass Unions"}, {" 4", "", " 3/8'' Stainless Steel Unions"}}));
  EXPECT_EQ(Find(rows, "Wrapcore"),
            (Rows{{" 10 Feet", "WQ-3B132-PVC", " 3/8'' O.D. Wrapcore (Copper)"},
                  {" 10 Feet", "WQ-3A135-PVC", " 3/8'' O.D. Wrapcore (Welded Stainless Steel)"},
                  {" 1", "PDS0025", "Wrapcore Installation Instructions"}}));
}

TEST(SummaryBill, DocumentsAndAccessoriesFollowTheMaterial) {
  const DesignRecord jacketed = With(Channel(), [](DesignRecord& r) {
    r.TRACEINS = 3;
    r.CEM = "COVERLYN";
    r.COVR = "YJ-2";
    r.BAND = "GF-1Q";
    r.TBAND = 0;
    r.CRS = 0;
    r.ACHAN = 0;
  });
  const Rows allJacketed = Summary({jacketed, jacketed});
  EXPECT_EQ(allJacketed.back(), (BillRow{" 1", "PDS0024", "Coverlyn Installation Instructions"}));
  EXPECT_TRUE(Find(allJacketed, "OPTIONAL").empty());
  EXPECT_TRUE(Find(allJacketed, "PDS0023").empty());

  const DesignRecord fillet = With(Channel(), [](DesignRecord& r) {
    r.TRACEINS = 1;
    r.CEM = "E-55-C";
    r.CEM1 = " ";  // as the take-off leaves it
    r.ACEM = 5;
    r.ACHAN = 0;
  });
  const Rows rows = Summary({fillet});
  const Rows tail(rows.end() - 7, rows.end());
  EXPECT_EQ(tail, (Rows{{" 1", "PDS0023", "HTC Installation Instructions"},
                        {"", "", ""},
                        {"", "", ""},
                        {"", "OPTIONAL ACCESSORIES", ""},
                        {"", "QB-001", "Banding Tool"},
                        {"", " 2750Q", "Crimping Tool"},
                        {"", "HG-2Q", "Heated Barrel Cartridge Gun"}}));
  EXPECT_TRUE(Find(Summary({Channel()}), "HG-2Q").empty()) << "gallons need no cartridge gun";
}

TEST(SummaryBill, OnlyRecordsHoldingADesignCount) {
  const DesignRecord discarded = With(Channel(), [](DesignRecord& r) { r.TSIZ.clear(); });
  EXPECT_EQ(Find(Summary({Channel(), discarded}), "Tie Wire"),
            (Rows{{" 20 Feet", "WTS-4", "Stainless Steel Tie Wire"}}));
  EXPECT_EQ(Summary({discarded}), (Rows{BillHeaderRow()}));
}

TEST(SummaryBill, GrowsPastFortyRowsAndKeepsOnlyMergedLines) {
  // Ten records of different tubes, materials and walls, each with every item.
  std::vector<DesignRecord> records;
  for (int i = 0; i < 10; ++i) {
    records.push_back(With(Channel(), [&](DesignRecord& r) {
      r.TRACETUB = i % 4;
      r.TSIZ = std::to_string(i % 4) + " tube";
      r.TUBEMAT = i % 3;
      r.TUBEWALL = i / 4;
      r.CHAN = "MCX-" + std::to_string(i % 5);
      r.WCTB = 5;
      r.UNION = 2;
      r.MACO = 2;
    }));
  }
  const Rows ten = Summary(records);
  EXPECT_GT(ten.size(), 40u);
  EXPECT_EQ(Find(ten, "Tubing").size(), 10u);

  // A long line list merges into the same lines, with summed quantities.
  SummaryBill list(UnitSystem::English);
  for (int i = 0; i < 1000; ++i) list.add(records[static_cast<std::size_t>(i % 10)]);
  const Rows many = list.rows();
  ASSERT_EQ(many.size(), ten.size());
  EXPECT_EQ(Find(many, "Tie Wire"), (Rows{{" 20000 Feet", "WTS-4", "Stainless Steel Tie Wire"}}));
}

TEST(SpreadsheetExport, InvalidTextStillGivesAWorkbookThatParses) {
  EXPECT_EQ(ValidSpreadsheetText("ok \xC3\xA9"), "ok \xC3\xA9");
  EXPECT_EQ(ValidSpreadsheetText("a\xFF"
                                 "b\xC3"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
  EXPECT_EQ(ValidSpreadsheetText("\x01"
                                 "x\xED\xA0\x80"),
            "\xEF\xBF\xBD"
            "x\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");

  const auto folder = std::filesystem::temp_directory_path() /
                      ("vst_xlsx_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                       std::to_string(std::rand()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "bad.xlsx").string();
  const std::vector<std::vector<std::string>> grid{{"QUANTITY", "CATALOG NO.", "DESCRIPTION"},
                                                   {" 1", "KV-\xFF", "bad \xC0\x80 text\x02"}};
  ASSERT_EQ(ExportGridToSpreadsheet(grid, 2, 3, 1, "Summary BOM", path), "");
  const std::string check =
      "python3 -c \"import sys, zipfile, xml.dom.minidom as m; z = zipfile.ZipFile(sys.argv[1]); "
      "[m.parseString(z.read(n)) for n in z.namelist() if n.endswith('.xml')]\" '" +
      path + "'";
  EXPECT_EQ(std::system(check.c_str()), 0) << "every part of the workbook must be well-formed XML";
  // A workbook cut short (a full disk) is told from a whole one.
  EXPECT_TRUE(EndsAsAWorkbook(path));
  std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
  EXPECT_FALSE(EndsAsAWorkbook(path));
  EXPECT_NE(ExportGridToSpreadsheet(grid, 2, 3, 1, "Summary BOM", (folder / "missing" / "x.xlsx").string()),
            "")
      << "a folder that does not exist is reported";
  std::filesystem::remove_all(folder);
}

// The cells of a workbook's first sheet, by reference: "n:324.7282" for a
// number cell, "s:text" for a text cell (read by Python's zipfile and XML).
std::map<std::string, std::string> SheetCells(const std::string& path) {
  const std::string script =
      "python3 -c \"import sys, zipfile, xml.dom.minidom as m\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "s = [''.join(t.firstChild.data if t.firstChild else '' for t in si.getElementsByTagName('t'))"
      " for si in m.parseString(z.read('xl/sharedStrings.xml')).getElementsByTagName('si')]\n"
      "for c in m.parseString(z.read('xl/worksheets/sheet1.xml')).getElementsByTagName('c'):\n"
      "  v = c.getElementsByTagName('v')\n"
      "  if not v: continue\n"
      "  v = v[0].firstChild.data\n"
      "  print(c.getAttribute('r') + '|' + ('s:' + s[int(v)] if c.getAttribute('t') == 's' else 'n:' + v))\" "
      "'" +
      path + "'";
  std::map<std::string, std::string> cells;
  FILE* pipe = popen(script.c_str(), "r");
  if (!pipe) return cells;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    const auto bar = text.find('|');
    if (bar != std::string::npos) cells[text.substr(0, bar)] = text.substr(bar + 1);
  }
  pclose(pipe);
  return cells;
}

TEST(SpreadsheetExport, ResultTablesHoldNumbersAsNumberCellsAndBillsKeepTheirTextCells) {
  const auto folder =
      std::filesystem::temp_directory_path() /
      ("vst_xlsx_numbers_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(folder);
  const std::vector<std::vector<std::string>> grid{{"Row", "CIRTXT", "Design Heat Loss (W/m)", "Tube"},
                                                   {"1", "007", "324.7282", "3/8"},
                                                   {"2", "1e3", "-12.5", ""}};
  const std::string results = (folder / "results.xlsx").string();
  ASSERT_EQ(ExportTableToWorkbook(grid, {true, false, true, true}, "Line List", results), "");
  const struct {
    const char* cell;
    const char* expected;  // "" for an empty cell
  } rows[] = {
      {"A1", "s:Row"},   {"C1", "s:Design Heat Loss (W/m)"},
      {"A2", "n:1"},     {"C2", "n:324.7282"},
      {"C3", "n:-12.5"}, {"B2", "s:007"},  // a circuit name stays as typed
      {"B3", "s:1e3"},   {"D2", "s:3/8"},
      {"D3", ""},
  };
  const auto cells = SheetCells(results);
  for (const auto& r : rows) {
    const auto found = cells.find(r.cell);
    EXPECT_EQ(found == cells.end() ? std::string() : found->second, r.expected) << r.cell;
  }
  // The summary bill's workbook keeps every cell as its text and a blank.
  const std::string bill = (folder / "bill.xlsx").string();
  ASSERT_EQ(ExportGridToSpreadsheet(grid, 3, 4, 1, "Summary BOM", bill), "");
  EXPECT_EQ(SheetCells(bill)["C2"], "s:324.7282 ");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vst
