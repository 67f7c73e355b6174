#include "batch/batch_design.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "core/quoted_value.h"
#include "core/units.h"
#include "prefs/preferences.h"
#include "workspace/allowance_forms.h"
#include "workspace/stmain_model.h"

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
  };
  return columns;
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
      return metric ? "m x count" : "ft x count";
    case ColumnUnit::Pressure:
      return std::string(Trim(PressureCaption(metric ? options.pressureUnit : PressureUnit::Psig)));
    case ColumnUnit::None:
      break;
  }
  return {};
}

namespace {

// The columns by position in LineListColumns().
enum Col : std::size_t {
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
  kColumnCount
};

// A row the window cannot take as it stands: the message names the column.
class RowError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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

// One data row, addressed by column.
class RowView {
 public:
  RowView(const std::array<int, kColumnCount>& positions, const std::vector<std::string>& fields)
      : positions_(positions), fields_(fields) {}
  // The trimmed text of a column; empty when the column is absent.
  std::string_view text(Col column) const {
    const int p = positions_[column];
    if (p < 0 || static_cast<std::size_t>(p) >= fields_.size()) return {};
    return Trim(fields_[static_cast<std::size_t>(p)]);
  }
  // A numeric column: its text, refused when it is not a number.
  std::string_view number(Col column, bool nonNegative = false) const {
    const std::string_view t = text(column);
    const char* name = LineListColumns()[column].name;
    if (t.empty()) {
      if (LineListColumns()[column].required) throw RowError(std::string("Column ") + name + " has no value");
      return t;
    }
    auto v = ParseNumber(t);
    if (!v) throw RowError(std::string("Column ") + name + ": " + Quoted(t) + " is not a number");
    if (nonNegative && *v < 0)
      throw RowError(std::string("Column ") + name + ": " + Quoted(t) + " is negative");
    return t;
  }

 private:
  const std::array<int, kColumnCount>& positions_;
  const std::vector<std::string>& fields_;
};

// The position of `value` in a list: the same text (blanks and case aside),
// or, for numeric lists, the same number ("2" is "2.0", "0.5" is ".5").
int FindEntry(const std::vector<std::string>& items, std::string_view value, bool numeric) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i].empty() && SameText(items[i], value)) return static_cast<int>(i);
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

struct ShoeEntry {
  std::string length;
  std::string count;
};

// "12x4;6x2": shoe length x number of shoes, sizes separated by ";".
void ParseShoes(std::string_view text, std::vector<ShoeEntry>& out) {
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
        throw RowError("Column SHOES: " + Quoted(part) + " is not a length x count pair such as 12x4");
      }
      out.push_back({std::string(l), std::string(n)});
    }
    start = end + 1;
  }
}

// An input the row entered, watched for changes by the window's checks.
struct Watched {
  Col column;
  const Control* control;
  bool list;
  std::string entered;   // the row's text
  std::string expected;  // what the control showed right after entry
  bool reported = false;
};

// Answers the dialogs of one row's design from the row, records every
// message in order, and notes which inputs the window's checks change.
class RowDialogs : public Dialogs {
 public:
  int allowanceAnswer = kAllowanceIncludedNo;
  std::string valves = "0", flanges = "0", pumps = "0", wrapcore = "0";
  std::vector<ShoeEntry> shoes;
  std::vector<ShownMessage>* messages = nullptr;
  std::vector<Correction>* corrections = nullptr;
  std::vector<Watched> watched;
  bool watching = false;
  std::size_t stepStart = 0;  // messages shown before the current entry step

  MsgAnswer message(const Message& m) override {
    // A check warns first and corrects after: what changed since the step's
    // previous message belongs to that message.
    if (watching) checkpoint(lastStepMessage());
    messages->push_back({m.title, m.text});
    return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
  }
  // One fittings form and one shoe form, opened again for every row.
  std::optional<PipeFormModel> pipe;
  std::optional<ShoeFormModel> shoe;

  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) override {
    if (pipe) {
      pipe->reopen(setup);
    } else {
      pipe.emplace(setup, *this);
    }
    PipeFormModel& form = *pipe;
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
    if (shoe) {
      shoe->reopen(setup);
    } else {
      shoe.emplace(setup, *this);
    }
    ShoeFormModel& form = *shoe;
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

  std::string lastStepMessage() const {
    return messages->size() > stepStart ? messages->back().text : std::string();
  }
  static std::string Shown(const Watched& w) { return w.list ? w.control->selectedText() : w.control->text; }
  // Notes every watched input whose control no longer shows what was entered.
  void checkpoint(const std::string& message) {
    for (auto& w : watched) {
      if (w.reported) continue;
      const bool same = w.list ? w.control->selectedText() == w.expected : w.control->text == w.expected;
      if (same) continue;
      w.reported = true;
      corrections->push_back({LineListColumns()[w.column].name, w.entered, Shown(w), message});
    }
  }
};

}  // namespace

// The typed fields of a row, each checked to be a number (or empty where
// the column may be) before the window sees it.
struct TypedFields {
  std::string_view maxAmb, minAmb, maint, maxExp, intExp, pipeLen, pressure;

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
  std::size_t headerSize = 0;
  std::array<int, kColumnCount> positions{};
  std::string error;
  RowDialogs dialogs;
  std::vector<ShownMessage> setupMessages;
  std::optional<STmainModel> loaded;  // the window right after loading
  std::optional<STmainModel> window;  // the window a row is designed in
  std::vector<ShownMessage> scratchMessages;
  std::vector<Correction> scratchCorrections;

  // The window and the notes on it right after a row's first inputs (the
  // installation through the intermittent exposure), by those inputs: a line
  // list repeats them row after row, and entering them is much of the cost
  // of a row. A row that finds its first inputs here starts from that window.
  struct FirstInputs {
    STmainModel::Changes window;
    std::vector<ShownMessage> messages;
    std::vector<Correction> corrections;
    std::vector<Watched> watched;
  };
  static constexpr std::size_t kFirstInputsKept = 512;  // bounds the memory
  std::unordered_map<std::string, FirstInputs> firstInputs;

  void build() {
    dialogs.messages = &setupMessages;
    dialogs.corrections = &scratchCorrections;
    const bool metric = options.units == UnitSystem::Metric;
    loaded.emplace(options.units, metric ? PressureUnit::BarG : PressureUnit::Psig, dialogs, '.');
    STmainModel& model = *loaded;
    if (options.internalMode) model.toggleProgramMode();
    if (options.insulationSizing != InsulationSizing::Standard ||
        (metric && options.pressureUnit != PressureUnit::BarG)) {
      PreferencesOutcome prefs;
      prefs.insulationSizing = options.insulationSizing;
      prefs.pressureUnit = metric ? options.pressureUnit : PressureUnit::Psig;
      if (metric) prefs.pressureCaption = PressureCaption(prefs.pressureUnit);
      model.applyPreferences(prefs);
    }
    window.emplace(model);
  }

  void beginStep() { dialogs.stepStart = dialogs.messages->size(); }
  void endStep() {
    if (dialogs.messages->size() > dialogs.stepStart) dialogs.checkpoint(dialogs.messages->back().text);
  }
  // Watches a control from now on, expecting it to show `expected`.
  void watch(Col column, const char* control, bool list, std::string_view entered) {
    const Control* c = &window->controls()[control];
    dialogs.watched.push_back({column, c, list, std::string(entered), {}, false});
  }

  void selectEntry(Col column, const char* control, std::string_view value, bool numeric,
                   const char* listName) {
    STmainModel& m = *window;
    const auto& items = m.controls()[control].items;
    const int pos = FindEntry(items, value, numeric);
    if (pos < 0) {
      throw RowError(std::string("Column ") + LineListColumns()[column].name + ": " + Quoted(value) +
                     " is not in the " + listName + " list");
    }
    watch(column, control, true, value);
    dialogs.watched.back().expected = items[static_cast<std::size_t>(pos)];
    beginStep();
    m.gotFocus(control);
    m.listClicked(control, pos);
    endStep();
  }
  void typeField(Col column, const char* control, std::string_view text) {
    STmainModel& m = *window;
    watch(column, control, false, text);
    dialogs.watched.back().expected = std::string(text);
    beginStep();
    m.gotFocus(control);
    m.textChanged(control, std::string(text));
    m.lostFocus(control);
    endStep();
  }

  void designRow(const RowView& row, CircuitResult& result);
  void readDialogAnswers(const RowView& row);
  void selectInstallation(std::string_view traceIns);
  void selectPipeSize(std::string_view size);
  static std::string FirstInputsKey(const RowView& row, const TypedFields& fields);
  void enterFirstInputs(const RowView& row, const TypedFields& fields);
  void enterOtherInputs(const RowView& row, const TypedFields& fields);
  void noteUsedInputs(const RowView& row, const TypedFields& fields, CircuitResult& result) const;
  bool refusedAsStrict(CircuitResult& result) const;
  void pressDesign(CircuitResult& result);
};

// Designs one row in the window as loaded: everything the row says is
// checked before the window sees it, so a bad row stops with one message
// naming its column.
void LineListDesigner::Impl::designRow(const RowView& row, CircuitResult& result) {
  dialogs.messages = &result.messages;
  dialogs.corrections = &result.corrections;
  dialogs.watched.clear();
  dialogs.watching = false;
  readDialogAnswers(row);
  const TypedFields fields(row);

  const std::string key = FirstInputsKey(row, fields);
  const auto known = firstInputs.find(key);
  if (known != firstInputs.end() && window->restore(*loaded, known->second.window)) {
    result.messages = known->second.messages;
    result.corrections = known->second.corrections;
    dialogs.watched = known->second.watched;
    dialogs.watching = true;
  } else {
    window->restore(*loaded);
    result.messages = setupMessages;
    dialogs.watching = true;
    enterFirstInputs(row, fields);
    if (firstInputs.size() < kFirstInputsKept) {
      firstInputs.try_emplace(
          key, FirstInputs{window->changes(*loaded), result.messages, result.corrections, dialogs.watched});
    }
  }
  enterOtherInputs(row, fields);
  dialogs.checkpoint({});
  dialogs.watching = false;

  noteUsedInputs(row, fields, result);
  if (refusedAsStrict(result)) return;
  pressDesign(result);
}

// The answers of the fittings and shoe dialogs, from the row.
void LineListDesigner::Impl::readDialogAnswers(const RowView& row) {
  RowDialogs& d = dialogs;
  const std::string_view allowance = row.text(kALLOWANCE);
  if (SameText(allowance, "yes")) {
    d.allowanceAnswer = kAllowanceIncludedYes;
  } else if (allowance.empty() || SameText(allowance, "no")) {
    d.allowanceAnswer = kAllowanceIncludedNo;
  } else {
    throw RowError("Column ALLOWANCE: " + Quoted(allowance) + " is neither Yes nor No");
  }
  auto orZero = [](std::string_view t) { return t.empty() ? std::string("0") : std::string(t); };
  d.valves = orZero(row.number(kVALN, true));
  d.flanges = orZero(row.number(kFLNO, true));
  d.pumps = orZero(row.number(kNOPX, true));
  d.wrapcore = orZero(row.number(kWCTB, true));
  ParseShoes(row.text(kSHOES), d.shoes);
}

// The installation comes first: it decides the tube sizes, the wall list
// and which pipe sizes exist.
void LineListDesigner::Impl::selectInstallation(std::string_view traceIns) {
  STmainModel& model = *window;
  const auto& installs = model.controls()["Cab_In"].items;
  const int install = FindInstallation(installs, traceIns);
  if (install < 0)
    throw RowError("Column TRACEINS: " + Quoted(traceIns) + " is not in the installation list");
  watch(kTRACEINS, "Cab_In", true, traceIns);
  dialogs.watched.back().expected = installs[static_cast<std::size_t>(install)];
  beginStep();
  model.gotFocus("Cab_In");
  model.listClicked("Cab_In", install);
  endStep();
}

// A pipe size the list blanks for this installation is still picked at its
// position, so the window's own message refuses it.
void LineListDesigner::Impl::selectPipeSize(std::string_view size) {
  STmainModel& model = *window;
  const auto& sizes = PipeSizeList(options.units, false);
  const int pipePos = FindEntry(sizes, size, true);
  if (pipePos < 0) throw RowError("Column PIPESIZE: " + Quoted(size) + " is not in the pipe size list");
  watch(kPIPESIZE, "Pipe_Dia_In", true, size);
  const auto& shown = model.controls()["Pipe_Dia_In"].items;
  if (static_cast<std::size_t>(pipePos) < shown.size()) {
    dialogs.watched.back().expected = shown[static_cast<std::size_t>(pipePos)];
  }
  beginStep();
  model.gotFocus("Pipe_Dia_In");
  model.listClicked("Pipe_Dia_In", pipePos);
  endStep();
}

// What enterFirstInputs() enters, each text with its length before it.
std::string LineListDesigner::Impl::FirstInputsKey(const RowView& row, const TypedFields& f) {
  std::string key;
  for (std::string_view text :
       {row.text(kTRACEINS), row.text(kTRACETUB), row.text(kTUBEMAT), row.text(kTUBEWALL),
        row.text(kPIPESIZE), f.maxAmb, f.minAmb, f.maint, f.maxExp, f.intExp}) {
    key += std::to_string(text.size());
    key += ':';
    key += text;
  }
  return key;
}

// Enters the row as a user would: installation, tube size, material, wall,
// pipe size, then the typed fields, then insulation and passes.
void LineListDesigner::Impl::enterFirstInputs(const RowView& row, const TypedFields& f) {
  const bool metric = options.units == UnitSystem::Metric;
  selectInstallation(row.text(kTRACEINS));
  selectEntry(kTRACETUB, "Cab_Sel", row.text(kTRACETUB), metric, "tracer tubing");
  selectEntry(kTUBEMAT, "cboTracerMaterial", row.text(kTUBEMAT), false, "tubing material");
  if (!row.text(kTUBEWALL).empty()) {
    selectEntry(kTUBEWALL, "cboTubeWallThick", row.text(kTUBEWALL), true, "wall thickness");
  }
  selectPipeSize(row.text(kPIPESIZE));
  typeField(kMAXAMB, "Max_Amb", f.maxAmb);
  typeField(kMINAMB, "Min_Amb", f.minAmb);
  typeField(kMAINTEMP, "MT_In", f.maint);
  typeField(kMAXEXP, "Max_Exp_Temp", f.maxExp);
  if (!f.intExp.empty()) typeField(kINTEXP, "txtIntExpTemp", f.intExp);
}

void LineListDesigner::Impl::enterOtherInputs(const RowView& row, const TypedFields& f) {
  typeField(kPIPELN, "Pipe_Len_In", f.pipeLen);
  typeField(kSTEAMPRS, "Pressure", f.pressure);
  typeField(kCIRTXT, "Circ_No", row.text(kCIRTXT));
  typeField(kPIPETXT, "Line_No", row.text(kPIPETXT));
  // Insulation after the pressure: its checks read the pressure field.
  selectEntry(kINSTYPE, "Insul_Typ_In", row.text(kINSTYPE), false, "insulation type");
  selectEntry(kINSTHK, "Insul_Th_In", row.text(kINSTHK), true, "insulation thickness");
  selectEntry(kPASSES, "Pass", row.text(kPASSES), true, "number of passes");
}

// The inputs as the window took them; the wall and the intermittent
// exposure the row left empty as the window filled them in.
void LineListDesigner::Impl::noteUsedInputs(const RowView& row, const TypedFields& fields,
                                            CircuitResult& result) const {
  const STmainModel& model = *window;
  for (const auto& w : dialogs.watched) {
    std::string shown = RowDialogs::Shown(w);
    if (!shown.empty() || !w.list) result.used[w.column] = std::move(shown);
  }
  if (row.text(kTUBEWALL).empty())
    result.used[kTUBEWALL] = model.controls()["cboTubeWallThick"].selectedText();
  if (fields.intExp.empty()) result.used[kINTEXP] = model.controls()["txtIntExpTemp"].text;
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
  result.messages.push_back({"Input Error", text + " (--strict)"});
  return true;
}

// Presses the design button and takes the record, the installation finally
// used and the output fields.
void LineListDesigner::Impl::pressDesign(CircuitResult& result) {
  STmainModel& model = *window;
  model.gotFocus("Des_But");
  model.clicked("Des_But");
  result.record = model.set().current();
  result.ok = result.record.HoldsDesign();
  result.installation = model.controls()["Cab_In"].selectedText();
  for (std::size_t i = 0; i < result.display.size(); ++i) {
    result.display[i] = model.controls()[kDisplayFields[i]].text;
  }
}

LineListDesigner::LineListDesigner(const std::vector<std::string>& header, const BatchOptions& options)
    : impl_(std::make_unique<Impl>()) {
  Impl& s = *impl_;
  s.options = options;
  s.headerSize = header.size();
  s.positions.fill(-1);
  const auto& columns = LineListColumns();
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < header.size(); ++i) {
    const std::string name = Upper(header[i]);
    if (name.empty()) continue;
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
      s.error = "line 1: the column " + name + " appears twice";
      return;
    }
    seen.push_back(name);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (name == columns[c].name) s.positions[c] = static_cast<int>(i);
    }
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].required && s.positions[c] < 0) {
      s.error = std::string("line 1: the required column ") + columns[c].name + " is missing";
      return;
    }
  }
  s.build();
}

LineListDesigner::~LineListDesigner() = default;

bool LineListDesigner::ok() const { return impl_->error.empty(); }
const std::string& LineListDesigner::error() const { return impl_->error; }

void LineListDesigner::design(const CsvRow& row, int rowNumber, CircuitResult& result) {
  Impl& s = *impl_;
  result.row = rowNumber;
  result.line = row.line;
  result.ok = false;
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
    if (result.used[c].empty() && fallback && c != kTUBEWALL && c != kSHOES) result.used[c] = fallback;
  }
  if (row.fields.size() != s.headerSize) {
    result.messages.push_back({"Input Error", "Line " + std::to_string(row.line) + " has " +
                                                  std::to_string(row.fields.size()) + " fields, the header " +
                                                  std::to_string(s.headerSize) +
                                                  "; the row was not designed"});
    return;
  }
  try {
    s.designRow(RowView(s.positions, row.fields), result);
  } catch (const RowError& e) {
    s.dialogs.watching = false;
    result.messages.push_back({"Input Error", e.what()});
    result.ok = false;
    result.display.assign(kDisplayFieldCount, std::string());
    result.record = DesignRecord{};
  }
}

BatchResult DesignLineList(const CsvTable& table, const BatchOptions& options) {
  BatchResult result;
  result.header = table.header;
  LineListDesigner designer(table.header, options);
  if (!designer.ok()) {
    result.error = designer.error();
    return result;
  }
  result.ok = true;
  int n = 0;
  for (const auto& row : table.rows) {
    CircuitResult c;
    designer.design(row, ++n, c);
    result.circuits.push_back(std::move(c));
  }
  return result;
}

}  // namespace vst
