// Helpers of the design file tests: temporary folders, raw SQL on a file,
// whole-file bytes, record sets that fill every file field, and a field by
// field comparison whose failure names the fields.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "designfile/design_file.h"

namespace vst::test {

// A fresh folder, removed with everything in it at the end of the scope.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // The names of the files in the folder, sorted.
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// Runs SQL on a database file; an empty text when it worked, else SQLite's message.
std::string Sql(const std::filesystem::path& db, const std::string& sql);
// Sql as another program (or an earlier version) edits a file: the checksum
// of the records goes with the edit, as such a program never writes one.
std::string SqlByAnotherProgram(const std::filesystem::path& db, const std::string& sql);
// The first column of the first row a query gives, as text ("<null>" for NULL).
std::string QueryText(const std::filesystem::path& db, const std::string& sql);

// A template made by the library in `folder`.
std::filesystem::path MakeTemplate(const std::filesystem::path& folder);

// Ten records that differ in every file field, from designs in the given
// unit system (`seed` varies them); the in-memory fields are set as well.
DesignRecords SampleRecords(UnitSystem units, int seed = 0);
// SampleRecords whose list positions and codes lie within their lists (of
// the standard mode), as opening for use requires.
DesignRecords SampleRecordsWithinLists(UnitSystem units, int seed = 0);

// What opening a saved set gives back: the file fields of `saved` (COND as its
// three-decimal text reads) and the other fields of `current`.
DesignRecords ExpectedAfterReopen(const DesignRecords& saved, const DesignRecords& current);

// The fields in which two record sets differ, as "record 3 PIPELN: 30.5 != 30";
// empty when they are equal.
std::string Differences(const DesignRecords& expected, const DesignRecords& actual);

// The columns of the template, joined with ", " for SQL (optionally without some).
std::string ColumnList(const std::vector<std::string>& without = {});

}  // namespace vst::test
