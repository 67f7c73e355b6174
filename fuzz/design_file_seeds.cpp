// design_file_seeds <folder>: writes the starting corpus of the design file
// fuzzer: the template, saved sets in both modes, a file of the older layout
// and one whose columns hold every kind of value.
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "designfile/design_file.h"
#include "designfile/design_file_columns.h"

namespace fs = std::filesystem;

namespace {

bool Exec(const fs::path& db, const std::string& sql) {
  sqlite3* handle = nullptr;
  bool ok = sqlite3_open(db.c_str(), &handle) == SQLITE_OK &&
            sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(handle);
  return ok;
}

std::string Columns(bool olderLayout) {
  std::string list;
  for (const vst::DesignFileColumn& c : vst::DesignFileColumns()) {
    if (olderLayout && c.oldLayout != vst::OldLayout::Required) continue;
    list += (list.empty() ? "\"" : ", \"") + std::string(c.name) + "\"";
  }
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const fs::path folder = argv[1];
  fs::create_directories(folder);
  const fs::path templatePath = vst::TemplatePath(folder);
  if (!vst::CreateDesignTemplate(templatePath).ok()) return 1;

  vst::DesignRecords records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    auto& r = records[i];
    r.MAXAMB = 37.8f;
    r.MINAMB = -17.8f;
    r.STEAMPRS = 3.45f;
    r.PIPELN = 30.5f;
    r.COND = 0.1234f;
    r.TRACEINS = static_cast<int>(i % 5);
    r.CIRTXT = "C-" + std::to_string(i);
    r.TSIZ = i < 3 ? "1/2'' O.D." : "";
  }
  bool ok = vst::WriteDesignFile(folder / "standard.mdb", templatePath, records, false, vst::UnitSystem::English).ok() &&
            vst::WriteDesignFile(folder / "internal.mdb", templatePath, records, true, vst::UnitSystem::English).ok() &&
            vst::WriteDesignFile(folder / "older.mdb", templatePath, records, false, vst::UnitSystem::English).ok() &&
            vst::WriteDesignFile(folder / "values.mdb", templatePath, records, false, vst::UnitSystem::English).ok();
  ok = ok && Exec(folder / "older.mdb",
                  "CREATE TABLE D2 AS SELECT " + Columns(true) +
                      " FROM DATA ORDER BY rowid; DROP TABLE DATA; ALTER TABLE D2 RENAME TO DATA");
  ok = ok &&
       Exec(folder / "values.mdb",
            "UPDATE DATA SET PIPELN = NULL WHERE rowid = 1; UPDATE DATA SET COND = '0,5' WHERE rowid = 2;"
            "UPDATE DATA SET INSTHK = 2.7 WHERE rowid = 3; UPDATE DATA SET CIRTXT = x'00ff' WHERE rowid = 4;"
            "UPDATE DATA SET TP2 = ' 12 ' WHERE rowid = 5; UPDATE DATA SET WtraceVersion = ' T' WHERE rowid "
            "= 1");
  if (!ok) {
    std::fprintf(stderr, "design_file_seeds: could not write the corpus in %s\n", argv[1]);
    return 1;
  }
  return 0;
}
