// The heat-up data in a design file: written, with the heat-up layout, only
// by a set that holds a heat-up design; a set of maintenance designs is
// saved exactly as before.
#include <gtest/gtest.h>

#include <string>

#include "design_file_support.h"
#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"

namespace vst {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

DesignRecords MaintenanceSet(UnitSystem units) {
  DesignRecords records = test::SampleRecordsWithinLists(units);
  for (DesignRecord& r : records) r.APPTYPE = kApplicationMaintenance;
  return records;
}

// Record 4 a heat-up design of "Other" with a phase change; every other record maintenance.
DesignRecords HeatUpSet(UnitSystem units) {
  DesignRecords records = MaintenanceSet(units);
  DesignRecord& r = records[3];
  const bool metric = units == UnitSystem::Metric;
  r.APPTYPE = kApplicationHeatUp;
  r.HeatUpProduct = 40;
  r.HeatUpInitialTemp = metric ? "-17,8" : "0";
  r.HeatUpFinalTemp = metric ? "65.5" : "150";
  r.HeatUpDensity = metric ? "982.846" : "62.4";
  r.HeatUpSpecificHeat = metric ? "4186.553" : "1";
  r.HeatUpPhaseChange = true;
  r.HeatUpPhaseChangeTemp = metric ? "0" : "32";
  r.HeatUpLatentHeat = metric ? "334922" : "144";
  r.HeatUpTime = 3.4567f;
  return records;
}

TEST(HeatUpFile, ASetWithAHeatUpDesignGivesEveryHeatUpFieldBack) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    TempFolder folder;
    const fs::path file = folder / "heat.mdb";
    const DesignRecords saved = HeatUpSet(units);
    ASSERT_TRUE(WriteDesignFile(file, test::MakeTemplate(folder.path()), saved, false, units).ok());
    EXPECT_EQ(test::QueryText(file, "PRAGMA user_version"), std::to_string(kDesignFileHeatUpVersion));

    DesignRecords current = MaintenanceSet(units);
    for (DesignRecord& r : current) r.HeatUpPhaseChangeTemp = "in memory";
    const DesignFileContents result = OpenDesignFile(file, current, units);
    ASSERT_TRUE(result.ok()) << result.status.reason;
    EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved, current), result.records), "");
    EXPECT_EQ(result.records[3].HeatUpPhaseChangeTemp, units == UnitSystem::Metric ? "0" : "32");
    EXPECT_EQ(result.records[0].HeatUpPhaseChangeTemp, saved[0].HeatUpPhaseChangeTemp);
  }
}

TEST(HeatUpFile, AMaintenanceSetIsSavedInTheTemplatesLayoutWhateverItsHeatUpData) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  DesignRecords plain = MaintenanceSet(UnitSystem::English);
  DesignRecords typed = plain;
  for (DesignRecord& r : typed) {
    r.HeatUpProduct = 24;
    r.HeatUpFinalTemp = "300";
    r.HeatUpPhaseChangeTemp = "246";
    r.HeatUpTime = 9;
  }
  ASSERT_TRUE(WriteDesignFile(folder / "a.mdb", templatePath, plain, false, UnitSystem::English).ok());
  ASSERT_TRUE(WriteDesignFile(folder / "b.mdb", templatePath, typed, false, UnitSystem::English).ok());
  EXPECT_EQ(test::ReadBytes(folder / "a.mdb"), test::ReadBytes(folder / "b.mdb"));
  EXPECT_EQ(test::QueryText(folder / "a.mdb", "PRAGMA user_version"), std::to_string(kDesignFileUserVersion));
  EXPECT_EQ(test::QueryText(folder / "a.mdb", "SELECT count(*) FROM pragma_table_info('DATA')"),
            test::QueryText(templatePath, "SELECT count(*) FROM pragma_table_info('DATA')"));

  // Opening it, as any file without the heat-up columns, keeps the heat-up data in memory.
  const DesignFileContents result = ReadDesignFile(folder / "b.mdb", typed);
  ASSERT_TRUE(result.ok()) << result.status.reason;
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(typed, typed), result.records), "");
}

TEST(HeatUpFile, ABadHeatUpValueIsRefusedNamingRecordAndColumn) {
  struct Case {
    const char* sql;
    DesignFileError code;
    const char* reason;
  };
  const Case cases[] = {
      {"UPDATE DATA SET HeatUpProduct = 41 WHERE rowid = 4", DesignFileError::Damaged,
       "the file is damaged (record 4, column HeatUpProduct: 41 is no entry of its list (0 to 40))"},
      {"UPDATE DATA SET HeatUpPhaseChange = 2 WHERE rowid = 2", DesignFileError::NotADesignFile,
       "not a design file (row 2, column HeatUpPhaseChange: 2 is neither 0 nor 1)"},
      {"UPDATE DATA SET HeatUpTime = 'soon' WHERE rowid = 4", DesignFileError::NotADesignFile,
       "not a design file (row 4, column HeatUpTime: \"soon\" is not a number)"},
      {"UPDATE DATA SET HeatUpTime = 1e300 WHERE rowid = 4", DesignFileError::NotADesignFile,
       "not a design file (row 4, column HeatUpTime: 1e+300 is out of range)"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const fs::path file = folder / "heat.mdb";
    const DesignRecords saved = HeatUpSet(UnitSystem::English);
    ASSERT_TRUE(
        WriteDesignFile(file, test::MakeTemplate(folder.path()), saved, false, UnitSystem::English).ok());
    ASSERT_EQ(test::SqlByAnotherProgram(file, c.sql), "") << c.sql;
    const DesignRecords held = MaintenanceSet(UnitSystem::English);
    const DesignFileContents result = OpenDesignFile(file, held, UnitSystem::English);
    EXPECT_EQ(result.status.code, c.code) << c.sql;
    EXPECT_EQ(result.status.reason, c.reason) << c.sql;
    EXPECT_EQ(test::Differences(held, result.records), "") << c.sql;
  }
}

}  // namespace
}  // namespace vst
