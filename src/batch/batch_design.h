// Designs a line list circuit by circuit with the main window's own rules:
// each row becomes a circuit entry, is entered field by field as a person
// would enter it in the window (installation, tube size, material, wall,
// pipe size, then the fields, then insulation and passes) and designed, the
// fittings and shoe dialogs answered from the row. Every message the window
// would show is collected in order; nothing waits for a person.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/csv.h"
#include "circuit/design.h"
#include "circuit/entry.h"
#include "core/design_record.h"

namespace vst {

// Headings a column map file names, each with the field code it reads or
// "ignore".
using ColumnMap = std::vector<std::pair<std::string, std::string>>;

struct BatchOptions {
  UnitSystem units = UnitSystem::English;
  bool internalMode = false;
  PressureUnit pressureUnit = PressureUnit::Psig;  // English: always psig
  InsulationSizing insulationSizing = InsulationSizing::Standard;
  bool strict = false;  // a row the window's checks would change is not designed
  ColumnMap columns{};  // headings nothing else reads (--columns)
};
// The circuit context a list's rows are entered and designed in: the run's
// options, numbers with a decimal point (the reader turns a list's decimal
// commas into points).
CircuitContext ContextOf(const BatchOptions& options);
// The options of a run in a circuit context (not strict, no column map).
BatchOptions OptionsOf(const CircuitContext& context);

// The columns of a line list, in the order the results list them.
enum class ColumnUnit {
  None,
  Temperature,
  Size,
  Length,
  Pressure,
  ShoeList,
  Density,
  SpecificHeat,
  LatentHeat
};
struct LineListColumn {
  const char* name;
  bool required;
  ColumnUnit unit;
  const char* defaultEnglish;  // the value used when the column or its value is absent
  const char* defaultMetric;
  const char* what;
};
const std::vector<LineListColumn>& LineListColumns();
// The column a field code names ("MAXAMB"), as the program writes codes;
// nothing for another text.
std::optional<std::size_t> CodeColumn(std::string_view code);

// The line list columns by their position in LineListColumns().
enum LineListCol : std::size_t {
  kCIRTXT,
  kPIPETXT,
  kMAXAMB,
  kMINAMB,
  kMAINTEMP,
  kMAXEXP,
  kINTEXP,
  kINSTYPE,
  kINSTHK,
  kPIPESIZE,
  kPIPELN,
  kPASSES,
  kSTEAMPRS,
  kTRACEINS,
  kTRACETUB,
  kTUBEMAT,
  kTUBEWALL,
  kALLOWANCE,
  kVALN,
  kFLNO,
  kNOPX,
  kWCTB,
  kSHOES,
  // The heat-up columns: the application and, for "Heat Up", the product
  // and its temperatures (the density, specific heat, phase change
  // temperature and latent heat for "Other" only).
  kAPPTYPE,
  kPRODUCT,
  kHUINIT,
  kHUFINAL,
  kHUDENS,
  kHUCP,
  kHUPCTEMP,
  kHULATENT,
  kColumnCount
};
// The first heat-up column. A list without any heat-up column gives its
// results without them (and without the heat-up time), as lists did before
// the heat-up was carried.
inline constexpr std::size_t kFirstHeatUpColumn = kAPPTYPE;
// The unit of a column's values ("°F", "in", " psig" trimmed, ...); empty for none.
// Shoe lengths are inches (millimetres), as the shoe dialog takes them.
std::string ColumnUnitText(ColumnUnit unit, const BatchOptions& options);
// A heading with its unit in parentheses: "MAXAMB (°F)"; the caption alone
// without a unit.
std::string WithUnit(const std::string& caption, const std::string& unit);
// The unit of a design output's values in a unit system ("°F", "BTU/hr-ft",
// ...; the heat-up time in hours in both); empty for none.
std::string DesignOutputUnitText(const DesignOutput& output, UnitSystem units);

// A header column that is no line list column: its name as written
// (trimmed), its 1-based position, and the known column it probably means
// ("" when none is close).
struct IgnoredColumn {
  std::string name;
  int position = 0;
  std::string suggestion;
};

// The known column a header name probably means, among `candidates` (the
// columns the header lacks): a usual word for it ("VALVES" is VALN), else
// the one column within a small edit distance ("SHOE" is SHOES), else one
// whose letters the name spells in order from the same start ("PIPELENGTH"
// is PIPELN). Empty when none is close.
std::string SuggestedColumn(std::string_view name, const std::vector<std::string>& candidates);

// The column as messages name it: "VALVES: did you mean VALN?", "COMMENT",
// "column 7 (no name)".
std::string IgnoredColumnText(const IgnoredColumn& column);
// Messages name at most this many ignored columns, then say how many more.
inline constexpr std::size_t kNamedColumns = 10;

// How a heading of the list was read (headings.h reads them).
enum class HeadingHow { Code, Caption, Word, Map, Ignored, Unknown };
struct HeadingReading {
  std::string heading;  // as written, trimmed
  int column = -1;      // LineListCol; -1 when not read
  HeadingHow how = HeadingHow::Unknown;
};

// The output fields of the main window after a design, in the order the
// results list them: maximum and minimum maintained temperature, heat loss,
// condensate load, insulation size, total tracer length, trap distance,
// vertical rise, tracer product, heat-up time (kDesignOutputs). The
// heat-up time is empty unless a heat-up design computed one.
inline constexpr int kDisplayFieldCount = static_cast<int>(kDesignOutputs.size());

// An input that an application check of the window changed.
struct Correction {
  std::string column;   // "STEAMPRS"
  std::string entered;  // as the row gave it
  std::string used;     // as the window took it
  std::string message;  // the check's message ("" when it showed none)
};

struct CircuitResult {
  int row = 0;      // 1-based data row
  int line = 0;     // line of the file where the row starts
  bool ok = false;  // the record holds a design
  // Designed, and the minimum maintained temperature holds the temperature
  // to be maintained (false when not designed).
  bool meetsMaintainTemperature = false;
  std::string installation;             // Cab_In text finally used (after fallbacks)
  std::vector<Correction> corrections;  // inputs the window's checks changed
  std::vector<ShownMessage> messages;   // in the order shown
  std::vector<std::string> display;     // texts of the output fields, in that order
  DesignRecord record;
  std::vector<std::string> inputs;  // the row's own fields, as read
  // The value of each LineListColumns() entry as the window took it (list
  // entries as the list's text); as entered when the row never reached it.
  std::vector<std::string> used;

  // The list holds a heat-up column: the results carry the heat-up columns
  // and outputs.
  bool heatUpColumns = false;
  // A "Heat Up" row's time, hours; nothing when none was computed (a
  // maintenance row, or the messages say why).
  std::optional<float> heatUpHours;
  // The product properties a "Heat Up" row's heat-up used, at the mean of
  // its initial and final temperatures, in the run's units (lb/ft3,
  // BTU/(lb F), F; kg/m3, J/(kg C), C).
  struct ProductUsed {
    float density = 0;
    float specificHeat = 0;
    float at = 0;
  };
  std::optional<ProductUsed> heatUpProduct;
};

// Designs rows of one line list, one at a time.
class LineListDesigner {
 public:
  // `delimiter` is the list's: in a list separated by semicolons or tabs a
  // number may be written with a decimal comma (TakesDecimalCommas).
  LineListDesigner(const std::vector<std::string>& header, const BatchOptions& options, char delimiter = ',');
  ~LineListDesigner();
  LineListDesigner(const LineListDesigner&) = delete;
  LineListDesigner& operator=(const LineListDesigner&) = delete;

  // False when the header cannot be used (a required column missing, a
  // column twice, with --strict a column it does not know); error() then
  // says why, naming line 1.
  bool ok() const;
  const std::string& error() const;
  // The header columns that are no line list column, in header order; their
  // values are not read.
  const std::vector<IgnoredColumn>& ignoredColumns() const;
  // Whether the header was refused only for columns it does not know
  // (--strict), which the command counts as a usage error.
  bool refusedUnknownColumns() const;
  // How each heading was read, in header order.
  const std::vector<HeadingReading>& headings() const;
  // The header position of each LineListColumns() entry; -1 when absent.
  std::vector<int> positions() const;
  // Whether the header holds a heat-up column.
  bool heatUp() const;
  // Designs the row, the `rowNumber`-th data row. A row whose field count
  // differs from the header is an error of that row.
  void design(const CsvRow& row, int rowNumber, CircuitResult& result) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// What a cell of `column` typed into a list holds: in a comma-separated list,
// whose numbers cannot hold a comma, a number (or shoe sizes) typed with a
// decimal comma and no point gets points ("250,5" is 250.5), so the list
// designs and reads back as meant; anything else, and every cell of a list
// that takes decimal commas, as typed.
std::string TypedCellValue(LineListCol column, const std::string& typed, char delimiter);

struct BatchResult {
  bool ok = false;    // false: the list itself is unusable (error says why)
  std::string error;  // "line 1: ..." naming the line
  std::vector<std::string> header;
  std::vector<IgnoredColumn> ignoredColumns;
  std::vector<HeadingReading> headings;
  bool heatUp = false;  // the header holds a heat-up column
  std::vector<CircuitResult> circuits;
};

// Designs every data row of the table and keeps the results.
BatchResult DesignLineList(const CsvTable& table, const BatchOptions& options);

// Output forms of the batch results, whole or piece by piece.
std::string BatchJson(const BatchResult& result, const BatchOptions& options);
std::string BatchCsv(const BatchResult& result, const BatchOptions& options);
// The JSON begins with the run's options, the columns it ignored and,
// unless the headings are all plain field codes, how each was read.
std::string BatchJsonStart(const BatchOptions& options, const std::vector<IgnoredColumn>& ignored = {},
                           const std::vector<HeadingReading>& headings = {});
void AppendBatchJsonCircuit(std::string& out, const CircuitResult& circuit, bool first);
std::string BatchJsonEnd();
// The header row: one column per value, each named once, with its unit;
// the heat-up columns and time only for a list with a heat-up column.
std::string BatchCsvHeader(const BatchOptions& options, bool heatUp = false);
void AppendBatchCsvRow(std::string& out, const CircuitResult& circuit);
// The same table as cells: the headings, and a circuit's row as a
// spreadsheet shows each of its fields (SpreadsheetText).
std::vector<std::string> BatchCsvHeadings(const BatchOptions& options, bool heatUp = false);
std::vector<std::string> BatchResultCells(const CircuitResult& circuit);

// The ten records of a design set, by field name (the `show` command).
std::string RecordsJson(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode);
std::string RecordsCsv(const std::array<DesignRecord, DesignSet::kRecords>& records);

}  // namespace vst
