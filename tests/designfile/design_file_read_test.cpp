#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "core/legacy_math.h"
#include "design_file_support.h"
#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"

namespace vst {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// A folder with a template and a design file saved from `records`.
struct SavedFile {
  TempFolder folder;
  fs::path templatePath = test::MakeTemplate(folder.path());
  fs::path file = folder / "plant.mdb";
  DesignRecords records = test::SampleRecords(UnitSystem::English);

  SavedFile() {
    const DesignFileStatus status = WriteDesignFile(file, templatePath, records, false, UnitSystem::English);
    if (!status.ok()) throw std::runtime_error(status.reason);
  }
};

// The records a caller holds before opening: in-memory values that differ
// from those of the saved set, so keeping or replacing them shows.
DesignRecords CurrentRecords() {
  DesignRecords current = test::SampleRecords(UnitSystem::Metric, 3);
  for (auto& r : current) {
    r.HeatUpFinalTemp = "kept";
    r.ShoeAllowance = 99;
  }
  return current;
}

struct OpenFailureCase {
  const char* what;
  // Turns the saved file into the broken one (empty when the file is set directly).
  std::string sql;
  std::string bytes;  // when not empty: the file's whole content
  bool removeFile = false;
  DesignFileError code;
  const char* reasonPart;  // a piece of text the reason must hold
};

class OpenFailure : public testing::TestWithParam<OpenFailureCase> {};

TEST_P(OpenFailure, ReturnsItsReasonAndLeavesRecordsAndFileAlone) {
  const OpenFailureCase& c = GetParam();
  SavedFile saved;
  if (c.removeFile) fs::remove(saved.file);
  if (!c.bytes.empty()) test::WriteBytes(saved.file, c.bytes == "<empty>" ? std::string() : c.bytes);
  if (!c.sql.empty()) {
    ASSERT_EQ(test::SqlByAnotherProgram(saved.file, c.sql), "") << c.what;
  }
  const std::string before = test::ReadBytes(saved.file);
  const DesignRecords current = CurrentRecords();

  const DesignFileContents result = ReadDesignFile(saved.file, current);

  EXPECT_FALSE(result.ok()) << c.what;
  EXPECT_EQ(result.status.code, c.code) << c.what << ": " << result.status.reason;
  EXPECT_NE(result.status.reason.find(c.reasonPart), std::string::npos)
      << c.what << ": reason \"" << result.status.reason << "\" lacks \"" << c.reasonPart << "\"";
  EXPECT_EQ(test::Differences(current, result.records), "") << c.what;
  EXPECT_FALSE(result.internalMode) << c.what;
  if (!c.removeFile) {
    EXPECT_EQ(test::ReadBytes(saved.file), before) << c.what << ": opening changed the file";
  }
}

std::string NineRows() { return "DELETE FROM DATA WHERE rowid = (SELECT max(rowid) FROM DATA)"; }

std::string WithoutColumn(const std::string& column) {
  return "CREATE TABLE D2 AS SELECT " + test::ColumnList({column}) +
         " FROM DATA ORDER BY rowid; DROP TABLE DATA; ALTER TABLE D2 RENAME TO DATA";
}

std::string SetValue(const std::string& column, const std::string& value, int row = 3) {
  return "UPDATE DATA SET \"" + column + "\" = " + value + " WHERE rowid = " + std::to_string(row);
}

INSTANTIATE_TEST_SUITE_P(
    DesignFile, OpenFailure,
    testing::Values(
        OpenFailureCase{"no file", "", "", true, DesignFileError::FileMissing, "does not exist"},
        OpenFailureCase{"empty file", "", "<empty>", false, DesignFileError::NotADesignFile, "empty"},
        OpenFailureCase{"text file", "", "MAXAMB,MINAMB\n100,0\n", false, DesignFileError::NotADesignFile,
                        "not a design file"},
        OpenFailureCase{"random bytes", "", std::string(4096, '\x5a'), false, DesignFileError::NotADesignFile,
                        "not a design file"},
        OpenFailureCase{"no table DATA", "ALTER TABLE DATA RENAME TO OTHER", "", false,
                        DesignFileError::TableMissing, "table DATA missing"},
        OpenFailureCase{"DATA is a view",
                        "ALTER TABLE DATA RENAME TO OTHER; CREATE VIEW DATA AS SELECT * FROM OTHER", "",
                        false, DesignFileError::TableMissing, "table DATA missing"},
        OpenFailureCase{"nine rows", NineRows(), "", false, DesignFileError::TooFewRows,
                        "fewer than ten rows (9)"},
        OpenFailureCase{"no rows", "DELETE FROM DATA", "", false, DesignFileError::TooFewRows, "(0)"},
        OpenFailureCase{"PIPELN missing", WithoutColumn("PIPELN"), "", false, DesignFileError::ColumnMissing,
                        "column PIPELN missing"},
        OpenFailureCase{"WtraceVersion missing", WithoutColumn("WtraceVersion"), "", false,
                        DesignFileError::ColumnMissing, "column WtraceVersion missing"},
        OpenFailureCase{"UNDER missing from a full-size table", WithoutColumn("UNDER"), "", false,
                        DesignFileError::ColumnMissing, "column UNDER missing"},
        OpenFailureCase{"text in a numeric column", SetValue("PIPELN", "'thirty'"), "", false,
                        DesignFileError::NotADesignFile, "row 3, column PIPELN: \"thirty\" is not a number"},
        OpenFailureCase{"binary data in a numeric column", SetValue("TLEN", "x'00ff'", 10), "", false,
                        DesignFileError::NotADesignFile, "row 10, column TLEN: binary data"},
        OpenFailureCase{"number beyond single precision", SetValue("MAXAMB", "1e300", 1), "", false,
                        DesignFileError::NotADesignFile, "row 1, column MAXAMB: 1e+300 is out of range"},
        OpenFailureCase{"infinite number", SetValue("TP1", "9e999"), "", false,
                        DesignFileError::NotADesignFile, "column TP1: the value is not a finite number"},
        OpenFailureCase{"position beyond a whole number", SetValue("INSTHK", "1e10"), "", false,
                        DesignFileError::NotADesignFile, "column INSTHK: 10000000000 is out of range"},
        OpenFailureCase{"condensate text that is no number", SetValue("COND", "'0.1.2'"), "", false,
                        DesignFileError::NotADesignFile, "column COND"},
        OpenFailureCase{"table without row order",
                        "CREATE TABLE D2 (k INTEGER PRIMARY KEY, " + test::ColumnList() +
                            ") WITHOUT ROWID; INSERT INTO D2 SELECT rowid, * FROM DATA; DROP TABLE DATA; "
                            "ALTER TABLE D2 RENAME TO DATA",
                        "", false, DesignFileError::NotADesignFile, "row order"}),
    [](const testing::TestParamInfo<OpenFailureCase>& info) {
      std::string name;
      for (const char* p = info.param.what; *p != 0; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

TEST(DesignFile, OpeningAFolderIsRefused) {
  TempFolder folder;
  const DesignFileContents result = ReadDesignFile(folder.path(), {});
  EXPECT_EQ(result.status.code, DesignFileError::FileMissing) << result.status.reason;
}

TEST(DesignFile, OpeningATruncatedFileFailsWithoutRecords) {
  SavedFile saved;
  const std::string bytes = test::ReadBytes(saved.file);
  ASSERT_GT(bytes.size(), 4096u);
  test::WriteBytes(saved.file, bytes.substr(0, bytes.size() / 2));
  const DesignRecords current = CurrentRecords();
  const DesignFileContents result = ReadDesignFile(saved.file, current);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(test::Differences(current, result.records), "");
}

struct ModeCase {
  std::string firstRow;  // SQL value of WtraceVersion in row 1
  std::string otherRows;
  bool internalMode;
};

TEST(DesignFile, TheFirstRowsTrimmedModeLetterTSetsInternalMode) {
  const ModeCase cases[] = {
      {"'T'", "'T'", true},     {"'F'", "'F'", false}, {"' T'", "'F'", true}, {"'T  '", "'F'", true},
      {"'\tT'", "'F'", true},   {"'t'", "'T'", false}, {"''", "'T'", false},  {"NULL", "'T'", false},
      {"'TRUE'", "'T'", false}, {"'F'", "'T'", false},
  };
  for (const ModeCase& c : cases) {
    SavedFile saved;
    ASSERT_EQ(test::SqlByAnotherProgram(saved.file, "UPDATE DATA SET WtraceVersion = " + c.otherRows +
                                                        "; UPDATE DATA SET WtraceVersion = " + c.firstRow +
                                                        " WHERE rowid = (SELECT min(rowid) FROM DATA)"),
              "");
    const DesignFileContents result = ReadDesignFile(saved.file, {});
    ASSERT_TRUE(result.ok()) << c.firstRow << ": " << result.status.reason;
    EXPECT_EQ(result.internalMode, c.internalMode)
        << "first row " << c.firstRow << ", others " << c.otherRows;
  }
}

struct ValueCase {
  const char* column;
  std::string sqlValue;  // stored into row 2
  std::string expected;  // the field's text after opening
};

TEST(DesignFile, ReadsEveryFormAColumnMayHoldAsItsValue) {
  const std::string longText(kMaxDesignFileTextBytes, 'x');  // the longest text a file may hold
  const ValueCase cases[] = {
      {"PIPELN", "NULL", "0"},
      {"CIRTXT", "NULL", ""},
      {"STEAMPRS", "''", "0"},
      {"STEAMPRS", "'  '", "0"},
      {"STEAMPRS", "' 12.5 '", "12.5"},
      {"COND", "'0,123'", "0.123"},
      {"COND", "0.25", "0.25"},
      {"TP2", "101", "101"},  // older files hold whole numbers
      {"TP1", "-18", "-18"},
      {"INSTHK", "2.7", "2"},  // a list position with a fraction rounds down
      {"INSTHK", "-2.5", "-3"},
      {"INSTHK", "'4'", "4"},
      {"TRACEINS", "4", "4"},  // stored positions are taken as they are
      {"CIRTXT", "7", "7"},
      {"CIRTXT", "x'414243'", "ABC"},
      {"CEM", "'" + longText + "'", longText},
      {"MAXAMB", "3.4028234663852886e38", ShortestText(FLT_MAX)},
      {"UNDER", "1", "1"},
  };
  for (const ValueCase& c : cases) {
    SavedFile saved;
    ASSERT_EQ(test::SqlByAnotherProgram(saved.file, SetValue(c.column, c.sqlValue, 2)), "") << c.column;
    const DesignFileContents result = ReadDesignFile(saved.file, {});
    ASSERT_TRUE(result.ok()) << c.column << " = " << c.sqlValue.substr(0, 30) << ": " << result.status.reason;
    EXPECT_EQ(FieldText(result.records[1], *FindRecordField(c.column)), c.expected)
        << c.column << " = " << c.sqlValue.substr(0, 30);
    // The neighbours stay as saved.
    EXPECT_EQ(test::Differences({test::ExpectedAfterReopen(saved.records, {})[0]}, {result.records[0]}), "")
        << c.column;
  }
}

// A table of the older layout: 45 columns, without UNDER, PRESSURE, TBAND,
// the later TUBEMAT, TUBEWALL, APPTYPE, the unit system mark and the
// allowance answers.
const std::vector<std::string> kOldLayoutLacks = {"UNDER",      "PRESSURE",          "TBAND",
                                                  "TUBEMAT",    "TUBEWALL",          "APPTYPE",
                                                  "UnitSystem", "AllowanceIncluded", "ShoeAllowance"};

std::string ToOldLayout(const std::vector<std::string>& lacks) {
  return "CREATE TABLE D2 AS SELECT " + test::ColumnList(lacks) +
         " FROM DATA ORDER BY rowid; DROP TABLE DATA; ALTER TABLE D2 RENAME TO DATA";
}

TEST(DesignFile, AFileOfTheOlderLayoutKeepsTheFieldsItLacksFromMemory) {
  SavedFile saved;
  ASSERT_EQ(test::SqlByAnotherProgram(saved.file, ToOldLayout(kOldLayoutLacks)), "");
  ASSERT_EQ(test::QueryText(saved.file, "SELECT count(*) FROM pragma_table_info('DATA')"), "45");
  const DesignRecords current = CurrentRecords();

  const DesignFileContents result = ReadDesignFile(saved.file, current);

  ASSERT_TRUE(result.ok()) << result.status.reason;
  DesignRecords expected = test::ExpectedAfterReopen(saved.records, current);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    expected[i].UNDER = current[i].UNDER;
    expected[i].PRESSURE = current[i].PRESSURE;
    expected[i].TBAND = current[i].TBAND;
    expected[i].TUBEMAT = current[i].TUBEMAT;
    expected[i].TUBEWALL = current[i].TUBEWALL;
    expected[i].APPTYPE = current[i].APPTYPE;
    expected[i].AllowanceIncluded = current[i].AllowanceIncluded;
    expected[i].ShoeAllowance = current[i].ShoeAllowance;
  }
  EXPECT_EQ(test::Differences(expected, result.records), "");
}

// (Files with the answers read them as every other column: the round trips
// above vary every file field.)
TEST(DesignFile, AFileWithoutTheAllowanceAnswersKeepsThoseInMemory) {
  SavedFile saved;
  DesignRecords current = CurrentRecords();
  for (DesignRecord& r : current) r.AllowanceIncluded = 0;  // the saved ones hold 1
  ASSERT_EQ(test::SqlByAnotherProgram(saved.file, ToOldLayout({"AllowanceIncluded", "ShoeAllowance"})), "");
  const DesignFileContents without = ReadDesignFile(saved.file, current);
  ASSERT_TRUE(without.ok()) << without.status.reason;
  DesignRecords expected = test::ExpectedAfterReopen(saved.records, current);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    expected[i].AllowanceIncluded = current[i].AllowanceIncluded;
    expected[i].ShoeAllowance = current[i].ShoeAllowance;
  }
  EXPECT_EQ(test::Differences(expected, without.records), "");
}

TEST(DesignFile, AFileOfTheOlderLayoutStillNeedsEveryOtherColumn) {
  SavedFile saved;
  std::vector<std::string> lacks = kOldLayoutLacks;
  lacks.push_back("CEM");
  ASSERT_EQ(test::SqlByAnotherProgram(saved.file, ToOldLayout(lacks)), "");
  const DesignFileContents result = ReadDesignFile(saved.file, CurrentRecords());
  EXPECT_EQ(result.status.code, DesignFileError::ColumnMissing);
  EXPECT_NE(result.status.reason.find("column CEM missing"), std::string::npos) << result.status.reason;
}

TEST(DesignFile, AColumnNamedRowidDoesNotChangeTheRowOrder) {
  SavedFile saved;
  // A column called rowid hides the table's own row order under that name;
  // the rows are still read in the order they were stored.
  ASSERT_EQ(test::SqlByAnotherProgram(saved.file,
                                      "ALTER TABLE DATA ADD COLUMN rowid INTEGER;"
                                      "UPDATE DATA SET rowid = 100 - _rowid_"),
            "");
  const DesignRecords current = CurrentRecords();
  const DesignFileContents result = ReadDesignFile(saved.file, current);
  ASSERT_TRUE(result.ok()) << result.status.reason;
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved.records, current), result.records), "");
}

TEST(DesignFile, OnlyTheFirstTenRowsInRowOrderAreRead) {
  SavedFile saved;
  // Two more rows, and a column order that differs from the template's.
  ASSERT_EQ(
      test::SqlByAnotherProgram(saved.file,
                                "INSERT INTO DATA (CIRTXT, TP2) VALUES ('eleven', 'bad'), ('twelve', 'bad');"
                                "CREATE TABLE D2 (EXTRA TEXT, " +
                                    test::ColumnList() +
                                    ");"
                                    "INSERT INTO D2 SELECT 'x', " +
                                    test::ColumnList() +
                                    " FROM DATA ORDER BY rowid;"
                                    "DROP TABLE DATA; ALTER TABLE D2 RENAME TO DATA"),
      "");
  const DesignRecords current = CurrentRecords();
  const DesignFileContents result = ReadDesignFile(saved.file, current);
  ASSERT_TRUE(result.ok()) << result.status.reason;
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved.records, current), result.records), "");
}

TEST(DesignFile, ColumnNamesAreMatchedWithoutRegardToCase) {
  SavedFile saved;
  ASSERT_EQ(test::SqlByAnotherProgram(saved.file,
                                      "ALTER TABLE DATA RENAME COLUMN PIPELN TO pipeln;"
                                      "ALTER TABLE DATA RENAME COLUMN WtraceVersion TO WTRACEVERSION;"
                                      "ALTER TABLE DATA RENAME TO moved; ALTER TABLE moved RENAME TO data"),
            "");
  const DesignRecords current = CurrentRecords();
  const DesignFileContents result = ReadDesignFile(saved.file, current);
  ASSERT_TRUE(result.ok()) << result.status.reason;
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved.records, current), result.records), "");
}

}  // namespace
}  // namespace vst
