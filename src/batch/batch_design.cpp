#include "batch/batch_design.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <stdexcept>

#include "batch/json.h"
#include "core/legacy_math.h"
#include "core/quoted_value.h"
#include "core/units.h"
#include "prefs/preferences.h"
#include "workspace/allowance_forms.h"
#include "workspace/input_lists.h"
#include "workspace/stmain_model.h"

namespace vst {
namespace {

// A row the window cannot take as it stands: the message names the column.
class RowError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Normalized(std::string_view text) {
  std::string out;
  bool blank = false;
  for (char c : Trim(text)) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out.push_back(' ');
    blank = false;
    out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return out;
}

// A refused value in a message: cut to its first characters, so a huge
// field gives a short message.
std::string Quoted(std::string_view text) { return QuotedValue(text); }

// The columns of a line list. Required columns must be in the header.
struct ColumnSpec {
  const char* name;
  bool required;
};
constexpr ColumnSpec kColumns[] = {
    {"CIRTXT", false}, {"PIPETXT", false},  {"MAXAMB", true},     {"MINAMB", true},   {"MAINTEMP", true},
    {"MAXEXP", true},  {"INTEXP", false},   {"INSTYPE", true},    {"INSTHK", true},   {"PIPESIZE", true},
    {"PIPELN", true},  {"PASSES", true},    {"STEAMPRS", true},   {"TRACEINS", true}, {"TRACETUB", true},
    {"TUBEMAT", true}, {"TUBEWALL", false}, {"ALLOWANCE", false}, {"VALN", false},    {"FLNO", false},
    {"NOPX", false},   {"WCTB", false},     {"SHOES", false},
};

std::string Upper(std::string_view text) {
  std::string out(Trim(text));
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// One data row, addressed by column name.
class RowView {
 public:
  RowView(const std::map<std::string, std::size_t>& index, const std::vector<std::string>& fields)
      : index_(index), fields_(fields) {}
  // The trimmed text of a column; empty when the column is absent.
  std::string text(const std::string& column) const {
    auto it = index_.find(column);
    if (it == index_.end() || it->second >= fields_.size()) return {};
    return std::string(Trim(fields_[it->second]));
  }
  // A numeric column: its text, refused when it is not a number.
  std::string number(const std::string& column, bool required, bool nonNegative = false) const {
    std::string t = text(column);
    if (t.empty()) {
      if (required) throw RowError("Column " + column + " has no value");
      return t;
    }
    auto v = ParseNumber(t);
    if (!v) throw RowError("Column " + column + ": " + Quoted(t) + " is not a number");
    if (nonNegative && *v < 0) throw RowError("Column " + column + ": " + Quoted(t) + " is negative");
    return t;
  }

 private:
  const std::map<std::string, std::size_t>& index_;
  const std::vector<std::string>& fields_;
};

// The position of `value` in a list: the same text (blanks and case aside),
// or, for numeric lists, the same number ("2" is "2.0", "0.5" is ".5").
int FindEntry(const std::vector<std::string>& items, std::string_view value, bool numeric) {
  const std::string want = Normalized(value);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i].empty() && Normalized(items[i]) == want) return static_cast<int>(i);
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
  const std::string want = Normalized(value);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string entry = Normalized(items[i]);
    const bool yj = want.rfind("yj-", 0) == 0 && entry.size() >= want.size() &&
                    entry.compare(entry.size() - want.size(), want.size(), want) == 0;
    if (yj || (want == "fillet" && entry == "fillet trace") ||
        (want == "trough line" && entry == "troughline")) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

struct ShoeEntry {
  std::string length;
  std::string count;
};

// "12x4;6x2": shoe length x number of shoes, sizes separated by ";".
std::vector<ShoeEntry> ParseShoes(const std::string& text) {
  std::vector<ShoeEntry> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string part(Trim(std::string_view(text).substr(start, end - start)));
    if (!part.empty()) {
      const std::size_t x = part.find_first_of("xX*");
      const std::string l = x == std::string::npos ? "" : std::string(Trim(part.substr(0, x)));
      const std::string n = x == std::string::npos ? "" : std::string(Trim(part.substr(x + 1)));
      auto lv = ParseNumber(l);
      auto nv = ParseNumber(n);
      if (!lv || !nv || *lv < 0 || *nv < 0) {
        throw RowError("Column SHOES: " + Quoted(part) + " is not a length x count pair such as 12x4");
      }
      out.push_back({l, n});
    }
    start = end + 1;
  }
  return out;
}

// Answers the dialogs of one row's design from the row and records every
// message in order.
class RowDialogs : public Dialogs {
 public:
  int allowanceAnswer = kAllowanceIncludedNo;
  std::string valves = "0", flanges = "0", pumps = "0", wrapcore = "0";
  std::vector<ShoeEntry> shoes;
  std::vector<ShownMessage> messages;

  MsgAnswer message(const Message& m) override {
    messages.push_back({m.title, m.text});
    return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
  }
  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) override {
    PipeFormModel form(setup, *this);
    form.activate();
    form.selectAnswer(allowanceAnswer);
    form.setText("numvalves", valves);
    form.setText("numflanges", flanges);
    form.setText("numpumps", pumps);
    form.setText("Text1", wrapcore);
    if (!form.next()) throw RowError("The fittings dialog refused the row's counts");
    return form.result();
  }
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup& setup) override {
    ShoeFormModel form(setup, *this);
    for (const auto& s : shoes) {
      form.setText("shoeln", s.length);
      form.setText("shoenum", s.count);
      if (!form.nextSize()) throw RowError("The shoe dialog refused the row's shoes");
    }
    if (!form.done()) throw RowError("The shoe dialog refused the row's shoes");
    return form.result();
  }
  std::optional<std::string> openFileName(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> saveFileName(const FileDialogSpec&) override { return std::nullopt; }
};

void SelectEntry(STmainModel& model, const char* control, const std::string& column, const std::string& value,
                 bool numeric, const char* listName) {
  const auto& items = model.controls()[control].items;
  const int pos = FindEntry(items, value, numeric);
  if (pos < 0)
    throw RowError("Column " + column + ": " + Quoted(value) + " is not in the " + listName + " list");
  model.gotFocus(control);
  model.listClicked(control, pos);
}

void TypeField(STmainModel& model, const char* control, const std::string& text) {
  model.gotFocus(control);
  model.textChanged(control, text);
  model.lostFocus(control);
}

CircuitResult DesignRow(const RowView& row, const BatchOptions& options) {
  CircuitResult result;
  RowDialogs dialogs;
  try {
    // Everything the row says is checked before the window sees it, so a
    // bad row stops with one message naming its column.
    const std::string traceIns = row.text("TRACEINS");
    const std::string allowance = Normalized(row.text("ALLOWANCE"));
    if (allowance == "yes") {
      dialogs.allowanceAnswer = kAllowanceIncludedYes;
    } else if (allowance.empty() || allowance == "no") {
      dialogs.allowanceAnswer = kAllowanceIncludedNo;
    } else {
      throw RowError("Column ALLOWANCE: " + Quoted(row.text("ALLOWANCE")) + " is neither Yes nor No");
    }
    auto orZero = [](std::string t) { return t.empty() ? std::string("0") : t; };
    dialogs.valves = orZero(row.number("VALN", false, true));
    dialogs.flanges = orZero(row.number("FLNO", false, true));
    dialogs.pumps = orZero(row.number("NOPX", false, true));
    dialogs.wrapcore = orZero(row.number("WCTB", false, true));
    dialogs.shoes = ParseShoes(row.text("SHOES"));
    const std::string maxAmb = row.number("MAXAMB", true);
    const std::string minAmb = row.number("MINAMB", true);
    const std::string maint = row.number("MAINTEMP", true);
    const std::string maxExp = row.number("MAXEXP", true);
    const std::string intExp = row.number("INTEXP", false);
    const std::string pipeLen = row.number("PIPELN", true);
    const std::string pressure = row.number("STEAMPRS", true);

    STmainModel model(options.units,
                      options.units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig, dialogs,
                      '.');
    if (options.internalMode) model.toggleProgramMode();
    if (options.insulationSizing != InsulationSizing::Standard ||
        (options.units == UnitSystem::Metric && options.pressureUnit != PressureUnit::BarG)) {
      PreferencesOutcome prefs;
      prefs.insulationSizing = options.insulationSizing;
      prefs.pressureUnit = options.units == UnitSystem::Metric ? options.pressureUnit : PressureUnit::Psig;
      if (options.units == UnitSystem::Metric) prefs.pressureCaption = PressureCaption(prefs.pressureUnit);
      model.applyPreferences(prefs);
    }

    // The installation first: it decides the tube sizes, the wall list and
    // which pipe sizes exist.
    const auto& installs = model.controls()["Cab_In"].items;
    const int install = FindInstallation(installs, traceIns);
    if (install < 0) {
      throw RowError("Column TRACEINS: " + Quoted(traceIns) + " is not in the installation list");
    }
    model.gotFocus("Cab_In");
    model.listClicked("Cab_In", install);
    SelectEntry(model, "Cab_Sel", "TRACETUB", row.text("TRACETUB"), options.units == UnitSystem::Metric,
                "tracer tubing");
    SelectEntry(model, "cboTracerMaterial", "TUBEMAT", row.text("TUBEMAT"), false, "tubing material");
    if (!row.text("TUBEWALL").empty()) {
      SelectEntry(model, "cboTubeWallThick", "TUBEWALL", row.text("TUBEWALL"), true, "wall thickness");
    }
    // A pipe size the list blanks for this installation is still picked at
    // its position, so the window's own message refuses it.
    const int pipePos = FindEntry(PipeSizeList(options.units, false), row.text("PIPESIZE"), true);
    if (pipePos < 0) {
      throw RowError("Column PIPESIZE: " + Quoted(row.text("PIPESIZE")) + " is not in the pipe size list");
    }
    model.gotFocus("Pipe_Dia_In");
    model.listClicked("Pipe_Dia_In", pipePos);

    TypeField(model, "Max_Amb", maxAmb);
    TypeField(model, "Min_Amb", minAmb);
    TypeField(model, "MT_In", maint);
    TypeField(model, "Max_Exp_Temp", maxExp);
    if (!intExp.empty()) TypeField(model, "txtIntExpTemp", intExp);
    TypeField(model, "Pipe_Len_In", pipeLen);
    TypeField(model, "Pressure", pressure);
    TypeField(model, "Circ_No", row.text("CIRTXT"));
    TypeField(model, "Line_No", row.text("PIPETXT"));
    // Insulation after the pressure: its checks read the pressure field.
    SelectEntry(model, "Insul_Typ_In", "INSTYPE", row.text("INSTYPE"), false, "insulation type");
    SelectEntry(model, "Insul_Th_In", "INSTHK", row.text("INSTHK"), true, "insulation thickness");
    SelectEntry(model, "Pass", "PASSES", row.text("PASSES"), true, "number of passes");

    model.gotFocus("Des_But");
    model.clicked("Des_But");

    result.record = model.set().current();
    result.ok = result.record.HoldsDesign();
    result.installation = model.controls()["Cab_In"].selectedText();
    for (const char* name : kDisplayFields) result.display.push_back(model.controls()[name].text);
    result.messages = std::move(dialogs.messages);
  } catch (const RowError& e) {
    result.messages = std::move(dialogs.messages);
    result.messages.push_back({"Input Error", e.what()});
    result.ok = false;
    result.display.assign(kDisplayFieldCount, std::string());
  }
  return result;
}

const char* UnitsName(UnitSystem u) { return u == UnitSystem::Metric ? "metric" : "english"; }

std::string RecordObject(const DesignRecord& r) {
  std::string out = "{";
  bool first = true;
  for (const auto& f : RecordFields()) {
    if (!first) out += ",";
    first = false;
    out += JsonString(f.name) + ":";
    switch (f.kind) {
      case FieldKind::Text:
        out += JsonString(FieldText(r, f));
        break;
      case FieldKind::Flag:
        out += FieldNumber(r, f) != 0 ? "true" : "false";
        break;
      default:
        out += JsonNumber(static_cast<float>(FieldNumber(r, f)));
        break;
    }
  }
  return out + "}";
}

std::vector<std::string> RecordCells(const DesignRecord& r) {
  std::vector<std::string> cells;
  for (const auto& f : RecordFields()) cells.push_back(FieldText(r, f));
  return cells;
}

}  // namespace

BatchResult DesignLineList(const CsvTable& table, const BatchOptions& options,
                           const std::function<void(const CircuitResult&)>& each) {
  BatchResult result;
  result.header = table.header;
  std::map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < table.header.size(); ++i) {
    const std::string name = Upper(table.header[i]);
    if (name.empty()) continue;
    if (!index.emplace(name, i).second) {
      result.error = "line 1: the column " + name + " appears twice";
      return result;
    }
  }
  for (const auto& c : kColumns) {
    if (c.required && !index.count(c.name)) {
      result.error = std::string("line 1: the required column ") + c.name + " is missing";
      return result;
    }
  }
  for (const auto& row : table.rows) {
    if (row.fields.size() != table.header.size()) {
      result.error = "line " + std::to_string(row.line) + ": the row has " +
                     std::to_string(row.fields.size()) + " fields, the header " +
                     std::to_string(table.header.size());
      return result;
    }
  }
  result.ok = true;
  int n = 0;
  for (const auto& row : table.rows) {
    CircuitResult c = DesignRow(RowView(index, row.fields), options);
    c.row = ++n;
    c.inputs = row.fields;
    each(c);
  }
  return result;
}

BatchResult DesignLineList(const CsvTable& table, const BatchOptions& options) {
  std::vector<CircuitResult> circuits;
  BatchResult result = DesignLineList(table, options, [&](const CircuitResult& c) { circuits.push_back(c); });
  result.circuits = std::move(circuits);
  return result;
}

std::string BatchJsonStart(const BatchOptions& options) {
  return "{\"units\":" + JsonString(UnitsName(options.units)) +
         ",\"mode\":" + JsonString(options.internalMode ? "internal" : "standard") + ",\"circuits\":[";
}

std::string BatchJsonCircuit(const CircuitResult& c, bool first) {
  std::string out = first ? "\n" : ",\n";
  out += "{\"row\":" + std::to_string(c.row) + ",\"ok\":" + (c.ok ? "true" : "false") +
         ",\"installation\":" + JsonString(c.installation) + ",\"messages\":[";
  for (std::size_t m = 0; m < c.messages.size(); ++m) {
    if (m) out += ",";
    out +=
        "{\"title\":" + JsonString(c.messages[m].title) + ",\"text\":" + JsonString(c.messages[m].text) + "}";
  }
  out += "],\"display\":{";
  for (int d = 0; d < kDisplayFieldCount; ++d) {
    if (d) out += ",";
    out += JsonString(kDisplayFields[d]) + ":" + JsonString(c.display.at(static_cast<std::size_t>(d)));
  }
  out += "},\"record\":" + RecordObject(c.record) + "}";
  return out;
}

std::string BatchJsonEnd() { return "\n]}\n"; }

std::string BatchJson(const BatchResult& result, const BatchOptions& options) {
  std::string out = BatchJsonStart(options);
  for (std::size_t i = 0; i < result.circuits.size(); ++i)
    out += BatchJsonCircuit(result.circuits[i], i == 0);
  return out + BatchJsonEnd();
}

std::string BatchCsvHeader(const std::vector<std::string>& inputHeader) {
  std::vector<std::string> head = inputHeader;
  head.push_back("OK");
  head.push_back("INSTALLATION");
  for (const char* d : kDisplayFields) head.push_back(d);
  for (const auto& f : RecordFields()) head.push_back(std::string(f.name));
  head.push_back("MESSAGES");
  return CsvLine(head) + "\n";
}

std::string BatchCsvRow(const CircuitResult& c) {
  std::vector<std::string> cells = c.inputs;
  cells.push_back(c.ok ? "true" : "false");
  cells.push_back(c.installation);
  cells.insert(cells.end(), c.display.begin(), c.display.end());
  auto rec = RecordCells(c.record);
  cells.insert(cells.end(), rec.begin(), rec.end());
  std::string messages;
  for (const auto& m : c.messages) {
    if (!messages.empty()) messages += " | ";
    messages += m.title + ": " + m.text;
  }
  cells.push_back(messages);
  return CsvLine(cells) + "\n";
}

std::string BatchCsv(const BatchResult& result) {
  std::string out = BatchCsvHeader(result.header);
  for (const auto& c : result.circuits) out += BatchCsvRow(c);
  return out;
}

std::string RecordsJson(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode) {
  std::string out = "{\"mode\":" + JsonString(internalMode ? "internal" : "standard") + ",\"records\":[";
  for (std::size_t i = 0; i < records.size(); ++i) {
    out += i ? ",\n" : "\n";
    out += "{\"record\":" + std::to_string(i + 1) + ",\"fields\":" + RecordObject(records[i]) + "}";
  }
  return out + "\n]}\n";
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
