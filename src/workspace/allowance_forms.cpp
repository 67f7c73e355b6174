#include "workspace/allowance_forms.h"

#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "bom/allowances.h"
#include "circuit/allowance_answers.h"
#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {
namespace {

void Refuse(Dialogs& dialogs, std::string_view caption) {
  Message m;
  m.text = BoxRefusalText(caption);
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
  controls.add("Label2", ControlKind::Label, kFittingsBoxCaptions[0]);
  controls.add("numvalves", ControlKind::TextBox);
  controls.add("Label3", ControlKind::Label, kFittingsBoxCaptions[1]);
  controls.add("numflanges", ControlKind::TextBox);
  controls.add("Label4", ControlKind::Label, kFittingsBoxCaptions[2]);
  controls.add("numpumps", ControlKind::TextBox);
  controls.add("Label5", ControlKind::Label, kFittingsBoxCaptions[3]);
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
  std::array<std::string, 4> boxes;
  for (std::size_t i = 0; i < kPipeBoxes.size(); ++i) boxes[i] = controls_[kPipeBoxes[i].box].text;
  const FittingsReading reading = ReadFittings(controls_["Combo2"].index, boxes, decimalMark_);
  if (!reading.answer) {
    for (const PipeBox& b : kPipeBoxes) {
      if (controls_[b.label].text == reading.refusedCaption) focus_ = b.box;
    }
    Refuse(dialogs_, reading.refusedCaption);
    return false;
  }
  answer_ = *reading.answer;
  closed_ = true;
  return true;
}

// ---------------------------------------------------------------- ShoeForm

namespace {

ControlSet BuildShoeFormControls(bool metric) {
  ControlSet controls;
  const UnitSystem units = metric ? UnitSystem::Metric : UnitSystem::English;
  controls.add("Label1", ControlKind::Label, ShoeLengthCaption(units));
  controls.add("shoeln", ControlKind::TextBox, "0");
  controls.add("Label2", ControlKind::Label, kShoeCountCaption);
  controls.add("shoenum", ControlKind::TextBox, "0");
  controls.add("Label3", ControlKind::Label, ShoeTotalCaption(units));
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
  controls_["shoetot"].text = SingleText(ShoeStartTotal(setup.shoeAllowance));
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
  const std::array<const char*, 3> boxes = {"shoeln", "shoenum", "shoetot"};
  const std::array<const char*, 3> labels = {"Label1", "Label2", "Label3"};
  const ShoeStep step = AddShoeSize(units_, controls_["shoeln"].text, controls_["shoenum"].text,
                                    controls_["shoetot"].text, decimalMark_);
  if (!step.total) {
    const auto refused = static_cast<std::size_t>(step.refusedBox);
    focus_ = boxes[refused];
    Refuse(dialogs_, controls_[labels[refused]].text);
    return false;
  }
  controls_["shoetot"].text = SingleText(ToSingle(*step.total));
  controls_["shoenum"].text = "0";
  controls_["shoeln"].text = "0";
  total_ = *step.total;
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
