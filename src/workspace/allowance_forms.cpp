#include "workspace/allowance_forms.h"

#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "bom/allowances.h"
#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {
namespace {

// Counts and lengths above this are refused: no circuit has a million
// valves or shoes, and the limit keeps every total finite in the
// single-precision fields that store it.
constexpr double kMaxBoxValue = 1000000.0;

// The box's caption as a message names it: blanks trimmed and runs of
// blanks collapsed ("Number of &Flanges    " -> "Number of Flanges").
std::string BoxName(std::string_view caption) {
  std::string name;
  bool blank = false;
  for (char c : Trim(caption)) {
    if (c == '&') continue;
    if (c == ' ') {
      blank = true;
      continue;
    }
    if (blank && !name.empty()) name += ' ';
    blank = false;
    name += c;
  }
  return name;
}

// The value of a count or length box: an empty box is 0; text that is not a
// number, a negative number or one above the limit gives no value. Read in
// double precision: a shoe total read back through a single would lose a
// tenth at every truncation (2.6 reads as 2.5999999).
std::optional<double> BoxValue(std::string_view text, char decimalMark) {
  if (Trim(text).empty()) return 0.0;
  const auto v = ParseNumber(text, decimalMark);
  if (!v || *v < 0.0 || *v > kMaxBoxValue) return std::nullopt;
  return *v;
}

void Refuse(Dialogs& dialogs, std::string_view caption) {
  Message m;
  m.text = "The " + BoxName(caption) + " must be a number from 0 to 1000000.";
  m.title = "Input Error";
  m.icon = MsgIcon::Exclamation;
  dialogs.message(m);
}

std::string StepFocus(std::string_view control, const std::array<std::string_view, 6>& order,
                      std::size_t count) {
  for (std::size_t i = 0; i + 1 < count; ++i) {
    if (order[i] == control) return std::string(order[i + 1]);
  }
  return std::string(control);
}

constexpr std::array<std::string_view, 6> kPipeOrder = {"Combo2",   "numvalves", "numflanges",
                                                        "numpumps", "Text1",     "Command1"};
constexpr std::array<std::string_view, 6> kShoeOrder = {"shoeln", "shoenum", "NextSize", "", "", ""};

// The boxes of PipeForm with the labels that name them, in reading order.
struct PipeBox {
  const char* box;
  const char* label;
};
constexpr std::array<PipeBox, 4> kPipeBoxes = {{
    {"numvalves", "Label2"},
    {"numflanges", "Label3"},
    {"numpumps", "Label4"},
    {"Text1", "Label5"},
}};

void RequireTextBox(const ControlSet& controls, std::string_view box) {
  if (controls[box].kind != ControlKind::TextBox) {
    throw std::invalid_argument("not a text box: " + std::string(box));
  }
}

}  // namespace

// ---------------------------------------------------------------- PipeForm

namespace {

// The form's controls as they open, one set per unit system, built once per
// thread: a batch opens the form for every circuit, and copying a built set
// costs a fraction of building one.
ControlSet BuildPipeFormControls(bool metric) {
  ControlSet controls;
  controls.add(
      "Label1", ControlKind::Label,
      "&Does the Pipe Length  include tubing allowances for the valves, supports pumps and flanges?");
  controls.add("Combo2", ControlKind::List).items = {"Yes", "No"};
  controls.add("Label2", ControlKind::Label, "Number of &Valves");
  controls.add("numvalves", ControlKind::TextBox);
  controls.add("Label3", ControlKind::Label, "Number of &Flanges    ");
  controls.add("numflanges", ControlKind::TextBox);
  controls.add("Label4", ControlKind::Label, "Number of &Pumps");
  controls.add("numpumps", ControlKind::TextBox);
  controls.add("Label5", ControlKind::Label, "Total   &Wrapcore Allowance");
  controls.add("Text1", ControlKind::TextBox);
  controls.add("Label6", ControlKind::Label, metric ? " m" : " Ft");
  controls.add("Command1", ControlKind::Button, "&Next");
  // Look the handlers' names up once, so that copies find them at once.
  for (const char* name : {"Combo2", "numvalves", "numflanges", "numpumps", "Text1"}) controls[name];
  return controls;
}

const ControlSet& PipeFormControls(bool metric) {
  thread_local const std::array<ControlSet, 2> sets = {BuildPipeFormControls(false),
                                                       BuildPipeFormControls(true)};
  return sets[metric ? 1 : 0];
}

}  // namespace

PipeFormModel::PipeFormModel(const PipeFormSetup& setup, Dialogs& dialogs)
    : dialogs_(dialogs), decimalMark_(setup.decimalMark) {
  reopen(setup);
}

void PipeFormModel::reopen(const PipeFormSetup& setup) {
  const bool metric = setup.units == UnitSystem::Metric;
  decimalMark_ = setup.decimalMark;
  caption_ = "Pipe Length = " + setup.pipeLengthText + (metric ? " Meters" : " Feet");
  controls_.restore(PipeFormControls(metric));
  const bool recorded = setup.showRecordedAnswer && (setup.allowanceIncluded == kAllowanceIncludedYes ||
                                                     setup.allowanceIncluded == kAllowanceIncludedNo);
  controls_["Combo2"].index = recorded ? setup.allowanceIncluded : kAllowanceIncludedNo;
  controls_["numvalves"].text = SingleText(setup.VALN);
  controls_["numflanges"].text = SingleText(setup.FLNO);
  controls_["numpumps"].text = SingleText(setup.NOPX);
  controls_["Text1"].text = SingleText(setup.WCTB);
  focus_ = "Combo2";
  closed_ = false;
  answer_ = {};
}

void PipeFormModel::setText(std::string_view box, std::string text) {
  RequireTextBox(controls_, box);
  controls_[box].text = std::move(text);
}

void PipeFormModel::selectAnswer(int index) {
  if (index == kAllowanceIncludedYes || index == kAllowanceIncludedNo) controls_["Combo2"].index = index;
}

void PipeFormModel::activate() {
  for (const auto& b : kPipeBoxes) {
    auto& box = controls_[b.box];
    if (box.text.empty()) box.text = "0";
  }
}

void PipeFormModel::setFocus(std::string_view control) {
  if (controls_.has(control)) focus_ = std::string(control);
}

std::string PipeFormModel::NextFocus(std::string_view control) {
  return StepFocus(control, kPipeOrder, kPipeOrder.size());
}

void PipeFormModel::pressEnter() {
  if (closed_) return;
  if (focus_ == "Command1") {
    next();
    return;
  }
  focus_ = NextFocus(focus_);
}

bool PipeFormModel::next() {
  if (closed_) return true;
  std::array<double, 4> values{};
  for (std::size_t i = 0; i < kPipeBoxes.size(); ++i) {
    const auto v = BoxValue(controls_[kPipeBoxes[i].box].text, decimalMark_);
    if (!v) {
      focus_ = kPipeBoxes[i].box;
      Refuse(dialogs_, controls_[kPipeBoxes[i].label].text);
      return false;
    }
    values[i] = *v;
  }
  answer_.allowanceIncluded = controls_["Combo2"].index;
  answer_.valves = ToSingle(values[0]);
  answer_.flanges = ToSingle(values[1]);
  answer_.pumps = ToSingle(values[2]);
  answer_.wrapcore = ToSingle(values[3]);
  closed_ = true;
  return true;
}

// ---------------------------------------------------------------- ShoeForm

namespace {

ControlSet BuildShoeFormControls(bool metric) {
  ControlSet controls;
  controls.add("Label1", ControlKind::Label, metric ? "Shoe &Length (mm)" : "Shoe &Length (inches)");
  controls.add("shoeln", ControlKind::TextBox, "0");
  controls.add("Label2", ControlKind::Label, "Number of &Shoes");
  controls.add("shoenum", ControlKind::TextBox, "0");
  controls.add("Label3", ControlKind::Label, metric ? "&Total Length (meters)" : "&Total Length (feet)");
  controls.add("shoetot", ControlKind::TextBox);
  controls.add("NextSize", ControlKind::Button, "&Next Size");
  controls.add("Redo", ControlKind::Button, "&Clear");
  controls.add("Done", ControlKind::Button, "&Done");
  for (const char* name : {"shoeln", "shoenum", "shoetot"}) controls[name];
  return controls;
}

// As PipeFormControls().
const ControlSet& ShoeFormControls(bool metric) {
  thread_local const std::array<ControlSet, 2> sets = {BuildShoeFormControls(false),
                                                       BuildShoeFormControls(true)};
  return sets[metric ? 1 : 0];
}

}  // namespace

ShoeFormModel::ShoeFormModel(const ShoeFormSetup& setup, Dialogs& dialogs)
    : dialogs_(dialogs), units_(setup.units), decimalMark_(setup.decimalMark) {
  reopen(setup);
}

void ShoeFormModel::reopen(const ShoeFormSetup& setup) {
  units_ = setup.units;
  decimalMark_ = setup.decimalMark;
  controls_.restore(ShoeFormControls(setup.units == UnitSystem::Metric));
  const float start =
      std::isfinite(setup.shoeAllowance) && setup.shoeAllowance > 0 ? setup.shoeAllowance : 0.0f;
  controls_["shoetot"].text = SingleText(start);
  focus_ = "shoeln";
  closed_ = false;
  total_ = 0;
}

void ShoeFormModel::setText(std::string_view box, std::string text) {
  RequireTextBox(controls_, box);
  controls_[box].text = std::move(text);
}

void ShoeFormModel::setFocus(std::string_view control) {
  if (controls_.has(control)) focus_ = std::string(control);
}

std::string ShoeFormModel::NextFocus(std::string_view control) { return StepFocus(control, kShoeOrder, 3); }

void ShoeFormModel::pressEnter() {
  if (closed_) return;
  if (focus_ == "NextSize") {
    nextSize();
    return;
  }
  focus_ = NextFocus(focus_);
}

bool ShoeFormModel::nextSize() {
  if (closed_) return true;
  struct Box {
    const char* box;
    const char* label;
  };
  const std::array<Box, 3> boxes = {{{"shoeln", "Label1"}, {"shoenum", "Label2"}, {"shoetot", "Label3"}}};
  std::array<double, 3> values{};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const auto v = BoxValue(controls_[boxes[i].box].text, decimalMark_);
    if (!v) {
      focus_ = boxes[i].box;
      Refuse(dialogs_, controls_[boxes[i].label].text);
      return false;
    }
    values[i] = *v;
  }
  const double total = AddShoeAllowance(units_, values[2], values[0], values[1]);
  if (total > kMaxBoxValue) {
    focus_ = "shoetot";
    Refuse(dialogs_, controls_["Label3"].text);
    return false;
  }
  controls_["shoetot"].text = SingleText(ToSingle(total));
  controls_["shoenum"].text = "0";
  controls_["shoeln"].text = "0";
  total_ = total;
  focus_ = "shoeln";
  return true;
}

void ShoeFormModel::clear() {
  if (closed_) return;
  controls_["shoeln"].text = "0";
  controls_["shoenum"].text = "0";
  controls_["shoetot"].text = "0";
  focus_ = "shoeln";
}

bool ShoeFormModel::done() {
  if (closed_) return true;
  if (!nextSize()) return false;
  closed_ = true;
  return true;
}

float ShoeFormModel::total() const { return ToSingle(total_); }

double ShoeFormModel::totalFt() const {
  return units_ == UnitSystem::Metric ? FeetFromMetres(total_) : total_;
}

}  // namespace vst
