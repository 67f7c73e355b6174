// Time of the reports: the cells of the circuit list of ten designed records
// and of both ratings pages; opening the circuit list and the ratings window
// (built, laid out and drawn once); printing a window into a PDF file. The
// windows run on Qt's offscreen platform unless another one is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <string>

#include "reports/circuit_list.h"
#include "reports/ratings.h"
#include "ui/circ_form_window.h"
#include "ui/qt_dialogs.h"
#include "ui/ratings_window.h"
#include "ui/window_print.h"

namespace {

vst::CircuitListRecords TenDesigned() {
  vst::CircuitListRecords records{};
  for (std::size_t i = 0; i < records.size(); ++i) {
    vst::DesignRecord& r = records[i];
    r.CIRTXT = "C-10" + std::to_string(i);
    r.PIPETXT = "4\"-ST-100" + std::to_string(i);
    r.MAXAMB = 100;
    r.MINAMB = -17.8f;
    r.MAINTEMP = 101.7f;
    r.MAXEXP = 300;
    r.INSTHK = 2;
    r.INSTYPE = 3;
    r.PIPESIZE = 7;
    r.PIPELN = 30.5f;
    r.STEAMPRS = 3.45f;
    r.PRESSURE = 2;
    r.TRACEINS = static_cast<int>(i % 4);
    r.TP2 = 131.7803f;
    r.TP1 = 104.4f;
    r.LSWO = 38.6f;
    r.COND = 0.1234f;
    r.INSIZE = 4;
    r.TLEN = 118.25f;
    r.TDX = 144;
    r.VTR = 7.5f;
    r.CEM = "K-30";
    r.COVR = "YJ-2";
    r.TSIZ = "3/8'' O.D.";
  }
  return records;
}

void BM_CircuitListCells(benchmark::State& state) {
  const auto records = TenDesigned();
  for (auto _ : state) {
    vst::CircuitListModel list(records, vst::UnitSystem::English, true);
    benchmark::DoNotOptimize(list.page().cells[0][1].data());
  }
}
BENCHMARK(BM_CircuitListCells);

void BM_RatingsPages(benchmark::State& state) {
  for (auto _ : state) {
    vst::RatingsModel ratings(vst::UnitSystem::Metric, true);
    ratings.more();
    benchmark::DoNotOptimize(ratings.page().cells[1][1].data());
  }
}
BENCHMARK(BM_RatingsPages);

// The window as a user gets it: built, shown and painted once.
template <typename Window>
void OpenAndDraw(Window& window) {
  window.show();
  QApplication::processEvents();
  benchmark::DoNotOptimize(window.grab().cacheKey());
}

void BM_OpenCircuitList(benchmark::State& state) {
  const auto records = TenDesigned();
  vst::ui::QtDialogs dialogs;
  for (auto _ : state) {
    vst::ui::Circ_Form list(records, vst::UnitSystem::English, true, dialogs);
    OpenAndDraw(list);
  }
}
BENCHMARK(BM_OpenCircuitList)->Unit(benchmark::kMillisecond);

void BM_OpenRatings(benchmark::State& state) {
  vst::ui::QtDialogs dialogs;
  for (auto _ : state) {
    vst::ui::Ratings ratings(vst::UnitSystem::Metric, true, dialogs);
    OpenAndDraw(ratings);
  }
}
BENCHMARK(BM_OpenRatings)->Unit(benchmark::kMillisecond);

void BM_PrintCircuitListToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  vst::ui::QtDialogs dialogs;
  vst::ui::Circ_Form list(TenDesigned(), vst::UnitSystem::English, true, dialogs);
  OpenAndDraw(list);
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("list.pdf")));
    if (!vst::ui::PaintWindowOnPage(list, printer).isEmpty()) state.SkipWithError("printing failed");
  }
}
BENCHMARK(BM_PrintCircuitListToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
