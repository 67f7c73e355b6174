// Reading a plant's line list of 100,000 rows kept as an .xlsx workbook
// (written by libxlsxwriter, numbers as number cells): opening the
// workbook, its headings and every row, as the command reads it. The
// counter peak_rss_mb is the process's peak resident memory after the
// reads (a child process writes the workbooks).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "batch/xlsx_list.h"

namespace {

constexpr int kRows = 100000;

// The list of the line list benchmark's services, as a workbook headed with
// the main window's captions.
// With shared strings (as the spreadsheet program saves a workbook) or
// with every text inline in the sheet (as streaming writers do).
std::string PlantWorkbook(bool inlineStrings) {
  // Written by a child process, so the peak memory is the reader's alone.
  const pid_t child = fork();
  if (child > 0) {
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
    return (std::filesystem::temp_directory_path() /
            ("vst_workbook_bench_" + std::to_string(::getpid()) + ".xlsx"))
        .string();
  }
  {
    const auto file = std::filesystem::temp_directory_path() /
                      ("vst_workbook_bench_" + std::to_string(::getppid()) + ".xlsx");
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(file.c_str(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Line List");
    const char* headings[] = {"Circuit No.",
                              "Line No.",
                              "Max. Ambient",
                              "Min. Ambient",
                              "Maint. Temp.",
                              "Steam Out / Max. Process Temp.",
                              "Insulation",
                              "Insulation Thickness",
                              "Pipe Size",
                              "Pipe Length",
                              "Number of Passes",
                              "Steam Pressure",
                              "Tracer Installation",
                              "Tracer Tubing",
                              "Tracer Tubing Material",
                              "ALLOWANCE",
                              "VALN",
                              "FLNO",
                              "NOPX",
                              "WCTB",
                              "SHOES"};
    for (lxw_col_t c = 0; c < std::size(headings); ++c)
      worksheet_write_string(ws, 0, c, headings[c], nullptr);
    const char* insulation[] = {"Fiberglass", "Mineral Fiber", "Calcium Silicate", "Calcium Silicate"};
    const char* tracing[] = {"Troughline", "Troughline", "Fillet Trace", "YJ-2"};
    const double sizes[] = {1, 1.5, 2, 3, 4, 6, 8, 10, 12};
    std::mt19937 random(11);
    for (lxw_row_t r = 1; r <= kRows; ++r) {
      const unsigned s = random() % 4;
      const std::string circuit = "ST-" + std::to_string(r), line = "L-" + std::to_string(r);
      worksheet_write_string(ws, r, 0, circuit.c_str(), nullptr);
      worksheet_write_string(ws, r, 1, line.c_str(), nullptr);
      const double numbers[] = {95, 5, 50.0 + 50 * s, 375};
      for (lxw_col_t c = 0; c < 4; ++c) worksheet_write_number(ws, r, 2 + c, numbers[c], nullptr);
      worksheet_write_string(ws, r, 6, insulation[s], nullptr);
      worksheet_write_number(ws, r, 7, s < 2 ? 1.0 + 0.5 * s : 2.0, nullptr);
      worksheet_write_number(ws, r, 8, sizes[random() % 9], nullptr);
      worksheet_write_number(ws, r, 9, 20 + random() % 380, nullptr);
      worksheet_write_number(ws, r, 10, 1, nullptr);
      worksheet_write_number(ws, r, 11, s < 2 ? 50 : 150, nullptr);
      worksheet_write_string(ws, r, 12, tracing[s], nullptr);
      worksheet_write_string(ws, r, 13, "3/8", nullptr);
      worksheet_write_string(ws, r, 14, "Stainless Wld", nullptr);
      worksheet_write_string(ws, r, 15, "No", nullptr);
      worksheet_write_number(ws, r, 16, random() % 5, nullptr);
      worksheet_write_number(ws, r, 17, random() % 7, nullptr);
      worksheet_write_number(ws, r, 18, 0, nullptr);
      worksheet_write_number(ws, r, 19, 0, nullptr);
      worksheet_write_string(ws, r, 20, "12x4", nullptr);
    }
    _exit(workbook_close(wb) == LXW_NO_ERROR ? 0 : 1);
  }
}

void BM_ReadWorkbookOf100000Rows(benchmark::State& state) {
  const std::string file = PlantWorkbook(state.range(0) != 0);
  std::size_t rows = 0;
  for (auto _ : state) {
    vst::XlsxListReader reader;
    std::vector<std::string> header;
    if (!reader.open(file, {}) || !reader.readHeader(header)) state.SkipWithError(reader.error().c_str());
    vst::CsvRow row;
    rows = 0;
    while (reader.next(row)) ++rows;
    benchmark::DoNotOptimize(row);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  if (!std::getenv("VST_KEEP_WORKBOOK")) std::filesystem::remove(file);
}
BENCHMARK(BM_ReadWorkbookOf100000Rows)
    ->ArgName("inline_strings")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
