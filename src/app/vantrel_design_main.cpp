// vantrel-design: designs the circuits of a line list with the program's own
// design run, and shows the records of a design file, without a window.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_design.h"
#include "batch/bill_output.h"
#include "batch/csv.h"
#include "batch/report_output.h"
#include "core/legacy_math.h"
#include "core/units.h"
#include "designfile/design_file.h"
#ifdef VST_WITH_PDF
#include "ui/page_painter.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: vantrel-design design INPUT.csv [--units english|metric] [--mode standard|internal]\n"
    "                      [--pressure-unit psig|kpa|barg] [--sizing standard|minimal]\n"
    "                      [--format csv|json] [-o OUTPUT] [--save FILE.mdb]\n"
    "                      [--summary OUT.xlsx|OUT.csv|OUT.json]\n"
    "       vantrel-design show FILE.mdb [--units english|metric] [--circuit-list] [--format csv|json]\n"
    "                      [-o OUTPUT]\n"
    "       vantrel-design show FILE.mdb --bill N|--summary [--pdf OUT.pdf] [--xlsx OUT.xlsx]\n"
    "                      [--units english|metric] [--format csv|json] [-o OUTPUT]\n"
    "       vantrel-design ratings [--units english|metric] [--mode standard|internal] [--format csv|json]\n"
    "                      [-o OUTPUT]\n"
    "       vantrel-design --help\n"
    "\n"
    "design   designs every row of the line list INPUT.csv (- for standard input) as the main\n"
    "         window would, answering the fittings and shoe dialogs from the row; --save stores\n"
    "         up to ten designed rows into a new design file.\n"
    "         --summary writes one summary bill of materials over every designed row.\n"
    "show     prints the ten records of a design file, with --circuit-list its circuit list (in\n"
    "         the program mode the file was saved in), with --bill N the circuit report and bill\n"
    "         of record N, with --summary the summary bill (--pdf their printout, --xlsx the\n"
    "         workbook). A file saved in the other unit system than --units (english when not\n"
    "         given) is refused.\n"
    "ratings  prints the ratings table of the heat transfer products.\n"
    "Exit status: 0 every row processed, 1 a file could not be read or written, 2 usage error.\n";

int Usage(const std::string& problem) {
  std::cerr << "vantrel-design: " << problem << "\n" << kUsage;
  return 2;
}

bool ReadAll(const std::string& path, std::string& text, std::string& error) {
  if (path == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = path + " is a folder";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool WriteOut(const std::string& path, const std::string& text) {
  if (path.empty() || path == "-") {
    std::cout << text;
    std::cout.flush();
    return static_cast<bool>(std::cout);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    std::cerr << "vantrel-design: cannot write " << path << "\n";
    return false;
  }
  return true;
}

std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << kUsage;
    return 0;
  }
  const std::string verb = args[0];
  if (verb != "design" && verb != "show" && verb != "ratings") return Usage("unknown command " + verb);

  std::string input, output, format = "json", save;
  std::string units = "english", mode = "standard", pressure, sizing = "standard";
  vst::BillShowRequest bills;
  std::string billRecord, summaryFile;
  bool circuitList = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    bool ok = true;
    if (a == "--units")
      ok = value(units);
    else if (a == "--mode")
      ok = value(mode);
    else if (a == "--pressure-unit")
      ok = value(pressure);
    else if (a == "--sizing")
      ok = value(sizing);
    else if (a == "--format")
      ok = value(format);
    else if (a == "-o" || a == "--output")
      ok = value(output);
    else if (a == "--save")
      ok = value(save);
    else if (a == "--bill")
      ok = value(billRecord);
    else if (a == "--summary" && verb == "design")
      ok = value(summaryFile);
    else if (a == "--summary")
      bills.summary = true;
    else if (a == "--pdf")
      ok = value(bills.pdf);
    else if (a == "--xlsx")
      ok = value(bills.xlsx);
    else if (a == "--circuit-list")
      circuitList = true;
    else if (!a.empty() && a[0] == '-' && a != "-")
      return Usage("unknown option " + a);
    else if (input.empty())
      input = a;
    else
      return Usage("more than one input file: " + a);
    if (!ok) return Usage("option " + a + " needs a value");
  }
  if (format != "json" && format != "csv") return Usage("--format must be csv or json");
  if (verb == "ratings" || circuitList) {
    const auto report = vst::RunReportCommand(
        {verb, input, units, mode, format, !pressure.empty() || sizing != "standard" || !save.empty()});
    if (report.status == vst::ReportStatus::UsageError) return Usage(report.error);
    if (report.status == vst::ReportStatus::FileError) {
      std::cerr << "vantrel-design: " << report.error << "\n";
      return 1;
    }
    return WriteOut(output, report.text) ? 0 : 1;
  }
  if (input.empty()) return Usage(verb == "show" ? "no design file given" : "no line list given");

  if (verb == "show") {
    if (mode != "standard" || !pressure.empty() || sizing != "standard" || !save.empty()) {
      return Usage("show takes only --units, --format and -o");
    }
    if (units != "english" && units != "metric") return Usage("--units must be english or metric");
    const vst::UnitSystem running = units == "metric" ? vst::UnitSystem::Metric : vst::UnitSystem::English;
    if (!billRecord.empty()) {
      const auto n = vst::ParseNumber(billRecord);
      if (!n || *n != static_cast<int>(*n) || *n < 1 || *n > 10)
        return Usage("--bill takes a record number 1 to 10");
      bills.record = static_cast<int>(*n);
    }
    if (bills.record != 0 && bills.summary) return Usage("--bill and --summary cannot be given together");
    if ((!bills.pdf.empty() || !bills.xlsx.empty()) && bills.record == 0 && !bills.summary) {
      return Usage("--pdf and --xlsx need --bill N or --summary");
    }
    if (!bills.xlsx.empty() && !bills.summary) return Usage("--xlsx needs --summary");
    vst::DesignRecords none{};
    const auto contents = vst::OpenDesignFile(input, none, running);
    if (!contents.ok()) {
      std::cerr << "vantrel-design: " << input << " could not be opened: " << contents.status.reason;
      if (contents.status.code == vst::DesignFileError::OtherUnits)
        std::cerr << " (--units " << (running == vst::UnitSystem::Metric ? "english" : "metric") << ")";
      std::cerr << "\n";
      return 1;
    }
    if (bills.record != 0 || bills.summary) {
      bills.format = format;
      vst::PdfWriter pdf;
#ifdef VST_WITH_PDF
      pdf = vst::ui::WritePdfWithoutDisplay;
#endif
      const auto shown =
          vst::ShowBills(contents.records, contents.internalMode, bills, pdf, std::time(nullptr));
      if (!shown.error.empty()) {
        std::cerr << "vantrel-design: " << shown.error << "\n";
        return 1;
      }
      return WriteOut(output, shown.text) ? 0 : 1;
    }
    const std::string text = format == "json" ? vst::RecordsJson(contents.records, contents.internalMode)
                                              : vst::RecordsCsv(contents.records);
    return WriteOut(output, text) ? 0 : 1;
  }

  if (!billRecord.empty() || bills.summary || !bills.pdf.empty() || !bills.xlsx.empty()) {
    return Usage("--bill, --pdf and --xlsx belong to show; design takes --summary OUT");
  }
  if (!summaryFile.empty() && !vst::SummaryFileKnown(summaryFile)) {
    return Usage("--summary writes OUT.xlsx, OUT.csv or OUT.json");
  }
  vst::BatchOptions options;
  if (units == "english")
    options.units = vst::UnitSystem::English;
  else if (units == "metric")
    options.units = vst::UnitSystem::Metric;
  else
    return Usage("--units must be english or metric");
  if (mode == "standard")
    options.internalMode = false;
  else if (mode == "internal")
    options.internalMode = true;
  else
    return Usage("--mode must be standard or internal");
  if (sizing == "standard")
    options.insulationSizing = vst::InsulationSizing::Standard;
  else if (sizing == "minimal")
    options.insulationSizing = vst::InsulationSizing::Minimal;
  else
    return Usage("--sizing must be standard or minimal");
  if (pressure.empty()) {
    options.pressureUnit =
        options.units == vst::UnitSystem::Metric ? vst::PressureUnit::BarG : vst::PressureUnit::Psig;
  } else if (pressure == "psig") {
    options.pressureUnit = vst::PressureUnit::Psig;
  } else if (pressure == "kpa") {
    options.pressureUnit = vst::PressureUnit::Kpa;
  } else if (pressure == "barg") {
    options.pressureUnit = vst::PressureUnit::BarG;
  } else {
    return Usage("--pressure-unit must be psig, kpa or barg");
  }
  if (options.units == vst::UnitSystem::English && options.pressureUnit != vst::PressureUnit::Psig) {
    return Usage("English units take steam pressures in psig only");
  }

  std::string text, error;
  if (!ReadAll(input, text, error)) {
    std::cerr << "vantrel-design: " << error << "\n";
    return 1;
  }
  vst::CsvError csvError;
  auto table = vst::ParseCsv(text, csvError);
  if (!table) {
    std::cerr << "vantrel-design: " << input << ": " << csvError.message << "\n";
    return 1;
  }
  if (!save.empty() && table->rows.size() > vst::DesignSet::kRecords) {
    std::cerr << "vantrel-design: a design file holds ten records; " << input << " has " << table->rows.size()
              << " rows, nothing was designed or saved\n";
    return 1;
  }
  // Results go out row by row, so a long list needs the memory of one row.
  std::ofstream file;
  if (!output.empty() && output != "-") {
    file.open(output, std::ios::binary | std::ios::trunc);
    if (!file) {
      std::cerr << "vantrel-design: cannot write " << output << "\n";
      return 1;
    }
  }
  std::ostream& out = file.is_open() ? static_cast<std::ostream&>(file) : std::cout;
  vst::DesignRecords records{};
  vst::SummaryBill summary(options.units);
  std::size_t designed = 0;
  const bool json = format == "json";
  const auto result = vst::DesignLineList(*table, options, [&](const vst::CircuitResult& c) {
    if (designed == 0) out << (json ? vst::BatchJsonStart(options) : vst::BatchCsvHeader(table->header));
    out << (json ? vst::BatchJsonCircuit(c, designed == 0) : vst::BatchCsvRow(c));
    if (designed < records.size()) records[designed] = c.record;
    if (c.ok) summary.add(c.record);
    ++designed;
  });
  if (!result.ok) {
    std::cerr << "vantrel-design: " << input << ": " << result.error << "\n";
    return 1;
  }
  if (designed == 0) out << (json ? vst::BatchJsonStart(options) : vst::BatchCsvHeader(table->header));
  if (json) out << vst::BatchJsonEnd();
  out.flush();
  if (file.is_open()) file.close();
  if (!out) {
    std::cerr << "vantrel-design: cannot write " << (output.empty() ? "the results" : output) << "\n";
    return 1;
  }

  if (!summaryFile.empty()) {
    const std::string problem = vst::WriteSummaryFile(summary, summaryFile);
    if (!problem.empty()) {
      std::cerr << "vantrel-design: " << problem << "\n";
      return 1;
    }
  }
  if (!save.empty()) {
    const auto status = vst::WriteDesignFile(save, vst::TemplatePath(ProgramFolder(argv[0])), records,
                                             options.internalMode, options.units);
    if (!status.ok()) {
      std::cerr << "vantrel-design: " << save << " was not saved: " << status.reason << "\n";
      return 1;
    }
  }
  return 0;
}
