// The bill windows' models over designs made in the main window: what the
// circuit report shows in both unit systems and program modes, the export
// command's dialog and failures, and when the circuit bill opens at all.
#include "workspace/bill_models.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bom/summary_bill.h"
#include "workspace/stmain_test_support.h"

namespace vst::test {
namespace {

struct Case {
  UnitSystem units;
  bool internal;
};

// Record 1 designed by the engine from the default inputs.
void DesignDefault(Session& s, const Case& c) {
  s.model.setDesignRunner({});
  if (c.internal) s.internalMode();
  s.dialogs.pipe({kAllowanceIncludedNo, "2", "3", "1", "10"}).shoes({.sizes = {{"12", "4"}}});
  s.type("Circ_No", "C-100");
  s.type("Line_No", "2\"-ST-7");
  s.design();
  ASSERT_TRUE(s.model.set().current().HoldsDesign());
}

TEST(CircuitBillWindow, ShowsTheCurrentRecordAsTheMainWindowShowsIt) {
  for (const Case c : {Case{UnitSystem::English, false}, Case{UnitSystem::English, true},
                       Case{UnitSystem::Metric, false}, Case{UnitSystem::Metric, true}}) {
    SCOPED_TRACE(std::string(c.units == UnitSystem::Metric ? "Metric" : "English") +
                 (c.internal ? " InternalMode" : " standard"));
    Session s(c.units);
    DesignDefault(s, c);
    const CktBillModel bill(s.model, 0);
    const ControlSet& k = bill.controls();
    EXPECT_EQ(bill.caption(), "Report #1");
    EXPECT_EQ(k["Label1"].text, "Circuit No.= C-100");
    EXPECT_EQ(k["Label2"].text, "Line/Pipe No.=  2\"-ST-7");
    EXPECT_EQ(k["Label3"].text, "Vaporix     Circuit Report #1     Bill of Materials");
    EXPECT_EQ(k["Label6"].text, "Vantrel\u00AE");
    EXPECT_FALSE(k["Options"].visible);

    const std::string letter = c.units == UnitSystem::Metric ? "\u00B0C" : "\u00B0F";
    const auto& rows = bill.reportRows();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[1][1], "Max. Maintenance Temperature:  " + s.text("Max_Maint_Temp") + letter);
    EXPECT_EQ(rows[3][0], "Insulation Type: " + std::string(11, ' ') + s.selected("Insul_Typ_In"));
    const DesignRecord& r = s.model.set().current();
    const std::string installation = "Coverlyn Type: " + std::string(24, ' ') + r.COVR;
    if (c.internal) {
      EXPECT_EQ(rows[4][1].rfind("Condensate Load (Per Tracer):     " + s.text("Cond_Load"), 0), 0u);
      EXPECT_EQ(rows[9][1], installation);
    } else {
      EXPECT_EQ(rows[6][1], installation);
      for (int i = 7; i < 10; ++i) EXPECT_EQ(rows[static_cast<std::size_t>(i)][1], "") << "row " << i;
    }
    EXPECT_EQ(bill.billRows(), CircuitBillRows(r, c.units));
    // A jacketed tube with pre-insulated tubing: its tubing, wrapcore and seal kit lines.
    EXPECT_EQ(bill.billRows()[1][0], " " + SingleText(r.TLEN) + LengthUnitWord(c.units));
    EXPECT_EQ(bill.billRows().back()[1], "KSK-7");

    const std::string printed = PlainText(bill.printout(0));
    for (const char* text :
         {"DESIGN INPUT DATA", "DESIGN OUTPUT DATA", "BILL OF MATERIALS", "Circuit No.= C-100"}) {
      EXPECT_NE(printed.find(text), std::string::npos) << text;
    }
  }
}

TEST(CircuitBillWindow, MenuOpensOnlyForARecordHoldingADesign) {
  Session s;
  s.design();  // record 1, through the fixed-result run
  s.model.clicked("sp_circrp_bom");
  EXPECT_EQ(s.model.takeWindowRequest()->kind, WindowRequest::Kind::CircuitBill);
  s.model.spinnerStep(-1);  // record 2, not designed
  ASSERT_EQ(s.text("Rec_Num"), "2");
  s.model.clicked("sp_circrp_bom");
  EXPECT_FALSE(s.model.takeWindowRequest());
  s.model.clicked("bill_of_mat");  // the summary still opens from the first record's design
  EXPECT_TRUE(s.model.takeWindowRequest());
}

TEST(SummaryBillWindow, ExportAsksWhereAndReportsWhatFails) {
  Session s;
  s.design();
  const BillModel bill(s.model.set());
  const auto folder = std::filesystem::temp_directory_path() / ("vst_export_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  ExportPlace place{"", folder.string()};

  s.dialogs.file(std::nullopt);  // cancelled: nothing written, nothing said
  EXPECT_FALSE(bill.exportCommand(s.dialogs, place));
  ASSERT_EQ(s.dialogs.fileDialogs().size(), 1u);
  EXPECT_EQ(s.dialogs.fileDialogs()[0].spec.startFolder, (folder / "Summary BOM.xlsx").string());
  EXPECT_TRUE(s.dialogs.messages().empty());

  const std::string path = (folder / "sub" / "bom.xlsx").string();
  s.dialogs.file(path);  // a folder that does not exist
  EXPECT_FALSE(bill.exportCommand(s.dialogs, place));
  ASSERT_EQ(s.dialogs.messages().size(), 1u);
  EXPECT_EQ(s.dialogs.messages()[0].title, "Error");
  EXPECT_NE(s.dialogs.messages()[0].text.find(path), std::string::npos);

  std::filesystem::create_directories(folder / "sub");
  s.dialogs.file(path);
  EXPECT_EQ(bill.exportCommand(s.dialogs, place), path);
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_EQ(place.lastFolder, (folder / "sub").string());
  s.dialogs.file(std::nullopt);
  bill.exportCommand(s.dialogs, place);  // the next export starts in the folder last used
  EXPECT_EQ(s.dialogs.fileDialogs().back().spec.startFolder, (folder / "sub" / "Summary BOM.xlsx").string());
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vst::test
