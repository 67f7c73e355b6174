// libFuzzer target: any bytes as a design file. Opening must never crash,
// must return the records passed in when it fails, must never accept a file
// that SQLite's own quick_check calls damaged, and a file it accepts must
// survive a save and a second opening unchanged.
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <variant>

#include "core/legacy_math.h"
#include "designfile/design_file.h"

namespace {

namespace fs = std::filesystem;

// The folder of the fuzzer's files, removed when the fuzzer exits. Held
// outside static storage so that it outlives the exit handlers.
const fs::path& Folder() {
  static const fs::path* folder = [] {
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "vst-design-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) abort();
    const auto* made = new fs::path(pattern);
    if (!vst::CreateDesignTemplate(vst::TemplatePath(*made)).ok()) abort();
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(Folder(), ec);
    });
    return made;
  }();
  return *folder;
}

// Records the caller holds before opening, with values of their own.
vst::DesignRecords Current() {
  vst::DesignRecords records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].UNDER = 1;
    records[i].TBAND = 12.5f + static_cast<float>(i);
    records[i].TUBEMAT = 2;
    records[i].CIRTXT = "held";
    records[i].ShoeAllowance = 3;
  }
  return records;
}

bool AllFinite(const vst::DesignRecords& records) {
  for (const auto& r : records) {
    for (const vst::FieldInfo& f : vst::RecordFields()) {
      if (const auto* m = std::get_if<float vst::DesignRecord::*>(&f.member); m && !std::isfinite(r.**m))
        return false;
    }
  }
  return true;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// SQLite's verdict on the file, asked on a connection of its own.
bool QuickCheckSaysOk(const fs::path& file) {
  sqlite3* db = nullptr;
  bool ok = false;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* check = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
      ok = text != nullptr && std::string(text) == "ok" && sqlite3_step(check) == SQLITE_DONE;
    }
    sqlite3_finalize(check);
  }
  sqlite3_close(db);
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path file = Folder() / "input.mdb";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  static const vst::DesignRecords current = Current();
  const vst::DesignFileContents opened = vst::ReadDesignFile(file, current);
  if (!opened.ok()) {
    Check(opened.records == current);
    Check(!opened.status.reason.empty());
  } else {
    Check(QuickCheckSaysOk(file));
    Check(AllFinite(opened.records));
    // What was read is saved and read again: the same records come back
    // (the condensate load as its three-decimal text reads).
    const fs::path saved = Folder() / "saved.mdb";
    const vst::DesignFileStatus status =
        vst::WriteDesignFile(saved, vst::TemplatePath(Folder()), opened.records, opened.internalMode,
                             opened.units.value_or(vst::UnitSystem::English));
    Check(status.ok());
    const vst::DesignFileContents again = vst::ReadDesignFile(saved, current);
    Check(again.ok());
    Check(again.internalMode == opened.internalMode);
    Check(again.units == opened.units.value_or(vst::UnitSystem::English));
    vst::DesignRecords expected = opened.records;
    for (auto& r : expected) r.COND = *vst::ParseSingle(vst::FixedText(r.COND, 3));
    Check(again.records == expected);
  }
  std::error_code ec;
  for (const char* suffix : {"-journal", "-wal", "-shm"}) fs::remove(file.string() + suffix, ec);
  return 0;
}
