// Saving a design file and creating the template. A save writes into a fresh
// copy of the template beside the target and renames it onto the target only
// when the copy is complete and on disk.

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/durable_file.h"
#include "core/legacy_math.h"
#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"
#include "designfile/design_file_testing.h"
#include "designfile/sqlite_db.h"

namespace vst {

using namespace designfile_detail;
using namespace durable;
namespace fs = std::filesystem;

namespace {

std::function<bool(SaveStep, int)>& StepHook() {
  static std::function<bool(SaveStep, int)> hook;
  return hook;
}

bool StepAllowed(SaveStep step, int row = 0) {
  const auto& hook = StepHook();
  return !hook || hook(step, row);
}

DesignFileStatus Interrupted(SaveStep step) {
  return {DesignFileError::WriteFailed, "the file could not be written (input/output error at step " +
                                            std::string(SaveStepName(step)) + ")"};
}

DesignFileStatus WriteError(const std::string& what) {
  return {DesignFileError::WriteFailed, "the file could not be written (" + what + ")"};
}

DesignFileStatus SqlWriteError(int rc, const Database& db) {
  if ((rc & 0xff) == SQLITE_FULL) return WriteError("the disk is full");
  // An input/output error says more by the system's reason for it.
  if ((rc & 0xff) == SQLITE_IOERR && db.get() != nullptr) {
    if (const int e = sqlite3_system_errno(db.get()); e != 0) return WriteError(ErrorText(e));
    if (rc == SQLITE_IOERR_WRITE) return WriteError("writing to the disk failed; the disk may be full");
  }
  return WriteError(db.Message());
}

// The value a REAL column receives for a field: the shortest decimal of the
// single-precision value when that decimal reads back as the same value (so
// 3.45 is stored as 3.45, not 3.4500000476837), otherwise the value itself.
double StoredReal(float value) {
  if (auto d = ParseNumber(ShortestText(value)); d && ToSingle(*d) == value) return *d;
  return static_cast<double>(value);
}

DesignFileStatus CheckWritable(const DesignRecords& records) {
  for (std::size_t r = 0; r < records.size(); ++r) {
    for (const DesignFileColumn& c : DesignFileColumns()) {
      if (c.field == nullptr) continue;
      if (const auto* text = std::get_if<std::string DesignRecord::*>(&c.field->member)) {
        // Opening refuses a longer text as damage; it is not written either.
        if ((records[r].**text).size() > static_cast<std::size_t>(kMaxDesignFileTextBytes)) {
          return {DesignFileError::ValueNotWritable, "record " + std::to_string(r + 1) + " holds a text in " +
                                                         std::string(c.name) + " longer than " +
                                                         std::to_string(kMaxDesignFileTextBytes) + " bytes"};
        }
        continue;
      }
      if (!std::holds_alternative<float DesignRecord::*>(c.field->member)) continue;
      const float v = records[r].*std::get<float DesignRecord::*>(c.field->member);
      if (!std::isfinite(v)) {
        return {DesignFileError::ValueNotWritable, "record " + std::to_string(r + 1) + " holds a value in " +
                                                       std::string(c.name) + " that is not a number"};
      }
    }
  }
  return {};
}

// What a saved file records of the set besides its records.
struct SetMarks {
  bool internalMode = false;
  std::optional<UnitSystem> units;  // none in the template, which is no set of either
};

// Binds one record's value of a column to the parameter named after it.
bool BindColumn(Statement& update, const DesignFileColumn& c, const DesignRecord& record, SetMarks marks) {
  const std::string param = ":" + std::string(c.name);
  if (c.storage == ColumnStorage::Mode) return update.BindText(param, marks.internalMode ? "T" : "F");
  if (c.storage == ColumnStorage::Units) {
    return update.BindText(param, marks.units ? std::string(1, UnitLetter(*marks.units)) : std::string());
  }
  return std::visit(
      [&](auto member) -> bool {
        const auto& v = record.*member;
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return update.BindText(param, v);
        } else if constexpr (std::is_same_v<T, float>) {
          if (c.storage == ColumnStorage::Decimals3) return update.BindText(param, FixedText(v, 3));
          return update.BindDouble(param, StoredReal(v));
        } else {
          return update.BindInt(param, static_cast<std::int64_t>(v));
        }
      },
      c.field->member);
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) {
    const bool same = fs::equivalent(a, b, ec);
    if (!ec) return same;
  }
  const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
  const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  return ca == cb;
}

// The temporary file of a save: removed, with any journal SQLite left beside
// it, unless it has been renamed onto the target. Its lock (see
// CreateTemporaryFile) is held until then, so that no other save takes it
// for a stale one.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() {
    if (fd_ >= 0) CloseFile(fd_);
    if (!path_.empty() && !kept_) {
      std::error_code ec;
      for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(path_.string() + suffix, ec);
    }
    if (lockFd_ >= 0) CloseFile(lockFd_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Create(const fs::path& folder, const std::string& baseName) {
    const int error = CreateTemporaryFile(folder, baseName, path_, fd_);
    // A second descriptor of the same open file keeps the lock after the
    // first is closed (SQLite opens the file under its own).
    if (error == 0) lockFd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    return error;
  }
  int fd() const { return fd_; }
  int Close() {
    const int error = CloseFile(fd_);
    fd_ = -1;
    return error;
  }
  const fs::path& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  fs::path path_;
  int fd_ = -1;
  int lockFd_ = -1;
  bool kept_ = false;
};

// The file a name finally refers to, following links (also to a file not
// yet there); a loop of links ends at the fortieth.
fs::path FollowLinks(const fs::path& name) {
  fs::path current = name;
  std::error_code ec;
  for (int depth = 0; depth < 40 && fs::is_symlink(fs::symlink_status(current, ec)); ++depth) {
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) break;
    current = next.is_absolute() ? next : (current.parent_path() / next).lexically_normal();
  }
  return current;
}

// The folder a file name lies in ("." for a bare name).
fs::path FolderOf(const fs::path& file) {
  fs::path folder = file.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// The header fields that mark a design file of this program (application id
// and layout version), written inside the open transaction.
int MarkAsDesignFile(Database& db) {
  const std::string sql = "PRAGMA application_id = " + std::to_string(kDesignFileApplicationId) +
                          "; PRAGMA user_version = " + std::to_string(kDesignFileUserVersion);
  return db.Exec(sql.c_str());
}

// Flushes the finished copy, renames it onto the target and flushes the
// folder, so the rename survives a power loss.
DesignFileStatus PutInPlace(TemporaryFile& temp, const fs::path& target) {
  if (!StepAllowed(SaveStep::SyncCopy)) return Interrupted(SaveStep::SyncCopy);
  if (const int e = SyncFile(temp.path()); e != 0) return WriteError(ErrorText(e));
  if (!StepAllowed(SaveStep::Replace)) return Interrupted(SaveStep::Replace);
  std::error_code ec;
  fs::rename(temp.path(), target, ec);
  if (ec) return {DesignFileError::WriteFailed, "the file could not be replaced (" + ec.message() + ")"};
  temp.Keep();
  const int e = StepAllowed(SaveStep::SyncFolder) ? SyncFolder(FolderOf(target)) : EIO;
  if (e != 0) {
    return {DesignFileError::WriteFailed,
            "the new file is in place, but its folder could not be flushed to disk (" + ErrorText(e) + ")"};
  }
  return {};
}

// Writes the ten records into the rows of the open copy, in one transaction.
DesignFileStatus WriteRows(Database& db, const fs::path& templatePath, const DesignRecords& records,
                           SetMarks marks) {
  const std::string templateName = templatePath.string();
  const auto invalidTemplate = [&](const std::string& why) {
    return DesignFileStatus{DesignFileError::TemplateInvalid, "the template " + templateName + " " + why};
  };
  // The copy is invisible until renamed, and a failed save throws it away:
  // it needs no journal on disk, and one flush at the end.
  int rc = db.Exec("PRAGMA journal_mode=MEMORY");
  if (rc == SQLITE_OK) rc = db.Exec("PRAGMA synchronous=OFF");
  if (rc != SQLITE_OK) {
    const DesignFileStatus read = ReadError(rc, db);
    if (read.code == DesignFileError::NotADesignFile) return invalidTemplate("is not a design file");
    return SqlWriteError(rc, db);
  }

  if (!StepAllowed(SaveStep::BeginTransaction)) return Interrupted(SaveStep::BeginTransaction);
  rc = db.Exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return SqlWriteError(rc, db);
  rc = MarkAsDesignFile(db);
  if (rc != SQLITE_OK) return SqlWriteError(rc, db);

  TableLayout layout;
  if (auto status = InspectDataTable(db, layout); !status.ok()) {
    if (status.code == DesignFileError::ReadFailed) return WriteError(status.reason);
    return invalidTemplate("is not a design file: " + status.reason);
  }
  if (auto missing = MissingColumn(layout); !missing.empty()) {
    return invalidTemplate("lacks the column " + std::string(missing));
  }

  std::vector<std::int64_t> rowIds;
  {
    Statement rows;
    rc = db.Prepare("SELECT " + layout.rowOrder + " FROM " + QuoteName(kDataTable) + " ORDER BY " +
                        layout.rowOrder + " LIMIT :count",
                    rows);
    if (rc != SQLITE_OK || !rows.BindInt(":count", kFileRecords)) return SqlWriteError(rc, db);
    while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW)
      rowIds.push_back(sqlite3_column_int64(rows.get(), 0));
    if (rc != SQLITE_DONE) return SqlWriteError(rc, db);
  }
  if (rowIds.size() < static_cast<std::size_t>(kFileRecords))
    return invalidTemplate("holds fewer than ten rows");

  const std::vector<const DesignFileColumn*> written = ColumnsInUse(layout);
  std::string sql = "UPDATE " + QuoteName(kDataTable) + " SET ";
  for (const DesignFileColumn* c : written) {
    if (c != written.front()) sql += ", ";
    sql += QuoteName(c->name) + " = :" + std::string(c->name);
  }
  sql += " WHERE " + layout.rowOrder + " = :row";
  Statement update;
  rc = db.Prepare(sql, update);
  if (rc != SQLITE_OK) return SqlWriteError(rc, db);
  for (int r = 0; r < kFileRecords; ++r) {
    if (!StepAllowed(SaveStep::WriteRow, r)) return Interrupted(SaveStep::WriteRow);
    const DesignRecord& record = records[static_cast<std::size_t>(r)];
    bool bound = update.BindInt(":row", rowIds[static_cast<std::size_t>(r)]);
    for (const DesignFileColumn* c : written) bound = bound && BindColumn(update, *c, record, marks);
    if (!bound) return WriteError("record " + std::to_string(r + 1) + " could not be written");
    rc = sqlite3_step(update.get());
    if (rc != SQLITE_DONE) return SqlWriteError(rc, db);
    if (sqlite3_changes(db.get()) != 1)
      return WriteError("row " + std::to_string(r + 1) + " was not written");
    sqlite3_reset(update.get());
    sqlite3_clear_bindings(update.get());
  }
  if (!StepAllowed(SaveStep::Commit)) return Interrupted(SaveStep::Commit);
  rc = db.Exec("COMMIT");
  if (rc != SQLITE_OK) return SqlWriteError(rc, db);
  return {};
}

}  // namespace

std::string_view SaveStepName(SaveStep step) {
  switch (step) {
    case SaveStep::CreateCopy:
      return "CreateCopy";
    case SaveStep::CopyTemplate:
      return "CopyTemplate";
    case SaveStep::OpenCopy:
      return "OpenCopy";
    case SaveStep::BeginTransaction:
      return "BeginTransaction";
    case SaveStep::WriteRow:
      return "WriteRow";
    case SaveStep::Commit:
      return "Commit";
    case SaveStep::CloseCopy:
      return "CloseCopy";
    case SaveStep::SyncCopy:
      return "SyncCopy";
    case SaveStep::Replace:
      return "Replace";
    case SaveStep::SyncFolder:
      return "SyncFolder";
  }
  return "?";
}

void SetSaveStepHookForTesting(std::function<bool(SaveStep step, int row)> hook) {
  StepHook() = std::move(hook);
}

DesignFileStatus WriteDesignFile(const fs::path& targetName, const fs::path& templatePath,
                                 const DesignRecords& records, bool internalMode, UnitSystem units) {
  if (targetName.empty() || targetName.filename().empty()) {
    return {DesignFileError::WriteFailed, "no file name was given"};
  }
  if (auto status = CheckWritable(records); !status.ok()) return status;

  std::error_code ec;
  // A link is followed: the file it names is the one replaced.
  const fs::path target = FollowLinks(targetName);
  const auto targetStatus = fs::status(target, ec);
  const bool targetExists = !ec && fs::exists(targetStatus);
  if (targetExists && fs::is_directory(targetStatus)) {
    return {DesignFileError::WriteFailed, "the name " + target.string() + " is a folder"};
  }

  const auto templateStatus = fs::status(templatePath, ec);
  if (ec || !fs::is_regular_file(templateStatus)) {
    return {DesignFileError::TemplateMissing, "the template " + templatePath.string() + " is missing"};
  }
  if (SameFile(target, templatePath)) {
    return {DesignFileError::TemplateTarget,
            "the template " + templatePath.string() + " cannot be overwritten; choose another file name"};
  }

  const fs::path folder = FolderOf(target);
  // Housekeeping only: a leftover that cannot be removed does not stop the save.
  RemoveStaleTemporaryFiles(folder, target.filename().string());
  TemporaryFile temp;
  if (!StepAllowed(SaveStep::CreateCopy)) return Interrupted(SaveStep::CreateCopy);
  if (const int e = temp.Create(folder, target.filename().string()); e != 0) {
    return {DesignFileError::WriteFailed,
            "the folder " + folder.string() + " cannot be written (" + ErrorText(e) + ")"};
  }
  if (!StepAllowed(SaveStep::CopyTemplate)) return Interrupted(SaveStep::CopyTemplate);
  bool templateFailed = false;
  if (const int e = CopyFileInto(templatePath, temp.fd(), templateFailed); e != 0) {
    if (templateFailed) {
      return {DesignFileError::TemplateMissing,
              "the template " + templatePath.string() + " could not be read (" + ErrorText(e) + ")"};
    }
    return WriteError(ErrorText(e));
  }
  // The new file keeps the permissions of the one it replaces.
  if (targetExists) ::fchmod(temp.fd(), static_cast<mode_t>(targetStatus.permissions()) & 07777);
  if (const int e = temp.Close(); e != 0) return WriteError(ErrorText(e));

  {
    if (!StepAllowed(SaveStep::OpenCopy)) return Interrupted(SaveStep::OpenCopy);
    Database db;
    if (const int rc = db.Open(temp.path(), /*writable=*/true); rc != SQLITE_OK) return SqlWriteError(rc, db);
    if (auto status = WriteRows(db, templatePath, records, SetMarks{internalMode, units}); !status.ok())
      return status;
    if (!StepAllowed(SaveStep::CloseCopy)) return Interrupted(SaveStep::CloseCopy);
    if (const int rc = db.Close(); rc != SQLITE_OK) return SqlWriteError(rc, db);
  }
  return PutInPlace(temp, target);
}

DesignFileStatus CreateDesignTemplate(const fs::path& path) {
  if (path.empty() || path.filename().empty())
    return {DesignFileError::WriteFailed, "no file name was given"};
  TemporaryFile temp;
  if (const int e = temp.Create(FolderOf(path), path.filename().string()); e != 0) {
    return {DesignFileError::WriteFailed,
            "the folder " + FolderOf(path).string() + " cannot be written (" + ErrorText(e) + ")"};
  }
  if (const int e = temp.Close(); e != 0) return WriteError(ErrorText(e));
  {
    Database db;
    int rc = db.Open(temp.path(), /*writable=*/true, /*create=*/true);
    if (rc == SQLITE_OK) rc = db.Exec("PRAGMA journal_mode=MEMORY");
    if (rc == SQLITE_OK) rc = db.Exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) rc = MarkAsDesignFile(db);
    if (rc != SQLITE_OK) return SqlWriteError(rc, db);

    std::string create = "CREATE TABLE " + QuoteName(kDataTable) + " (";
    std::string names;
    std::string params;
    for (const DesignFileColumn& c : DesignFileColumns()) {
      if (!names.empty()) {
        create += ", ";
        names += ", ";
        params += ", ";
      }
      create += QuoteName(c.name) + " " + std::string(SqlType(c.storage));
      names += QuoteName(c.name);
      params += ":" + std::string(c.name);
    }
    create += ")";
    rc = db.Exec(create.c_str());
    if (rc != SQLITE_OK) return SqlWriteError(rc, db);

    {
      Statement insert;
      rc = db.Prepare("INSERT INTO " + QuoteName(kDataTable) + " (" + names + ") VALUES (" + params + ")",
                      insert);
      if (rc != SQLITE_OK) return SqlWriteError(rc, db);
      const DesignRecord empty;
      for (int r = 0; r < kFileRecords; ++r) {
        bool bound = true;
        for (const DesignFileColumn& c : DesignFileColumns())
          bound = bound && BindColumn(insert, c, empty, SetMarks{});
        if (!bound) return WriteError("row " + std::to_string(r + 1) + " could not be written");
        rc = sqlite3_step(insert.get());
        if (rc != SQLITE_DONE) return SqlWriteError(rc, db);
        sqlite3_reset(insert.get());
      }
    }
    rc = db.Exec("COMMIT");
    if (rc == SQLITE_OK) rc = db.Close();
    if (rc != SQLITE_OK) return SqlWriteError(rc, db);
  }
  return PutInPlace(temp, path);
}

}  // namespace vst
