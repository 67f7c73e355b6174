// The bills with ten designed records: opening the circuit bill and the
// summary bill models, writing the summary's workbook, and one summary bill
// over a 10,000-row line list (the records already designed).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "batch/batch_design.h"
#include "bom/summary_bill.h"
#include "bom/xlsx_export.h"
#include "workspace/bill_models.h"
#include "workspace/stmain_model.h"

namespace {

// Ten circuits of four kinds (strip, jacketed, fillet, channel with
// pre-insulated tubing), designed through the main window's rules.
const std::array<vst::DesignRecord, vst::DesignSet::kRecords>& TenRecords() {
  static const auto records = [] {
    const std::string head =
        "CIRTXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
        "TRACETUB,"
        "TUBEMAT,VALN,FLNO,NOPX,WCTB\n";
    const char* kinds[] = {
        "100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,2,3,1,0",
        "100,0,200,375,Mineral Fiber,1.5,3.0,250,1,50,YJ-2,3/8,Stainless Wld,1,2,0,0",
        "90,-10,150,375,Calcium Silicate,1.0,1,80,1,100,Fillet Trace,3/8,Copper,0,2,0,0",
        "100,-20,250,700,Calcium Silicate,2.0,6.0,300,2,150,Troughline,1/2,Stainless Smls,4,6,1,20"};
    std::string text = head;
    for (int i = 0; i < vst::DesignSet::kRecords; ++i)
      text += "C" + std::to_string(i) + "," + kinds[i % 4] + "\n";
    vst::CsvError error;
    const auto table = vst::ParseCsv(text, error);
    if (!table) throw std::runtime_error(error.message);
    const auto result = vst::DesignLineList(*table, vst::BatchOptions{});
    std::array<vst::DesignRecord, vst::DesignSet::kRecords> out{};
    for (std::size_t i = 0; i < out.size() && i < result.circuits.size(); ++i)
      out[i] = result.circuits[i].record;
    if (!out[9].HoldsDesign()) throw std::runtime_error("the benchmark circuits did not design");
    return out;
  }();
  return records;
}

class Silent : public vst::Dialogs {
 public:
  vst::MsgAnswer message(const vst::Message&) override { return vst::MsgAnswer::Ok; }
  std::optional<vst::PipeFormAnswer> pipeForm(const vst::PipeFormSetup&) override { return std::nullopt; }
  std::optional<vst::ShoeFormAnswer> shoeForm(const vst::ShoeFormSetup&) override { return std::nullopt; }
  std::optional<std::string> openFileName(const vst::FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> saveFileName(const vst::FileDialogSpec&) override { return std::nullopt; }
};

void BM_OpenCircuitBill(benchmark::State& state) {
  Silent dialogs;
  vst::STmainModel main(vst::UnitSystem::English, vst::PressureUnit::Psig, dialogs, '.');
  main.applyOpenedSet(TenRecords(), false);
  for (auto _ : state) {
    vst::CktBillModel bill(main, 0);
    benchmark::DoNotOptimize(bill.billRows().data());
  }
}
BENCHMARK(BM_OpenCircuitBill)->Unit(benchmark::kMicrosecond);

vst::DesignSet TenSet() {
  vst::DesignSet set;
  set.records = TenRecords();
  return set;
}

void BM_OpenSummaryBill(benchmark::State& state) {
  const vst::DesignSet set = TenSet();
  for (auto _ : state) {
    vst::BillModel bill(set);
    benchmark::DoNotOptimize(bill.rows().data());
  }
}
BENCHMARK(BM_OpenSummaryBill)->Unit(benchmark::kMicrosecond);

void BM_ExportSummaryWorkbook(benchmark::State& state) {
  const vst::BillModel bill(TenSet());
  const auto grid = vst::GridOf(bill.rows());
  const auto path = std::filesystem::temp_directory_path() / "vst_bills_bench.xlsx";
  for (auto _ : state) {
    const std::string problem =
        vst::ExportGridToSpreadsheet(grid, static_cast<int>(grid.size()), 3, 1, "Summary BOM", path.string());
    if (!problem.empty()) state.SkipWithError(problem.c_str());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ExportSummaryWorkbook)->Unit(benchmark::kMillisecond);

void BM_SummaryOf10000Rows(benchmark::State& state) {
  const auto& records = TenRecords();
  for (auto _ : state) {
    vst::SummaryBill bill(vst::UnitSystem::English);
    for (int i = 0; i < 10000; ++i) bill.add(records[static_cast<std::size_t>(i % 10)]);
    benchmark::DoNotOptimize(bill.rows().data());
  }
}
BENCHMARK(BM_SummaryOf10000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
