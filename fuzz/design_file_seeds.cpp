// design_file_seeds <folder>: writes the starting corpus of the design file
// fuzzer: the template, saved sets in both modes and both unit systems, a
// file of the older layout, one whose columns hold every kind of value, and
// truncated and bit-flipped copies of them (the damage a disk or a copy
// does).
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Write(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

// Copies of a real file cut at several lengths and with single bits
// inverted at places spread over the header, the page headers and the
// records.
bool WriteDamagedCopies(const fs::path& folder, const std::string& name) {
  const std::string bytes = Bytes(folder / name);
  if (bytes.size() < 1024) return false;
  bool ok = true;
  const std::vector<std::size_t> cuts = {
      100, 1000, bytes.size() / 2, bytes.size() * 3 / 4, bytes.size() - 192, bytes.size() - 1};
  for (std::size_t cut : cuts)
    ok = ok && Write(folder / (name + ".cut" + std::to_string(cut)), bytes.substr(0, cut));
  const std::vector<std::size_t> flips = {
      18, 28, 56, 68, 100, 105, 4096, 4099, 4105, bytes.size() / 2, bytes.size() - 300, bytes.size() - 20};
  int bit = 0;
  for (std::size_t at : flips) {
    if (at >= bytes.size()) continue;
    std::string flipped = bytes;
    flipped[at] = static_cast<char>(flipped[at] ^ (1 << (bit++ % 8)));
    ok = ok && Write(folder / (name + ".flip" + std::to_string(at)), flipped);
  }
  return ok;
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
  bool ok =
      vst::WriteDesignFile(folder / "standard.mdb", templatePath, records, false, vst::UnitSystem::English)
          .ok() &&
      vst::WriteDesignFile(folder / "internal.mdb", templatePath, records, true, vst::UnitSystem::English)
          .ok() &&
      vst::WriteDesignFile(folder / "older.mdb", templatePath, records, false, vst::UnitSystem::English)
          .ok() &&
      vst::WriteDesignFile(folder / "values.mdb", templatePath, records, false, vst::UnitSystem::English)
          .ok() &&
      vst::WriteDesignFile(folder / "metric.mdb", templatePath, records, false, vst::UnitSystem::Metric).ok();
  // A set holding a heat-up design, saved with the heat-up columns.
  vst::DesignRecords heatUp = records;
  heatUp[1].APPTYPE = vst::kApplicationHeatUp;
  heatUp[1].HeatUpProduct = 40;
  heatUp[1].HeatUpInitialTemp = "40";
  heatUp[1].HeatUpFinalTemp = "150";
  heatUp[1].HeatUpPhaseChange = true;
  heatUp[1].HeatUpPhaseChangeTemp = "100";
  heatUp[1].HeatUpTime = 0.55f;
  ok = ok &&
       vst::WriteDesignFile(folder / "heat_up.mdb", templatePath, heatUp, false, vst::UnitSystem::English)
           .ok();
  ok = ok && Exec(folder / "older.mdb",
                  "CREATE TABLE D2 AS SELECT " + Columns(true) +
                      " FROM DATA ORDER BY rowid; DROP TABLE DATA; ALTER TABLE D2 RENAME TO DATA");
  ok = ok &&
       Exec(folder / "values.mdb",
            "UPDATE DATA SET PIPELN = NULL WHERE rowid = 1; UPDATE DATA SET COND = '0,5' WHERE rowid = 2;"
            "UPDATE DATA SET INSTHK = 2.7 WHERE rowid = 3; UPDATE DATA SET CIRTXT = x'00ff' WHERE rowid = 4;"
            "UPDATE DATA SET TP2 = ' 12 ' WHERE rowid = 5; UPDATE DATA SET WtraceVersion = ' T' WHERE rowid "
            "= 1");
  for (const char* name :
       {"standard.mdb", "internal.mdb", "older.mdb", "values.mdb", "metric.mdb", "heat_up.mdb"})
    ok = ok && WriteDamagedCopies(folder, name);
  if (!ok) {
    std::fprintf(stderr, "design_file_seeds: could not write the corpus in %s\n", argv[1]);
    return 1;
  }
  return 0;
}
