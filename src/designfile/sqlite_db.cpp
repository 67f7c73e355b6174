#include "designfile/sqlite_db.h"

#include <array>
#include <cctype>
#include <string>

#include "designfile/design_file_columns.h"

namespace vst::designfile_detail {

int Statement::Index(std::string_view name) const {
  return sqlite3_bind_parameter_index(stmt_, std::string(name).c_str());
}

bool Statement::BindInt(std::string_view name, std::int64_t value) {
  const int i = Index(name);
  return i > 0 && sqlite3_bind_int64(stmt_, i, value) == SQLITE_OK;
}

bool Statement::BindDouble(std::string_view name, double value) {
  const int i = Index(name);
  return i > 0 && sqlite3_bind_double(stmt_, i, value) == SQLITE_OK;
}

bool Statement::BindText(std::string_view name, std::string_view value) {
  const int i = Index(name);
  return i > 0 && sqlite3_bind_text64(stmt_, i, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8) ==
                      SQLITE_OK;
}

Database::~Database() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
}

namespace {

// The "file:" URI of an absolute path, every byte outside letters, digits
// and "/-._~" percent-encoded.
std::string FileUri(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (std::isalnum(c) != 0 || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

}  // namespace

int Database::Open(const std::filesystem::path& path, bool writable, bool create) {
  // An absolute name, so that a file called ":memory:" or "file:x" is never
  // taken for one of SQLite's special names.
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  std::string name = (ec ? path : absolute).string();
  int flags = writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
  if (create) flags |= SQLITE_OPEN_CREATE;
  flags |= SQLITE_OPEN_NOMUTEX;
  if (!writable) {
    name = FileUri(name) + "?mode=ro&immutable=1";
    flags |= SQLITE_OPEN_URI;
  }
  const int rc = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
  if (db_ != nullptr) {
    sqlite3_extended_result_codes(db_, 1);
    // A file from elsewhere may carry a hostile schema: refuse writes to the
    // schema tables and functions with side effects in schema expressions.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
#ifdef SQLITE_DBCONFIG_TRUSTED_SCHEMA
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
#endif
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
  }
  return rc;
}

int Database::Close() {
  if (db_ == nullptr) return SQLITE_OK;
  const int rc = sqlite3_close(db_);
  if (rc == SQLITE_OK) db_ = nullptr;
  return rc;
}

std::string Database::Message() const {
  return db_ != nullptr ? std::string(sqlite3_errmsg(db_)) : std::string("out of memory");
}

int Database::Prepare(std::string_view sql, Statement& statement) {
  return sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), statement.out(), nullptr);
}

int Database::Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

std::string QuoteName(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x < 0x80 && y < 0x80) {
      if (std::tolower(x) != std::tolower(y)) return false;
    } else if (x != y) {
      return false;
    }
  }
  return true;
}

int TableLayout::IndexOf(std::string_view name) const {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (SameName(columns[i], name)) return static_cast<int>(i);
  }
  return -1;
}

bool TableLayout::IsOld() const { return columns.size() <= static_cast<std::size_t>(kOldTableColumnLimit); }

DesignFileStatus ReadError(int rc, const Database& db) {
  switch (rc & 0xff) {
    case SQLITE_CORRUPT:
      return {DesignFileError::Damaged, "the file is damaged (" + db.Message() + ")"};
    case SQLITE_TOOBIG:
      return {DesignFileError::Damaged, "the file is damaged (a value is longer than " +
                                            std::to_string(kMaxDesignFileTextBytes) + " bytes)"};
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_EMPTY:
    case SQLITE_RANGE:
    case SQLITE_MISMATCH:
    case SQLITE_ERROR:
      return {DesignFileError::NotADesignFile, "not a design file (" + db.Message() + ")"};
    case SQLITE_NOMEM:
      return {DesignFileError::ReadFailed, "the file could not be read (not enough memory)"};
    default:
      return {DesignFileError::ReadFailed, "the file could not be read (" + db.Message() + ")"};
  }
}

namespace {

bool StartsWithWord(std::string_view text, std::string_view word) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
  return SameName(text.substr(i, word.size()), word);
}

}  // namespace

DesignFileStatus InspectDataTable(Database& db, TableLayout& layout) {
  layout = {};
  {
    Statement find;
    int rc = db.Prepare("SELECT type, sql FROM sqlite_master WHERE name = :name COLLATE NOCASE", find);
    if (rc != SQLITE_OK) return ReadError(rc, db);
    if (!find.BindText(":name", kDataTable)) return ReadError(SQLITE_ERROR, db);
    rc = sqlite3_step(find.get());
    if (rc == SQLITE_DONE) return {DesignFileError::TableMissing, "table DATA missing"};
    if (rc != SQLITE_ROW) return ReadError(rc, db);
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
    const auto* sql = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 1));
    if (type == nullptr || std::string_view(type) != "table" ||
        (sql != nullptr && StartsWithWord(sql, "CREATE VIRTUAL"))) {
      return {DesignFileError::TableMissing, "table DATA missing (DATA is not an ordinary table)"};
    }
  }
  {
    Statement all;
    const int rc = db.Prepare("SELECT * FROM " + QuoteName(kDataTable), all);
    if (rc != SQLITE_OK) return ReadError(rc, db);
    const int n = sqlite3_column_count(all.get());
    for (int i = 0; i < n; ++i) {
      const char* name = sqlite3_column_name(all.get(), i);
      if (name == nullptr)
        return {DesignFileError::ReadFailed, "the file could not be read (not enough memory)"};
      layout.columns.emplace_back(name);
    }
  }
  // The row order is the table's rowid, under the first of its three names
  // that no column of the table has taken.
  for (std::string_view alias : {"rowid", "_rowid_", "oid"}) {
    if (layout.IndexOf(alias) < 0) {
      layout.rowOrder = alias;
      break;
    }
  }
  Statement order;
  if (layout.rowOrder.empty() || db.Prepare("SELECT " + layout.rowOrder + " FROM " + QuoteName(kDataTable) +
                                                " ORDER BY " + layout.rowOrder,
                                            order) != SQLITE_OK) {
    return {DesignFileError::NotADesignFile, "not a design file (table DATA has no row order)"};
  }
  return {};
}

std::string_view MissingColumn(const TableLayout& layout) {
  const bool old = layout.IsOld();
  for (const DesignFileColumn& c : DesignFileColumns()) {
    if (MayBeAbsent(c) || (old && c.oldLayout != OldLayout::Required)) continue;
    if (layout.IndexOf(c.name) < 0) return c.name;
  }
  return {};
}

std::vector<const DesignFileColumn*> ColumnsInUse(const TableLayout& layout) {
  std::vector<const DesignFileColumn*> used;
  const bool old = layout.IsOld();
  for (const DesignFileColumn& c : DesignFileColumns()) {
    if (old && c.oldLayout == OldLayout::Skipped) continue;
    if (old && c.oldLayout == OldLayout::IfPresent && layout.IndexOf(c.name) < 0) continue;
    if (MayBeAbsent(c) && layout.IndexOf(c.name) < 0) continue;
    used.push_back(&c);
  }
  return used;
}

}  // namespace vst::designfile_detail
