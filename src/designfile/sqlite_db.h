// Small owners of SQLite connections and statements for the design file, and
// the inspection of table DATA that reading and writing share. Internal to
// the design file library.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"

namespace vst::designfile_detail {

class Statement {
 public:
  Statement() = default;
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return stmt_; }
  sqlite3_stmt** out() { return &stmt_; }

  // Binding by parameter name (":MAXAMB"); false when the statement has no
  // such parameter or SQLite refuses the value.
  bool BindInt(std::string_view name, std::int64_t value);
  bool BindDouble(std::string_view name, double value);
  bool BindText(std::string_view name, std::string_view value);

 private:
  int Index(std::string_view name) const;
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  Database() = default;
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Opens an existing database file (never creates one). Returns the SQLite
  // result code; Message() tells why on failure. `create` is for the template.
  // A file opened for reading only is taken as immutable: SQLite neither
  // locks it nor reads or leaves journal and WAL files beside it.
  int Open(const std::filesystem::path& path, bool writable, bool create = false);
  // Closes the connection, reporting whether SQLite could finish its work.
  int Close();

  sqlite3* get() const { return db_; }
  std::string Message() const;
  int Prepare(std::string_view sql, Statement& statement);
  int Exec(const char* sql);

 private:
  sqlite3* db_ = nullptr;
};

// A column or table name quoted for SQL: "MAXAMB".
std::string QuoteName(std::string_view name);

// SQLite compares identifiers without regard to the case of ASCII letters.
bool SameName(std::string_view a, std::string_view b);

// What a database holds as its table DATA.
struct TableLayout {
  std::vector<std::string> columns;  // every column, in table order
  std::string rowOrder;              // the name under which the row order is selected

  int IndexOf(std::string_view name) const;
  // A table from before UNDER, PRESSURE and TBAND.
  bool IsOld() const;
};

// Finds the ordinary table DATA, its columns and its row order. Errors:
// NotADesignFile / ReadFailed (the database cannot be read), TableMissing.
DesignFileStatus InspectDataTable(Database& db, TableLayout& layout);

// The first column of the design file that the table lacks, or an empty view.
std::string_view MissingColumn(const TableLayout& layout);

// The columns of the design file that are read from and written to the
// table, in the order of the column list.
std::vector<const DesignFileColumn*> ColumnsInUse(const TableLayout& layout);

// The status for a failed SQLite call while reading a file.
DesignFileStatus ReadError(int rc, const Database& db);

// The checksum of every value of table DATA (all its rows and columns, in
// row and table order) as 16 hex digits. Returns the SQLite result code.
int DataChecksum(Database& db, const TableLayout& layout, std::string& sum);
// Stores the checksum of table DATA in table DATACHECK (created when the
// file has none), inside the open transaction.
int WriteDataChecksum(Database& db, const TableLayout& layout);
// Ok for a file without table DATACHECK and for one whose checksum matches
// its rows; Damaged ("changed outside Vantrel ST or damaged") otherwise.
DesignFileStatus CheckDataChecksum(Database& db, const TableLayout& layout);

}  // namespace vst::designfile_detail
