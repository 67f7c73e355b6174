#include "batch/batch_design.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>

#include "batch/headings.h"
#include "circuit/allowance_answers.h"
#include "circuit/design.h"
#include "circuit/entry.h"
#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "core/message_titles.h"
#include "core/quoted_value.h"
#include "core/units.h"
#include "prefs/preferences.h"

namespace vst {

const std::vector<LineListColumn>& LineListColumns() {
  static const std::vector<LineListColumn> columns = {
      {"CIRTXT", false, ColumnUnit::None, "", "", "circuit number"},
      {"PIPETXT", false, ColumnUnit::None, "", "", "line or pipe number"},
      {"MAXAMB", true, ColumnUnit::Temperature, nullptr, nullptr, "maximum ambient temperature"},
      {"MINAMB", true, ColumnUnit::Temperature, nullptr, nullptr, "minimum ambient temperature"},
      {"MAINTEMP", true, ColumnUnit::Temperature, nullptr, nullptr, "temperature to be maintained"},
      {"MAXEXP", true, ColumnUnit::Temperature, nullptr, nullptr, "steam out / maximum process temperature"},
      {"INTEXP", false, ColumnUnit::Temperature, "375", "190", "intermittent exposure temperature"},
      {"INSTYPE", true, ColumnUnit::None, nullptr, nullptr, "insulation type, as the list names it"},
      {"INSTHK", true, ColumnUnit::Size, nullptr, nullptr, "insulation thickness, an entry of its list"},
      {"PIPESIZE", true, ColumnUnit::Size, nullptr, nullptr, "pipe size, an entry of its list"},
      {"PIPELN", true, ColumnUnit::Length, nullptr, nullptr, "pipe length"},
      {"PASSES", true, ColumnUnit::None, nullptr, nullptr, "number of tracers, 1 to 8"},
      {"STEAMPRS", true, ColumnUnit::Pressure, nullptr, nullptr, "steam supply pressure"},
      {"TRACEINS", true, ColumnUnit::None, nullptr, nullptr,
       "installation: Troughline, Fillet Trace, YJ-0 (internal mode), YJ-1, YJ-2"},
      {"TRACETUB", true, ColumnUnit::Size, nullptr, nullptr, "tracer tube size, an entry of its list"},
      {"TUBEMAT", true, ColumnUnit::None, nullptr, nullptr,
       "tubing material: Copper, Stainless Wld, Stainless Smls"},
      {"TUBEWALL", false, ColumnUnit::Size, "the window's for the tube", "the window's for the tube",
       "tube wall thickness, an entry of its list"},
      {"ALLOWANCE", false, ColumnUnit::None, "No", "No",
       "fittings allowance included in the pipe length: Yes or No"},
      {"VALN", false, ColumnUnit::None, "0", "0", "valves"},
      {"FLNO", false, ColumnUnit::None, "0", "0", "flanges"},
      {"NOPX", false, ColumnUnit::None, "0", "0", "pumps"},
      {"WCTB", false, ColumnUnit::Length, "0", "0", "pre-insulated tubing"},
      {"SHOES", false, ColumnUnit::ShoeList, "none", "none", "pipe shoes, length x count per size: 12x4;6x2"},
      {"APPTYPE", false, ColumnUnit::None, "Maintenance", "Maintenance",
       "application: Maintenance or Heat Up"},
      {"PRODUCT", false, ColumnUnit::None, "Water", "Water", "heat-up product, as the product list names it"},
      {"HUINIT", false, ColumnUnit::Temperature, "MINAMB", "MINAMB", "heat-up initial temperature"},
      {"HUFINAL", false, ColumnUnit::Temperature, "MAINTEMP", "MAINTEMP", "heat-up final temperature"},
      {"HUDENS", false, ColumnUnit::Density, "", "", "density of the product Other, which needs it"},
      {"HUCP", false, ColumnUnit::SpecificHeat, "", "", "specific heat of the product Other, which needs it"},
      {"HUPCTEMP", false, ColumnUnit::Temperature, "", "",
       "phase change temperature of the product Other, with HULATENT"},
      {"HULATENT", false, ColumnUnit::LatentHeat, "", "", "latent heat of the product Other, with HUPCTEMP"},
  };
  return columns;
}

CircuitContext ContextOf(const BatchOptions& options) {
  return {options.units, options.internalMode, options.pressureUnit, options.insulationSizing, '.'};
}

BatchOptions OptionsOf(const CircuitContext& context) {
  BatchOptions options;
  options.units = context.units;
  options.internalMode = context.internalMode;
  options.pressureUnit = context.pressureUnit;
  options.insulationSizing = context.sizing;
  return options;
}

std::optional<std::size_t> CodeColumn(std::string_view code) {
  const auto& columns = LineListColumns();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (code == columns[c].name) return c;
  }
  return std::nullopt;
}

std::string DesignOutputUnitText(const DesignOutput& output, UnitSystem units) {
  if (output.unit) return std::string(Trim(UnitCaption(*output.unit, units)));
  return output.heatUpOnly ? "hr" : "";
}

std::string WithUnit(const std::string& caption, const std::string& unit) {
  return unit.empty() ? caption : caption + " (" + unit + ")";
}

std::string ColumnUnitText(ColumnUnit unit, const BatchOptions& options) {
  const bool metric = options.units == UnitSystem::Metric;
  switch (unit) {
    case ColumnUnit::Temperature:
      return metric ? "\u00B0C" : "\u00B0F";
    case ColumnUnit::Size:
      return metric ? "mm" : "in";
    case ColumnUnit::Length:
      return metric ? "m" : "ft";
    case ColumnUnit::ShoeList:
      // The shoe dialog's own boxes: shoe lengths in inches or millimetres.
      return metric ? "mm x count" : "in x count";
    case ColumnUnit::Pressure:
      return std::string(Trim(PressureCaption(metric ? options.pressureUnit : PressureUnit::Psig)));
    case ColumnUnit::Density:
      return UnitCaption(UnitQuantity::Density, options.units);
    case ColumnUnit::SpecificHeat:
      return UnitCaption(UnitQuantity::SpecificHeat, options.units);
    case ColumnUnit::LatentHeat:
      return UnitCaption(UnitQuantity::LatentHeat, options.units);
    case ColumnUnit::None:
      break;
  }
  return {};
}

namespace {

// Words that suggest a column for a heading no edit distance finds. They
// only suggest: the words a heading is read as (headings.cpp) never reach
// this table.
struct ColumnAlias {
  const char* word;  // folded
  const char* column;
};
constexpr ColumnAlias kColumnAliases[] = {
    {"VALVE", "VALN"},
    {"VALVES", "VALN"},
    {"NOVALVES", "VALN"},
    {"FLANGE", "FLNO"},
    {"FLANGES", "FLNO"},
    {"NOFLANGES", "FLNO"},
    {"PUMP", "NOPX"},
    {"PUMPS", "NOPX"},
    {"NOPUMPS", "NOPX"},
    {"THICKNESS", "INSTHK"},
    {"TUBE", "TRACETUB"},
    {"MATERIAL", "TUBEMAT"},
    {"WALL", "TUBEWALL"},
    {"WALLTHICKNESS", "TUBEWALL"},
    {"LINE", "PIPETXT"},
    {"PREINSULATED", "WCTB"},
    {"PREINSULATEDTUBING", "WCTB"},
    {"INTERMITTENT", "INTEXP"},
    {"FITTINGS", "ALLOWANCE"},
};

// Edits (insert, delete, replace, swap two neighbours) from one text to
// the other.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// Whether `name` spells the letters of `column` in order, beginning with
// its first three.
bool SpellsInOrder(std::string_view name, std::string_view column) {
  if (name.size() < column.size() || name.substr(0, 3) != column.substr(0, 3)) return false;
  std::size_t at = 0;
  for (char c : name) {
    if (at < column.size() && c == column[at]) ++at;
  }
  return at == column.size();
}

}  // namespace

std::string SuggestedColumn(std::string_view name, const std::vector<std::string>& candidates) {
  const std::string folded = FoldedHeading(name);
  // Names past any column's length are no misspelling of one.
  if (folded.empty() || folded.size() > 40) return {};
  const auto offered = [&](std::string_view column) {
    return std::find(candidates.begin(), candidates.end(), column) != candidates.end();
  };
  for (const ColumnAlias& alias : kColumnAliases) {
    if (folded == alias.word && offered(alias.column)) return alias.column;
  }
  // The nearest column within a distance that grows with its length; a tie
  // suggests nothing.
  std::string best;
  std::size_t bestDistance = 0;
  bool tie = false;
  for (const std::string& column : candidates) {
    const std::size_t limit = column.size() <= 4 ? 1 : 2;
    const std::size_t distance = EditDistance(folded, column);
    if (distance > limit) continue;
    if (best.empty() || distance < bestDistance) {
      best = column;
      bestDistance = distance;
      tie = false;
    } else if (distance == bestDistance) {
      tie = true;
    }
  }
  if (!best.empty()) return tie ? std::string() : best;
  // A longer spelling of a column: the longest column it spells.
  for (const std::string& column : candidates) {
    if (SpellsInOrder(folded, column) && column.size() > best.size()) best = column;
  }
  return best;
}

std::string IgnoredColumnText(const IgnoredColumn& column) {
  if (column.name.empty()) return "column " + std::to_string(column.position) + " (no name)";
  // A long name is cut (never inside a UTF-8 character); one with control
  // characters or invalid bytes is quoted with them escaped, so it cannot
  // break the message's line.
  std::size_t length = column.name.size();
  if (length > kQuotedValueLength) {
    length = kQuotedValueLength;
    while (length > 0 && (static_cast<unsigned char>(column.name[length]) & 0xC0u) == 0x80u) --length;
  }
  std::string name = ShownName(std::string_view(column.name).substr(0, length));
  if (length < column.name.size()) name += "...";
  return column.suggestion.empty() ? name : name + ": did you mean " + column.suggestion + "?";
}

namespace {

// The ignored columns as messages name them, separated by "; ": the first
// kNamedColumns, then how many more, so a header of thousands of unknown
// columns gives a message of one line.
std::string IgnoredColumnList(const std::vector<IgnoredColumn>& columns) {
  std::string out;
  for (std::size_t i = 0; i < columns.size() && i < kNamedColumns; ++i) {
    if (!out.empty()) out += "; ";
    out += IgnoredColumnText(columns[i]);
  }
  if (columns.size() > kNamedColumns)
    out += "; and " + std::to_string(columns.size() - kNamedColumns) + " more";
  return out;
}

using Col = LineListCol;

bool Blank(char c) { return c == ' ' || c == '\t'; }

// Equal texts, case aside, blanks at the ends aside, and runs of blanks
// inside counted as one ("Coverlyn  YJ-0" is "coverlyn yj-0").
bool SameText(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (Blank(a[i]) || Blank(b[j])) {
      if (!(Blank(a[i]) && Blank(b[j]))) return false;
      while (i < a.size() && Blank(a[i])) ++i;
      while (j < b.size() && Blank(b[j])) ++j;
      continue;
    }
    if (a[i] != b[j] && LowerAscii(a[i]) != LowerAscii(b[j])) return false;
    ++i;
    ++j;
  }
  return i == a.size() && j == b.size();
}

bool EndsWithText(std::string_view text, std::string_view tail) {
  text = Trim(text);
  return text.size() >= tail.size() && SameText(text.substr(text.size() - tail.size()), tail);
}

// A refused value in a message: cut to its first characters, so a huge
// field gives a short message.
std::string Quoted(std::string_view text) { return QuotedValue(text); }

std::string Upper(std::string_view text) {
  std::string out(Trim(text));
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// A number written with a decimal comma ("1,5") as the program reads one
// ("1.5"): the text with its one comma as a point when it holds no point,
// else the text as it is.
std::string_view WithDecimalPoint(std::string_view text, std::string& storage) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos ||
      text.find('.') != std::string_view::npos)
    return text;
  storage.assign(text);
  storage[comma] = '.';
  return storage;
}

// Shoe sizes ("0,3x4;0,45x2") with each decimal comma as a point, when the
// text holds no point.
std::string_view ShoesWithDecimalPoints(std::string_view text, std::string& storage) {
  if (text.find('.') != std::string_view::npos || text.find(',') == std::string_view::npos) return text;
  storage.assign(text);
  std::replace(storage.begin(), storage.end(), ',', '.');
  return storage;
}

// The columns whose values are numbers (list entries among them).
bool NumericColumn(Col column) {
  const ColumnUnit unit = LineListColumns()[column].unit;
  return (unit != ColumnUnit::None && unit != ColumnUnit::ShoeList) || column == kPASSES || column == kVALN ||
         column == kFLNO || column == kNOPX;
}

// One data row, addressed by column.
class RowView {
 public:
  RowView(const std::array<int, kColumnCount>& positions, const std::vector<std::string>& fields,
          bool decimalCommas)
      : positions_(positions), fields_(fields), decimalCommas_(decimalCommas) {}
  // The trimmed text of a column; empty when the column is absent.
  std::string_view text(Col column) const {
    const int p = positions_[column];
    if (p < 0 || static_cast<std::size_t>(p) >= fields_.size()) return {};
    return Trim(fields_[static_cast<std::size_t>(p)]);
  }
  // The trimmed text of a column that holds numbers, with a decimal comma
  // read as a point where the list may write one.
  std::string_view numeric(Col column) const {
    const std::string_view t = text(column);
    return decimalCommas_ ? WithDecimalPoint(t, points_[column]) : t;
  }
  // A numeric column: its number's text and value, read here once; the row
  // is refused when it is not a number (the message quotes the text as
  // written).
  TypedNumber number(Col column, bool nonNegative = false) const {
    const std::string_view t = numeric(column);
    const std::string name = std::string("Column ") + LineListColumns()[column].name;
    if (t.empty()) {
      if (LineListColumns()[column].required) refuse(name + " has no value");
      return {};
    }
    auto v = ParseNumber(t);
    if (!v) {
      refuse(name + ": " + Quoted(text(column)) + " is not a number");
      return {};
    }
    if (nonNegative && *v < 0) refuse(name + ": " + Quoted(text(column)) + " is negative");
    return TypedNumber::AlreadyRead(std::string(t), v);
  }
  // Why the window cannot take the row as it stands, naming the column: the
  // first reason found stands. A refusal is returned, not thrown: a list
  // may refuse most of its rows, and unwinding costs more than designing.
  void refuse(std::string why) const {
    if (!refusal_) refusal_ = std::move(why);
  }
  const std::optional<std::string>& refusal() const { return refusal_; }
  // The shoe sizes ("0,3x4;0,45x2"), each decimal comma read as a point
  // where the list may write one and the text holds no point.
  std::string_view shoes() const {
    const std::string_view t = text(kSHOES);
    return decimalCommas_ ? ShoesWithDecimalPoints(t, points_[kSHOES]) : t;
  }

 private:
  const std::array<int, kColumnCount>& positions_;
  const std::vector<std::string>& fields_;
  const bool decimalCommas_;
  mutable std::array<std::string, kColumnCount> points_;  // the numbers' texts with a point
  mutable std::optional<std::string> refusal_;
};

// The position of `value` in a list: the same text (blanks and case aside),
// or, for numeric lists, the same number ("2" is "2.0", "0.5" is ".5").
int FindEntry(const std::vector<std::string>& items, std::string_view value, bool numeric) {
  // Texts that are the same begin with the same letter, case aside: most
  // entries are passed over on it.
  const std::string_view want = Trim(value);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string_view item = Trim(items[i]);
    if (items[i].empty() || (!item.empty() && !want.empty() && LowerAscii(item[0]) != LowerAscii(want[0])))
      continue;
    if (SameText(item, want)) return static_cast<int>(i);
  }
  if (numeric) {
    if (auto v = ParseNumber(value)) {
      for (std::size_t i = 0; i < items.size(); ++i) {
        auto e = ParseNumber(items[i]);
        if (e && *e == *v) return static_cast<int>(i);
      }
    }
  }
  return -1;
}

// The installation entry a row names: the list's own text, or the short
// names "Troughline", "Fillet Trace", "YJ-0", "YJ-1", "YJ-2".
int FindInstallation(const std::vector<std::string>& items, std::string_view value) {
  int pos = FindEntry(items, value, false);
  if (pos >= 0) return pos;
  const std::string_view want = Trim(value);
  const bool yj = want.size() >= 3 && SameText(want.substr(0, 3), "yj-");
  for (std::size_t i = 0; i < items.size(); ++i) {
    if ((yj && EndsWithText(items[i], want)) ||
        (SameText(want, "fillet") && SameText(items[i], "fillet trace")) ||
        (SameText(want, "trough line") && SameText(items[i], "troughline"))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// "12x4;6x2": shoe length x number of shoes, sizes separated by ";"; the
// row is refused at a size that is not such a pair.
void ParseShoes(const RowView& row, std::vector<ShoeSize>& out) {
  const std::string_view text = row.shoes();
  out.clear();
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view part = Trim(text.substr(start, end - start));
    if (!part.empty()) {
      const std::size_t x = part.find_first_of("xX*");
      const std::string_view l = x == std::string_view::npos ? std::string_view() : Trim(part.substr(0, x));
      const std::string_view n = x == std::string_view::npos ? std::string_view() : Trim(part.substr(x + 1));
      auto lv = ParseNumber(l);
      auto nv = ParseNumber(n);
      if (!lv || !nv || *lv < 0 || *nv < 0) {
        return row.refuse("Column SHOES: " + Quoted(part) + " is not a length x count pair such as 12x4");
      }
      if (*nv != std::floor(*nv)) {
        return row.refuse("Column SHOES: " + Quoted(part) +
                          " gives a number of shoes that is not a whole number");
      }
      out.push_back({std::string(l), std::string(n)});
    }
    start = end + 1;
  }
}

// Answers the fittings and shoe dialogs of a row's design from the row, as
// a person typing the row's counts into them. A box the dialog refuses ends
// the row: the dialog's message, then the row's.
class RowAnswers : public DesignQuestions {
 public:
  int allowance = kAllowanceIncludedNo;
  std::array<std::string, 4> boxes;  // valves, flanges, pumps, pre-insulated tubing
  std::vector<ShoeSize> shoes;
  std::optional<ShownMessage> refusal;  // the refused box's message
  const char* refusedDialog = nullptr;  // the row's message

  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) override {
    FittingsReading reading = ReadFittings(allowance, boxes, setup.decimalMark);
    if (!reading.answer) refuse(reading.refusedCaption, "The fittings dialog refused the row's counts");
    return reading.answer;
  }
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup& setup) override {
    ShoesReading reading = ReadShoes(setup.units, setup.shoeAllowance, shoes, setup.decimalMark);
    if (!reading.answer) refuse(reading.refusedCaption, "The shoe dialog refused the row's shoes");
    return reading.answer;
  }

 private:
  void refuse(const std::string& caption, const char* row) {
    refusal = ShownMessage{kInputErrorTitle, BoxRefusalText(caption)};
    refusedDialog = row;
  }
};

// The column of each field a person enters.
Col ColumnOf(EntryField field) {
  switch (field) {
    case EntryField::Installation:
      return kTRACEINS;
    case EntryField::TubeSize:
      return kTRACETUB;
    case EntryField::Material:
      return kTUBEMAT;
    case EntryField::TubeWall:
      return kTUBEWALL;
    case EntryField::PipeSize:
      return kPIPESIZE;
    case EntryField::MaxAmbient:
      return kMAXAMB;
    case EntryField::MinAmbient:
      return kMINAMB;
    case EntryField::MaintTemp:
      return kMAINTEMP;
    case EntryField::MaxExposure:
      return kMAXEXP;
    case EntryField::IntermittentExposure:
      return kINTEXP;
    case EntryField::PipeLength:
      return kPIPELN;
    case EntryField::Pressure:
      return kSTEAMPRS;
    case EntryField::Circuit:
      return kCIRTXT;
    case EntryField::Line:
      return kPIPETXT;
    case EntryField::InsulationType:
      return kINSTYPE;
    case EntryField::InsulationThickness:
      return kINSTHK;
    case EntryField::Passes:
    case EntryField::Done:
      break;
  }
  return kPASSES;
}

}  // namespace

// The typed fields of a row, each checked to be a number (or empty where
// the column may be) before the window sees it.
struct TypedFields {
  TypedNumber maxAmb, minAmb, maint, maxExp, intExp, pipeLen, pressure;

  explicit TypedFields(const RowView& row)
      : maxAmb(row.number(kMAXAMB)),
        minAmb(row.number(kMINAMB)),
        maint(row.number(kMAINTEMP)),
        maxExp(row.number(kMAXEXP)),
        intExp(row.number(kINTEXP)),
        pipeLen(row.number(kPIPELN)),
        pressure(row.number(kSTEAMPRS)) {}
};

struct LineListDesigner::Impl {
  BatchOptions options;
  CircuitContext context;
  std::size_t headerSize = 0;
  std::array<int, kColumnCount> positions{};
  std::string error;
  std::vector<IgnoredColumn> ignored;
  std::vector<HeadingReading> headings;
  bool unknownRefused = false;
  bool decimalCommas = false;  // numbers may be written "1,5"

  // Whether the header holds a heat-up column.
  bool heatUp() const {
    return std::any_of(positions.begin() + kFirstHeatUpColumn, positions.end(), [](int p) { return p >= 0; });
  }

  std::optional<std::string> designRow(const RowView& row, CircuitResult& result) const;
  static void readDialogAnswers(const RowView& row, RowAnswers& answers);
  int findChoice(const RowView& row, EntryField field, const TextList& offered, std::string& problem) const;
  void noteUsedInputs(const RowView& row, const CircuitEntry& entry, CircuitResult& result) const;
  bool refusedAsStrict(CircuitResult& result) const;
  void readHeatUp(const RowView& row, CircuitEntry& entry, CircuitResult& result) const;
  std::optional<TypedNumber> heatUpTemperature(const RowView& row, Col column, const TypedNumber& fallback,
                                               Col fallbackColumn) const;
  static std::optional<TypedNumber> positiveProperty(const RowView& row, Col column, const char* what);
  static void noteHeatUp(const CircuitDesign& design, const CircuitContext& context, CircuitResult& result);
};

// A heat-up temperature column's number (that of `fallbackColumn`, as the
// window took it, when the row leaves it empty); the row is refused when it
// is outside the heat-up's range of -100 to 1600 F.
std::optional<TypedNumber> LineListDesigner::Impl::heatUpTemperature(const RowView& row, Col column,
                                                                     const TypedNumber& fallback,
                                                                     Col fallbackColumn) const {
  const TypedNumber typed = row.number(column);
  if (row.refusal()) return std::nullopt;
  const TypedNumber& number = typed.empty() ? fallback : typed;
  const std::optional<double> value = number.value('.');
  const bool metric = options.units == UnitSystem::Metric;
  const double tempF = value ? (metric ? RunFahrenheitFromCelsius(*value) : *value) : std::nan("");
  if (!InHeatUpRange(tempF)) {
    std::string quoted = Quoted(number.text());
    if (typed.empty())
      quoted += std::string(" (the ") + LineListColumns()[fallbackColumn].name + " it defaults to)";
    row.refuse(std::string("Column ") + LineListColumns()[column].name + ": " + quoted + " must be between " +
               HeatUpRangeText(options.units));
    return std::nullopt;
  }
  return number;
}

// A property of the product "Other": a number greater than 0, which the row
// must give.
std::optional<TypedNumber> LineListDesigner::Impl::positiveProperty(const RowView& row, Col column,
                                                                    const char* what) {
  const TypedNumber number = row.number(column);
  if (row.refusal()) return std::nullopt;
  const std::string name = std::string("Column ") + LineListColumns()[column].name;
  if (number.empty()) {
    row.refuse(name + " has no value: the product Other needs its " + what);
    return std::nullopt;
  }
  if (!(*number.value('.') > 0.0)) {
    row.refuse(name + ": " + Quoted(row.text(column)) + " must be a number greater than 0");
    return std::nullopt;
  }
  return number;
}

// The heat-up columns of a row into the entry, as the "Heat Up Data" tab
// takes them: the application, the product, the initial and final
// temperatures (the minimum ambient and the maintenance temperature when
// empty) and, for "Other", its density, specific heat and phase change. A
// value the heat-up cannot take refuses the row with a message naming its
// column; a maintenance row reads none but the application.
void LineListDesigner::Impl::readHeatUp(const RowView& row, CircuitEntry& e, CircuitResult& result) const {
  const std::string_view application = row.text(kAPPTYPE);
  if (!application.empty()) {
    e.application = FindEntry(ApplicationList(), application, false);
    if (e.application < 0)
      return row.refuse("Column APPTYPE: " + Quoted(application) + " is not in the application list (" +
                        ApplicationList()[0] + ", " + ApplicationList()[1] + ")");
  }
  if (e.application != kApplicationHeatUp) return;
  const std::string_view product = row.text(kPRODUCT);
  e.product = product.empty() ? 0 : FindEntry(ProductList(), product, false);
  if (e.product < 0) return row.refuse("Column PRODUCT: " + Quoted(product) + " is not in the product list");
  const auto initial = heatUpTemperature(row, kHUINIT, e.minAmbient, kMINAMB);
  if (!initial) return;
  e.initialTemp = *initial;
  const auto final = heatUpTemperature(row, kHUFINAL, e.maintTemp, kMAINTEMP);
  if (!final) return;
  e.finalTemp = *final;
  if (e.product != kProductOther) {
    // A listed product carries its own data.
    std::string unread;
    for (const Col c : {kHUDENS, kHUCP, kHUPCTEMP, kHULATENT}) {
      if (!row.text(c).empty()) unread += std::string(unread.empty() ? "" : ", ") + LineListColumns()[c].name;
    }
    if (!unread.empty())
      result.messages.push_back({kWarningTitle, "Not read: " + unread + " (for the product Other only; " +
                                                    ProductList()[static_cast<std::size_t>(e.product)] +
                                                    " has its own data)"});
    return;
  }
  const auto density = positiveProperty(row, kHUDENS, "density");
  if (!density) return;
  e.density = *density;
  const auto specificHeat = positiveProperty(row, kHUCP, "specific heat");
  if (!specificHeat) return;
  e.specificHeat = *specificHeat;
  const TypedNumber phaseChangeTemp = row.number(kHUPCTEMP);
  const TypedNumber latentHeat = row.number(kHULATENT, true);
  if (row.refusal()) return;
  if (!latentHeat.empty() && phaseChangeTemp.empty())
    return row.refuse("Column HULATENT: a latent heat needs a phase change temperature in HUPCTEMP");
  if (!phaseChangeTemp.empty() && latentHeat.empty())
    return row.refuse("Column HUPCTEMP: a phase change needs its latent heat in HULATENT");
  e.phaseChange = !phaseChangeTemp.empty();
  if (e.phaseChange) {
    const auto temperature = heatUpTemperature(row, kHUPCTEMP, {}, kHUPCTEMP);
    if (!temperature) return;
    e.phaseChangeTemp = *temperature;
    e.latentHeat = latentHeat;
  }
}

// What a heat-up design gave the row: its time (the output empty and the
// messages saying why when none was computed) and the product's properties
// at the mean of the initial and final temperatures, in the run's units.
void LineListDesigner::Impl::noteHeatUp(const CircuitDesign& design, const CircuitContext& context,
                                        CircuitResult& result) {
  if (!design.heatUp) return;
  const HeatUpResult& h = *design.heatUp;
  std::string& shown = result.display.at(kMaintenanceOutputs);
  if (h.end == HeatUpEnd::Computed) {
    result.heatUpHours = ToSingle(h.hours);
  } else {
    shown.clear();
  }
  if (h.end != HeatUpEnd::Computed && h.end != HeatUpEnd::CannotReach) return;
  const CircuitEntry& e = design.entry;
  if (const auto p = ProductAtMeanTemperature(e, context)) {
    result.heatUpProduct = {ToSingle(p->density), ToSingle(p->specificHeat), ToSingle(p->at)};
  } else if (e.product == kProductOther) {
    // The row's checks made each of them a number.
    const double mean = (*e.initialTemp.value('.') + *e.finalTemp.value('.')) / 2.0;
    result.heatUpProduct = {ToSingle(*e.density.value('.')), ToSingle(*e.specificHeat.value('.')),
                            ToSingle(mean)};
  }
}

// The answers of the fittings and shoe dialogs, from the row.
void LineListDesigner::Impl::readDialogAnswers(const RowView& row, RowAnswers& d) {
  const std::string_view allowance = row.text(kALLOWANCE);
  if (SameText(allowance, "yes")) {
    d.allowance = kAllowanceIncludedYes;
  } else if (allowance.empty() || SameText(allowance, "no")) {
    d.allowance = kAllowanceIncludedNo;
  } else {
    return row.refuse("Column ALLOWANCE: " + Quoted(allowance) + " is neither Yes nor No");
  }
  // An empty box counts as 0.
  auto orZero = [](const TypedNumber& t) { return t.empty() ? std::string("0") : t.text(); };
  d.boxes = {orZero(row.number(kVALN, true)), orZero(row.number(kFLNO, true)),
             orZero(row.number(kNOPX, true)), orZero(row.number(kWCTB, true))};
  if (!row.refusal()) ParseShoes(row, d.shoes);
}

// The row's list choices as positions in the lists the window offers when
// entering reaches them (the installation decides the tube sizes, the tube
// and the material the wall thicknesses). A value a list does not offer is
// -1, and `problem` says why.
int LineListDesigner::Impl::findChoice(const RowView& row, EntryField field, const TextList& offered,
                                       std::string& problem) const {
  struct ListColumn {
    EntryField field;
    Col column;
    const char* list;
    bool numeric;
  };
  const bool metric = options.units == UnitSystem::Metric;
  const ListColumn columns[] = {
      {EntryField::Installation, kTRACEINS, "installation", false},
      {EntryField::TubeSize, kTRACETUB, "tracer tubing", metric},
      {EntryField::Material, kTUBEMAT, "tubing material", false},
      {EntryField::TubeWall, kTUBEWALL, "wall thickness", true},
      {EntryField::PipeSize, kPIPESIZE, "pipe size", true},
      {EntryField::InsulationType, kINSTYPE, "insulation type", false},
      {EntryField::InsulationThickness, kINSTHK, "insulation thickness", true},
      {EntryField::Passes, kPASSES, "number of passes", true},
  };
  for (const ListColumn& c : columns) {
    if (c.field != field) continue;
    const int position =
        field == EntryField::Installation
            ? FindInstallation(offered, row.text(c.column))
            : FindEntry(offered, c.numeric ? row.numeric(c.column) : row.text(c.column), c.numeric);
    if (position < 0) {
      problem = std::string("Column ") + LineListColumns()[c.column].name + ": " +
                Quoted(row.text(c.column)) + " is not in the " + c.list + " list";
    }
    return position;
  }
  return -1;
}

// Designs one row: the circuit is entered field by field as a person would,
// each list choice looked up in the list on offer when entering reaches it
// (a value not on offer stops the row with one message naming its column),
// and designed.
std::optional<std::string> LineListDesigner::Impl::designRow(const RowView& row,
                                                             CircuitResult& result) const {
  RowAnswers answers;
  readDialogAnswers(row, answers);
  if (row.refusal()) return row.refusal();
  const TypedFields fields(row);
  if (row.refusal()) return row.refusal();

  CircuitEntry wanted;
  wanted.maxAmbient = fields.maxAmb;
  wanted.minAmbient = fields.minAmb;
  wanted.maintTemp = fields.maint;
  wanted.maxExposure = fields.maxExp;
  wanted.intermittentExposure = fields.intExp;
  wanted.pipeLength = fields.pipeLen;
  wanted.pressure = fields.pressure;
  wanted.circuit = row.text(kCIRTXT);
  wanted.line = row.text(kPIPETXT);
  std::string problem;
  EnteredCircuit entered = Enter(
      wanted, context, !row.text(kTUBEWALL).empty(), !fields.intExp.empty(),
      [&](EntryField field, const TextList& offered) { return findChoice(row, field, offered, problem); });
  result.messages = std::move(entered.messages);
  for (EntryCorrection& c : entered.corrections) {
    const Col column = ColumnOf(c.field);
    result.corrections.push_back({LineListColumns()[column].name, std::string(row.text(column)),
                                  std::move(c.used), std::move(c.message)});
  }
  if (entered.stoppedAt != EntryField::Done) return problem;
  readHeatUp(row, entered.entry, result);
  if (row.refusal()) return row.refusal();

  noteUsedInputs(row, entered.entry, result);
  if (refusedAsStrict(result)) return std::nullopt;

  const CircuitDesign design = DesignCircuit(entered.entry, context, answers);
  result.messages.insert(result.messages.end(), design.messages.begin(), design.messages.end());
  if (answers.refusal) {
    result.messages.push_back(*answers.refusal);
    return answers.refusedDialog;
  }
  result.record = RecordOf(design, context, FreshRecord());
  result.ok = design.outcome == DesignOutcome::Completed;
  result.installation = InstallationText(design.entry, options.internalMode);
  if (design.outcome == DesignOutcome::Completed) {
    const DesignDisplay& d = design.display;
    result.display.clear();
    for (const DesignOutput& o : kDesignOutputs) result.display.push_back(d.*o.text);
    result.meetsMaintainTemperature = result.ok && !d.shortOfMaintTemp;
    noteHeatUp(design, context, result);
  }
  return std::nullopt;
}

// The inputs as the window took them; the wall and the intermittent
// exposure the row left empty as the window filled them in. A list entry
// the window shows blank keeps the row's text.
void LineListDesigner::Impl::noteUsedInputs(const RowView& row, const CircuitEntry& e,
                                            CircuitResult& result) const {
  const auto list = [&](Col column, const std::string& shown) {
    if (!shown.empty()) result.used[column] = shown;
  };
  list(kTRACEINS, InstallationText(e, options.internalMode));
  list(kTRACETUB, TubeSizeText(e));
  list(kTUBEMAT, ChoiceText(&TracerMaterialList(), e.material));
  if (!row.text(kTUBEWALL).empty()) {
    list(kTUBEWALL, TubeWallText(e));
  } else {
    result.used[kTUBEWALL] = TubeWallText(e);
  }
  list(kPIPESIZE, PipeSizeText(e));
  result.used[kMAXAMB] = e.maxAmbient.text();
  result.used[kMINAMB] = e.minAmbient.text();
  result.used[kMAINTEMP] = e.maintTemp.text();
  result.used[kMAXEXP] = e.maxExposure.text();
  result.used[kINTEXP] = e.intermittentExposure.text();
  result.used[kPIPELN] = e.pipeLength.text();
  result.used[kSTEAMPRS] = e.pressure.text();
  result.used[kCIRTXT] = e.circuit;
  result.used[kPIPETXT] = e.line;
  list(kINSTYPE, ChoiceText(&InsulationTypeList(), e.insulationType));
  list(kINSTHK, ChoiceText(&InsulationThicknessList(options.units), e.insulationThickness));
  list(kPASSES, ChoiceText(&PassList(), e.passes));
  if (!row.text(kSHOES).empty()) result.used[kSHOES] = row.shoes();
  result.used[kAPPTYPE] = ChoiceText(&ApplicationList(), e.application);
  if (e.application != kApplicationHeatUp) return;
  result.used[kPRODUCT] = ChoiceText(&ProductList(), e.product);
  result.used[kHUINIT] = e.initialTemp.text();
  result.used[kHUFINAL] = e.finalTemp.text();
}

// With --strict a row the window's checks changed is not designed; its
// message lists every change.
bool LineListDesigner::Impl::refusedAsStrict(CircuitResult& result) const {
  if (!options.strict || result.corrections.empty()) return false;
  std::string text = "Not designed: the window would change ";
  for (std::size_t i = 0; i < result.corrections.size(); ++i) {
    const auto& c = result.corrections[i];
    if (i) text += ", ";
    text += c.column + " from " + Quoted(c.entered) + " to " + Quoted(c.used);
  }
  result.messages.push_back({kInputErrorTitle, text + " (--strict)"});
  return true;
}

LineListDesigner::LineListDesigner(const std::vector<std::string>& header, const BatchOptions& options,
                                   char delimiter)
    : impl_(std::make_unique<Impl>()) {
  Impl& s = *impl_;
  s.options = options;
  s.decimalCommas = TakesDecimalCommas(delimiter);
  s.context = ContextOf(options);
  s.headerSize = header.size();
  s.positions.fill(-1);
  const auto& columns = LineListColumns();
  HeadingsRead read = ReadHeadings(header, options);
  s.headings = std::move(read.headings);
  std::vector<std::string> seen;
  std::vector<std::size_t> unknown;  // header positions
  for (std::size_t i = 0; i < header.size(); ++i) {
    const std::string name = Upper(header[i]);
    const int column = s.headings[i].column;
    if (column >= 0) {
      // Two headings that read as one column: neither is taken.
      const int earlier = s.positions[static_cast<std::size_t>(column)];
      if (earlier >= 0 && Upper(header[static_cast<std::size_t>(earlier)]) != name) {
        s.error = "line 1: the headings " + Quoted(Trim(header[static_cast<std::size_t>(earlier)])) +
                  " and " + Quoted(Trim(header[i])) + " both name the column " +
                  columns[static_cast<std::size_t>(column)].name;
        return;
      }
      s.positions[static_cast<std::size_t>(column)] = static_cast<int>(i);
    } else if (s.headings[i].how == HeadingHow::Unknown) {
      unknown.push_back(i);
    }
    if (name.empty()) continue;
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
      s.error = "line 1: the column " + name + " appears twice";
      return;
    }
    seen.push_back(name);
  }
  if (!read.error.empty()) {
    s.error = read.error;
    return;
  }
  // An unnamed column at the end is a trailing delimiter, not a column.
  if (!unknown.empty() && unknown.back() + 1 == header.size() && header.size() > 1 &&
      Trim(header[unknown.back()]).empty()) {
    unknown.pop_back();
  }
  std::vector<std::string> absent;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (s.positions[c] < 0) absent.emplace_back(columns[c].name);
  }
  for (std::size_t i : unknown) {
    const std::string_view name = Trim(header[i]);
    s.ignored.push_back({std::string(name), static_cast<int>(i + 1), SuggestedColumn(name, absent)});
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (!columns[c].required || s.positions[c] >= 0) continue;
    s.error = std::string("line 1: the required column ") + columns[c].name + " is missing";
    // The column meant, when an unknown one is close to it; else every
    // unknown column.
    std::string named;
    for (const IgnoredColumn& ignored : s.ignored) {
      if (ignored.suggestion == columns[c].name) named = IgnoredColumnText(ignored);
    }
    if (named.empty()) {
      named = IgnoredColumnList(s.ignored);
      if (!named.empty()) named = "columns not known: " + named;
    }
    if (!named.empty()) s.error += "; " + named;
    return;
  }
  if (options.strict && !s.ignored.empty()) {
    s.error = "line 1: columns not known (--strict): " + IgnoredColumnList(s.ignored);
    s.unknownRefused = true;
  }
}

LineListDesigner::~LineListDesigner() = default;

bool LineListDesigner::ok() const { return impl_->error.empty(); }
const std::string& LineListDesigner::error() const { return impl_->error; }
const std::vector<IgnoredColumn>& LineListDesigner::ignoredColumns() const { return impl_->ignored; }
bool LineListDesigner::refusedUnknownColumns() const { return impl_->unknownRefused; }
bool LineListDesigner::heatUp() const { return impl_->heatUp(); }
const std::vector<HeadingReading>& LineListDesigner::headings() const { return impl_->headings; }
std::vector<int> LineListDesigner::positions() const {
  return std::vector<int>(impl_->positions.begin(), impl_->positions.end());
}

void LineListDesigner::design(const CsvRow& row, int rowNumber, CircuitResult& result) const {
  const Impl& s = *impl_;
  result.row = rowNumber;
  result.line = row.line;
  result.ok = false;
  result.meetsMaintainTemperature = false;
  result.installation.clear();
  result.corrections.clear();
  result.messages.clear();
  result.display.assign(kDisplayFieldCount, std::string());
  result.record = DesignRecord{};
  result.inputs = row.fields;
  // Until the window has taken them, the inputs are as entered.
  const auto& columns = LineListColumns();
  result.used.resize(kColumnCount);
  const bool metric = s.options.units == UnitSystem::Metric;
  for (std::size_t c = 0; c < kColumnCount; ++c) {
    const int p = s.positions[c];
    if (p >= 0 && static_cast<std::size_t>(p) < row.fields.size()) {
      result.used[c].assign(Trim(row.fields[static_cast<std::size_t>(p)]));
    } else {
      result.used[c].clear();
    }
    const char* fallback = metric ? columns[c].defaultMetric : columns[c].defaultEnglish;
    if (result.used[c].empty() && fallback && c != kTUBEWALL && c != kSHOES && c != kHUINIT && c != kHUFINAL)
      result.used[c] = fallback;
  }
  result.heatUpColumns = s.heatUp();
  result.heatUpHours.reset();
  result.heatUpProduct.reset();
  // A row the reader could not take whole (a field or line too long) is
  // not designed.
  if (!row.problem.empty()) {
    result.messages.push_back({kInputErrorTitle, row.problem});
    return;
  }
  // A workbook cell without a value that reads as text (a date, an error,
  // a formula never calculated), in a column the row is designed from.
  for (const CsvRow::CellProblem& p : row.cellProblems) {
    if (std::find(s.positions.begin(), s.positions.end(), static_cast<int>(p.field)) != s.positions.end()) {
      result.messages.push_back({kInputErrorTitle, p.message});
      return;
    }
  }
  if (row.fields.size() != s.headerSize) {
    result.messages.push_back({kInputErrorTitle, "Line " + std::to_string(row.line) + " has " +
                                                     std::to_string(row.fields.size()) +
                                                     " fields, the header " + std::to_string(s.headerSize) +
                                                     "; the row was not designed"});
    return;
  }
  if (auto refusal = s.designRow(RowView(s.positions, row.fields, s.decimalCommas), result)) {
    result.messages.push_back({kInputErrorTitle, std::move(*refusal)});
    result.ok = false;
    result.meetsMaintainTemperature = false;
    result.installation.clear();
    result.display.assign(kDisplayFieldCount, std::string());
    result.record = DesignRecord{};
  }
}

std::string TypedCellValue(LineListCol column, const std::string& typed, char delimiter) {
  if (TakesDecimalCommas(delimiter)) return typed;
  std::string storage;
  if (column == kSHOES) return std::string(ShoesWithDecimalPoints(typed, storage));
  return NumericColumn(column) ? std::string(WithDecimalPoint(typed, storage)) : typed;
}

BatchResult DesignLineList(const CsvTable& table, const BatchOptions& options) {
  BatchResult result;
  result.header = table.header;
  LineListDesigner designer(table.header, options, table.delimiter);
  result.ignoredColumns = designer.ignoredColumns();
  result.headings = designer.headings();
  if (!designer.ok()) {
    result.error = designer.error();
    return result;
  }
  result.ok = true;
  result.heatUp = designer.heatUp();
  int n = 0;
  for (const auto& row : table.rows) {
    CircuitResult c;
    designer.design(row, ++n, c);
    result.circuits.push_back(std::move(c));
  }
  return result;
}

}  // namespace vst
