// The Line List window with a plant's list of 10,000 rows: "Design all" from
// the press to the last result in the table (wall time), with the longest
// time the window's thread went without turning its event loop while the
// results arrived (a 1 ms timer; the counter max_stall_ms is the longest gap
// between two of its firings); then scrolling the
// finished table a page at a time, each page drawn. The window runs on Qt's
// offscreen platform unless another one is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <random>

#include "support/script_dialogs.h"
#include "ui/line_list_window.h"

namespace {

// A plant's list: four services over the usual pipe sizes and lengths.
std::string PlantList(int rows) {
  std::string text =
      "CIRTXT,PIPETXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
      "TRACETUB,TUBEMAT,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES\n";
  struct Service {
    int maint, steam;
    const char *insulation, *thickness, *tracing;
  };
  const Service services[] = {{50, 50, "Fiberglass", "1.0", "Troughline"},
                              {100, 50, "Mineral Fiber", "1.5", "Troughline"},
                              {150, 150, "Calcium Silicate", "2.0", "Fillet Trace"},
                              {200, 150, "Calcium Silicate", "2.0", "YJ-2"}};
  const char* sizes[] = {"1.0", "1.5", "2.0", "3.0", "4.0", "6.0", "8.0", "10.0", "12.0"};
  std::mt19937 random(11);
  for (int i = 0; i < rows; ++i) {
    const Service& s = services[random() % 4];
    const char* size = sizes[random() % 9];
    text += "ST-" + std::to_string(i) + ",L-" + std::to_string(i) + ",95,5," + std::to_string(s.maint) +
            ",375," + s.insulation + "," + s.thickness + "," + size + "," +
            std::to_string(20 + random() % 380) + ",1," + std::to_string(s.steam) + "," + s.tracing +
            ",3/8,Stainless Wld,No," + std::to_string(random() % 5) + "," + std::to_string(random() % 7) +
            ",0,0,12x4\n";
  }
  return text;
}

std::unique_ptr<vst::ui::LineList> NewWindow(vst::Dialogs& dialogs, int rows) {
  std::string error;
  auto model = vst::LineListModel::FromText(PlantList(rows), {}, "plant.csv", error);
  auto window = std::make_unique<vst::ui::LineList>(std::move(model), dialogs, std::filesystem::path());
  window->resize(1280, 800);
  window->show();
  QApplication::processEvents();
  return window;
}

void BM_DesignAll10000Rows(benchmark::State& state) {
  vst::test::ScriptDialogs dialogs;
  double longestStall = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto window = NewWindow(dialogs, 10000);
    QSignalSpy done(window.get(), &vst::ui::LineList::designFinished);
    QElapsedTimer gap;
    double stall = 0;
    QTimer turn;
    // Every millisecond: a spinning zero timer would take a core from the
    // designing threads.
    turn.setTimerType(Qt::PreciseTimer);
    turn.setInterval(1);
    QObject::connect(&turn, &QTimer::timeout, [&] {
      stall = std::max(stall, gap.nsecsElapsed() / 1e6);
      gap.restart();
    });
    state.ResumeTiming();
    gap.start();
    turn.start();
    window->designAll();
    while (done.isEmpty()) QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    state.PauseTiming();
    turn.stop();
    longestStall = std::max(longestStall, stall);
    window->model().join();
    window.reset();
    state.ResumeTiming();
  }
  state.counters["max_stall_ms"] = longestStall;
  state.counters["rows_per_s"] =
      benchmark::Counter(10000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DesignAll10000Rows)->Unit(benchmark::kMillisecond)->UseRealTime();

// One page of the finished table scrolled and drawn.
void BM_ScrollDesignedTable(benchmark::State& state) {
  vst::test::ScriptDialogs dialogs;
  auto window = NewWindow(dialogs, 10000);
  QSignalSpy done(window.get(), &vst::ui::LineList::designFinished);
  window->designAll();
  while (done.isEmpty()) QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  QScrollBar* bar = window->table()->verticalScrollBar();
  int page = 0;
  for (auto _ : state) {
    bar->setValue((page++ * bar->pageStep()) % std::max(1, bar->maximum()));
    window->table()->viewport()->repaint();
  }
  window->model().join();
}
BENCHMARK(BM_ScrollDesignedTable)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
