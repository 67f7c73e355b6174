#include "batch/command_line.h"

#include <algorithm>

#include "batch/batch_design.h"
#include "core/legacy_math.h"

namespace vst {

namespace {

// The usage lines of each verb, as --help and a usage error show them.
struct VerbUsage {
  const char* verb;
  const char* lines;
};
constexpr VerbUsage kVerbUsage[] = {
    {"design",
     "vantrel-design design LIST.csv|LIST.xlsx [--units english|metric]\n"
     "                      [--mode standard|internal] [--pressure-unit psig|kpa|barg]\n"
     "                      [--sizing standard|minimal] [--strict] [--format json|csv] [-o OUTPUT]\n"
     "                      [--save NAME.mdb] [--summary OUT.xlsx|OUT.csv|OUT.json] [--jobs N]\n"
     "                      [--sheet NAME|N] [--header-row N] [--columns MAP.csv]\n"
     "                      [--write-columns MAP.csv]\n"},
    {"show",
     "vantrel-design show FILE.mdb [--units english|metric] [--circuit-list] [--format csv|json]\n"
     "                      [-o OUTPUT]\n"
     "       vantrel-design show FILE.mdb --bill N|--summary [--pdf OUT.pdf] [--xlsx OUT.xlsx]\n"
     "                      [--units english|metric] [--format csv|json] [-o OUTPUT]\n"},
    {"ratings",
     "vantrel-design ratings [--units english|metric] [--mode standard|internal] [--format csv|json]\n"
     "                      [-o OUTPUT]\n"},
    {"lists",
     "vantrel-design lists [--units english|metric] [--mode standard|internal] [--format text|json]\n"
     "                      [-o OUTPUT]\n"},
};

constexpr const char* kHelpUsage = "vantrel-design --help | --version\n";

const char* const kCommandDescription =
    "\n"
    "design   designs every row of the line list LIST.csv (- for standard input) or of the\n"
    "         workbook LIST.xlsx as the main window would, answering the fittings and shoe\n"
    "         dialogs from the row. A CSV list is separated by commas, semicolons or tabs\n"
    "         (found from its header row); in a list separated by semicolons or tabs a number\n"
    "         may have a decimal comma (1,5 is 1.5), in a comma-separated list the comma only\n"
    "         separates. A header column it does not know is named on standard error and in\n"
    "         the JSON (\"ignored_columns\"), with the known column it is probably meant to be.\n"
    "         A heading names a column by its field code (MAXAMB), by the main window's caption\n"
    "         for that input (\"Max. Ambient\", \"Pipe Size\", \"Line\\Pipe No.\") or by a usual word\n"
    "         (\"Line No.\", \"Size\", \"Length\", \"Insulation\", \"Tracers\"), case, blanks and dots\n"
    "         aside. A unit in brackets (\"Pipe Length (m)\") must be the run's: a heading in the\n"
    "         other unit system is an error naming the option that reads it, never converted.\n"
    "         Two headings naming one column are an error. The JSON says how each heading was\n"
    "         read (\"columns\") unless all are field codes.\n"
    "         LIST.xlsx    a workbook: the first worksheet, its headings the first row with any\n"
    "                      text; a number cell reads as its shortest exact text (4, 1.5, 0.035).\n"
    "                      A date, an error value (#N/A) or a formula without a stored value\n"
    "                      refuses its row, naming the cell (Sheet1!F12). An .xls, an encrypted\n"
    "                      or a damaged workbook is refused: save it as .xlsx or CSV\n"
    "         --sheet      the workbook's sheet by name or number (1 the first)\n"
    "         --header-row the sheet row that holds the headings\n"
    "         --columns    a map file for headings nothing else reads: lines HEADING,CODE or\n"
    "                      HEADING,ignore (a first line heading,column is a header)\n"
    "         --write-columns  writes that map from the headings read (ignore where none\n"
    "                      was read), to be completed and given to --columns\n"
    "         --strict     a row that the window's checks would change (copper above its\n"
    "                      pressure, an exposure above its limit, ...) is not designed, and\n"
    "                      a column the list does not know is an error (exit status 2)\n"
    "         --format     json (default): every result with its record, messages and the\n"
    "                      corrections the window's checks made; csv: one row per circuit\n"
    "                      Both say whether the minimum maintained temperature holds the\n"
    "                      temperature to be maintained: \"meets_maintain_temperature\"\n"
    "                      (true/false, null when not designed), \"Meets Maint. Temp.\"\n"
    "                      (Yes/No, empty when not designed); the exit status ignores it\n"
    "         -o OUTPUT    written beside OUTPUT under a temporary name and put in its place\n"
    "                      only when complete (default: standard output)\n"
    "         --save       the designed rows into a design file; more than ten designed rows\n"
    "                      go into NAME-1.mdb, NAME-2.mdb, ... (ten each)\n"
    "         --summary    one summary bill of materials over every designed row (written\n"
    "                      like -o: put in place only when complete)\n"
    "         --jobs N     designs rows on N threads (default: one per processor core); the\n"
    "                      results are the same and in row order for every N\n"
    "         No output may name the line list or the column map itself (through any name,\n"
    "         link or hard link), nor two outputs one file (--write-columns included): that is a\n"
    "         usage error and nothing is written.\n"
    "show     prints the ten records of a design file, with --circuit-list its circuit list (in\n"
    "         the program mode the file was saved in), with --bill N the circuit report and bill\n"
    "         of record N, with --summary the summary bill (--pdf their printout, --xlsx their\n"
    "         workbook). A file saved in the other unit system than --units (english when not\n"
    "         given) is refused. No output may name the design file itself, nor two outputs\n"
    "         one file.\n"
    "ratings  prints the ratings table of the heat transfer products.\n"
    "lists    prints every entry the line list columns accept from the window's lists, per\n"
    "         unit system, program mode and installation (both of each unless --units or\n"
    "         --mode names one); text (default) or json.\n"
    "Option values may be written in any case.\n"
    "\n"
    "Exit status: 0 every row designed; 3 at least one row not designed (its messages say why);\n"
    "1 a file could not be read or written; 2 usage error (with --strict also a column the line\n"
    "list does not know).\n";

}  // namespace

std::string CommandUsageLines(const std::string& verb) {
  std::string out;
  for (const VerbUsage& v : kVerbUsage) {
    if (!verb.empty() && verb != v.verb) continue;
    out += out.empty() ? "usage: " : "       ";
    out += v.lines;
  }
  if (out.empty()) return CommandUsageLines({});
  if (verb.empty()) out += std::string("       ") + kHelpUsage;
  return out;
}

std::string CommandHelp() { return CommandUsageLines({}) + kCommandDescription + LineListColumnHelp(); }

namespace {

// An option value as compared: lower case, blanks removed.
std::string Lower(std::string_view value) {
  std::string text = Lowercase(value);
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

// Reads the options after the verb into `c`; the problem, or empty.
std::string ParseOptions(const std::vector<std::string>& args, CommandLine& c) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into, bool keepCase = false) {
      if (i + 1 >= args.size()) return false;
      into = keepCase ? args[++i] : Lower(args[++i]);
      return true;
    };
    // A file name as given; an empty one names no file.
    bool emptyName = false;
    auto fileName = [&](std::string& into) {
      if (!value(into, true)) return false;
      emptyName = into.empty();
      return true;
    };
    bool ok = true;
    if (a == "--units")
      ok = c.unitsGiven = value(c.units);
    else if (a == "--mode")
      ok = c.modeGiven = value(c.mode);
    else if (a == "--pressure-unit")
      ok = value(c.pressure);
    else if (a == "--sizing")
      ok = value(c.sizing);
    else if (a == "--format")
      ok = c.formatGiven = value(c.format);
    else if (a == "-o" || a == "--output")
      ok = fileName(c.output);
    else if (a == "--save")
      ok = fileName(c.save);
    else if (a == "--strict")
      c.strict = true;
    else if (a == "--jobs")
      ok = value(c.jobs);
    else if (a == "--bill")
      ok = value(c.billRecord);
    else if (a == "--summary" && c.verb == "design")
      ok = fileName(c.summaryFile);
    else if (a == "--summary")
      c.bills.summary = true;
    else if (a == "--pdf")
      ok = fileName(c.bills.pdf);
    else if (a == "--xlsx")
      ok = fileName(c.bills.xlsx);
    else if (a == "--circuit-list")
      c.circuitList = true;
    else if (a == "--sheet")
      ok = value(c.sheet, true);
    else if (a == "--header-row")
      ok = value(c.headerRow);
    else if (a == "--columns")
      ok = fileName(c.columnsFile);
    else if (a == "--write-columns")
      ok = fileName(c.writeColumns);
    else if (!a.empty() && a[0] == '-' && a != "-")
      return "unknown option " + a;
    else if (c.input.empty())
      c.input = a;
    else
      return "more than one input file: " + a;
    if (!ok) return "option " + a + " needs a value";
    if (emptyName) return "option " + a + " needs a file name, not an empty text";
  }
  return {};
}

}  // namespace

std::optional<UnitSystem> UnitsOption(const std::string& value) {
  if (value == "english") return UnitSystem::English;
  if (value == "metric") return UnitSystem::Metric;
  return std::nullopt;
}

std::optional<bool> InternalModeOption(const std::string& value) {
  if (value == "standard") return false;
  if (value == "internal") return true;
  return std::nullopt;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  const auto refuse = [&](std::string problem) {
    parsed.action = CommandAction::UsageError;
    parsed.problem = std::move(problem);
    return parsed;
  };
  if (args.empty()) return refuse("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    parsed.action = CommandAction::Help;
    return parsed;
  }
  if (args[0] == "--version") {
    parsed.action = CommandAction::Version;
    return parsed;
  }
  const std::string& verb = args[0];
  if (verb != "design" && verb != "show" && verb != "ratings" && verb != "lists")
    return refuse("unknown command " + verb);
  parsed.command.verb = verb;
  if (auto problem = ParseOptions(args, parsed.command); !problem.empty()) return refuse(problem);
  return parsed;
}

std::string LineListColumnHelp() {
  BatchOptions english, metric;
  metric.units = UnitSystem::Metric;
  metric.pressureUnit = PressureUnit::BarG;
  std::string out = "\nLine list columns (header names in any case and order; English / Metric units):\n";
  for (const auto& c : LineListColumns()) {
    std::string unit = ColumnUnitText(c.unit, english);
    if (!unit.empty()) unit += " / " + ColumnUnitText(c.unit, metric);
    if (c.unit == ColumnUnit::Pressure) unit = "psig / bar g, or as --pressure-unit says";
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

}  // namespace vst
