#include "batch/headings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include "batch/csv.h"
#include "circuit/allowance_answers.h"
#include "core/legacy_math.h"
#include "core/quoted_value.h"

namespace vst {

namespace {

using Col = LineListCol;

// The main window's captions by column (the control table's texts, the
// access key and trailing blanks taken out, runs of blanks as one).
constexpr std::array<const char*, kColumnCount> kCaptions = {
    "Circuit No.",                     // CIRTXT
    "Line\\Pipe No.",                  // PIPETXT
    "Max. Ambient",                    // MAXAMB
    "Min. Ambient",                    // MINAMB
    "Maint. Temp.",                    // MAINTEMP
    "Steam Out / Max. Process Temp.",  // MAXEXP
    "Intermittent Exposure Temp.",     // INTEXP
    "Insulation Type",                 // INSTYPE (the window's label runs the two words together)
    "Insulation Thickness",            // INSTHK
    "Pipe Size",                       // PIPESIZE
    "Pipe Length",                     // PIPELN
    "Number of Passes",                // PASSES
    "Steam Pressure",                  // STEAMPRS
    "Tracer Installation",             // TRACEINS
    "Tracer Tubing",                   // TRACETUB
    "Tracer Tubing Material",          // TUBEMAT
    "Tracer Wall Thickness",           // TUBEWALL
    nullptr,                           // ALLOWANCE: the fittings dialog's question
    nullptr,                           // VALN to WCTB: the fittings dialog's boxes (FittingsCaption)
    nullptr,                           // FLNO
    nullptr,                           // NOPX
    nullptr,                           // WCTB
    nullptr,                           // SHOES: the shoe dialog asks length and count in two boxes
    "Application",                     // APPTYPE
    "Product",                         // PRODUCT: the "Heat Up Data" tab's fields from here on
    "Initial Temp.",                   // HUINIT
    "Final Temp.",                     // HUFINAL
    "Density",                         // HUDENS
    "Specific Heat",                   // HUCP
    "Phase Change Temp.",              // HUPCTEMP
    "Latent Heat",                     // HULATENT
};

// The counts and the pre-insulated tubing of a row are the fittings
// dialog's four boxes, headed as the dialog captions them ("Number of
// Valves", "Total Wrapcore Allowance"): the access key taken out, runs of
// blanks as one.
const char* FittingsCaption(std::size_t column) {
  static const auto captions = [] {
    std::array<std::string, kFittingsBoxCaptions.size()> out;
    for (std::size_t i = 0; i < out.size(); ++i) {
      for (const char c : std::string_view(kFittingsBoxCaptions[i])) {
        if (c == '&' || (c == ' ' && (out[i].empty() || out[i].back() == ' '))) continue;
        out[i] += c;
      }
      while (!out[i].empty() && out[i].back() == ' ') out[i].pop_back();
    }
    return out;
  }();
  static_assert(kNOPX - kVALN == 2 && kWCTB - kVALN == 3, "the boxes in the dialog's order");
  if (column < kVALN || column > kWCTB) return nullptr;
  return captions[column - kVALN].c_str();
}

// Usual words for a column, folded as headings are. None is a caption of
// another column, nor a heading the program's own results write beside
// the inputs ("Line" is the results' line of the file, "Tube" a take-off
// column), so the results read back.
struct UsualWord {
  const char* folded;
  Col column;
};
constexpr UsualWord kUsualWords[] = {
    {"CIRCUIT", kCIRTXT},
    {"CIRCUITNUMBER", kCIRTXT},
    {"LINENO", kPIPETXT},
    {"LINENUMBER", kPIPETXT},
    {"PIPENO", kPIPETXT},
    {"PIPENUMBER", kPIPETXT},
    {"LINEPIPENUMBER", kPIPETXT},
    {"MAXIMUMAMBIENT", kMAXAMB},
    {"MINIMUMAMBIENT", kMINAMB},
    {"MAINTAINTEMP", kMAINTEMP},
    {"MAINTENANCETEMP", kMAINTEMP},
    {"MAINTAINTEMPERATURE", kMAINTEMP},
    {"MAINTENANCETEMPERATURE", kMAINTEMP},
    {"INSULATION", kINSTYPE},
    {"INSULATIONTHK", kINSTHK},
    {"SIZE", kPIPESIZE},
    {"LENGTH", kPIPELN},
    {"TRACERS", kPASSES},
    {"NUMBEROFTRACERS", kPASSES},
    {"PRESSURE", kSTEAMPRS},
    {"STEAMSUPPLYPRESSURE", kSTEAMPRS},
    {"INSTALLATION", kTRACEINS},
    {"TUBESIZE", kTRACETUB},
    {"TUBINGMATERIAL", kTUBEMAT},
    {"FITTINGSINCLUDED", kALLOWANCE},
};

// A heading split into its name and a trailing unit in round or square
// brackets ("Pipe Length (m)" is "Pipe Length" and "m"; "bar(g)" nests).
std::pair<std::string_view, std::string_view> SplitUnit(std::string_view heading) {
  heading = Trim(heading);
  if (heading.empty() || (heading.back() != ')' && heading.back() != ']')) return {heading, {}};
  int depth = 0;
  for (std::size_t i = heading.size(); i-- > 0;) {
    const char c = heading[i];
    if (c == ')' || c == ']') ++depth;
    if ((c == '(' || c == '[') && --depth == 0) {
      if (i == 0) return {heading, {}};  // all in brackets: a name, not a unit
      return {Trim(heading.substr(0, i)), Trim(heading.substr(i + 1, heading.size() - i - 2))};
    }
  }
  return {heading, {}};
}

// A unit as compared: lower case, without blanks and dots.
std::string FoldedUnit(std::string_view unit) {
  std::string out;
  for (char c : unit) {
    if (c == ' ' || c == '.' || c == '\t') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

// The ways a unit is written, folded.
struct UnitSpelling {
  ColumnUnit quantity;
  UnitSystem system;
  PressureUnit pressure;  // for pressures
  std::vector<std::string> spellings;
  const char* option;  // the option that reads it
};
const std::vector<UnitSpelling>& UnitSpellings() {
  static const std::vector<UnitSpelling> table = {
      {ColumnUnit::Temperature,
       UnitSystem::English,
       PressureUnit::Psig,
       {"\u00B0f", "f", "degf", "\u00BAf", "degreesf"},
       "--units english"},
      {ColumnUnit::Temperature,
       UnitSystem::Metric,
       PressureUnit::Psig,
       {"\u00B0c", "c", "degc", "\u00BAc", "degreesc"},
       "--units metric"},
      {ColumnUnit::Size,
       UnitSystem::English,
       PressureUnit::Psig,
       {"in", "inch", "inches", "\""},
       "--units english"},
      {ColumnUnit::Size, UnitSystem::Metric, PressureUnit::Psig, {"mm"}, "--units metric"},
      {ColumnUnit::Length,
       UnitSystem::English,
       PressureUnit::Psig,
       {"ft", "feet", "foot"},
       "--units english"},
      {ColumnUnit::Length,
       UnitSystem::Metric,
       PressureUnit::Psig,
       {"m", "metre", "metres", "meter", "meters"},
       "--units metric"},
      {ColumnUnit::Pressure, UnitSystem::English, PressureUnit::Psig, {"psig", "psi(g)"}, "--units english"},
      {ColumnUnit::Pressure,
       UnitSystem::Metric,
       PressureUnit::Kpa,
       {"kpa", "kpag", "kpa(g)"},
       "--units metric --pressure-unit kpa"},
      {ColumnUnit::Pressure,
       UnitSystem::Metric,
       PressureUnit::BarG,
       {"barg", "bar(g)"},
       "--units metric --pressure-unit barg"},
      {ColumnUnit::ShoeList,
       UnitSystem::English,
       PressureUnit::Psig,
       {"inxcount", "in", "inches"},
       "--units english"},
      {ColumnUnit::ShoeList, UnitSystem::Metric, PressureUnit::Psig, {"mmxcount", "mm"}, "--units metric"},
      {ColumnUnit::Density,
       UnitSystem::English,
       PressureUnit::Psig,
       {"lb/ft\u00B3", "lb/ft3", "lbs/ft3", "lb/cuft", "pcf"},
       "--units english"},
      {ColumnUnit::Density,
       UnitSystem::Metric,
       PressureUnit::Psig,
       {"kg/m\u00B3", "kg/m3"},
       "--units metric"},
      {ColumnUnit::SpecificHeat,
       UnitSystem::English,
       PressureUnit::Psig,
       {"btu/lb-\u00B0f", "btu/lb\u00B0f", "btu/lb-f", "btu/lbf", "btu/(lb\u00B0f)", "btu/(lb-\u00B0f)",
        "btu/lb\u00B7\u00B0f"},
       "--units english"},
      {ColumnUnit::SpecificHeat,
       UnitSystem::Metric,
       PressureUnit::Psig,
       {"j/kg-\u00B0c", "j/kg\u00B0c", "j/kg-c", "j/kgk", "j/kg-k", "j/(kgk)", "j/(kg\u00B0c)",
        "j/kg\u00B7k"},
       "--units metric"},
      {ColumnUnit::LatentHeat, UnitSystem::English, PressureUnit::Psig, {"btu/lb"}, "--units english"},
      {ColumnUnit::LatentHeat, UnitSystem::Metric, PressureUnit::Psig, {"j/kg"}, "--units metric"},
  };
  return table;
}

// Why a heading's unit cannot be read in this run, or empty when it is the
// run's own unit for the column.
std::string UnitProblem(std::string_view heading, std::string_view unit, Col column,
                        const BatchOptions& options) {
  const ColumnUnit quantity = LineListColumns()[column].unit;
  const std::string folded = FoldedUnit(unit);
  for (const UnitSpelling& s : UnitSpellings()) {
    if (s.quantity != quantity ||
        std::find(s.spellings.begin(), s.spellings.end(), folded) == s.spellings.end())
      continue;
    const bool same = s.system == options.units &&
                      (quantity != ColumnUnit::Pressure || options.units == UnitSystem::English ||
                       s.pressure == options.pressureUnit);
    if (same) return {};
    return "line 1: the heading " + QuotedValue(heading) + " gives its values in " + QuotedValue(unit) +
           ", while this run reads " + LineListColumns()[column].name + " in " +
           QuotedValue(ColumnUnitText(quantity, options)) + "; " + s.option + " reads it";
  }
  return "line 1: the heading " + QuotedValue(heading) + " gives its values in " + QuotedValue(unit) +
         ", a unit " + LineListColumns()[column].name + " does not take; this run reads it in " +
         QuotedValue(ColumnUnitText(quantity, options));
}

}  // namespace

std::string FoldedHeading(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

const char* ColumnCaption(std::size_t column) {
  if (column >= kCaptions.size()) return nullptr;
  return kCaptions[column] ? kCaptions[column] : FittingsCaption(column);
}

const char* HeadingHowName(HeadingHow how) {
  switch (how) {
    case HeadingHow::Code:
      return "code";
    case HeadingHow::Caption:
      return "caption";
    case HeadingHow::Word:
      return "word";
    case HeadingHow::Map:
      return "map";
    case HeadingHow::Ignored:
      return "ignored";
    case HeadingHow::Unknown:
      break;
  }
  return "unknown";
}

HeadingsRead ReadHeadings(const std::vector<std::string>& header, const BatchOptions& options) {
  HeadingsRead out;
  for (const std::string& written : header) {
    HeadingReading h;
    h.heading = std::string(Trim(written));
    const auto [name, unit] = SplitUnit(h.heading);
    const std::string folded = FoldedHeading(name);
    // The field code first, then the map file, the caption, a usual word.
    if (const auto code = CodeColumn(folded)) {
      h.column = static_cast<int>(*code);
      h.how = HeadingHow::Code;
    }
    for (const auto& [mapped, column] : options.columns) {
      if (h.how != HeadingHow::Unknown || FoldedHeading(mapped) != FoldedHeading(h.heading)) continue;
      const auto code = CodeColumn(FoldedHeading(column));
      h.column = code ? static_cast<int>(*code) : -1;
      h.how = code ? HeadingHow::Map : HeadingHow::Ignored;
    }
    for (std::size_t c = 0; c < kCaptions.size() && h.how == HeadingHow::Unknown && !folded.empty(); ++c) {
      if (const char* caption = ColumnCaption(c); caption && FoldedHeading(caption) == folded) {
        h.column = static_cast<int>(c);
        h.how = HeadingHow::Caption;
      }
    }
    for (const UsualWord& w : kUsualWords) {
      if (h.how == HeadingHow::Unknown && folded == w.folded) {
        h.column = w.column;
        h.how = HeadingHow::Word;
      }
    }
    // A unit in brackets on a column that has one must be the run's.
    if (h.column >= 0 && !unit.empty() &&
        LineListColumns()[static_cast<std::size_t>(h.column)].unit != ColumnUnit::None && out.error.empty()) {
      out.error = UnitProblem(h.heading, unit, static_cast<Col>(h.column), options);
    }
    out.headings.push_back(std::move(h));
  }
  return out;
}

bool HeadingsArePlainCodes(const std::vector<HeadingReading>& headings) {
  return std::all_of(headings.begin(), headings.end(), [](const HeadingReading& h) {
    if (h.how == HeadingHow::Unknown) return true;
    if (h.how != HeadingHow::Code) return false;
    std::string upper = h.heading;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper == LineListColumns()[static_cast<std::size_t>(h.column)].name;
  });
}

std::optional<ColumnMap> ParseColumnMap(std::string_view text, std::string& error) {
  CsvError csvError;
  const auto table = ParseCsv(text, csvError);
  if (!table) {
    error = csvError.message;
    return std::nullopt;
  }
  ColumnMap map;
  std::vector<std::pair<int, std::vector<std::string>>> lines;
  if (!(table->header.size() == 2 && FoldedHeading(table->header[0]) == "HEADING" &&
        FoldedHeading(table->header[1]) == "COLUMN"))
    lines.push_back({1, table->header});
  for (const CsvRow& row : table->rows) lines.push_back({row.line, row.fields});
  for (const auto& [line, fields] : lines) {
    const std::string where = "line " + std::to_string(line) + ": ";
    if (fields.size() != 2) {
      error = where + "a map line holds a heading and a column, separated by a comma";
      return std::nullopt;
    }
    const std::string_view heading = Trim(fields[0]);
    const std::string_view column = Trim(fields[1]);
    if (heading.empty()) {
      error = where + "the heading is empty";
      return std::nullopt;
    }
    if (!CodeColumn(FoldedHeading(column)) && FoldedHeading(column) != "IGNORE") {
      error = where + QuotedValue(column) + " is no column of a line list (nor \"ignore\")";
      return std::nullopt;
    }
    for (const auto& [earlier, unused] : map) {
      if (FoldedHeading(earlier) == FoldedHeading(heading)) {
        error = where + "the heading " + QuotedValue(heading) + " is mapped twice";
        return std::nullopt;
      }
    }
    map.emplace_back(std::string(heading), std::string(column));
  }
  return map;
}

std::string ColumnMapText(const std::vector<HeadingReading>& headings) {
  std::string out = "heading,column\n";
  for (const HeadingReading& h : headings) {
    if (h.heading.empty()) continue;
    out += CsvLine({h.heading, h.column >= 0 ? LineListColumns()[static_cast<std::size_t>(h.column)].name
                                             : std::string("ignore")});
    out += '\n';
  }
  return out;
}

}  // namespace vst
