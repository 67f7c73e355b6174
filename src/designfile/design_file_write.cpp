// Saving a design file and creating the template. A save writes into a fresh
// copy of the template in a temporary folder beside the target, which the
// program's one writer (core/output_file.h) puts in the target's place only
// when the copy is complete and on disk.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/legacy_math.h"
#include "core/output_file.h"
#include "core/output_file_testing.h"
#include "core/quoted_value.h"
#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"
#include "designfile/design_file_testing.h"
#include "designfile/sqlite_db.h"

namespace vst {

using namespace designfile_detail;
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
    if (const int e = sqlite3_system_errno(db.get()); e != 0) return WriteError(FileErrorText(e));
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

// The header fields that mark a design file of this program (application id
// and layout version), written inside the open transaction.
int MarkAsDesignFile(Database& db, int version = kDesignFileUserVersion) {
  const std::string sql = "PRAGMA application_id = " + std::to_string(kDesignFileApplicationId) +
                          "; PRAGMA user_version = " + std::to_string(version);
  return db.Exec(sql.c_str());
}

// Adds the heat-up columns that the copy's table DATA lacks and marks the
// copy with the heat-up layout, inside the open transaction.
int AddHeatUpColumns(Database& db, const TableLayout& layout) {
  int rc = MarkAsDesignFile(db, kDesignFileHeatUpVersion);
  for (const DesignFileColumn& c : DesignFileColumns()) {
    if (rc != SQLITE_OK) break;
    if (c.oldLayout != OldLayout::HeatUp || layout.IndexOf(c.name) >= 0) continue;
    const std::string sql = "ALTER TABLE " + QuoteName(kDataTable) + " ADD COLUMN " + QuoteName(c.name) +
                            " " + std::string(SqlType(c.storage));
    rc = db.Exec(sql.c_str());
  }
  return rc;
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
  if (NeedsHeatUpColumns(records) && !layout.IsOld()) {
    rc = AddHeatUpColumns(db, layout);
    if (rc != SQLITE_OK) return SqlWriteError(rc, db);
    if (auto status = InspectDataTable(db, layout); !status.ok()) return WriteError(status.reason);
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
  // The checksum covers the rows just written, in the same transaction.
  if (!StepAllowed(SaveStep::WriteChecksum)) return Interrupted(SaveStep::WriteChecksum);
  rc = WriteDataChecksum(db, layout);
  if (rc != SQLITE_OK) return SqlWriteError(rc, db);
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
    case SaveStep::WriteChecksum:
      return "WriteChecksum";
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
  const bool set = static_cast<bool>(hook);
  StepHook() = std::move(hook);
  // The last three steps are the writer's.
  if (!set) {
    SetOutputStepHookForTesting({});
    return;
  }
  SetOutputStepHookForTesting([](OutputStep step) {
    const SaveStep save = step == OutputStep::Sync      ? SaveStep::SyncCopy
                          : step == OutputStep::Replace ? SaveStep::Replace
                                                        : SaveStep::SyncFolder;
    return StepAllowed(save) ? 0 : EIO;
  });
}

namespace {

// The status of an output that could not be opened or put in place.
DesignFileStatus OutputError(const OutputFile& out, bool opening) {
  if (opening) return {DesignFileError::WriteFailed, out.reason()};
  if (out.reason().rfind("the new file is in place", 0) == 0)
    return {DesignFileError::WriteFailed, out.reason()};
  if (out.error().rfind("cannot replace", 0) == 0) {
    return {DesignFileError::WriteFailed, "the file could not be replaced (" + out.reason() + ")"};
  }
  return WriteError(out.reason());
}

DesignFileStatus TemplateUsable(const fs::path& templatePath) {
  std::error_code ec;
  const auto templateStatus = fs::status(templatePath, ec);
  if (ec || !fs::is_regular_file(templateStatus)) {
    return {DesignFileError::TemplateMissing,
            "the template " + ShownName(templatePath.string()) + " is missing"};
  }
  return {};
}

}  // namespace

DesignFileStatus OpenDesignOutput(OutputFile& out, const fs::path& target, const fs::path& templatePath) {
  if (target.empty() || target.filename().empty()) {
    return {DesignFileError::WriteFailed, "no file name was given"};
  }
  if (!out.open(target.string())) return OutputError(out, true);
  if (out.kind() == OutputFile::Kind::Replaced && SameFile(out.target(), templatePath)) {
    out.abandon();
    return {DesignFileError::TemplateTarget, "the template " + ShownName(templatePath.string()) +
                                                 " cannot be overwritten; choose another file name"};
  }
  return {};
}

DesignFileStatus WriteDesignContents(const fs::path& contents, const fs::path& templatePath,
                                     const DesignRecords& records, bool internalMode, UnitSystem units) {
  if (auto status = CheckWritable(records); !status.ok()) return status;
  if (auto status = TemplateUsable(templatePath); !status.ok()) return status;
  if (!StepAllowed(SaveStep::CopyTemplate)) return Interrupted(SaveStep::CopyTemplate);
  {
    // The file lies in a private folder: nobody else can have put a link there.
    const int fd = ::open(contents.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return WriteError(FileErrorText(errno));
    bool templateFailed = false;
    const int e = CopyFileInto(templatePath, fd, templateFailed);
    const int closed = ::close(fd) != 0 ? errno : 0;
    if (e != 0 && templateFailed) {
      return {DesignFileError::TemplateMissing, "the template " + ShownName(templatePath.string()) +
                                                    " could not be read (" + FileErrorText(e) + ")"};
    }
    if (e != 0) return WriteError(FileErrorText(e));
    if (closed != 0) return WriteError(FileErrorText(closed));
  }
  if (!StepAllowed(SaveStep::OpenCopy)) return Interrupted(SaveStep::OpenCopy);
  Database db;
  if (const int rc = db.Open(contents, /*writable=*/true); rc != SQLITE_OK) return SqlWriteError(rc, db);
  if (auto status = WriteRows(db, templatePath, records, SetMarks{internalMode, units}); !status.ok())
    return status;
  if (!StepAllowed(SaveStep::CloseCopy)) return Interrupted(SaveStep::CloseCopy);
  if (const int rc = db.Close(); rc != SQLITE_OK) return SqlWriteError(rc, db);
  return {};
}

DesignFileStatus WriteDesignFile(const fs::path& target, const fs::path& templatePath,
                                 const DesignRecords& records, bool internalMode, UnitSystem units) {
  if (target.empty() || target.filename().empty()) {
    return {DesignFileError::WriteFailed, "no file name was given"};
  }
  if (auto status = CheckWritable(records); !status.ok()) return status;
  if (auto status = TemplateUsable(templatePath); !status.ok()) return status;
  if (!StepAllowed(SaveStep::CreateCopy)) return Interrupted(SaveStep::CreateCopy);
  OutputFile out;
  if (auto status = OpenDesignOutput(out, target, templatePath); !status.ok()) return status;
  const fs::path contents = out.contentsPath();
  if (contents.empty()) return OutputError(out, false);
  if (auto status = WriteDesignContents(contents, templatePath, records, internalMode, units); !status.ok())
    return status;
  if (!out.commit()) return OutputError(out, false);
  return {};
}

DesignFileStatus CreateDesignTemplate(const fs::path& path) {
  if (path.empty() || path.filename().empty())
    return {DesignFileError::WriteFailed, "no file name was given"};
  OutputFile out;
  if (!out.open(path.string())) return OutputError(out, true);
  const fs::path contents = out.contentsPath();
  if (contents.empty()) return OutputError(out, false);
  {
    Database db;
    int rc = db.Open(contents, /*writable=*/true, /*create=*/true);
    if (rc == SQLITE_OK) rc = db.Exec("PRAGMA journal_mode=MEMORY");
    if (rc == SQLITE_OK) rc = db.Exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) rc = MarkAsDesignFile(db);
    if (rc != SQLITE_OK) return SqlWriteError(rc, db);

    std::string create = "CREATE TABLE " + QuoteName(kDataTable) + " (";
    std::string names;
    std::string params;
    for (const DesignFileColumn& c : DesignFileColumns()) {
      if (c.oldLayout == OldLayout::HeatUp) continue;  // added by the saves that need them
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
        for (const DesignFileColumn& c : DesignFileColumns()) {
          if (c.oldLayout != OldLayout::HeatUp) bound = bound && BindColumn(insert, c, empty, SetMarks{});
        }
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
  if (!out.commit()) return OutputError(out, false);
  return {};
}

}  // namespace vst
