#include <gtest/gtest.h>

#include <set>
#include <string>

#include "design_file_support.h"
#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"
#include "support/test_paths.h"

namespace vst {
namespace {

namespace fs = std::filesystem;

TEST(DesignFileColumns, HoldEveryFileFieldOncePlusTheModeAndUnitsColumns) {
  std::set<std::string_view> names;
  for (const DesignFileColumn& c : DesignFileColumns()) EXPECT_TRUE(names.insert(c.name).second) << c.name;
  EXPECT_EQ(DesignFileColumns().size(), 63u);
  for (const FieldInfo& f : RecordFields()) EXPECT_EQ(names.count(f.name), f.inFile ? 1u : 0u) << f.name;
  for (const FieldInfo& f : LaterFileFields()) EXPECT_EQ(names.count(f.name), 1u) << f.name;
  // Columns added later come after the older ones, the heat-up data last.
  EXPECT_EQ(DesignFileColumns()[50].name, "WtraceVersion");
  EXPECT_EQ(DesignFileColumns()[51].name, "UnitSystem");
  EXPECT_EQ(DesignFileColumns()[53].name, "ShoeAllowance");
  for (std::size_t i = 0; i < DesignFileColumns().size(); ++i)
    EXPECT_EQ(DesignFileColumns()[i].oldLayout == OldLayout::HeatUp, i >= 54) << DesignFileColumns()[i].name;
  // Without the seven columns an older file may lack, a table has 45 columns.
  int older = 0;
  for (const DesignFileColumn& c : DesignFileColumns()) older += c.oldLayout == OldLayout::Required ? 1 : 0;
  EXPECT_EQ(older, kOldTableColumnLimit);
}

// The template the build puts beside the program, and one made here, both
// have table DATA with the columns of the list, typed as the list says, and
// ten rows of zeros and empty texts; the heat-up columns are not in it.
void ExpectTemplateLayout(const fs::path& path) {
  SCOPED_TRACE(path.string());
  ASSERT_TRUE(fs::is_regular_file(path));
  for (const DesignFileColumn& c : DesignFileColumns()) {
    const std::string name(c.name);
    EXPECT_EQ(
        test::QueryText(
            path, "SELECT group_concat(type) FROM pragma_table_info('DATA') WHERE name = '" + name + "'"),
        c.oldLayout == OldLayout::HeatUp ? "<null>" : std::string(SqlType(c.storage)))
        << name;
  }
  EXPECT_EQ(test::QueryText(path, "SELECT count(*) FROM pragma_table_info('DATA')"), "54");
  EXPECT_EQ(test::QueryText(path, "SELECT count(*) FROM DATA"), "10");
  const DesignFileContents contents = ReadDesignFile(path, {});
  ASSERT_TRUE(contents.ok()) << contents.status.reason;
  EXPECT_EQ(test::Differences(DesignRecords{}, contents.records), "");
  EXPECT_FALSE(contents.internalMode);
}

TEST(DesignTemplate, TheBuiltTemplateBesideTheProgramFollowsTheColumnList) {
  ExpectTemplateLayout(TemplatePath(vst::test::BinDir()));
}

TEST(DesignTemplate, CreatingATemplateReplacesAnyFileOfThatName) {
  test::TempFolder folder;
  const fs::path path = folder / "stdata.mdb";
  test::WriteBytes(path, "old contents");
  const DesignFileStatus status = CreateDesignTemplate(path);
  ASSERT_TRUE(status.ok()) << status.reason;
  ExpectTemplateLayout(path);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"stdata.mdb"});
  EXPECT_EQ(TemplatePath("/opt/vantrel"), fs::path("/opt/vantrel/stdata.mdb"));
}

TEST(DesignFile, FailureMessagesSayWhatWasNotDoneAndWhy) {
  const DesignFileStatus status{DesignFileError::TemplateMissing, "the template /opt/stdata.mdb is missing"};
  EXPECT_EQ(SaveFailedMessage(status), "The file was not saved: the template /opt/stdata.mdb is missing.");
  EXPECT_EQ(OpenFailedMessage({DesignFileError::TooFewRows, "table DATA holds fewer than ten rows (9)"}),
            "The file was not opened: table DATA holds fewer than ten rows (9).");
  EXPECT_EQ(kDesignFileErrorTitle, "Error");
}

}  // namespace
}  // namespace vst
