// vantrel-design: designs the circuits of a line list with the program's own
// design run, and shows the records of a design file, without a window.
#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "batch/atomic_output.h"
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

#ifndef VST_VERSION
#error "VST_VERSION (the project version) must be defined by the build"
#endif

namespace {

// Exit statuses.
constexpr int kAllDesigned = 0;
constexpr int kFileError = 1;
constexpr int kUsageError = 2;
constexpr int kRowsNotDesigned = 3;

constexpr const char* kUsage =
    "usage: vantrel-design design LIST.csv [--units english|metric] [--mode standard|internal]\n"
    "                      [--pressure-unit psig|kpa|barg] [--sizing standard|minimal] [--strict]\n"
    "                      [--format json|csv] [-o OUTPUT] [--save NAME.mdb]\n"
    "                      [--summary OUT.xlsx|OUT.csv|OUT.json]\n"
    "       vantrel-design show FILE.mdb [--units english|metric] [--circuit-list] [--format csv|json]\n"
    "                      [-o OUTPUT]\n"
    "       vantrel-design show FILE.mdb --bill N|--summary [--pdf OUT.pdf] [--xlsx OUT.xlsx]\n"
    "                      [--units english|metric] [--format csv|json] [-o OUTPUT]\n"
    "       vantrel-design ratings [--units english|metric] [--mode standard|internal] [--format csv|json]\n"
    "                      [-o OUTPUT]\n"
    "       vantrel-design --help | --version\n"
    "\n"
    "design   designs every row of the line list LIST.csv (- for standard input) as the main\n"
    "         window would, answering the fittings and shoe dialogs from the row. The list is\n"
    "         separated by commas, semicolons or tabs (found from its header row).\n"
    "         --strict     a row that the window's checks would change (copper above its\n"
    "                      pressure, an exposure above its limit, ...) is not designed\n"
    "         --format     json (default): every result with its record, messages and the\n"
    "                      corrections the window's checks made; csv: one row per circuit\n"
    "         -o OUTPUT    written beside OUTPUT under a temporary name and put in its place\n"
    "                      only when complete (default: standard output)\n"
    "         --save       the designed rows into a design file; more than ten designed rows\n"
    "                      go into NAME-1.mdb, NAME-2.mdb, ... (ten each)\n"
    "         --summary    one summary bill of materials over every designed row (written\n"
    "                      like -o: put in place only when complete)\n"
    "show     prints the ten records of a design file, with --circuit-list its circuit list (in\n"
    "         the program mode the file was saved in), with --bill N the circuit report and bill\n"
    "         of record N, with --summary the summary bill (--pdf their printout, --xlsx the\n"
    "         workbook). A file saved in the other unit system than --units (english when not\n"
    "         given) is refused.\n"
    "ratings  prints the ratings table of the heat transfer products.\n"
    "Option values may be written in any case.\n"
    "\n"
    "Exit status: 0 every row designed; 3 at least one row not designed (its messages say why);\n"
    "1 a file could not be read or written; 2 usage error.\n";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

// The columns of a line list with their units and defaults, for --help.
std::string ColumnHelp() {
  vst::BatchOptions english, metric;
  metric.units = vst::UnitSystem::Metric;
  metric.pressureUnit = vst::PressureUnit::BarG;
  std::string out = "\nLine list columns (header names in any case and order; English / Metric units):\n";
  for (const auto& c : vst::LineListColumns()) {
    std::string unit = vst::ColumnUnitText(c.unit, english);
    if (!unit.empty()) unit += " / " + vst::ColumnUnitText(c.unit, metric);
    if (c.unit == vst::ColumnUnit::Pressure) unit = "psig / bar g, or as --pressure-unit says";
    std::string dflt = "required";
    if (!c.required) {
      const std::string e = c.defaultEnglish, m = c.defaultMetric;
      dflt = e.empty() ? "default empty" : "default " + e + (m != e ? " / " + m : "");
    }
    std::string line = "  " + std::string(c.name);
    line.resize(13, ' ');
    line += c.what;
    line += " (" + dflt + (unit.empty() ? "" : "; " + unit) + ")\n";
    out += line;
  }
  return out;
}

int Usage(const std::string& problem) {
  std::cerr << "vantrel-design: " << problem << "\n" << kUsage;
  return kUsageError;
}

// Writes a whole text to OUTPUT (or standard output), put in place only when complete.
bool WriteOut(const std::string& path, const std::string& text) {
  vst::AtomicOutput out;
  if (out.open(path)) {
    out << text;
    if (out.commit()) return true;
  }
  std::cerr << "vantrel-design: " << out.error() << "\n";
  return false;
}

std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path();
}

// "1-3, 5, 7-10" for ascending row numbers.
std::string RowRanges(const std::vector<int>& rows) {
  std::string out;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t j = i;
    while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
    if (!out.empty()) out += ", ";
    out += std::to_string(rows[i]);
    if (j > i) out += "-" + std::to_string(rows[j]);
    i = j + 1;
  }
  return out;
}

// Designed records into design files of ten: NAME.mdb when the run designs
// ten rows or fewer, otherwise NAME-1.mdb, NAME-2.mdb, ... in row order.
class SplitSave {
 public:
  SplitSave(std::string target, std::filesystem::path templatePath, bool internalMode, vst::UnitSystem units)
      : target_(std::move(target)),
        template_(std::move(templatePath)),
        internalMode_(internalMode),
        units_(units) {}

  bool add(const vst::DesignRecord& record, int row) {
    if (count_ == vst::DesignSet::kRecords) {
      if (!flush(++files_)) return false;
    }
    records_[count_++] = record;
    rows_.push_back(row);
    return true;
  }
  // Writes the last file. False when a file could not be written.
  bool finish() {
    if (count_ == 0) {
      if (files_ == 0)
        std::cerr << "vantrel-design: no row was designed; " << target_ << " was not written\n";
      return true;
    }
    return flush(files_ == 0 ? 0 : ++files_);
  }

 private:
  std::string nameOf(int number) const {
    if (number == 0) return target_;
    const std::filesystem::path p(target_);
    return (p.parent_path() / (p.stem().string() + "-" + std::to_string(number) + p.extension().string()))
        .string();
  }
  bool flush(int number) {
    const std::string name = nameOf(number);
    const auto status = vst::WriteDesignFile(name, template_, records_, internalMode_, units_);
    if (!status.ok()) {
      std::cerr << "vantrel-design: " << name << " was not saved: " << status.reason << "\n";
      return false;
    }
    std::cerr << "vantrel-design: " << name << " holds rows " << RowRanges(rows_) << " as records 1 to "
              << count_ << "\n";
    records_ = vst::DesignRecords{};
    rows_.clear();
    count_ = 0;
    return true;
  }

  std::string target_;
  std::filesystem::path template_;
  bool internalMode_;
  vst::UnitSystem units_;
  vst::DesignRecords records_{};
  std::vector<int> rows_;
  int count_ = 0;
  int files_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << kUsage << ColumnHelp();
    return 0;
  }
  if (args[0] == "--version") {
    std::cout << "vantrel-design (Vantrel ST) " << VST_VERSION << "\n";
    return 0;
  }
  const std::string verb = args[0];
  if (verb != "design" && verb != "show" && verb != "ratings") return Usage("unknown command " + verb);

  std::string input, output, format = "json", save;
  std::string units = "english", mode = "standard", pressure, sizing = "standard";
  bool strict = false;
  vst::BillShowRequest bills;
  std::string billRecord, summaryFile;
  bool circuitList = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into, bool keepCase = false) {
      if (i + 1 >= args.size()) return false;
      into = keepCase ? args[++i] : Lower(args[++i]);
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
      ok = value(output, true);
    else if (a == "--save")
      ok = value(save, true);
    else if (a == "--strict")
      strict = true;
    else if (a == "--bill")
      ok = value(billRecord);
    else if (a == "--summary" && verb == "design")
      ok = value(summaryFile, true);
    else if (a == "--summary")
      bills.summary = true;
    else if (a == "--pdf")
      ok = value(bills.pdf, true);
    else if (a == "--xlsx")
      ok = value(bills.xlsx, true);
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
    const auto report =
        vst::RunReportCommand({verb, input, units, mode, format,
                               !pressure.empty() || sizing != "standard" || !save.empty() || strict});
    if (report.status == vst::ReportStatus::UsageError) return Usage(report.error);
    if (report.status == vst::ReportStatus::FileError) {
      std::cerr << "vantrel-design: " << report.error << "\n";
      return kFileError;
    }
    return WriteOut(output, report.text) ? kAllDesigned : kFileError;
  }
  if (input.empty()) return Usage(verb == "show" ? "no design file given" : "no line list given");

  vst::AtomicOutput out;
  if (verb == "show") {
    if (mode != "standard" || !pressure.empty() || sizing != "standard" || !save.empty() || strict) {
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
      return kFileError;
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
        return kFileError;
      }
      return WriteOut(output, shown.text) ? kAllDesigned : kFileError;
    }
    if (!out.open(output)) {
      std::cerr << "vantrel-design: " << out.error() << "\n";
      return kFileError;
    }
    out << (format == "json" ? vst::RecordsJson(contents.records, contents.internalMode)
                             : vst::RecordsCsv(contents.records));
    if (!out.commit()) {
      std::cerr << "vantrel-design: " << out.error() << "\n";
      return kFileError;
    }
    return kAllDesigned;
  }

  if (!billRecord.empty() || bills.summary || !bills.pdf.empty() || !bills.xlsx.empty()) {
    return Usage("--bill, --pdf and --xlsx belong to show; design takes --summary OUT");
  }
  if (!summaryFile.empty() && !vst::SummaryFileKnown(summaryFile)) {
    return Usage("--summary writes OUT.xlsx, OUT.csv or OUT.json");
  }

  vst::BatchOptions options;
  options.strict = strict;
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

  // The list is read row by row and the results go out row by row, so a
  // long list needs the memory of one row.
  std::ifstream file;
  if (input != "-") {
    std::error_code ec;
    if (std::filesystem::is_directory(input, ec)) {
      std::cerr << "vantrel-design: " << input << " is a folder\n";
      return kFileError;
    }
    file.open(input, std::ios::binary);
    if (!file) {
      std::cerr << "vantrel-design: cannot open " << input << "\n";
      return kFileError;
    }
  }
  std::istream& in = input == "-" ? std::cin : file;
  vst::CsvReader reader(in);
  std::vector<std::string> header;
  vst::CsvError csvError;
  if (!reader.readHeader(header, csvError)) {
    std::cerr << "vantrel-design: " << input << ": " << csvError.message << "\n";
    return kFileError;
  }
  vst::LineListDesigner designer(header, options);
  if (!designer.ok()) {
    std::cerr << "vantrel-design: " << input << ": " << designer.error() << "\n";
    return kFileError;
  }
  if (!out.open(output)) {
    std::cerr << "vantrel-design: " << out.error() << "\n";
    return kFileError;
  }
  std::optional<SplitSave> saver;
  if (!save.empty())
    saver.emplace(save, vst::TemplatePath(ProgramFolder(argv[0])), options.internalMode, options.units);

  const bool json = format == "json";
  std::string text = json ? vst::BatchJsonStart(options) : vst::BatchCsvHeader(options);
  vst::SummaryBill summary(options.units);  // added up row by row: the memory of one bill
  vst::CsvRow row;
  vst::CircuitResult result;
  int rows = 0, notDesigned = 0;
  while (reader.next(row, csvError)) {
    designer.design(row, ++rows, result);
    if (!result.ok) ++notDesigned;
    if (result.ok) summary.add(result.record);
    if (json)
      vst::AppendBatchJsonCircuit(text, result, rows == 1);
    else
      vst::AppendBatchCsvRow(text, result);
    if (text.size() >= (1 << 15)) {
      out.write(text);
      text.clear();
    }
    if (saver && result.ok && !saver->add(result.record, result.row)) return kFileError;
  }
  if (reader.failed()) {
    std::cerr << "vantrel-design: " << input << ": " << csvError.message << "\n";
    return kFileError;  // the output is abandoned: a previous file stays as it was
  }
  if (json) text += vst::BatchJsonEnd();
  out.write(text);
  if (!out.commit()) {
    std::cerr << "vantrel-design: " << out.error() << "\n";
    return kFileError;
  }
  if (!summaryFile.empty()) {
    const std::string problem = vst::WriteSummaryFile(summary, summaryFile);
    if (!problem.empty()) {
      std::cerr << "vantrel-design: " << problem << "\n";
      return kFileError;
    }
  }
  if (saver && !saver->finish()) return kFileError;
  if (notDesigned > 0) {
    std::cerr << "vantrel-design: " << notDesigned << " of " << rows
              << " rows were not designed; their messages say why\n";
    return kRowsNotDesigned;
  }
  return kAllDesigned;
}
