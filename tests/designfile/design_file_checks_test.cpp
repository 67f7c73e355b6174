// What opening checks before it reads, what a save marks a file with, and
// the housekeeping of a save: damaged, changed and foreign files refused,
// the unit system kept with the file, list positions within their lists,
// texts and files bounded, stale temporary files of the target removed and
// nothing else.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "design_file_support.h"
#include "designfile/design_file.h"

namespace vst {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

struct SavedSet {
  TempFolder folder;
  fs::path templatePath = test::MakeTemplate(folder.path());
  fs::path file = folder / "plant.mdb";
  DesignRecords records;

  explicit SavedSet(UnitSystem units = UnitSystem::English) : records(test::SampleRecordsWithinLists(units)) {
    const DesignFileStatus status = WriteDesignFile(file, templatePath, records, false, units);
    if (!status.ok()) throw std::runtime_error(status.reason);
  }
};

DesignRecords Held() {
  DesignRecords held = test::SampleRecords(UnitSystem::Metric, 5);
  for (auto& r : held) r.CIRTXT = "held";
  return held;
}

TEST(OpeningChecks, DamagedFilesAreRefusedAsDamagedAndNothingIsRead) {
  struct Case {
    const char* what;
    std::size_t keep;  // bytes kept of the file; 0: the file whole
    std::size_t flip;  // byte whose bits are inverted; 0: none
  };
  const std::size_t page = 4096;
  const Case cases[] = {
      {"cut to 4200 bytes", 4200, 0},           {"cut to 6000 bytes", 6000, 0},
      {"cut to 8000 bytes", 8000, 0},           {"cut to 12000 bytes", 12000, 0},
      {"table page type overwritten", 0, page}, {"cell pointer overwritten", 0, page + 9},
  };
  for (const Case& c : cases) {
    SavedSet saved;
    std::string bytes = test::ReadBytes(saved.file);
    ASSERT_EQ(bytes.size(), 3 * page) << "a ten-record file of three pages: schema, DATA, DATACHECK";
    if (c.keep != 0) bytes.resize(c.keep);
    if (c.flip != 0) bytes[c.flip] = static_cast<char>(~bytes[c.flip]);
    test::WriteBytes(saved.file, bytes);
    const DesignRecords held = Held();

    const DesignFileContents result = ReadDesignFile(saved.file, held);

    EXPECT_EQ(result.status.code, DesignFileError::Damaged) << c.what << ": " << result.status.reason;
    EXPECT_EQ(OpenFailedMessage(result.status).rfind("The file was not opened: the file is damaged (", 0), 0u)
        << c.what << ": " << OpenFailedMessage(result.status);
    EXPECT_EQ(test::Differences(held, result.records), "") << c.what;
  }
}

TEST(OpeningChecks, TheApplicationIdDecidesWhoseFileItIs) {
  struct Case {
    const char* what;
    std::string sql;
    bool opens;
  };
  const Case cases[] = {
      {"as saved", "", true},
      {"older file without the header fields", "PRAGMA application_id = 0; PRAGMA user_version = 0", true},
      {"another program's file", "PRAGMA application_id = 1196444237", false},
  };
  for (const Case& c : cases) {
    SavedSet saved;
    EXPECT_EQ(test::QueryText(saved.file, "PRAGMA application_id"), std::to_string(0x56535431));
    EXPECT_EQ(test::QueryText(saved.file, "PRAGMA user_version"),
              std::to_string(NeedsHeatUpColumns(saved.records) ? kDesignFileHeatUpVersion
                                                               : kDesignFileUserVersion));
    if (!c.sql.empty()) {
      ASSERT_EQ(test::SqlByAnotherProgram(saved.file, c.sql), "") << c.what;
    }
    const DesignFileContents result = ReadDesignFile(saved.file, Held());
    EXPECT_EQ(result.ok(), c.opens) << c.what << ": " << result.status.reason;
    if (!c.opens) {
      EXPECT_EQ(result.status.code, DesignFileError::NotADesignFile) << c.what;
      EXPECT_NE(result.status.reason.find("another program"), std::string::npos) << result.status.reason;
    }
  }
}

TEST(UnitsInTheFile, AFileOpensOnlyInTheUnitsItWasSavedInUnlessItHasNoMark) {
  struct Case {
    UnitSystem saved;
    std::string sql;  // turns the saved file into an older one
    UnitSystem running;
    bool opens;
    const char* message;
  };
  const auto E = UnitSystem::English;
  const auto M = UnitSystem::Metric;
  const std::string dropMark = "ALTER TABLE DATA DROP COLUMN UnitSystem";
  const Case cases[] = {
      {E, "", E, true, ""},
      {M, "", M, true, ""},
      {M, "", E, false,
       "The file was not opened: it was saved in SI Metric units; start the program in SI Metric units to "
       "open it."},
      {E, "", M, false,
       "The file was not opened: it was saved in Inch Pound units; start the program in Inch Pound units to "
       "open it."},
      {M, dropMark, E, true, ""},
      {E, "UPDATE DATA SET UnitSystem = NULL", M, true, ""},
  };
  for (const Case& c : cases) {
    SavedSet saved(c.saved);
    if (!c.sql.empty()) {
      ASSERT_EQ(test::SqlByAnotherProgram(saved.file, c.sql), "");
    }
    const DesignRecords held = Held();
    const DesignFileContents result = OpenDesignFile(saved.file, held, c.running);
    const std::string what = std::string(c.sql.empty() ? "marked" : "unmarked") +
                             (c.saved == M ? " Metric file" : " English file") + " opened in " +
                             (c.running == M ? "Metric" : "English");
    ASSERT_EQ(result.ok(), c.opens) << what << ": " << result.status.reason;
    if (c.opens) {
      EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved.records, held), result.records), "")
          << what;
      EXPECT_EQ(result.units.has_value(), c.sql.empty()) << what;
    } else {
      EXPECT_EQ(result.status.code, DesignFileError::OtherUnits) << what;
      EXPECT_EQ(OpenFailedMessage(result.status), c.message) << what;
      EXPECT_EQ(test::Differences(held, result.records), "") << what;
    }
  }
  SavedSet marked(M);
  EXPECT_EQ(test::QueryText(marked.file, "SELECT count(*) FROM DATA WHERE UnitSystem = 'C'"), "10");
  ASSERT_EQ(test::SqlByAnotherProgram(marked.file, "UPDATE DATA SET UnitSystem = 'K' WHERE rowid = 1"), "");
  EXPECT_EQ(ReadDesignFile(marked.file, {}).status.code, DesignFileError::NotADesignFile);
}

TEST(BoundedReading, ATextBeyondTheLimitOrAFileBeyondItsSizeIsDamage) {
  SavedSet saved;
  const std::string longer(kMaxDesignFileTextBytes + 1, 't');
  ASSERT_EQ(
      test::SqlByAnotherProgram(saved.file, "UPDATE DATA SET PIPETXT = '" + longer + "' WHERE rowid = 3"),
      "");
  DesignFileContents result = ReadDesignFile(saved.file, Held());
  EXPECT_EQ(result.status.code, DesignFileError::Damaged) << result.status.reason;
  EXPECT_NE(result.status.reason.find("row 3 holds a value longer than 4096 bytes"), std::string::npos)
      << result.status.reason;

  // Numeric columns too: a long text is not read to find out it is no number.
  SavedSet numeric;
  ASSERT_EQ(
      test::SqlByAnotherProgram(numeric.file, "UPDATE DATA SET TLEN = '" + longer + "' WHERE rowid = 1"), "");
  EXPECT_EQ(ReadDesignFile(numeric.file, Held()).status.code, DesignFileError::Damaged);

  SavedSet large;
  fs::resize_file(large.file, kMaxDesignFileBytes + 1);
  result = ReadDesignFile(large.file, Held());
  EXPECT_EQ(result.status.code, DesignFileError::Damaged) << result.status.reason;
  EXPECT_NE(result.status.reason.find("larger than 64 MiB"), std::string::npos) << result.status.reason;

  // What opening would refuse is not saved either.
  DesignRecords records = test::SampleRecords(UnitSystem::English);
  records[6].CIRTXT = longer;
  const DesignFileStatus status =
      WriteDesignFile(saved.folder / "long.mdb", saved.templatePath, records, false, UnitSystem::English);
  EXPECT_EQ(status.code, DesignFileError::ValueNotWritable) << status.reason;
  EXPECT_FALSE(fs::exists(saved.folder / "long.mdb"));
}

TEST(BoundedReading, ARefusedTextIsQuotedUpToSixtyCharacters) {
  SavedSet saved;
  ASSERT_EQ(test::SqlByAnotherProgram(
                saved.file, "UPDATE DATA SET PIPELN = '" + std::string(2000, '9') + "x' WHERE rowid = 2"),
            "");
  const DesignFileContents result = ReadDesignFile(saved.file, Held());
  EXPECT_NE(result.status.reason.find("column PIPELN: \"" + std::string(60, '9') + "...\" is not a number"),
            std::string::npos)
      << result.status.reason;
}

TEST(SaveHousekeeping, StaleTemporaryFilesOfTheTargetGoAndNothingElse) {
  SavedSet saved;
  const fs::path& folder = saved.folder.path();
  const std::vector<std::string> stale = {".plant.mdb.k3x9a0qz.tmp", ".plant.mdb.00000000.tmp"};
  const std::vector<std::string> foreign = {
      ".plant.mdb.K3X9A0QZ.tmp",  // upper case: not a name the program gives
      ".plant.mdb.k3x9a0q.tmp",   // seven random characters
      ".plant.mdb.k3x9a0qz.tmp.1", ".plant.mdb.k3x9a0qz.tmpx",
      "plant.mdb.k3x9a0qz.tmp",
      ".plant.mdbx.k3x9a0qz.tmp",  // another target
      ".other.mdb.k3x9a0qz.tmp",   "notes.txt",
  };
  for (const auto& name : stale) test::WriteBytes(folder / name, "left by a killed save");
  for (const auto& name : foreign) test::WriteBytes(folder / name, "someone else's");
  fs::create_directory(folder / ".plant.mdb.folder00.tmp");
  fs::create_symlink(folder / "notes.txt", folder / ".plant.mdb.symlink0.tmp");
  // A save still running holds the lock of its temporary file.
  test::WriteBytes(folder / ".plant.mdb.running0.tmp", "in use");
  const int running = ::open((folder / ".plant.mdb.running0.tmp").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(running, 0);
  ASSERT_EQ(::flock(running, LOCK_EX), 0);

  const DesignFileStatus status =
      WriteDesignFile(saved.file, saved.templatePath, saved.records, true, UnitSystem::English);
  ASSERT_TRUE(status.ok()) << status.reason;
  ::close(running);

  for (const auto& name : stale) EXPECT_FALSE(fs::exists(folder / name)) << name;
  for (const auto& name : foreign) EXPECT_EQ(test::ReadBytes(folder / name), "someone else's") << name;
  EXPECT_TRUE(fs::is_directory(folder / ".plant.mdb.folder00.tmp"));
  EXPECT_TRUE(fs::is_symlink(folder / ".plant.mdb.symlink0.tmp"));
  EXPECT_EQ(test::ReadBytes(folder / ".plant.mdb.running0.tmp"), "in use");
  EXPECT_TRUE(ReadDesignFile(saved.file, {}).internalMode);
}

TEST(Checksum, AValueChangedOutsideTheProgramIsRefusedAndFilesWithoutOneOpen) {
  struct Case {
    const char* what;
    std::string sql;  // run on the saved file, DATACHECK kept
    bool opens;
  };
  const Case cases[] = {
      {"as saved", "", true},
      {"a real in the last row", "UPDATE DATA SET PIPELN = PIPELN + 1 WHERE rowid = 10", false},
      {"a text", "UPDATE DATA SET CIRTXT = 'X' || CIRTXT WHERE rowid = 3", false},
      {"a list position", "UPDATE DATA SET INSTYPE = 2 WHERE rowid = 1", false},
      {"a value's type only", "UPDATE DATA SET CIRTXT = CAST(CIRTXT AS BLOB) WHERE rowid = 2", false},
      {"two rows swapped",
       "UPDATE DATA SET rowid = -rowid WHERE rowid IN (1, 2); "
       "UPDATE DATA SET rowid = 3 + rowid WHERE rowid IN (-1, -2)",
       false},
      {"a row added", "INSERT INTO DATA (CIRTXT) VALUES ('row 11')", false},
      {"the checksum changed", "UPDATE DATACHECK SET SUM = '0000000000000000'", false},
      {"the checksum's row doubled", "INSERT INTO DATACHECK SELECT * FROM DATACHECK", false},
      {"an unknown method", "UPDATE DATACHECK SET METHOD = 'crc32'", false},
      {"the checksum table emptied", "DELETE FROM DATACHECK", false},
      {"the checksum table gone (another program's file)", "DROP TABLE DATACHECK", true},
  };
  for (const Case& c : cases) {
    SavedSet saved;
    if (!c.sql.empty()) {
      ASSERT_EQ(test::Sql(saved.file, c.sql), "") << c.what;
    }
    const DesignFileContents result = ReadDesignFile(saved.file, Held());
    EXPECT_EQ(result.ok(), c.opens) << c.what << ": " << result.status.reason;
    if (!c.opens) {
      EXPECT_EQ(result.status.code, DesignFileError::Damaged) << c.what;
      EXPECT_NE(result.status.reason.find("changed outside Vantrel ST or damaged"), std::string::npos)
          << c.what << ": " << result.status.reason;
      EXPECT_EQ(test::Differences(Held(), result.records), "") << c.what;
    }
  }
}

TEST(Checksum, ColumnsALaterVersionAddsAreCoveredToo) {
  // A later version's template: two more columns in DATA.
  SavedSet saved;
  ASSERT_EQ(test::Sql(saved.templatePath,
                      "ALTER TABLE DATA ADD COLUMN FITANS INTEGER DEFAULT 1; "
                      "ALTER TABLE DATA ADD COLUMN SHOEALW REAL DEFAULT 2.5"),
            "");
  ASSERT_TRUE(
      WriteDesignFile(saved.file, saved.templatePath, saved.records, false, UnitSystem::English).ok());
  ASSERT_TRUE(ReadDesignFile(saved.file, Held()).ok());
  ASSERT_EQ(test::Sql(saved.file, "UPDATE DATA SET SHOEALW = 3 WHERE rowid = 4"), "");
  const DesignFileContents result = ReadDesignFile(saved.file, Held());
  EXPECT_EQ(result.status.code, DesignFileError::Damaged) << result.status.reason;
}

TEST(CodedValues, APositionOutsideItsListIsRefusedNamingRecordAndColumn) {
  struct Case {
    const char* sql;
    bool internalMode;
    const char* reason;  // empty: opens
  };
  const Case cases[] = {
      {"UPDATE DATA SET INSTYPE = 1000000 WHERE rowid = 3", false,
       "record 3, column INSTYPE: 1000000 is no entry of its list (0 to 7)"},
      {"UPDATE DATA SET PIPESIZE = -1 WHERE rowid = 1", false,
       "record 1, column PIPESIZE: -1 is no entry of its list (0 to 18)"},
      {"UPDATE DATA SET TRACEINS = 4 WHERE rowid = 2", false,
       "record 2, column TRACEINS: 4 is no entry of its list (0 to 3)"},
      {"UPDATE DATA SET TRACEINS = 4 WHERE rowid = 2", true, ""},  // YJ-2 of InternalMode
      {"UPDATE DATA SET PRESSURE = 3 WHERE rowid = 10", false,
       "record 10, column PRESSURE: 3 is no entry of its list (0 to 2)"},
      {"UPDATE DATA SET SSFLAG = 1.5 WHERE rowid = 5", false,
       "record 5, column SSFLAG: 1.5 is no entry of its list (0 to 2)"},
      {"UPDATE DATA SET APPTYPE = 0, TUBEWALL = 2, NUMPASS = 7 WHERE rowid = 5", false, ""},
  };
  for (const Case& c : cases) {
    SavedSet saved;
    ASSERT_EQ(
        test::SqlByAnotherProgram(saved.file, std::string(c.sql) + "; UPDATE DATA SET WtraceVersion = '" +
                                                  (c.internalMode ? "T" : "F") + "'"),
        "");
    const DesignFileContents result = OpenDesignFile(saved.file, Held(), UnitSystem::English);
    if (*c.reason == 0) {
      EXPECT_TRUE(result.ok()) << c.sql << ": " << result.status.reason;
      continue;
    }
    EXPECT_EQ(result.status.code, DesignFileError::Damaged) << c.sql;
    EXPECT_EQ(result.status.reason, "the file is damaged (" + std::string(c.reason) + ")") << c.sql;
    EXPECT_EQ(test::Differences(Held(), result.records), "") << c.sql;
  }
}

TEST(OpeningChecks, FilesThatAreNoDatabaseOrAreInTheMiddleOfAChangeSaySo) {
  struct Case {
    const char* what;
    std::function<fs::path(SavedSet&)> make;  // the name to open
    DesignFileError code;
    const char* reasonPart;
  };
  const Case cases[] = {
      {"one byte",
       [](SavedSet& s) {
         test::WriteBytes(s.file, "x");
         return s.file;
       },
       DesignFileError::NotADesignFile, "it is no database, only 1 byte long"},
      {"a loop of links",
       [](SavedSet& s) {
         fs::create_symlink("b.mdb", s.folder / "a.mdb");
         fs::create_symlink("a.mdb", s.folder / "b.mdb");
         return s.folder / "a.mdb";
       },
       DesignFileError::FileMissing, "a loop of symbolic links"},
      {"a hot journal beside it",
       [](SavedSet& s) {
         test::WriteBytes(s.folder / "plant.mdb-journal",
                          std::string("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8) + "...");
         return s.file;
       },
       DesignFileError::ReadFailed, "unfinished change"},
      {"changes waiting in its WAL file",
       [](SavedSet& s) {
         test::WriteBytes(s.folder / "plant.mdb-wal", std::string(4096, 'w'));
         return s.file;
       },
       DesignFileError::ReadFailed, "still waiting in"},
      {"table definitions beyond 1 MiB",
       [](SavedSet& s) {
         test::SqlByAnotherProgram(s.file, "CREATE TABLE X (a DEFAULT '" + std::string(1 << 20, 'x') + "')");
         return s.file;
       },
       DesignFileError::NotADesignFile, "table definitions are longer than 1 MiB"},
  };
  for (const Case& c : cases) {
    SavedSet saved;
    const fs::path name = c.make(saved);
    const DesignFileContents result = ReadDesignFile(name, Held());
    EXPECT_EQ(result.status.code, c.code) << c.what << ": " << result.status.reason;
    EXPECT_NE(result.status.reason.find(c.reasonPart), std::string::npos)
        << c.what << ": " << result.status.reason;
  }
  // A file in WAL mode with nothing waiting opens, and nothing appears beside it.
  SavedSet wal;
  ASSERT_EQ(test::Sql(wal.file, "PRAGMA journal_mode=WAL"), "");
  ASSERT_TRUE(ReadDesignFile(wal.file, Held()).ok());
  EXPECT_EQ(wal.folder.Names(), (std::vector<std::string>{"plant.mdb", "stdata.mdb"}));
}

}  // namespace
}  // namespace vst
