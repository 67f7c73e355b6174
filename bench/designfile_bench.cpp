// Time of saving and of opening a design file holding ten designed records,
// in a temporary folder on the disk that /tmp lies on. A save includes its
// two flushes to disk (file and folder).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "designfile/design_file.h"

namespace {

namespace fs = std::filesystem;

vst::DesignRecords DesignedSet() {
  vst::DesignRecords records;
  for (int i = 0; i < vst::DesignSet::kRecords; ++i) {
    vst::DesignRecord& r = records[static_cast<std::size_t>(i)];
    r.MAXAMB = 100.0f + static_cast<float>(i);
    r.MINAMB = -17.8f;
    r.MAINTEMP = 101.7f;
    r.MAXEXP = 300;
    r.INSTHK = 2;
    r.INSTYPE = 3;
    r.PIPESIZE = 7;
    r.PIPELN = 30.5f;
    r.STEAMPRS = 3.45f;
    r.TRACEINS = 1;
    r.CIRTXT = "C-10" + std::to_string(i);
    r.PIPETXT = "4\"-ST-100" + std::to_string(i);
    r.UNDER = 1;
    r.PRESSURE = 2;
    r.TP2 = 131.7803f;
    r.TP1 = 104.4f;
    r.LSWO = 38.6f;
    r.COND = 0.1234f;
    r.TLEN = 118.25f;
    r.CEM = "K-30";
    r.TSIZ = "1/2'' O.D.";
    r.BAND = "SS-075";
    r.COVR = "YJ-1";
  }
  return records;
}

struct Folder {
  fs::path path;
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "vst-designfile-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path = pattern;
    if (!vst::CreateDesignTemplate(vst::TemplatePath(path)).ok()) throw std::runtime_error("template");
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

void BM_SaveDesignSet(benchmark::State& state) {
  Folder folder;
  const vst::DesignRecords records = DesignedSet();
  const fs::path target = folder.path / "plant.mdb";
  for (auto _ : state) {
    const vst::DesignFileStatus status = vst::WriteDesignFile(target, vst::TemplatePath(folder.path), records,
                                                              false, vst::UnitSystem::English);
    if (!status.ok()) state.SkipWithError(status.reason.c_str());
  }
}

void BM_OpenDesignSet(benchmark::State& state) {
  Folder folder;
  const vst::DesignRecords records = DesignedSet();
  const fs::path target = folder.path / "plant.mdb";
  if (!vst::WriteDesignFile(target, vst::TemplatePath(folder.path), records, false, vst::UnitSystem::English)
           .ok()) {
    state.SkipWithError("save");
    return;
  }
  for (auto _ : state) {
    vst::DesignFileContents contents = vst::ReadDesignFile(target, records);
    if (!contents.ok()) state.SkipWithError(contents.status.reason.c_str());
    benchmark::DoNotOptimize(contents);
  }
}

BENCHMARK(BM_SaveDesignSet)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenDesignSet)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
