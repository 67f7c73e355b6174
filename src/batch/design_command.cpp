#include "batch/design_command.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>

#include "batch/batch_design.h"
#include "batch/command_line.h"
#include "batch/csv.h"
#include "batch/design_files.h"
#include "batch/headings.h"
#include "batch/list_entries.h"
#include "batch/report_output.h"
#include "batch/row_pipeline.h"
#include "batch/xlsx_list.h"
#include "core/legacy_math.h"
#include "core/output_file.h"
#include "core/quoted_value.h"
#include "core/units.h"
#include "designfile/design_file.h"

namespace vst {

std::filesystem::path ProgramFolder(const std::string& argv0) {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path();
}

namespace {

// The most threads --jobs takes: more than any desktop has cores.
constexpr int kMaxJobs = 64;
// The last row of a worksheet.
constexpr int kMaxSheetRow = 1048576;
// The longest column map file read: far more than any list's headings.
constexpr std::uintmax_t kMaxColumnMapBytes = 1 << 20;

// A usage error: the problem, the verb's usage lines and where the options
// are explained.
int Usage(const std::string& problem, const std::string& verb = {}) {
  std::cerr << "vantrel-design: " << problem << "\n" << CommandUsageLines(verb) << kHelpHint << "\n";
  return kExitUsageError;
}

int FileError(const std::string& problem) {
  std::cerr << "vantrel-design: " << problem << "\n";
  return kExitFileError;
}

// The name -o gives, "-" (standard output) when none.
std::string OutputName(const std::string& output) { return output.empty() ? std::string("-") : output; }

// Writes a whole text to OUTPUT (or standard output) together with the files
// already written for it, all put in place only when all are complete.
bool WriteOut(const std::string& path, const std::string& text,
              const std::vector<std::unique_ptr<OutputFile>>& files = {}) {
  OutputFile out;
  std::string problem;
  if (out.open(OutputName(path))) {
    out << text;
    std::vector<OutputFile*> all;
    for (const auto& f : files) all.push_back(f.get());
    all.push_back(&out);
    problem = CommitTogether(all);
  } else {
    problem = out.error();
  }
  if (problem.empty()) return true;
  std::cerr << "vantrel-design: " << problem << "\n";
  return false;
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

// Says why a design file of --save was not written.
bool SaveRefused(const DesignFilesOfTen& saver) {
  std::cerr << "vantrel-design: " << ShownName(saver.failedName()) << " was not saved: " << saver.reason()
            << "\n";
  return false;
}

// What each design file of --save holds, once they are in place.
void ReportSavedFiles(const DesignFilesOfTen& saver) {
  for (const DesignFilesOfTen::File& f : saver.files()) {
    const bool one = f.rows.size() == 1;
    std::cerr << "vantrel-design: " << ShownName(f.name) << (one ? " holds row " : " holds rows ")
              << RowRanges(f.rows)
              << (one ? " as record 1" : " as records 1 to " + std::to_string(f.rows.size())) << "\n";
  }
}

// A file an option of the run writes: the option, the name as given, the
// name of the file it writes when that differs (a design file of a split
// save), and what that file is.
struct WrittenName {
  const char* option;
  std::string name;
  std::string file;
  FileIdentity identity;
};

// The files `--save NAME.ext` may write: NAME.ext, and NAME-1.ext, NAME-2.ext,
// ... when the run designs more than ten rows. Of those, the ones that are
// there now (another name may be a link or a hard link to them) and the ones
// that `others` name.
std::vector<WrittenName> SaveFiles(const std::string& save, const std::vector<WrittenName>& others) {
  std::vector<WrittenName> files{{"--save", save, save, IdentityOfName(save)}};
  const std::filesystem::path given(save);
  const std::string stem = given.stem().string() + "-";
  const std::string ext = given.extension().string();
  const std::filesystem::path folder = given.parent_path().empty() ? "." : given.parent_path();
  const auto numbered = [&](const std::string& name) {
    if (name.size() <= stem.size() + ext.size() || name.compare(0, stem.size(), stem) != 0 ||
        name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
      return false;
    const std::string_view digits(name.data() + stem.size(), name.size() - stem.size() - ext.size());
    return digits[0] != '0' &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  const auto add = [&](const std::string& name) {
    const std::string file = (given.parent_path() / name).string();
    for (const WrittenName& f : files)
      if (f.file == file) return;
    files.push_back({"--save", save, file, IdentityOfName(file)});
  };
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (numbered(name)) add(name);
  }
  for (const WrittenName& other : others) {
    if (!other.identity.exists && numbered(other.identity.newName)) add(other.identity.newName);
  }
  return files;
}

// "-o out.csv", "--save set.mdb (set-2.mdb)".
std::string OptionText(const WrittenName& w) {
  std::string text = std::string(w.option) + " " + ShownName(w.name);
  if (w.file != w.name) text += " (" + ShownName(std::filesystem::path(w.file).filename().string()) + ")";
  return text;
}

// Checked before anything is read or written: an output that would replace
// the file the run reads (through any name, link or hard link), or two
// outputs of the run that would write one file. The problem, or empty.
std::string OutputsOverlap(const CommandLine& c) {
  std::vector<WrittenName> outputs;
  const auto add = [&](const char* option, const std::string& name) {
    if (!name.empty() && name != "-") outputs.push_back({option, name, name, IdentityOfName(name)});
  };
  add("-o", c.output);
  add("--summary", c.summaryFile);
  add("--pdf", c.bills.pdf);
  add("--xlsx", c.bills.xlsx);
  add("--write-columns", c.writeColumns);
  if (!c.save.empty()) {
    auto saves = SaveFiles(c.save, outputs);
    outputs.insert(outputs.end(), saves.begin(), saves.end());
  }
  if (!c.input.empty()) {
    const bool standardInput = c.input == "-";
    const FileIdentity input = standardInput ? IdentityOfStandardInput() : IdentityOfName(c.input);
    const std::string what = c.verb == "design" ? "the line list" : "the design file";
    for (const WrittenName& out : outputs) {
      if (!input.exists || !SameWrittenFile(out.identity, input)) continue;
      if (standardInput)
        return OptionText(out) + " is the file standard input reads (" + what + "); nothing was written";
      return OptionText(out) + " is " + what + " " + ShownName(c.input) + " itself; nothing was written";
    }
  }
  // The column map the run reads is an input as well.
  if (!c.columnsFile.empty()) {
    const FileIdentity map = IdentityOfName(c.columnsFile);
    for (const WrittenName& out : outputs) {
      if (map.exists && SameWrittenFile(out.identity, map))
        return OptionText(out) + " is the column map " + ShownName(c.columnsFile) +
               " itself; nothing was written";
    }
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    for (std::size_t j = i + 1; j < outputs.size(); ++j) {
      if (std::string_view(outputs[i].option) == outputs[j].option && outputs[i].name == outputs[j].name)
        continue;
      if (SameWrittenFile(outputs[i].identity, outputs[j].identity))
        return OptionText(outputs[i]) + " and " + OptionText(outputs[j]) +
               " name the same file; nothing was written";
    }
  }
  return {};
}

// The report verbs: `ratings` and `show FILE.mdb --circuit-list`.
int RunReport(const CommandLine& c) {
  const bool designOptions =
      !c.pressure.empty() || c.sizing != "standard" || !c.save.empty() || c.strict || !c.jobs.empty();
  const auto report = RunReportCommand({c.verb, c.input, c.units, c.mode, c.format, designOptions});
  if (report.status == ReportStatus::UsageError) return Usage(report.error, c.verb);
  if (report.status == ReportStatus::FileError) return FileError(report.error);
  return WriteOut(c.output, report.text) ? kExitAllDesigned : kExitFileError;
}

// The options of `show` checked, the bill asked for completed; the problem,
// or empty.
std::string CheckShowOptions(const CommandLine& c, BillShowRequest& bills) {
  if (c.mode != "standard" || !c.pressure.empty() || c.sizing != "standard" || !c.save.empty() || c.strict ||
      !c.jobs.empty()) {
    return "show takes only --units, --format and -o";
  }
  if (!UnitsOption(c.units)) return kUnitsProblem;
  if (!c.billRecord.empty()) {
    const auto n = ParseNumber(c.billRecord);
    if (!n || *n != static_cast<int>(*n) || *n < 1 || *n > 10) return "--bill takes a record number 1 to 10";
    bills.record = static_cast<int>(*n);
  }
  if (bills.record != 0 && bills.summary) return "--bill and --summary cannot be given together";
  if ((!bills.pdf.empty() || !bills.xlsx.empty()) && bills.record == 0 && !bills.summary) {
    return "--pdf and --xlsx need --bill N or --summary";
  }
  bills.format = c.format;
  return {};
}

// `show FILE.mdb`: its ten records, or with --bill N / --summary its bills.
int RunShow(const CommandLine& c, const CommandEnvironment& env) {
  BillShowRequest bills = c.bills;
  if (auto problem = CheckShowOptions(c, bills); !problem.empty()) return Usage(problem, "show");
  const UnitSystem running = *UnitsOption(c.units);
  DesignRecords none{};
  const auto contents = OpenDesignFile(c.input, none, running);
  if (!contents.ok()) {
    std::cerr << "vantrel-design: " << ShownName(c.input)
              << " could not be opened: " << contents.status.reason;
    if (contents.status.code == DesignFileError::OtherUnits)
      std::cerr << " (--units " << (running == UnitSystem::Metric ? "english" : "metric") << ")";
    std::cerr << "\n";
    return kExitFileError;
  }
  if (bills.record != 0 || bills.summary) {
    const auto shown = ShowBills(contents.records, contents.internalMode, bills, env.pdf, std::time(nullptr));
    if (!shown.error.empty()) return FileError(shown.error);
    return WriteOut(c.output, shown.text, shown.files) ? kExitAllDesigned : kExitFileError;
  }
  const std::string text = c.format == "json" ? RecordsJson(contents.records, contents.internalMode)
                                              : RecordsCsv(contents.records);
  return WriteOut(c.output, text) ? kExitAllDesigned : kExitFileError;
}

// `lists`: the entries the list columns accept, of the unit systems and
// modes asked for (both of each when not named).
int RunLists(const CommandLine& c) {
  if (!c.input.empty()) return Usage("lists takes no file: " + ShownName(c.input), "lists");
  if (!c.pressure.empty() || c.sizing != "standard" || !c.save.empty() || c.strict || !c.jobs.empty() ||
      !c.billRecord.empty() || c.bills.summary || !c.bills.pdf.empty() || !c.bills.xlsx.empty() ||
      !c.summaryFile.empty() || c.circuitList) {
    return Usage("lists takes only --units, --mode, --format and -o", "lists");
  }
  const auto units = UnitsOption(c.units);
  if (!units) return Usage(kUnitsProblem, "lists");
  const auto internalMode = InternalModeOption(c.mode);
  if (!internalMode) return Usage(kModeProblem, "lists");
  const std::string format = c.formatGiven ? c.format : "text";
  if (format != "text" && format != "json") return Usage("--format of lists must be text or json", "lists");
  std::vector<AcceptedLists> lists;
  for (const UnitSystem u : {UnitSystem::English, UnitSystem::Metric}) {
    if (c.unitsGiven && u != *units) continue;
    for (const bool internal : {false, true}) {
      if (c.modeGiven && internal != *internalMode) continue;
      lists.push_back(AcceptedListsOf(u, internal));
    }
  }
  const std::string text = format == "json" ? AcceptedListsJson(lists) : AcceptedListsText(lists);
  return WriteOut(c.output, text) ? kExitAllDesigned : kExitFileError;
}

// The options of `design` checked and turned into the designer's options;
// the problem, or empty.
std::string DesignOptions(const CommandLine& c, BatchOptions& options) {
  if (!c.billRecord.empty() || c.bills.summary || !c.bills.pdf.empty() || !c.bills.xlsx.empty()) {
    return "--bill, --pdf and --xlsx belong to show; design takes --summary OUT";
  }
  if (!c.summaryFile.empty() && !SummaryFileKnown(c.summaryFile)) {
    return "--summary writes OUT.xlsx, OUT.csv or OUT.json";
  }
  options.strict = c.strict;
  const auto units = UnitsOption(c.units);
  if (!units) return kUnitsProblem;
  options.units = *units;
  const auto internalMode = InternalModeOption(c.mode);
  if (!internalMode) return kModeProblem;
  options.internalMode = *internalMode;
  if (c.sizing == "standard")
    options.insulationSizing = InsulationSizing::Standard;
  else if (c.sizing == "minimal")
    options.insulationSizing = InsulationSizing::Minimal;
  else
    return "--sizing must be standard or minimal";
  if (c.pressure.empty())
    options.pressureUnit = options.units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig;
  else if (c.pressure == "psig")
    options.pressureUnit = PressureUnit::Psig;
  else if (c.pressure == "kpa")
    options.pressureUnit = PressureUnit::Kpa;
  else if (c.pressure == "barg")
    options.pressureUnit = PressureUnit::BarG;
  else
    return "--pressure-unit must be psig, kpa or barg";
  if (options.units == UnitSystem::English && options.pressureUnit != PressureUnit::Psig) {
    return "English units take steam pressures in psig only";
  }
  return {};
}

// The column map file of --columns; false with the problem.
bool ReadColumnMap(const std::string& path, ColumnMap& map, std::string& problem) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  if (ec || !in) {
    problem = "cannot read the column map " + ShownName(path) +
              (std::filesystem::exists(path, ec) ? std::string() : std::string(": the file does not exist"));
    return false;
  }
  if (size > kMaxColumnMapBytes) {
    problem = ShownName(path) + ": a column map of more than 1 MiB is no column map";
    return false;
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  std::string error;
  auto parsed = ParseColumnMap(text, error);
  if (!parsed) {
    problem = ShownName(path) + ": " + error;
    return false;
  }
  map = std::move(*parsed);
  return true;
}

// `design LIST.csv`: the list is read row by row and the results go out row
// by row, so a long list needs the memory of one row (and of one summary
// bill, added up as the rows come).
class DesignRun {
 public:
  DesignRun(const CommandLine& c, const BatchOptions& options, const CommandEnvironment& env, int jobs)
      : c_(c), options_(options), env_(env), jobs_(jobs), summary_(options.units) {}

  int run() {
    const bool workbook = c_.input != "-" && LooksLikeWorkbook(c_.input);
    if (!workbook && (!c_.sheet.empty() || !c_.headerRow.empty())) {
      return Usage("--sheet and --header-row read a workbook (.xlsx); " + ShownName(c_.input) +
                       " is read as delimited text",
                   c_.verb);
    }
    XlsxOptions sheet{c_.sheet, 0};
    if (!c_.headerRow.empty()) {
      const auto n = ParseNumber(c_.headerRow);
      if (!n || *n != std::floor(*n) || *n < 1 || *n > kMaxSheetRow)
        return Usage("--header-row takes a row number from 1 to 1048576", c_.verb);
      sheet.headerRow = static_cast<int>(*n);
    }
    if (!openInput()) return kExitFileError;
    std::istream& in = c_.input == "-" ? std::cin : file_;
    CsvReader reader(in);
    std::vector<std::string> header;
    if (workbook) {
      file_.close();
      if (!workbook_.open(c_.input, sheet) || !workbook_.readHeader(header))
        return FileError(ShownName(c_.input) + ": " + workbook_.error());
    } else if (!reader.readHeader(header, csvError_)) {
      return FileError(ShownName(c_.input) + ": " + csvError_.message);
    }
    LineListDesigner designer(header, options_, workbook ? ',' : reader.delimiter());
    // The map of the headings as read, to be completed by hand, even when
    // the headings cannot be used as they stand.
    if (!c_.writeColumns.empty() && !WriteOut(c_.writeColumns, ColumnMapText(designer.headings())))
      return kExitFileError;
    const std::string where = workbook ? SheetPlace() : std::string();
    if (designer.refusedUnknownColumns()) {
      std::cerr << "vantrel-design: " << ShownName(c_.input) << ": " << OnSheet(designer.error(), where)
                << "\n";
      return kExitUsageError;
    }
    if (!designer.ok()) return FileError(ShownName(c_.input) + ": " + OnSheet(designer.error(), where));
    // A misspelt column would silently take its default: each one is named.
    const auto& ignored = designer.ignoredColumns();
    for (std::size_t i = 0; i < ignored.size() && i < kNamedColumns; ++i) {
      std::cerr << "vantrel-design: " << ShownName(c_.input) << ": " << (workbook ? where : "line 1")
                << ": ignored " << (ignored[i].name.empty() ? "" : "column ") << IgnoredColumnText(ignored[i])
                << "\n";
    }
    if (ignored.size() > kNamedColumns) {
      std::cerr << "vantrel-design: " << ShownName(c_.input) << ": " << (workbook ? where : "line 1")
                << ": and " << ignored.size() - kNamedColumns << " more columns ignored\n";
    }
    if (!out_.open(OutputName(c_.output))) return FileError(out_.error());
    if (!c_.save.empty()) {
      saver_.emplace(c_.save, TemplatePath(ProgramFolder(env_.programPath)), options_.internalMode,
                     options_.units);
      if (!saver_->begin()) {
        SaveRefused(*saver_);
        return kExitFileError;
      }
    }
    std::function<bool(CsvRow&)> next = [&](CsvRow& row) { return reader.next(row, csvError_); };
    if (workbook) next = [this](CsvRow& row) { return workbook_.next(row); };
    if (!designRows(next, designer)) return kExitFileError;
    // Nothing is put in place: every previous file stays as it was.
    if (workbook && workbook_.failed()) return FileError(ShownName(c_.input) + ": " + workbook_.error());
    if (!workbook && reader.failed()) return FileError(ShownName(c_.input) + ": " + csvError_.message);
    return finish();
  }

 private:
  bool openInput() {
    if (c_.input == "-") return true;
    std::error_code ec;
    const auto st = std::filesystem::status(c_.input, ec);
    if (ec && ec.value() == ELOOP) {
      FileError("cannot read " + ShownName(c_.input) + ": the name is a loop of symbolic links");
      return false;
    }
    if (std::filesystem::is_directory(st)) {
      FileError(ShownName(c_.input) + " is a folder");
      return false;
    }
    file_.open(c_.input, std::ios::binary);
    if (!file_) {
      FileError("cannot open " + ShownName(c_.input) +
                (std::filesystem::exists(st) ? std::string() : std::string(": the file does not exist")));
      return false;
    }
    return true;
  }

  // Designs every data row on the run's threads, writing the results in
  // pieces and in row order. False when a design file could not be written
  // (already said).
  bool designRows(const std::function<bool(CsvRow&)>& next, const LineListDesigner& designer) {
    const bool json = c_.format == "json";
    text_ = json ? BatchJsonStart(options_, designer.ignoredColumns(), designer.headings())
                 : BatchCsvHeader(options_, designer.heatUp());
    RowPipeline pipeline;
    pipeline.next = next;
    pipeline.format = [json](const CircuitResult& result, std::string& text) {
      if (json)
        AppendBatchJsonCircuit(text, result, result.row == 1);
      else
        AppendBatchCsvRow(text, result);
    };
    pipeline.take = [&](const CircuitResult& result) {
      ++rows_;
      if (!result.ok) ++notDesigned_;
      if (result.ok && !c_.summaryFile.empty()) summary_.add(result.record);
      if (saver_ && result.ok && !saver_->add(result.record, result.row)) return SaveRefused(*saver_);
      return true;
    };
    // The output file gathers what it is given into large writes itself;
    // a chunk's text goes to it as it is, never copied on the way.
    pipeline.write = [&](const std::string& text) {
      if (!text_.empty()) {
        out_.write(text_);
        text_.clear();
      }
      out_.write(text);
    };
    return DesignRowsInOrder(designer, jobs_, pipeline);
  }

  // Puts the output, the summary bill and the design files in place
  // together, once all are complete; says how many rows were not designed.
  int finish() {
    if (c_.format == "json") text_ += BatchJsonEnd();
    out_.write(text_);
    // The design files first: their renames follow one another directly.
    std::vector<OutputFile*> outputs;
    std::vector<std::unique_ptr<OutputFile>> saves;
    // Design files of ten, each file written as its records were designed;
    // none replaces a file until the whole list has been read and designed.
    if (saver_ && saver_->empty()) {
      std::cerr << "vantrel-design: no row was designed; " << ShownName(c_.save) << " was not written\n";
    } else if (saver_ && !saver_->finish(saves)) {
      SaveRefused(*saver_);
      return kExitFileError;
    }
    for (const auto& s : saves) outputs.push_back(s.get());
    outputs.push_back(&out_);
    OutputFile summary;
    if (!c_.summaryFile.empty()) {
      const std::string problem = PrepareSummaryFile(summary_, c_.summaryFile, summary);
      if (!problem.empty()) return FileError(problem);
      outputs.push_back(&summary);
    }
    if (const std::string problem = CommitTogether(outputs); !problem.empty()) return FileError(problem);
    if (saver_) ReportSavedFiles(*saver_);
    if (notDesigned_ > 0) {
      std::cerr << "vantrel-design: " << notDesigned_ << " of " << rows_
                << " rows were not designed; their messages say why\n";
      return kExitRowsNotDesigned;
    }
    return kExitAllDesigned;
  }

  const CommandLine& c_;
  const BatchOptions& options_;
  const CommandEnvironment& env_;
  const int jobs_;
  // "sheet Sheet1, row 3": where a workbook's headings are.
  std::string SheetPlace() const {
    return "sheet " + QuotedValue(workbook_.sheetName()) + ", row " + std::to_string(workbook_.headerLine());
  }
  // A message about the header line, placed on the workbook's sheet.
  static std::string OnSheet(const std::string& message, const std::string& where) {
    constexpr std::string_view kLine1 = "line 1: ";
    if (where.empty() || message.compare(0, kLine1.size(), kLine1) != 0) return message;
    return where + ": " + message.substr(kLine1.size());
  }

  std::ifstream file_;
  XlsxListReader workbook_;
  OutputFile out_;
  std::optional<DesignFilesOfTen> saver_;
  SummaryBill summary_;
  CsvError csvError_;
  std::string text_;
  int rows_ = 0;
  int notDesigned_ = 0;
};

}  // namespace

int RunDesignCommand(const std::vector<std::string>& args, const CommandEnvironment& env) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  switch (parsed.action) {
    case CommandAction::UsageError:
      return Usage(parsed.problem, parsed.command.verb);
    case CommandAction::Help:
      std::cout << CommandHelp();
      return kExitAllDesigned;
    case CommandAction::Version:
      std::cout << "vantrel-design (Vantrel ST) " << env.version << "\n";
      return kExitAllDesigned;
    case CommandAction::Run:
      break;
  }
  const CommandLine& c = parsed.command;
  if (auto problem = OutputsOverlap(c); !problem.empty()) return Usage(problem, c.verb);
  if (c.verb == "lists") return RunLists(c);
  if (c.format != "json" && c.format != "csv") return Usage("--format must be csv or json", c.verb);
  if (c.verb == "ratings" || c.circuitList) return RunReport(c);
  if (c.input.empty()) return Usage(c.verb == "show" ? "no design file given" : "no line list given", c.verb);
  if (c.verb == "show") return RunShow(c, env);
  if (c.verb != "design" &&
      (!c.sheet.empty() || !c.headerRow.empty() || !c.columnsFile.empty() || !c.writeColumns.empty()))
    return Usage("--sheet, --header-row, --columns and --write-columns belong to design", c.verb);
  BatchOptions options;
  if (auto problem = DesignOptions(c, options); !problem.empty()) return Usage(problem, c.verb);
  if (!c.columnsFile.empty()) {
    std::string problem;
    if (!ReadColumnMap(c.columnsFile, options.columns, problem)) return FileError(problem);
  }
  int jobs = ProcessorCount();
  if (!c.jobs.empty()) {
    const auto n = ParseNumber(c.jobs);
    if (!n || *n != std::floor(*n) || *n < 1 || *n > kMaxJobs) {
      return Usage("--jobs takes a number of threads from 1 to 64", c.verb);
    }
    jobs = static_cast<int>(*n);
  }
  return DesignRun(c, options, env, jobs).run();
}

}  // namespace vst
