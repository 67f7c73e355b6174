#include "design_file_support.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "core/legacy_math.h"
#include "designfile/design_file_columns.h"

namespace vst::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "vst-designfile-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // A test may leave a folder without write permission behind.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  for (const auto& entry : fs::recursive_directory_iterator(path_, ec)) {
    if (entry.is_directory(ec))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

std::vector<std::string> TempFolder::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Sql(const fs::path& db, const std::string& sql) {
  sqlite3* handle = nullptr;
  std::string message;
  if (sqlite3_open(db.c_str(), &handle) != SQLITE_OK) {
    message = handle != nullptr ? sqlite3_errmsg(handle) : "cannot open";
  } else {
    char* error = nullptr;
    if (sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      message = error != nullptr ? error : "error";
    }
    sqlite3_free(error);
  }
  sqlite3_close(handle);
  return message;
}

std::string SqlByAnotherProgram(const fs::path& db, const std::string& sql) {
  return Sql(db, "DROP TABLE IF EXISTS DATACHECK; " + sql);
}

std::string QueryText(const fs::path& db, const std::string& sql) {
  sqlite3* handle = nullptr;
  std::string result = "<error>";
  if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      result = text != nullptr ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, 0)))
                               : std::string("<null>");
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(handle);
  return result;
}

fs::path MakeTemplate(const fs::path& folder) {
  const fs::path path = TemplatePath(folder);
  const DesignFileStatus status = CreateDesignTemplate(path);
  if (!status.ok()) throw std::runtime_error("template: " + status.reason);
  return path;
}

namespace {

// An English and a Metric design as the window would hold them.
DesignRecord DesignedRecord(UnitSystem units) {
  DesignRecord r;
  const bool metric = units == UnitSystem::Metric;
  r.MAXAMB = metric ? 37.8f : 100.0f;
  r.MINAMB = metric ? -17.8f : 0.0f;
  r.MAINTEMP = metric ? 101.7f : 215.0f;
  r.MAXEXP = metric ? 148.9f : 300.0f;
  r.INSTHK = 2;
  r.INSTYPE = 3;
  r.PIPESIZE = 7;
  r.PIPELN = metric ? 30.5f : 100.0f;
  r.NUMPASS = 1;
  r.STEAMPRS = metric ? 3.45f : 50.0f;
  r.TRACETUB = 1;
  r.TRACEINS = 4;
  r.CIRTXT = metric ? "C-101" : "100-A";
  r.PIPETXT = metric ? "L 6\" 'Süd'" : "4\"-ST-1001";
  r.VALN = 2;
  r.FLNO = 4;
  r.NOPX = 1;
  r.WCTB = metric ? 1.5f : 5.0f;
  r.UNDER = 1;
  r.PRESSURE = metric ? 2 : 0;
  r.TBAND = metric ? 12.2f : 40.0f;
  r.TP2 = metric ? 131.7803f : 269.1f;
  r.TP1 = metric ? 104.4f : 219.9f;
  r.LSWO = metric ? 38.6f : 40.15f;
  r.COND = 0.1234f;
  r.INSIZE = metric ? 114.3f : 4.5f;
  r.TLEN = metric ? 35.9f : 118.0f;
  r.TDX = metric ? 45.7f : 150.0f;
  r.VTR = metric ? 4.3f : 14.0f;
  r.SLEN = 18.5f;
  r.TST = 26;
  r.CEM = "K-30";
  r.ACEM = 3;
  r.CEM1 = " ";
  r.ACEM1 = 0.5f;
  r.ACHAN = 25;
  r.ABAND = 2;
  r.UNION = 3;
  r.CHAN = "CH-10";
  r.TSIZ = metric ? "12 mm O.D." : "1/2'' O.D.";
  r.BAND = "SS-075";
  r.CRS = 4;
  r.FRST = 1;
  r.FAK = 2;
  r.MACO = 6;
  r.SSFLAG = 2;
  r.COVR = "YJ-1";
  r.TUBEMAT = 1;
  r.TUBEWALL = 2;
  r.APPTYPE = 3;
  return r;
}

// Gives every file field of a record a value of its own, so that a field read
// into the wrong place or from the wrong row shows.
void Vary(DesignRecord& r, int index) {
  int k = 0;
  for (const FieldInfo& f : RecordFields()) {
    ++k;
    if (!f.inFile) continue;
    std::visit(
        [&](auto member) {
          auto& v = r.*member;
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, float>) {
            v = ToSingle(v + static_cast<double>(index) * 0.25 + k * 0.001);
          } else if constexpr (std::is_same_v<T, int>) {
            v = v + index * 3 + k;
          } else if constexpr (std::is_same_v<T, std::string>) {
            v += "#" + std::to_string(index);
          }
        },
        f.member);
  }
}

}  // namespace

DesignRecords SampleRecords(UnitSystem units, int seed) {
  DesignRecords records;
  for (int i = 0; i < DesignSet::kRecords; ++i) {
    DesignRecord& r = records[static_cast<std::size_t>(i)];
    r = DesignedRecord(units);
    if (i > 0 || seed != 0) Vary(r, i + 10 * seed);
    r.HeatUpProduct = 2;
    r.HeatUpInitialTemp = "60";
    r.HeatUpLatentHeat = "12.5";
    r.HeatUpPhaseChangeTemp = "4" + std::to_string(i);
    r.HeatUpPhaseChange = true;
    r.IntermittentExposure = 350;
    r.AllowanceIncluded = 1;
    r.ShoeAllowance = 7.5f + static_cast<float>(i);
    r.ReportPipeSize = 4;
  }
  return records;
}

DesignRecords SampleRecordsWithinLists(UnitSystem units, int seed) {
  DesignRecords records = SampleRecords(units, seed);
  for (DesignRecord& r : records) {
    for (const FieldInfo& f : RecordFields()) {
      const auto range = CodedColumnRange(f.name, false);
      if (!range) continue;
      const int count = range->last - range->first + 1;
      std::visit(
          [&](auto member) {
            auto& v = r.*member;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, int> || std::is_same_v<T, float>) {
              v = static_cast<T>(range->first + std::abs(static_cast<int>(v)) % count);
            }
          },
          f.member);
    }
  }
  return records;
}

DesignRecords ExpectedAfterReopen(const DesignRecords& saved, const DesignRecords& current) {
  DesignRecords expected = current;
  // The heat-up data are in the file only when a record holds a heat-up design.
  const bool heatUp = NeedsHeatUpColumns(saved);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    for (const DesignFileColumn& c : DesignFileColumns()) {
      if (c.field == nullptr || (c.oldLayout == OldLayout::HeatUp && !heatUp)) continue;
      std::visit([&](auto member) { expected[i].*member = saved[i].*member; }, c.field->member);
    }
    expected[i].COND = *ParseSingle(FixedText(saved[i].COND, 3));
  }
  return expected;
}

std::string Differences(const DesignRecords& expected, const DesignRecords& actual) {
  std::ostringstream out;
  std::vector<FieldInfo> fields = RecordFields();
  fields.insert(fields.end(), LaterFileFields().begin(), LaterFileFields().end());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    for (const FieldInfo& f : fields) {
      const bool same =
          std::visit([&](auto member) { return expected[i].*member == actual[i].*member; }, f.member);
      if (!same) {
        out << "record " << i + 1 << " " << f.name << ": expected " << FieldText(expected[i], f).substr(0, 40)
            << ", got " << FieldText(actual[i], f).substr(0, 40) << "\n";
      }
    }
  }
  return out.str();
}

std::string ColumnList(const std::vector<std::string>& without) {
  std::string list;
  for (const DesignFileColumn& c : DesignFileColumns()) {
    if (c.oldLayout == OldLayout::HeatUp) continue;
    if (std::find(without.begin(), without.end(), std::string(c.name)) != without.end()) continue;
    if (!list.empty()) list += ", ";
    list += "\"" + std::string(c.name) + "\"";
  }
  return list;
}

}  // namespace vst::test
