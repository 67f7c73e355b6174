// The results of a batch design as JSON (every record field by name) and as a
// CSV table for spreadsheets (one row per circuit, each column named once
// with the unit of its values, list choices as their texts).
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <type_traits>
#include <variant>

#include "batch/batch_design.h"
#include "batch/csv.h"
#include "batch/headings.h"
#include "batch/json.h"
#include "circuit/design.h"
#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {

namespace {

// The longest key of a record field below, as written.
constexpr std::size_t kMaxFieldKey = 64;

// ,"NAME": of every record field, built once (the first without its comma).
const std::vector<std::string>& FieldKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> out;
    for (const auto& f : RecordFields()) {
      out.push_back("," + JsonString(f.name) + ":");
      if (out.back().size() > kMaxFieldKey) throw std::logic_error("a record field name is too long");
    }
    return out;
  }();
  return keys;
}

// The name of each design output in the results' "display" object (the
// names of the main window's fields, which the results have always used).
std::string_view DisplayName(std::string DesignDisplay::*output) {
  struct Named {
    std::string DesignDisplay::*output;
    std::string_view name;
  };
  static constexpr Named kNamed[] = {
      {&DesignDisplay::maxMaintTemp, "Max_Maint_Temp"}, {&DesignDisplay::minMaintTemp, "Min_Maint_Temp"},
      {&DesignDisplay::heatLoss, "Ht_Lswo_Out"},        {&DesignDisplay::condensate, "Cond_Load"},
      {&DesignDisplay::insulationSize, "Insul_Size"},   {&DesignDisplay::totalLength, "Tot_Cab_Out"},
      {&DesignDisplay::trapDistance, "Trap_Dist"},      {&DesignDisplay::rise, "Rise"},
      {&DesignDisplay::traceType, "TraceTp"},           {&DesignDisplay::heatUpTime, "txtHuTime"},
  };
  for (const Named& n : kNamed) {
    if (n.output == output) return n.name;
  }
  throw std::logic_error("a design output without a name in the results");
}

// "NAME": of every design output, built once.
const std::array<std::string, kDisplayFieldCount>& DisplayKeys() {
  static const std::array<std::string, kDisplayFieldCount> keys = [] {
    std::array<std::string, kDisplayFieldCount> out;
    for (std::size_t d = 0; d < out.size(); ++d)
      out[d] = JsonString(DisplayName(kDesignOutputs[d].text)) + ":";
    return out;
  }();
  return keys;
}

const char* UnitsName(UnitSystem u) { return u == UnitSystem::Metric ? "metric" : "english"; }

// A field's key and its number appended together (most fields are
// numbers): `write` puts the number's text at the pointer it is given, with
// room for 64 characters, and returns the end of it.
template <typename Write>
void AppendKeyAndNumber(std::string& out, std::string_view key, Write write) {
  std::array<char, kMaxFieldKey + 64> text;
  const std::size_t keyLength = key.copy(text.data(), kMaxFieldKey);
  const char* const end = write(text.data() + keyLength);
  out.append(text.data(), static_cast<std::size_t>(end - text.data()));
}

void AppendRecordObject(std::string& out, const DesignRecord& r) {
  out += '{';
  const auto& keys = FieldKeys();
  std::size_t i = 0;
  for (const auto& f : RecordFields()) {
    const std::string_view key = std::string_view(keys[i]).substr(i == 0 ? 1 : 0);
    ++i;
    // Each field read through its own type; a text field that holds a
    // number is written as its shortest text.
    std::visit(
        [&](auto member) {
          const auto& v = r.*member;
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, float>) {
            if (f.kind == FieldKind::Real && std::isfinite(v)) {
              AppendKeyAndNumber(out, key, [&](char* at) { return WriteShortestText(v, at); });
              return;
            }
          } else if constexpr (std::is_same_v<T, int>) {
            // A whole number that a single holds exactly (below 2^24) is
            // written as its digits, the shortest text of that single.
            constexpr int kExactInSingle = 1 << 24;
            if (f.kind == FieldKind::Integer && v > -kExactInSingle && v < kExactInSingle) {
              AppendKeyAndNumber(out, key, [&](char* at) { return std::to_chars(at, at + 64, v).ptr; });
              return;
            }
          }
          out += key;
          if (f.kind == FieldKind::Text) {
            if constexpr (std::is_same_v<T, std::string>) {
              AppendJsonString(out, v);
            } else {
              AppendJsonString(out, FieldText(r, f));
            }
          } else if constexpr (std::is_same_v<T, std::string>) {
            out += f.kind == FieldKind::Flag ? "false" : "0";
          } else if (f.kind == FieldKind::Flag) {
            out += v != 0 ? "true" : "false";
          } else {
            AppendJsonNumber(out, static_cast<float>(static_cast<double>(v)));
          }
        },
        f.member);
  }
  out += '}';
}

// FieldText(r, f) handed to `take` as a text; a number's text is written
// in place, not made a string of its own.
template <class Take>
void WithRecordFieldText(const DesignRecord& r, const FieldInfo& f, Take&& take) {
  std::visit(
      [&](auto member) {
        const auto& v = r.*member;
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, float>) {
          std::array<char, 64> text;
          const char* const end = WriteShortestText(v, text.data());
          take(std::string_view(text.data(), static_cast<std::size_t>(end - text.data())));
        } else if constexpr (std::is_same_v<T, std::string>) {
          take(std::string_view(v));
        } else {
          take(std::string_view(FieldText(r, f)));
        }
      },
      f.member);
}

std::vector<std::string> RecordCells(const DesignRecord& r) {
  std::vector<std::string> cells;
  for (const auto& f : RecordFields()) cells.push_back(FieldText(r, f));
  return cells;
}

// A message as one line of text: "Title: text", or "text" when untitled.
void AppendMessage(std::string& out, const ShownMessage& m) {
  if (!m.title.empty()) {
    out += m.title;
    out += ": ";
  }
  out += m.text;
}

// Output columns of the CSV table after the inputs: the design's outputs
// (kDesignOutputs), then the quantities of the material take-off.
enum class OutUnit { None, Length, Feet };
struct TakeoffColumn {
  const char* field;  // record field
  const char* caption;
  OutUnit unit;
};
constexpr TakeoffColumn kTakeoffColumns[] = {
    {"TSIZ", "Tube", OutUnit::None},
    {"COVR", "Jacketed Tracer Type", OutUnit::None},
    {"SLEN", "Fittings Allowance", OutUnit::Feet},
    {"TST", "Extruded Strip Sections (4 ft)", OutUnit::None},
    {"CHAN", "Channel", OutUnit::None},
    {"ACHAN", "Channels", OutUnit::None},
    {"CEM", "Compound", OutUnit::None},
    {"ACEM", "Compound Quantity", OutUnit::None},
    {"CEM1", "Second Compound", OutUnit::None},
    {"ACEM1", "Second Compound Quantity", OutUnit::None},
    {"BAND", "Banding", OutUnit::None},
    {"ABAND", "Banding Rolls", OutUnit::None},
    {"TBAND", "Tie Wire", OutUnit::Length},
    {"UNION", "Unions", OutUnit::None},
    {"CRS", "Crimp Seals", OutUnit::None},
    {"FRST", "Trap Stations", OutUnit::None},
    {"FAK", "Tubing Seal Kits", OutUnit::None},
    {"MACO", "Male Connectors", OutUnit::None},
};

std::string OutUnitText(OutUnit unit, UnitSystem units) {
  switch (unit) {
    case OutUnit::Length:
      return std::string(Trim(UnitCaption(UnitQuantity::Length, units)));
    case OutUnit::Feet:
      return "ft";
    case OutUnit::None:
      break;
  }
  return {};
}

const std::vector<const FieldInfo*>& TakeoffFields() {
  static const std::vector<const FieldInfo*> fields = [] {
    std::vector<const FieldInfo*> out;
    for (const auto& c : kTakeoffColumns) out.push_back(FindRecordField(c.field));
    return out;
  }();
  return fields;
}

// The heat-up of a row of a list with heat-up columns: its time in hours
// and the product's properties it used, each null when there is none.
void AppendHeatUp(JsonWriter& w, const CircuitResult& c) {
  w.key("heat_up_hours");
  if (c.heatUpHours)
    w.number(*c.heatUpHours);
  else
    w.null();
  w.key("heat_up_product");
  if (!c.heatUpProduct) {
    w.null();
    return;
  }
  w.beginObject().key("density").number(c.heatUpProduct->density);
  w.key("specific_heat").number(c.heatUpProduct->specificHeat).key("at").number(c.heatUpProduct->at).end();
}

}  // namespace

std::string BatchJsonStart(const BatchOptions& options, const std::vector<IgnoredColumn>& ignored,
                           const std::vector<HeadingReading>& headings) {
  std::string out;
  JsonWriter w(out, false);
  w.beginObject().key("units").string(UnitsName(options.units));
  w.key("mode").string(options.internalMode ? "internal" : "standard").key("strict").boolean(options.strict);
  // Header columns whose values were not read: name, position, the column
  // probably meant (null when none is close).
  w.key("ignored_columns").beginArray();
  for (const IgnoredColumn& i : ignored) {
    w.beginObject().key("column").string(i.name).key("position").integer(i.position).key("suggestion");
    if (i.suggestion.empty())
      w.null();
    else
      w.string(i.suggestion);
    w.end();
  }
  w.end();
  // How each heading was read: the column it names (null when none) and how.
  if (!HeadingsArePlainCodes(headings)) {
    w.key("columns").beginArray();
    for (const HeadingReading& h : headings) {
      w.beginObject().key("heading").string(h.heading).key("column");
      if (h.column < 0)
        w.null();
      else
        w.string(LineListColumns()[static_cast<std::size_t>(h.column)].name);
      w.key("how").string(HeadingHowName(h.how)).end();
    }
    w.end();
  }
  // The circuits follow, one by one, and BatchJsonEnd closes the text.
  w.key("circuits").beginArray();
  return out;
}

void AppendBatchJsonCircuit(std::string& out, const CircuitResult& c, bool first) {
  out += first ? "\n" : ",\n";
  JsonWriter w(out, false);
  w.beginObject().key("row").integer(c.row).key("line").integer(c.line).key("ok").boolean(c.ok);
  // Null when there is no design to hold the temperature or not.
  w.key("meets_maintain_temperature");
  if (c.ok)
    w.boolean(c.meetsMaintainTemperature);
  else
    w.null();
  w.key("installation").string(c.installation).key("corrections").beginArray();
  for (const auto& k : c.corrections) {
    w.beginObject().key("column").string(k.column).key("entered").string(k.entered);
    w.key("used").string(k.used).key("message").string(k.message).end();
  }
  w.end().key("messages").beginArray();
  for (const ShownMessage& m : c.messages)
    w.beginObject().key("title").string(m.title).key("text").string(m.text).end();
  w.end().key("display").beginObject();
  const auto& displayKeys = DisplayKeys();
  for (std::size_t d = 0; d < displayKeys.size(); ++d) {
    if (kDesignOutputs[d].heatUpOnly && !c.heatUpColumns) continue;
    w.writtenKey(displayKeys[d]).string(c.display.at(d));
  }
  w.end();
  if (c.heatUpColumns) AppendHeatUp(w, c);
  w.key("record");
  AppendRecordObject(w.valueText(), c.record);
  w.end();
}

std::string BatchJsonEnd() { return "\n]}\n"; }

std::string BatchJson(const BatchResult& result, const BatchOptions& options) {
  std::string out = BatchJsonStart(options, result.ignoredColumns, result.headings);
  for (std::size_t i = 0; i < result.circuits.size(); ++i)
    AppendBatchJsonCircuit(out, result.circuits[i], i == 0);
  return out + BatchJsonEnd();
}

std::vector<std::string> BatchCsvHeadings(const BatchOptions& options, bool heatUp) {
  std::vector<std::string> head = {"Row", "Line", "Designed", "Meets Maint. Temp."};
  for (std::size_t i = 0; i < (heatUp ? kColumnCount : kFirstHeatUpColumn); ++i) {
    const LineListColumn& c = LineListColumns()[i];
    head.push_back(WithUnit(c.name, ColumnUnitText(c.unit, options)));
  }
  head.push_back("Installation Used");
  for (const DesignOutput& d : kDesignOutputs) {
    if (d.heatUpOnly && !heatUp) continue;
    head.push_back(WithUnit(d.caption, DesignOutputUnitText(d, options.units)));
  }
  for (const auto& t : kTakeoffColumns)
    head.push_back(WithUnit(t.caption, OutUnitText(t.unit, options.units)));
  head.push_back("Corrections");
  head.push_back("Messages");
  return head;
}

std::string BatchCsvHeader(const BatchOptions& options, bool heatUp) {
  // The byte order mark tells a spreadsheet the text is UTF-8 (the degree signs).
  return "\xEF\xBB\xBF" + CsvLine(BatchCsvHeadings(options, heatUp)) + "\n";
}

namespace {

// The values of a circuit's row of the results, in the order of
// BatchCsvHeadings, each handed to `cell` as its text.
template <class Cell>
void ForEachResultCell(const CircuitResult& c, Cell&& cell) {
  cell(std::string_view(std::to_string(c.row)));
  cell(std::string_view(std::to_string(c.line)));
  cell(std::string_view(c.ok ? "Yes" : "No"));
  // Empty when not designed: there is no temperature to hold.
  cell(std::string_view(!c.ok ? "" : c.meetsMaintainTemperature ? "Yes" : "No"));
  // The heat-up columns and time only for a list with a heat-up column.
  const std::size_t inputs = c.heatUpColumns ? c.used.size() : std::min(c.used.size(), kFirstHeatUpColumn);
  for (std::size_t i = 0; i < inputs; ++i) cell(std::string_view(c.used[i]));
  cell(std::string_view(c.installation));
  for (std::size_t d = 0; d < c.display.size(); ++d) {
    if (!kDesignOutputs.at(d).heatUpOnly || c.heatUpColumns) cell(std::string_view(c.display[d]));
  }
  for (const FieldInfo* f : TakeoffFields()) {
    // Quantities of a row without a design are left empty, not zero.
    if (c.ok && f) {
      WithRecordFieldText(c.record, *f, cell);
    } else {
      cell(std::string_view());
    }
  }
  std::string text;
  for (const auto& k : c.corrections) {
    if (!text.empty()) text += " | ";
    text += k.column + ": entered " + k.entered + ", used " + k.used;
  }
  cell(std::string_view(text));
  text.clear();
  for (const auto& m : c.messages) {
    if (!text.empty()) text += " | ";
    AppendMessage(text, m);
  }
  cell(std::string_view(text));
}

}  // namespace

void AppendBatchCsvRow(std::string& out, const CircuitResult& c) {
  bool first = true;
  ForEachResultCell(c, [&](std::string_view value) {
    if (!first) out += ',';
    first = false;
    AppendCsvField(out, value);
  });
  out += '\n';
}

std::vector<std::string> BatchResultCells(const CircuitResult& c) {
  std::vector<std::string> cells;
  ForEachResultCell(c, [&](std::string_view value) { cells.push_back(SpreadsheetText(value)); });
  return cells;
}

std::string BatchCsv(const BatchResult& result, const BatchOptions& options) {
  std::string out = BatchCsvHeader(options, result.heatUp);
  for (const auto& c : result.circuits) AppendBatchCsvRow(out, c);
  return out;
}

std::string RecordsJson(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode) {
  std::string out;
  JsonWriter w(out, false);
  w.beginObject().key("mode").string(internalMode ? "internal" : "standard").key("records").beginArray();
  for (std::size_t i = 0; i < records.size(); ++i) {
    w.onNewLine(0).beginObject().key("record").integer(static_cast<long long>(i + 1)).key("fields");
    AppendRecordObject(w.valueText(), records[i]);
    w.end();
  }
  w.onNewLine(0).end().end();
  return out + "\n";
}

std::string RecordsCsv(const std::array<DesignRecord, DesignSet::kRecords>& records) {
  std::vector<std::string> head = {"RECORD"};
  for (const auto& f : RecordFields()) head.push_back(std::string(f.name));
  std::string out = CsvLine(head) + "\n";
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::vector<std::string> cells = {std::to_string(i + 1)};
    auto rec = RecordCells(records[i]);
    cells.insert(cells.end(), rec.begin(), rec.end());
    out += CsvLine(cells) + "\n";
  }
  return out;
}

}  // namespace vst
