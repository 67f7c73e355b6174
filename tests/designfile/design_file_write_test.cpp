#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "core/legacy_math.h"
#include "design_file_support.h"
#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"
#include "designfile/design_file_testing.h"

namespace vst {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

DesignFileContents Reopen(const fs::path& file, const DesignRecords& current = {}) {
  return ReadDesignFile(file, current);
}

TEST(DesignFile, SavingAndOpeningGivesEveryFileFieldBackInBothUnitSystems) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    const char* name = units == UnitSystem::Metric ? "Metric" : "English";
    TempFolder folder;
    const fs::path templatePath = test::MakeTemplate(folder.path());
    const fs::path file = folder / "set.mdb";
    const DesignRecords saved = test::SampleRecords(units);
    ASSERT_TRUE(WriteDesignFile(file, templatePath, saved, false, UnitSystem::English).ok()) << name;

    DesignRecords current = test::SampleRecords(units, 5);
    for (auto& r : current) r.HeatUpDensity = "in memory";
    const DesignFileContents result = Reopen(file, current);
    ASSERT_TRUE(result.ok()) << name << ": " << result.status.reason;
    EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved, current), result.records), "") << name;
    EXPECT_FALSE(result.internalMode);
  }
}

struct StoredForm {
  const char* column;
  const char* value;  // the text SQLite gives for record 1's column
  const char* type;   // SQLite's storage class
};

TEST(DesignFile, NumbersAreStoredAsTheValuesHeldNotRoundedDown) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  const fs::path file = folder / "metric.mdb";
  const DesignRecords saved = test::SampleRecords(UnitSystem::Metric);
  ASSERT_TRUE(WriteDesignFile(file, templatePath, saved, true, UnitSystem::English).ok());
  const StoredForm forms[] = {
      {"STEAMPRS", "3.45", "real"},  // 3.45 bar g, not 3
      {"PIPELN", "30.5", "real"},    // 30.5 m, not 30
      {"MINAMB", "-17.8", "real"},   // not -18
      {"MAINTEMP", "101.7", "real"},  {"TP2", "131.7803", "real"},
      {"COND", "0.123", "text"},  // 0.1234 with three decimals
      {"INSTHK", "2", "integer"},     {"TRACEINS", "4", "integer"},
      {"CIRTXT", "C-101", "text"},    {"CEM1", " ", "text"},
      {"WtraceVersion", "T", "text"},
  };
  for (const StoredForm& f : forms) {
    const std::string where = " FROM DATA ORDER BY rowid LIMIT 1";
    EXPECT_EQ(test::QueryText(file, std::string("SELECT \"") + f.column + "\"" + where), f.value) << f.column;
    EXPECT_EQ(test::QueryText(file, std::string("SELECT typeof(\"") + f.column + "\")" + where), f.type)
        << f.column;
  }
  const DesignFileContents result = Reopen(file);
  ASSERT_TRUE(result.ok()) << result.status.reason;
  EXPECT_EQ(result.records[0].STEAMPRS, 3.45f);
  EXPECT_EQ(result.records[0].PIPELN, 30.5f);
  EXPECT_EQ(result.records[0].COND, 0.123f);
  EXPECT_TRUE(result.internalMode);
}

TEST(DesignFile, ExtremeValuesAndAnyTextSurviveASave) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  const fs::path file = folder / "extreme.mdb";
  DesignRecords saved;
  saved[0].MAXAMB = FLT_MAX;
  saved[0].MINAMB = -FLT_MAX;
  saved[0].TP1 = FLT_TRUE_MIN;  // the smallest subnormal single
  saved[0].TP2 = 1e-30f;
  saved[0].LSWO = 16777216.0f;
  saved[0].TLEN = 0.1f;
  saved[0].VTR = -0.0f;
  saved[0].INSTHK = INT_MAX;
  saved[0].PIPESIZE = INT_MIN;
  saved[0].COND = 123456.789f;
  saved[1].CIRTXT = std::string(kMaxDesignFileTextBytes, 'c');
  saved[1].PIPETXT = "quote \" apostrophe ' semicolon ; newline \n tab \t";
  saved[1].CEM = "Süd – 温度 ✓";
  saved[1].BAND = std::string("nul\0inside", 10);
  saved[2].COND = -0.0004f;  // "-0.000" is written as "0.000"
  ASSERT_TRUE(WriteDesignFile(file, templatePath, saved, false, UnitSystem::English).ok());
  const DesignFileContents result = Reopen(file);
  ASSERT_TRUE(result.ok()) << result.status.reason;
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved, {}), result.records), "");
  EXPECT_EQ(test::QueryText(file, "SELECT COND FROM DATA WHERE rowid = 3"), "0.000");
}

TEST(DesignFile, TenRowsAreAlwaysWrittenAndFurtherTemplateRowsKept) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  ASSERT_EQ(test::Sql(templatePath, "INSERT INTO DATA (CIRTXT) VALUES ('row 11'), ('row 12')"), "");
  const fs::path file = folder / "one.mdb";
  DesignRecords saved;
  saved[0] = test::SampleRecords(UnitSystem::English)[0];
  ASSERT_TRUE(WriteDesignFile(file, templatePath, saved, false, UnitSystem::English).ok());

  EXPECT_EQ(test::QueryText(file, "SELECT count(*) FROM DATA"), "12");
  EXPECT_EQ(test::QueryText(file, "SELECT count(*) FROM DATA WHERE WtraceVersion = 'F' AND rowid <= 10"),
            "10");
  EXPECT_EQ(test::QueryText(file, "SELECT group_concat(CIRTXT, '|') FROM DATA WHERE rowid > 10"),
            "row 11|row 12");
  EXPECT_EQ(test::QueryText(file,
                            "SELECT count(*) FROM DATA WHERE rowid BETWEEN 2 AND 10 AND TP2 = 0 "
                            "AND CIRTXT = '' AND COND = '0.000' AND TRACEINS = 0"),
            "9");
  const DesignFileContents result = Reopen(file);
  ASSERT_TRUE(result.ok()) << result.status.reason;
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved, {}), result.records), "");
}

TEST(DesignFile, TheModeLetterIsWrittenInEveryRow) {
  for (bool internal : {true, false}) {
    TempFolder folder;
    const fs::path templatePath = test::MakeTemplate(folder.path());
    const fs::path file = folder / "mode.mdb";
    ASSERT_TRUE(WriteDesignFile(file, templatePath, test::SampleRecords(UnitSystem::English), internal,
                                UnitSystem::English)
                    .ok());
    const std::string letter = internal ? "T" : "F";
    EXPECT_EQ(test::QueryText(file, "SELECT count(*) FROM DATA WHERE WtraceVersion = '" + letter + "'"), "10")
        << letter;
    const DesignFileContents result = Reopen(file);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.internalMode, internal);
  }
}

TEST(DesignFile, ATemplateOfTheOlderLayoutIsWrittenWithoutTheColumnsItLacks) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  ASSERT_EQ(test::Sql(templatePath,
                      "CREATE TABLE D2 AS SELECT " +
                          test::ColumnList({"UNDER", "PRESSURE", "TBAND", "TUBEMAT", "TUBEWALL", "APPTYPE",
                                            "UnitSystem", "AllowanceIncluded", "ShoeAllowance"}) +
                          " FROM DATA ORDER BY rowid; DROP TABLE DATA; ALTER TABLE D2 RENAME TO DATA"),
            "");
  const fs::path file = folder / "old.mdb";
  const DesignRecords saved = test::SampleRecords(UnitSystem::English);
  const DesignFileStatus status = WriteDesignFile(file, templatePath, saved, false, UnitSystem::English);
  ASSERT_TRUE(status.ok()) << status.reason;
  EXPECT_EQ(test::QueryText(file, "SELECT count(*) FROM pragma_table_info('DATA')"), "45");
  const DesignRecords current;
  const DesignFileContents result = Reopen(file, current);
  ASSERT_TRUE(result.ok()) << result.status.reason;
  DesignRecords expected = test::ExpectedAfterReopen(saved, current);
  for (auto& r : expected) {
    r.UNDER = r.PRESSURE = r.TUBEMAT = r.TUBEWALL = r.APPTYPE = r.AllowanceIncluded = 0;
    r.TBAND = r.ShoeAllowance = 0;
  }
  EXPECT_EQ(test::Differences(expected, result.records), "");
}

TEST(DesignFile, SavingReplacesTheTargetAndKeepsItsPermissions) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  const fs::path file = folder / "plant.mdb";
  ASSERT_TRUE(WriteDesignFile(file, templatePath, test::SampleRecords(UnitSystem::English, 1), false,
                              UnitSystem::English)
                  .ok());
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const DesignRecords second = test::SampleRecords(UnitSystem::Metric, 2);
  ASSERT_TRUE(WriteDesignFile(file, templatePath, second, true, UnitSystem::English).ok());
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"plant.mdb", "stdata.mdb"}));
  const DesignFileContents result = Reopen(file);
  ASSERT_TRUE(result.ok());
  EXPECT_TRUE(result.internalMode);
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(second, {}), result.records), "");
}

TEST(DesignFile, SavingThroughALinkReplacesTheLinkedFile) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  fs::create_directory(folder / "real");
  const fs::path real = folder / "real" / "plant.mdb";
  const fs::path link = folder / "link.mdb";
  fs::create_symlink(real, link);
  const DesignRecords saved = test::SampleRecords(UnitSystem::English);
  ASSERT_TRUE(WriteDesignFile(link, templatePath, saved, false, UnitSystem::English).ok());
  EXPECT_TRUE(fs::is_symlink(link));
  ASSERT_TRUE(fs::is_regular_file(real));
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(saved, {}), Reopen(real).records), "");
}

TEST(DesignFile, SavingUnderTheTemplatesOwnNameIsRefused) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  fs::create_symlink(templatePath, folder / "alias.mdb");
  fs::create_hard_link(templatePath, folder / "hard.mdb");
  const std::string before = test::ReadBytes(templatePath);
  const fs::path names[] = {templatePath, folder.path() / "." / "stdata.mdb", folder / "alias.mdb",
                            folder / "hard.mdb"};
  for (const fs::path& name : names) {
    const DesignFileStatus status = WriteDesignFile(
        name, templatePath, test::SampleRecords(UnitSystem::English), false, UnitSystem::English);
    EXPECT_EQ(status.code, DesignFileError::TemplateTarget) << name << ": " << status.reason;
    EXPECT_NE(status.reason.find("template"), std::string::npos) << status.reason;
  }
  EXPECT_EQ(test::ReadBytes(templatePath), before);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"alias.mdb", "hard.mdb", "stdata.mdb"}));
}

// A folder with a template and an existing design file that every failing
// save must leave exactly as it was.
struct ExistingTarget {
  TempFolder folder;
  fs::path templatePath = test::MakeTemplate(folder.path());
  fs::path file = folder / "plant.mdb";
  DesignRecords oldRecords = test::SampleRecords(UnitSystem::English, 1);
  DesignRecords newRecords = test::SampleRecords(UnitSystem::Metric, 2);
  std::string oldBytes;

  ExistingTarget() {
    if (!WriteDesignFile(file, templatePath, oldRecords, false, UnitSystem::English).ok())
      throw std::runtime_error("setup save");
    oldBytes = test::ReadBytes(file);
  }
  // The target holds the old bytes and no temporary file was left.
  void ExpectUntouched(const std::string& what) const {
    EXPECT_EQ(test::ReadBytes(file), oldBytes) << what << ": the previous file changed";
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"plant.mdb", "stdata.mdb"})) << what;
  }
};

struct TemplateFault {
  const char* what;
  std::function<void(const fs::path&)> spoil;
  DesignFileError code;
  const char* reasonPart;
};

TEST(DesignFile, ABadTemplateFailsTheSaveAndKeepsThePreviousFile) {
  const TemplateFault faults[] = {
      {"template missing", [](const fs::path& t) { fs::remove(t); }, DesignFileError::TemplateMissing,
       "missing"},
      {"template is text",
       [](const fs::path& t) { test::WriteBytes(t, "not a database at all, just some text"); },
       DesignFileError::TemplateInvalid, "not a design file"},
      {"template without DATA",
       [](const fs::path& t) { test::Sql(t, "DROP TABLE DATA; CREATE TABLE X (a)"); },
       DesignFileError::TemplateInvalid, "table DATA missing"},
      {"template of nine rows", [](const fs::path& t) { test::Sql(t, "DELETE FROM DATA WHERE rowid = 10"); },
       DesignFileError::TemplateInvalid, "fewer than ten rows"},
      {"template lacks TDX", [](const fs::path& t) { test::Sql(t, "ALTER TABLE DATA DROP COLUMN TDX"); },
       DesignFileError::TemplateInvalid, "TDX"},
      {"template is a folder",
       [](const fs::path& t) {
         fs::remove(t);
         fs::create_directory(t);
       },
       DesignFileError::TemplateMissing, "missing"},
  };
  for (const TemplateFault& f : faults) {
    ExistingTarget target;
    f.spoil(target.templatePath);
    const std::string templateBytes =
        fs::is_regular_file(target.templatePath) ? test::ReadBytes(target.templatePath) : "";
    const DesignFileStatus status =
        WriteDesignFile(target.file, target.templatePath, target.newRecords, false, UnitSystem::English);
    EXPECT_EQ(status.code, f.code) << f.what << ": " << status.reason;
    EXPECT_NE(status.reason.find(f.reasonPart), std::string::npos) << f.what << ": " << status.reason;
    EXPECT_EQ(test::ReadBytes(target.file), target.oldBytes) << f.what;
    if (!templateBytes.empty()) {
      EXPECT_EQ(test::ReadBytes(target.templatePath), templateBytes) << f.what;
    }
    std::vector<std::string> names = target.folder.Names();
    names.erase(std::remove(names.begin(), names.end(), "stdata.mdb"), names.end());
    EXPECT_EQ(names, std::vector<std::string>{"plant.mdb"}) << f.what << ": a temporary file was left";
  }
}

TEST(DesignFile, AValueThatIsNotANumberIsRefusedBeforeAnythingIsWritten) {
  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                    -std::numeric_limits<float>::infinity()}) {
    ExistingTarget target;
    target.newRecords[6].TDX = bad;
    const DesignFileStatus status =
        WriteDesignFile(target.file, target.templatePath, target.newRecords, false, UnitSystem::English);
    EXPECT_EQ(status.code, DesignFileError::ValueNotWritable) << bad;
    EXPECT_NE(status.reason.find("record 7"), std::string::npos) << status.reason;
    EXPECT_NE(status.reason.find("TDX"), std::string::npos) << status.reason;
    target.ExpectUntouched("value " + std::to_string(bad));
  }
}

TEST(DesignFile, ATargetFolderThatCannotTakeTheFileFailsTheSave) {
  TempFolder folder;
  const fs::path templatePath = test::MakeTemplate(folder.path());
  test::WriteBytes(folder / "plain.txt", "a file, not a folder");
  fs::create_directory(folder / "taken.mdb");
  const fs::path targets[] = {folder / "missing" / "plant.mdb", folder / "plain.txt" / "plant.mdb",
                              folder / "taken.mdb", ""};
  for (const fs::path& t : targets) {
    const DesignFileStatus status = WriteDesignFile(t, templatePath, test::SampleRecords(UnitSystem::English),
                                                    false, UnitSystem::English);
    EXPECT_EQ(status.code, DesignFileError::WriteFailed) << t << ": " << status.reason;
    EXPECT_FALSE(status.reason.empty());
  }
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"plain.txt", "stdata.mdb", "taken.mdb"}));
}

// Runs a save in a child process set up by `prepare` (which may lower its
// rights or limits) and returns the child's result.
DesignFileStatus SaveInChild(const std::function<void()>& prepare, const fs::path& target,
                             const fs::path& templatePath, const DesignRecords& records) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {DesignFileError::WriteFailed, "pipe"};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    prepare();
    const DesignFileStatus status =
        WriteDesignFile(target, templatePath, records, false, UnitSystem::English);
    const std::string message = std::to_string(static_cast<int>(status.code)) + "\n" + status.reason;
    [[maybe_unused]] auto written = ::write(pipeFds[1], message.data(), message.size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string message;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
    message.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int wstatus = 0;
  ::waitpid(pid, &wstatus, 0);
  const auto newline = message.find('\n');
  if (newline == std::string::npos) return {DesignFileError::WriteFailed, "the child ended without a result"};
  return {static_cast<DesignFileError>(std::stoi(message.substr(0, newline))), message.substr(newline + 1)};
}

TEST(DesignFile, AnUnwritableFolderFailsTheSaveAndKeepsThePreviousFile) {
  ExistingTarget target;
  fs::permissions(target.folder.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(target.file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  fs::permissions(target.templatePath, fs::perms::owner_read | fs::perms::others_read);
  // The superuser may write anywhere, so the save then runs as "nobody",
  // for whom the folder is read-only as it is for everyone but its owner.
  const bool root = ::geteuid() == 0;
  if (!root) fs::permissions(target.folder.path(), fs::perms::owner_write, fs::perm_options::remove);
  const DesignFileStatus status = SaveInChild(
      [root] {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(1);
      },
      target.file, target.templatePath, target.newRecords);
  fs::permissions(target.folder.path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(status.code, DesignFileError::WriteFailed) << status.reason;
  EXPECT_NE(status.reason.find("cannot be written"), std::string::npos) << status.reason;
  target.ExpectUntouched("unwritable folder");
}

TEST(DesignFile, AFullDiskFailsTheSaveAndKeepsThePreviousFile) {
  struct Case {
    const char* what;
    rlim_t fileSizeLimit;    // bytes any file of the child may reach
    std::size_t textLength;  // of every record's circuit number
    const char* reasonPart;
  };
  const Case cases[] = {
      {"full while copying the template", 4096, 0, "the disk is full"},
      {"full while writing the records", 16384, 4096, "the disk may be full"},
  };
  for (const Case& c : cases) {
    ExistingTarget target;
    for (auto& r : target.newRecords) r.CIRTXT = std::string(c.textLength, 'z');
    const DesignFileStatus status = SaveInChild(
        [&c] {
          ::signal(SIGXFSZ, SIG_IGN);
          const rlimit limit{c.fileSizeLimit, c.fileSizeLimit};
          if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(1);
        },
        target.file, target.templatePath, target.newRecords);
    EXPECT_EQ(status.code, DesignFileError::WriteFailed) << c.what << ": " << status.reason;
    EXPECT_NE(status.reason.find(c.reasonPart), std::string::npos) << c.what << ": " << status.reason;
    target.ExpectUntouched(c.what);
  }
}

TEST(DesignFile, ASaveInterruptedAtAnyStepLeavesTheOldOrTheCompleteNewFile) {
  ExistingTarget target;
  int failAt = 0;
  int points = 0;
  bool replaced = false;
  for (;; ++failAt) {
    int step = 0;
    bool fired = false;
    SaveStep firedStep{};
    SetSaveStepHookForTesting([&](SaveStep s, int) {
      if (step++ != failAt) return true;
      fired = true;
      firedStep = s;
      return false;
    });
    const DesignFileStatus status =
        WriteDesignFile(target.file, target.templatePath, target.newRecords, false, UnitSystem::English);
    SetSaveStepHookForTesting({});
    if (!fired) {
      ASSERT_TRUE(status.ok()) << status.reason;
      break;
    }
    ++points;
    const std::string what =
        "failure at step " + std::to_string(failAt) + " " + std::string(SaveStepName(firedStep));
    EXPECT_FALSE(status.ok()) << what;
    EXPECT_EQ(status.code, DesignFileError::WriteFailed) << what;
    if (firedStep == SaveStep::SyncFolder) {
      // Past the rename the target is the complete new file.
      replaced = true;
      EXPECT_NE(status.reason.find("in place"), std::string::npos) << status.reason;
      const DesignFileContents now = Reopen(target.file);
      ASSERT_TRUE(now.ok()) << what;
      EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(target.newRecords, {}), now.records), "") << what;
      test::WriteBytes(target.file, target.oldBytes);
    } else {
      target.ExpectUntouched(what);
    }
  }
  // Create, copy, open, begin, ten rows, checksum, commit, close, flush, rename, flush folder.
  EXPECT_EQ(points, 20);
  EXPECT_TRUE(replaced);
  const DesignFileContents after = Reopen(target.file);
  EXPECT_EQ(test::Differences(test::ExpectedAfterReopen(target.newRecords, {}), after.records), "");
}

TEST(DesignFile, ASaveKilledAtAnyMomentLeavesTheOldOrTheCompleteNewFile) {
  ExistingTarget target;
  const DesignRecords oldExpected = test::ExpectedAfterReopen(target.oldRecords, {});
  const DesignRecords newExpected = test::ExpectedAfterReopen(target.newRecords, {});
  // How long a save in a child process takes here, from the fork to its
  // end, to spread the kills over it.
  const auto saveInChild = [&] {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const bool ok =
          WriteDesignFile(target.file, target.templatePath, target.newRecords, false, UnitSystem::English)
              .ok();
      ::_exit(ok ? 0 : 1);
    }
    return pid;
  };
  const auto start = std::chrono::steady_clock::now();
  const pid_t timed = saveInChild();
  ASSERT_GE(timed, 0);
  int timedStatus = 0;
  ::waitpid(timed, &timedStatus, 0);
  const auto cycle =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  ASSERT_TRUE(WIFEXITED(timedStatus) && WEXITSTATUS(timedStatus) == 0);
  ASSERT_EQ(test::Differences(newExpected, Reopen(target.file).records), "");

  constexpr int kTrials = 40;
  int sawOld = 0;
  int sawNew = 0;
  for (int i = 0; i < kTrials; ++i) {
    test::WriteBytes(target.file, target.oldBytes);
    const pid_t pid = saveInChild();
    ASSERT_GE(pid, 0);
    const auto delay = cycle.count() * 3 * i / (2 * kTrials);
    ::usleep(static_cast<useconds_t>(delay));
    ::kill(pid, SIGKILL);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);

    const DesignFileContents now = Reopen(target.file);
    ASSERT_TRUE(now.ok()) << "kill after " << delay << " us: " << now.status.reason;
    const bool isOld = test::Differences(oldExpected, now.records).empty();
    const bool isNew = test::Differences(newExpected, now.records).empty();
    EXPECT_TRUE(isOld || isNew) << "trial " << i << ": the target holds neither set";
    sawOld += isOld ? 1 : 0;
    sawNew += isNew ? 1 : 0;
    // A killed save cannot remove its temporary folder; clear it for the next trial.
    for (const auto& name : target.folder.Names()) {
      if (name != "plant.mdb" && name != "stdata.mdb") fs::remove_all(target.folder / name);
    }
  }
  RecordProperty("old", sawOld);
  RecordProperty("new", sawNew);
  std::printf("kills over %lld us: %d left the old file, %d the new one\n",
              static_cast<long long>(cycle.count()), sawOld, sawNew);
  EXPECT_EQ(sawOld + sawNew, kTrials);
}

}  // namespace
}  // namespace vst
