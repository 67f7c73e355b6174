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
// blanks collapsed ("Number of Flanges    " -> "Number of Flanges").
std::string BoxName(std::string_view caption) {
  std::string name;
  bool blank = false;
  for (char c : Trim(caption)) {
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

PipeFormModel::PipeFormModel(const PipeFormSetup& setup, Dialogs& dialogs)
    : dialogs_(dialogs), decimalMark_(setup.decimalMark) {
  const bool metric = setup.units == UnitSystem::Metric;
  caption_ = "Pipe Length = " + setup.pipeLengthText + (metric ? " Meters" : " Feet");

  controls_.add(
      "Label1", ControlKind::Label,
      "Does the Pipe Length  include tubing allowances for the valves, supports pumps and flanges?");
  auto& combo = controls_.add("Combo2", ControlKind::List);
  combo.items = {"Yes", "No"};
  const bool recorded = setup.showRecordedAnswer && (setup.allowanceIncluded == kAllowanceIncludedYes ||
                                                     setup.allowanceIncluded == kAllowanceIncludedNo);
  combo.index = recorded ? setup.allowanceIncluded : kAllowanceIncludedNo;

  controls_.add("Label2", ControlKind::Label, "Number of Valves");
  controls_.add("numvalves", ControlKind::TextBox, SingleText(setup.VALN));
  controls_.add("Label3", ControlKind::Label, "Number of Flanges    ");
  controls_.add("numflanges", ControlKind::TextBox, SingleText(setup.FLNO));
  controls_.add("Label4", ControlKind::Label, "Number of Pumps");
  controls_.add("numpumps", ControlKind::TextBox, SingleText(setup.NOPX));
  controls_.add("Label5", ControlKind::Label, "Total   Wrapcore Allowance");
  controls_.add("Text1", ControlKind::TextBox, SingleText(setup.WCTB));
  controls_.add("Label6", ControlKind::Label, metric ? " m" : " Ft");
  controls_.add("Command1", ControlKind::Button, "&Next");
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

ShoeFormModel::ShoeFormModel(const ShoeFormSetup& setup, Dialogs& dialogs)
    : dialogs_(dialogs), units_(setup.units), decimalMark_(setup.decimalMark) {
  const bool metric = units_ == UnitSystem::Metric;
  controls_.add("Label1", ControlKind::Label, metric ? "Shoe Length (mm)" : "Shoe Length (inches)");
  controls_.add("shoeln", ControlKind::TextBox, "0");
  controls_.add("Label2", ControlKind::Label, "Number of Shoes");
  controls_.add("shoenum", ControlKind::TextBox, "0");
  controls_.add("Label3", ControlKind::Label, metric ? "Total Length (meters)" : "Total Length (feet)");
  const float start =
      std::isfinite(setup.shoeAllowance) && setup.shoeAllowance > 0 ? setup.shoeAllowance : 0.0f;
  controls_.add("shoetot", ControlKind::TextBox, SingleText(start));
  controls_.add("NextSize", ControlKind::Button, "&Next Size");
  controls_.add("Redo", ControlKind::Button, "&Clear");
  controls_.add("Done", ControlKind::Button, "&Done");
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
