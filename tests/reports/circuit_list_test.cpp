#include "reports/circuit_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vst {
namespace {

using Units = UnitSystem;

// A designed circuit as the design run leaves it.
DesignRecord Designed() {
  DesignRecord r;
  r.CIRTXT = "C-101";
  r.PIPETXT = "L-7";
  r.MAXAMB = 100;
  r.MINAMB = -20.5f;
  r.MAINTEMP = 150;
  r.MAXEXP = 300;
  r.INSTHK = 1;
  r.INSTYPE = 3;
  r.PIPESIZE = 4;
  r.PIPELN = 250;
  r.NUMPASS = 1;
  r.STEAMPRS = 3.45f;
  r.PRESSURE = 2;
  r.TRACETUB = 0;
  r.TRACEINS = 0;
  r.TP2 = 282.8851f;
  r.TP1 = -3.7f;
  r.LSWO = 70.9f;
  r.COND = 0.0784f;
  r.INSIZE = 4;
  r.TLEN = 270;
  r.TDX = 144;
  r.VTR = 7.5f;
  r.CEM = "E-55";
  r.COVR = "YJ-2";
  r.TSIZ = "3/8'' O.D.";
  r.ReportPipeSize = 99;  // a value of another set, never shown
  return r;
}

std::string Cell(const CircuitListPage& page, int row, int column) {
  return page.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

bool ColumnEmpty(const CircuitListPage& page, int column) {
  for (int row = 0; row < kCircuitListRows; ++row) {
    if (!Cell(page, row, column).empty()) return false;
  }
  return true;
}

TEST(CircuitList, ColumnsFollowRecordPositionsAndGapsStayEmpty) {
  CircuitListRecords set{};
  set[0] = Designed();
  set[2] = Designed();
  set[2].CIRTXT = "C-303";
  const auto page = CircuitListCells(set, 0, Units::English, false);
  EXPECT_EQ(Cell(page, 0, 1), "1");
  EXPECT_EQ(Cell(page, 0, 3), "3");
  EXPECT_EQ(Cell(page, 1, 3), "C-303");
  for (int column : {2, 4, 5}) EXPECT_TRUE(ColumnEmpty(page, column)) << "column " << column;
  EXPECT_FALSE(CircuitListHasSecondPage(set));
}

TEST(CircuitList, SecondPageButtonWhenAnyOfRecordsSixToTenFillsAColumn) {
  struct Case {
    const char* what;
    int record;  // index 5..9 set up, -1 for none
    bool designed;
    float maxAmbient;
    bool more;
  };
  const std::vector<Case> cases = {
      {"records 6 to 10 empty", -1, false, 0, false},
      {"record 6 with a maximum ambient", 5, false, 80, true},
      {"record 6 discarded, record 9 designed", 8, true, 100, true},
      {"record 10 designed at 0 degrees ambient", 9, true, 0, true},
      {"record 7 neither designed nor with an ambient", 6, false, 0, false},
  };
  for (const Case& c : cases) {
    CircuitListRecords set{};
    set[0] = Designed();
    if (c.record >= 0) {
      auto& r = set[static_cast<std::size_t>(c.record)];
      if (c.designed) r = Designed();
      r.MAXAMB = c.maxAmbient;
    }
    EXPECT_EQ(CircuitListHasSecondPage(set), c.more) << c.what;
  }
}

TEST(CircuitList, DesignedRecordWithZeroMaximumAmbientIsListed) {
  CircuitListRecords set{};
  set[1] = Designed();
  set[1].MAXAMB = 0;
  const auto page = CircuitListCells(set, 0, Units::Metric, false);
  EXPECT_EQ(Cell(page, 0, 2), "2");
  EXPECT_EQ(Cell(page, 5, 2), " 0\u00B0C");
}

TEST(CircuitList, MoreSwitchesBetweenRecordsOneToFiveAndSixToTen) {
  CircuitListRecords set{};
  for (auto& r : set) r = Designed();
  set[7].CIRTXT = "eighth";
  CircuitListModel list(set, Units::English, true);
  ASSERT_TRUE(list.moreVisible());
  EXPECT_EQ(list.moreCaption(), " &6-10");
  list.more();
  EXPECT_EQ(list.moreCaption(), "&1-5");
  for (int column = 1; column <= 5; ++column)
    EXPECT_EQ(Cell(list.page(), 0, column), std::to_string(column + 5));
  EXPECT_EQ(Cell(list.page(), 1, 3), "eighth");
  list.more();
  EXPECT_EQ(list.moreCaption(), "&6-10");
  EXPECT_EQ(Cell(list.page(), 0, 1), "1");
  // The list shows the set as it was when opened.
  set[0].CIRTXT = "changed later";
  EXPECT_EQ(Cell(list.page(), 1, 1), "C-101");
}

TEST(CircuitList, HiddenMoreDoesNothing) {
  CircuitListRecords set{};
  set[0] = Designed();
  CircuitListModel list(set, Units::Metric, false);
  list.more();
  EXPECT_EQ(list.firstRecord(), 0);
  EXPECT_EQ(Cell(list.page(), 0, 1), "1");
}

// Cell texts of one designed record, by row, in both unit systems.
TEST(CircuitList, CellTextsOfADesignedRecord) {
  struct Case {
    const char* what;
    void (*change)(DesignRecord&);
    Units units;
    bool internal;
    int row;
    std::string text;
  };
  auto none = [](DesignRecord&) {};
  const std::vector<Case> cases = {
      {"max ambient", none, Units::English, false, 5, " 100\u00B0F"},
      {"min ambient", none, Units::Metric, false, 6, " -20.5\u00B0C"},
      {"thickness English", none, Units::English, false, 9, " 1.5''"},
      {"thickness Metric", none, Units::Metric, false, 9, " 30mm"},
      {"thickness last", [](DesignRecord& r) { r.INSTHK = 6; }, Units::English, false, 9, " 4''"},
      {"thickness off the list", [](DesignRecord& r) { r.INSTHK = 9; }, Units::Metric, false, 9, ""},
      {"insulation type", none, Units::English, false, 10, "Fiberglass"},
      {"insulation type 7", [](DesignRecord& r) { r.INSTYPE = 7; }, Units::English, false, 10,
       "Expaneded Perlite"},
      {"Troughline", none, Units::English, false, 11, "Troughline"},
      {"Fillet", [](DesignRecord& r) { r.TRACEINS = 1; }, Units::English, false, 11, "Fillet Trace"},
      {"jacketed", [](DesignRecord& r) { r.TRACEINS = 2; }, Units::English, false, 11, "Coverlyn"},
      {"tubing English", none, Units::English, false, 12, " 3/8'' O.D."},
      {"tubing Metric", [](DesignRecord& r) { r.TRACETUB = 3; }, Units::Metric, false, 12, " 20mm O.D."},
      {"pressure bar g", none, Units::Metric, false, 13, " 3.45 bar g"},
      {"pressure kPa", [](DesignRecord& r) { r.PRESSURE = 1; }, Units::Metric, false, 13, " 3.45 kPa"},
      {"pressure psig", [](DesignRecord& r) { r.PRESSURE = 0; }, Units::English, false, 13, " 3.45 psig"},
      {"pipe length English", none, Units::English, false, 14, " 250'"},
      {"pipe length Metric", none, Units::Metric, false, 14, " 250m"},
      {"pipe size from the list position", none, Units::English, false, 15, " 2''"},
      {"pipe size Metric", none, Units::Metric, false, 15, " 50mm"},
      {"half-inch pipe", [](DesignRecord& r) { r.PIPESIZE = 0; }, Units::English, false, 15, " 0.5''"},
      {"pipe size off the list", [](DesignRecord& r) { r.PIPESIZE = 40; }, Units::English, false, 15, ""},
      {"passes", none, Units::English, false, 16, " 2"},
      {"max maint whole degrees", none, Units::English, false, 19, " 282\u00B0F"},
      {"min maint below zero", none, Units::Metric, false, 20, " -3\u00B0C"},
      {"compound", none, Units::English, false, 21, "E-55"},
      {"jacket type", [](DesignRecord& r) { r.TRACEINS = 2; }, Units::English, false, 21, "YJ-2"},
      {"heat loss English", none, Units::English, false, 22, " 70.9 BTU/hr-ft"},
      {"heat loss Metric", none, Units::Metric, false, 22, " 70.9 W/m"},
      {"insulation size standard", none, Units::English, false, 23, " 4''"},
      {"tracer length standard", none, Units::Metric, false, 24, " 270m"},
      {"condensate English", none, Units::English, true, 23, " 0.078 LB/hr-ft"},
      {"condensate Metric", none, Units::Metric, true, 23, " 0.078 kg/hr-m"},
      {"insulation size internal", none, Units::Metric, true, 24, " 4mm"},
      {"tracer length internal", none, Units::English, true, 25, " 270'"},
      {"trap length", none, Units::English, true, 26, " 144'"},
      {"vertical rise", none, Units::Metric, true, 27, " 7.5m"},
      {"trap length hidden", none, Units::English, false, 26, ""},
  };
  for (const Case& c : cases) {
    CircuitListRecords set{};
    set[0] = Designed();
    c.change(set[0]);
    const auto page = CircuitListCells(set, 0, c.units, c.internal);
    EXPECT_EQ(Cell(page, c.row, 1), c.text) << c.what;
  }
}

TEST(CircuitList, RowSetsOfTheTwoModes) {
  CircuitListRecords set{};
  set[0] = Designed();
  const auto standard = CircuitListCells(set, 0, Units::English, false);
  const auto internal = CircuitListCells(set, 0, Units::English, true);
  const std::vector<std::string> standardTail = {"Insul. Size", "Tracer Length", "", "", ""};
  const std::vector<std::string> internalTail = {"Condensate Load", "Insul. Size", "Tracer Length",
                                                 "Max. Trap Length", "Max. Vert. Rise"};
  for (int row = 23; row < kCircuitListRows; ++row) {
    EXPECT_EQ(Cell(standard, row, 0), standardTail[static_cast<std::size_t>(row - 23)]);
    EXPECT_EQ(Cell(internal, row, 0), internalTail[static_cast<std::size_t>(row - 23)]);
  }
  for (int row = 0; row < kCircuitListRows; ++row) {
    EXPECT_TRUE(internal.rowVisible[static_cast<std::size_t>(row)]) << row;
    EXPECT_EQ(standard.rowVisible[static_cast<std::size_t>(row)], row < 25) << row;
    if (row >= 25) {
      EXPECT_EQ(Cell(standard, row, 1), "") << row;
    }
  }
  EXPECT_EQ(Cell(standard, 0, 0), "Record No.");
  EXPECT_EQ(Cell(standard, 22, 0), "Design Heat Loss");
  EXPECT_TRUE(CircuitListCellCentred(2, 4));
  EXPECT_TRUE(CircuitListCellCentred(17, 0));
  EXPECT_FALSE(CircuitListCellCentred(3, 1));
}

}  // namespace
}  // namespace vst
