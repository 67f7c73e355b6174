// Opening a design file: all ten rows are read and checked before any record
// is handed back.

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

#include "core/legacy_math.h"
#include "core/quoted_value.h"
#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"
#include "designfile/sqlite_db.h"

namespace vst {

using namespace designfile_detail;

namespace {

std::string ColumnText(sqlite3_stmt* row, int col) {
  const char* p = sqlite3_column_type(row, col) == SQLITE_BLOB
                      ? static_cast<const char*>(sqlite3_column_blob(row, col))
                      : reinterpret_cast<const char*>(sqlite3_column_text(row, col));
  const int n = sqlite3_column_bytes(row, col);
  return p != nullptr && n > 0 ? std::string(p, static_cast<std::size_t>(n)) : std::string();
}

// A refused text in the reason (at most the length limit of a text, so it
// is cut by QuotedValue), control characters and bytes outside ASCII shown
// as "?".
std::string ShownText(std::string_view text) {
  std::string printable(text);
  for (char& c : printable) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7f) c = '?';
  }
  return QuotedValue(printable);
}

// SQLite's own check of the file's pages and indexes, before anything is
// read: a truncated or overwritten file can otherwise read as zeros and
// empty texts. The reason carries SQLite's first finding on one line.
DesignFileStatus CheckIntegrity(Database& db) {
  Statement check;
  int rc = db.Prepare("PRAGMA quick_check(1)", check);
  if (rc != SQLITE_OK) return ReadError(rc, db);
  rc = sqlite3_step(check.get());
  if (rc != SQLITE_ROW) return ReadError(rc, db);
  std::string finding = ColumnText(check.get(), 0);
  if (finding == "ok") return {};
  constexpr std::string_view kDatabaseLine = "*** in database main ***";
  if (finding.rfind(kDatabaseLine, 0) == 0) finding.erase(0, kDatabaseLine.size());
  std::string oneLine;
  for (char c : finding) {
    if (c == '\n' || c == '\r') {
      if (!oneLine.empty() && oneLine.back() != ' ') oneLine += "; ";
      continue;
    }
    oneLine += c;
  }
  while (!oneLine.empty() && (oneLine.back() == ' ' || oneLine.back() == ';')) oneLine.pop_back();
  constexpr std::size_t kFindingLength = 200;
  if (oneLine.size() > kFindingLength) oneLine = oneLine.substr(0, kFindingLength) + "...";
  return {DesignFileError::Damaged, "the file is damaged (" + oneLine + ")"};
}

// A database file holds whole pages, as many as its header says when the
// header's count is current. A shorter file lost its end (SQLite would read
// the missing bytes as zeros); the reason says how much is there.
DesignFileStatus CheckLength(const std::filesystem::path& path, std::uintmax_t size) {
  std::array<unsigned char, 100> header{};
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return {};  // SQLite tells
  static constexpr char kMagic[] = "SQLite format 3";
  if (std::memcmp(header.data(), kMagic, sizeof kMagic) != 0) return {};
  const auto be32 = [&](std::size_t at) {
    return (std::uint32_t{header[at]} << 24) | (std::uint32_t{header[at + 1]} << 16) |
           (std::uint32_t{header[at + 2]} << 8) | std::uint32_t{header[at + 3]};
  };
  const std::uint32_t rawPageSize = (std::uint32_t{header[16]} << 8) | header[17];
  const std::uintmax_t pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
  const bool countCurrent = be32(24) == be32(92) && be32(28) != 0;
  if (!countCurrent || pageSize < 512) return {};
  const std::uintmax_t expected = pageSize * be32(28);
  if (size >= expected) return {};
  return {DesignFileError::Damaged, "the file is damaged (it is cut short: " + std::to_string(size) + " of " +
                                        std::to_string(expected) + " bytes)"};
}

// A database that another program marked as its own is no design file.
DesignFileStatus CheckApplicationId(Database& db) {
  Statement id;
  int rc = db.Prepare("PRAGMA application_id", id);
  if (rc != SQLITE_OK) return ReadError(rc, db);
  rc = sqlite3_step(id.get());
  if (rc != SQLITE_ROW) return ReadError(rc, db);
  const std::int64_t value = sqlite3_column_int64(id.get(), 0);
  if (value != 0 && value != kDesignFileApplicationId) {
    return {DesignFileError::NotADesignFile, "not a design file (it is marked as another program's file)"};
  }
  return {};
}

// The unit system mark of the first row: "F", "C", or empty for none.
std::string ReadUnits(sqlite3_stmt* row, int col, std::optional<UnitSystem>& units) {
  const std::string mark(Trim(ColumnText(row, col)));
  if (mark.empty()) {
    units.reset();
  } else if (mark == std::string(1, UnitLetter(UnitSystem::English))) {
    units = UnitSystem::English;
  } else if (mark == std::string(1, UnitLetter(UnitSystem::Metric))) {
    units = UnitSystem::Metric;
  } else {
    return "not a design file (row 1, column " + std::string(kUnitsColumn) + ": " + ShownText(mark) +
           " is neither F nor C)";
  }
  return {};
}

// A numeric column's value: empty (NULL or blank text) reads as 0; text reads
// as the number it spells, with "." or "," as decimal mark (the condensate
// load is stored as text); anything else is no number and gives the reason.
struct Number {
  double value = 0;
  std::string problem;  // empty when value holds the number
};

Number ReadNumber(sqlite3_stmt* row, int col) {
  switch (sqlite3_column_type(row, col)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER:
      return {static_cast<double>(sqlite3_column_int64(row, col)), {}};
    case SQLITE_FLOAT: {
      const double v = sqlite3_column_double(row, col);
      if (!std::isfinite(v)) return {0, "the value is not a finite number"};
      return {v, {}};
    }
    case SQLITE_TEXT: {
      const std::string text = ColumnText(row, col);
      if (Trim(text).empty()) return {};
      if (auto v = ParseNumber(text, ',')) return {*v, {}};
      return {0, ShownText(text) + " is not a number"};
    }
    default:
      return {0, "binary data is not a number"};
  }
}

std::string ValueProblem(int rowNumber, std::string_view column, const std::string& problem) {
  return "not a design file (row " + std::to_string(rowNumber) + ", column " + std::string(column) + ": " +
         problem + ")";
}

// Stores one column of a row into its record field; the reason on failure.
std::string ReadField(sqlite3_stmt* row, int col, const DesignFileColumn& column, DesignRecord& record,
                      int rowNumber) {
  std::string problem;
  std::visit(
      [&](auto member) {
        using T = std::remove_reference_t<decltype(record.*member)>;
        if constexpr (std::is_same_v<T, std::string>) {
          record.*member = ColumnText(row, col);
        } else {
          const Number n = ReadNumber(row, col);
          if (!n.problem.empty()) {
            problem = n.problem;
            return;
          }
          if constexpr (std::is_same_v<T, float>) {
            const float f = ToSingle(n.value);
            if (!std::isfinite(f)) {
              problem = General15Text(n.value) + " is out of range";
              return;
            }
            record.*member = f;
          } else {
            // A list position or code: a fraction (never written by the
            // program) is dropped by rounding down.
            const double whole = Int(n.value);
            if (whole < static_cast<double>(std::numeric_limits<int>::min()) ||
                whole > static_cast<double>(std::numeric_limits<int>::max())) {
              problem = General15Text(n.value) + " is out of range";
              return;
            }
            if (std::is_same_v<T, bool> && whole != 0.0 && whole != 1.0) {
              problem = General15Text(n.value) + " is neither 0 nor 1";
              return;
            }
            record.*member = static_cast<T>(static_cast<int>(whole));
          }
        }
      },
      column.field->member);
  return problem.empty() ? problem : ValueProblem(rowNumber, column.name, problem);
}

// An unfinished change that another program left beside the file: a hot
// rollback journal ("NAME-journal" starting with the journal's magic
// number) or a WAL file holding frames ("NAME-wal" longer than its header).
// The file alone is then not what that program last saw; opening it
// read-only would either fail or read it half changed.
DesignFileStatus CheckSideFiles(const std::filesystem::path& path) {
  const std::string name = path.string();
  {
    static constexpr unsigned char kJournalMagic[] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
    std::array<unsigned char, sizeof kJournalMagic> head{};
    std::ifstream journal(name + "-journal", std::ios::binary);
    if (journal.read(reinterpret_cast<char*>(head.data()), head.size()) &&
        std::memcmp(head.data(), kJournalMagic, head.size()) == 0) {
      return {DesignFileError::ReadFailed,
              "another program left an unfinished change to it in " + ShownName(name + "-journal") +
                  "; open the file in that program once to finish or undo the change"};
    }
  }
  std::error_code ec;
  constexpr std::uintmax_t kWalHeaderBytes = 32;
  const auto walSize = std::filesystem::file_size(name + "-wal", ec);
  if (!ec && walSize > kWalHeaderBytes) {
    return {DesignFileError::ReadFailed, "changes to it are still waiting in " + ShownName(name + "-wal") +
                                             "; open the file once in the program that wrote them"};
  }
  return {};
}

// What the file system says about the file, before SQLite opens it: it
// exists, is a regular file (pipes and devices could block or never end),
// is neither empty nor larger than a design file can be, starts as a
// database does, holds all the pages its header counts, and has no
// unfinished change of another program beside it.
DesignFileStatus CheckFileOnDisk(const std::filesystem::path& path) {
  std::error_code ec;
  const auto st = std::filesystem::status(path, ec);
  if (ec && ec.value() == ELOOP) {
    return {DesignFileError::FileMissing, "the name is a loop of symbolic links, not a file"};
  }
  if (ec || !std::filesystem::exists(st)) return {DesignFileError::FileMissing, "the file does not exist"};
  if (std::filesystem::is_directory(st))
    return {DesignFileError::FileMissing, "the name is a folder, not a file"};
  if (!std::filesystem::is_regular_file(st)) {
    return {DesignFileError::NotADesignFile, "not a design file (not a regular file)"};
  }
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return {DesignFileError::ReadFailed, "the file could not be read (" + ec.message() + ")"};
  if (size == 0) return {DesignFileError::NotADesignFile, "not a design file (the file is empty)"};
  if (size > kMaxDesignFileBytes) {
    return {DesignFileError::Damaged, "the file is damaged (it is larger than " +
                                          std::to_string(kMaxDesignFileBytes / (1024 * 1024)) + " MiB)"};
  }
  // SQLite takes a file shorter than its header for an empty database.
  constexpr std::uintmax_t kDatabaseHeaderBytes = 100;
  static constexpr char kMagic[] = "SQLite format 3";
  std::array<char, sizeof kMagic> head{};
  std::ifstream in(path, std::ios::binary);
  if (!in.read(head.data(), head.size()) || std::memcmp(head.data(), kMagic, sizeof kMagic) != 0) {
    if (!in.is_open()) return {DesignFileError::ReadFailed, "the file could not be read"};
    return {DesignFileError::NotADesignFile, size < kDatabaseHeaderBytes
                                                 ? "not a design file (it is no database, only " +
                                                       std::to_string(size) +
                                                       (size == 1 ? " byte long)" : " bytes long)")
                                                 : std::string("not a design file (it is no database)")};
  }
  if (auto status = CheckLength(path, size); !status.ok()) return status;
  return CheckSideFiles(path);
}

// The longest schema text (CREATE statements) opening reads. Far beyond
// what a design file holds; a longer one is no design file.
constexpr int kMaxSchemaBytes = 1 << 20;

// Opens the file read-only inside a read transaction and checks that it is
// a sound database of this program with every column of table DATA; the
// layout found is how the rows are read.
DesignFileStatus OpenChecked(Database& db, const std::filesystem::path& path, TableLayout& layout) {
  int rc = db.Open(path, /*writable=*/false);
  if (rc != SQLITE_OK) return ReadError(rc, db);
  sqlite3_limit(db.get(), SQLITE_LIMIT_LENGTH, kMaxSchemaBytes);
  const auto schemaTooLong = [&](DesignFileStatus status) {
    if (sqlite3_extended_errcode(db.get()) == SQLITE_TOOBIG) {
      status = {DesignFileError::NotADesignFile, "not a design file (its table definitions are longer than " +
                                                     std::to_string(kMaxSchemaBytes / (1024 * 1024)) +
                                                     " MiB)"};
    }
    return status;
  };
  rc = db.Exec("BEGIN");
  if (rc != SQLITE_OK) return schemaTooLong(ReadError(rc, db));
  if (auto status = CheckApplicationId(db); !status.ok()) return schemaTooLong(status);
  if (auto status = CheckIntegrity(db); !status.ok()) return schemaTooLong(status);
  if (auto status = InspectDataTable(db, layout); !status.ok()) return schemaTooLong(status);
  // From here on no text or blob longer than the limit is read into memory:
  // SQLite stops with SQLITE_TOOBIG instead.
  sqlite3_limit(db.get(), SQLITE_LIMIT_LENGTH, kMaxDesignFileTextBytes);
  if (auto missing = MissingColumn(layout); !missing.empty()) {
    return {DesignFileError::ColumnMissing, "column " + std::string(missing) + " missing in table DATA"};
  }
  return {};
}

// Reads the columns of one row into its record. The program mode and the
// unit system are the file's, stored with the first row only.
DesignFileStatus ReadRow(sqlite3_stmt* row, const std::vector<const DesignFileColumn*>& wanted, int index,
                         DesignFileContents& out) {
  DesignRecord& record = out.records[static_cast<std::size_t>(index)];
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    const int col = static_cast<int>(i) + 1;  // column 0 is the row order
    const DesignFileColumn& c = *wanted[i];
    if (c.storage == ColumnStorage::Mode) {
      if (index == 0) out.internalMode = Trim(ColumnText(row, col)) == "T";
      continue;
    }
    if (c.storage == ColumnStorage::Units) {
      if (index != 0) continue;
      if (auto problem = ReadUnits(row, col, out.units); !problem.empty()) {
        return {DesignFileError::NotADesignFile, problem};
      }
      continue;
    }
    if (auto problem = ReadField(row, col, c, record, index + 1); !problem.empty()) {
      return {DesignFileError::NotADesignFile, problem};
    }
  }
  return {};
}

// Reads the first ten rows of table DATA, in row order, into the records.
// The columns are selected by name; a table of the older layout leaves some
// out, and their fields keep their values.
DesignFileStatus ReadRows(Database& db, const TableLayout& layout, DesignFileContents& out) {
  const std::vector<const DesignFileColumn*> wanted = ColumnsInUse(layout);
  std::string sql = "SELECT " + layout.rowOrder;
  for (const DesignFileColumn* c : wanted) sql += ", " + QuoteName(c->name);
  sql += " FROM " + QuoteName(kDataTable) + " ORDER BY " + layout.rowOrder + " LIMIT :count";

  Statement select;
  int rc = db.Prepare(sql, select);
  if (rc != SQLITE_OK) return ReadError(rc, db);
  if (!select.BindInt(":count", kFileRecords)) return ReadError(SQLITE_ERROR, db);
  int rows = 0;
  while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
    if (auto status = ReadRow(select.get(), wanted, rows, out); !status.ok()) return status;
    if (++rows == kFileRecords) break;
  }
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
    DesignFileStatus status = ReadError(rc, db);
    if ((rc & 0xff) == SQLITE_TOOBIG) {
      status.reason = "the file is damaged (row " + std::to_string(rows + 1) + " holds a value longer than " +
                      std::to_string(kMaxDesignFileTextBytes) + " bytes)";
    }
    return status;
  }
  if (rows < kFileRecords) {
    return {DesignFileError::TooFewRows,
            "table DATA holds fewer than ten rows (" + std::to_string(rows) + ")"};
  }
  sqlite3_reset(select.get());
  return {};
}

}  // namespace

DesignFileContents ReadDesignFile(const std::filesystem::path& path, const DesignRecords& current) {
  DesignFileContents out;
  out.records = current;
  const auto fail = [&](DesignFileStatus status) {
    DesignFileContents failed;
    failed.status = std::move(status);
    failed.records = current;
    return failed;
  };
  if (auto status = CheckFileOnDisk(path); !status.ok()) return fail(status);
  Database db;
  TableLayout layout;
  if (auto status = OpenChecked(db, path, layout); !status.ok()) return fail(status);
  if (auto status = ReadRows(db, layout, out); !status.ok()) return fail(status);
  if (auto status = CheckDataChecksum(db, layout); !status.ok()) return fail(status);
  db.Exec("COMMIT");
  return out;
}

namespace {

std::string UnitsName(UnitSystem units) {
  return units == UnitSystem::Metric ? "SI Metric units" : "Inch Pound units";
}

}  // namespace

DesignFileContents OpenDesignFile(const std::filesystem::path& path, const DesignRecords& current,
                                  UnitSystem units) {
  DesignFileContents contents = ReadDesignFile(path, current);
  if (contents.ok() && contents.units && *contents.units != units) {
    const std::string saved = UnitsName(*contents.units);
    DesignFileContents refused;
    refused.status = {DesignFileError::OtherUnits,
                      "it was saved in " + saved + "; start the program in " + saved + " to open it"};
    refused.records = current;
    return refused;
  }
  if (contents.ok()) {
    if (std::string problem = CodedValueProblem(contents.records, contents.internalMode); !problem.empty()) {
      DesignFileContents refused;
      refused.status = {DesignFileError::Damaged, "the file is damaged (" + problem + ")"};
      refused.records = current;
      return refused;
    }
  }
  return contents;
}

std::filesystem::path TemplatePath(const std::filesystem::path& programFolder) {
  return programFolder / std::string(kTemplateFileName);
}

std::string SaveFailedMessage(const DesignFileStatus& status) {
  return "The file was not saved: " + status.reason + ".";
}

std::string OpenFailedMessage(const DesignFileStatus& status) {
  return "The file was not opened: " + status.reason + ".";
}

}  // namespace vst
