// The checksum of a design file's records: one hash over every value of
// table DATA, kept in the small table DATACHECK beside it and written in the
// same transaction as the rows. The columns are taken from the table as it
// is, in its own order, so a file with columns added by a later version is
// summed and checked in the same way.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "designfile/sqlite_db.h"

namespace vst::designfile_detail {

namespace {

// FNV-1a, 64 bits: changing any one byte of the input always changes it.
class Hash {
 public:
  void add(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) value_ = (value_ ^ p[i]) * 1099511628211ull;
  }
  void addNumber(std::uint64_t v) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(v >> (56 - 8 * i));
    add(bytes, sizeof bytes);
  }
  std::string text() const {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(value_));
    return hex;
  }

 private:
  std::uint64_t value_ = 14695981039346656037ull;
};

// Adds one value: its storage class, then its bytes (numbers in a fixed
// byte order, texts and blobs with their length).
void AddValue(Hash& hash, sqlite3_stmt* row, int col) {
  const int type = sqlite3_column_type(row, col);
  const unsigned char tag = static_cast<unsigned char>(type);
  hash.add(&tag, 1);
  switch (type) {
    case SQLITE_INTEGER:
      hash.addNumber(static_cast<std::uint64_t>(sqlite3_column_int64(row, col)));
      break;
    case SQLITE_FLOAT: {
      const double d = sqlite3_column_double(row, col);
      std::uint64_t bits = 0;
      std::memcpy(&bits, &d, sizeof bits);
      hash.addNumber(bits);
      break;
    }
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const void* p = type == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(row, col))
                                          : sqlite3_column_blob(row, col);
      const int n = sqlite3_column_bytes(row, col);
      hash.addNumber(static_cast<std::uint64_t>(n));
      if (p != nullptr && n > 0) hash.add(p, static_cast<std::size_t>(n));
      break;
    }
    default:
      break;
  }
}

}  // namespace

int DataChecksum(Database& db, const TableLayout& layout, std::string& sum) {
  Statement all;
  int rc = db.Prepare(
      "SELECT " + layout.rowOrder + ", * FROM " + QuoteName(kDataTable) + " ORDER BY " + layout.rowOrder,
      all);
  if (rc != SQLITE_OK) return rc;
  Hash hash;
  const int columns = sqlite3_column_count(all.get());
  while ((rc = sqlite3_step(all.get())) == SQLITE_ROW) {
    hash.addNumber(static_cast<std::uint64_t>(sqlite3_column_int64(all.get(), 0)));
    for (int c = 1; c < columns; ++c) {
      const char* name = sqlite3_column_name(all.get(), c);
      if (name != nullptr) hash.add(name, std::strlen(name) + 1);
      AddValue(hash, all.get(), c);
    }
  }
  if (rc != SQLITE_DONE) return rc;
  sum = hash.text();
  return SQLITE_OK;
}

int WriteDataChecksum(Database& db, const TableLayout& layout) {
  const std::string table = QuoteName(kChecksumTable);
  std::string sql = "CREATE TABLE IF NOT EXISTS " + table + " (METHOD TEXT, SUM TEXT); DELETE FROM " + table;
  int rc = db.Exec(sql.c_str());
  std::string sum;
  if (rc == SQLITE_OK) rc = DataChecksum(db, layout, sum);
  if (rc != SQLITE_OK) return rc;
  Statement insert;
  rc = db.Prepare("INSERT INTO " + table + " (METHOD, SUM) VALUES (:method, :sum)", insert);
  if (rc != SQLITE_OK) return rc;
  if (!insert.BindText(":method", kChecksumMethod) || !insert.BindText(":sum", sum)) return SQLITE_ERROR;
  rc = sqlite3_step(insert.get());
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

DesignFileStatus CheckDataChecksum(Database& db, const TableLayout& layout) {
  const DesignFileStatus changed{DesignFileError::Damaged,
                                 "it was changed outside Vantrel ST or damaged (its records do not match the "
                                 "checksum saved with them)"};
  {
    Statement find;
    int rc = db.Prepare("SELECT type FROM sqlite_master WHERE name = :name COLLATE NOCASE", find);
    if (rc != SQLITE_OK || !find.BindText(":name", kChecksumTable)) return ReadError(rc, db);
    rc = sqlite3_step(find.get());
    // Files of earlier versions and of other programs carry none.
    if (rc == SQLITE_DONE) return {};
    if (rc != SQLITE_ROW) return ReadError(rc, db);
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
    if (type == nullptr || std::string_view(type) != "table") return changed;
  }
  Statement saved;
  if (db.Prepare("SELECT METHOD, SUM FROM " + QuoteName(kChecksumTable), saved) != SQLITE_OK) return changed;
  if (sqlite3_step(saved.get()) != SQLITE_ROW) return changed;
  const auto* method = reinterpret_cast<const char*>(sqlite3_column_text(saved.get(), 0));
  const auto* savedSum = reinterpret_cast<const char*>(sqlite3_column_text(saved.get(), 1));
  if (method == nullptr || savedSum == nullptr || std::string_view(method) != kChecksumMethod) return changed;
  const std::string expected = savedSum;
  if (sqlite3_step(saved.get()) != SQLITE_DONE) return changed;  // one row only
  std::string sum;
  if (const int rc = DataChecksum(db, layout, sum); rc != SQLITE_OK) return ReadError(rc, db);
  return sum == expected ? DesignFileStatus{} : changed;
}

}  // namespace vst::designfile_detail
