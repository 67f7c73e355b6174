#include "workspace/allowance_forms.h"

#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "bom/allowances.h"
#include "circuit/allowance_answers.h"
#include "core/legacy_math.h"
#include "core/message_titles.h"
#include "core/units.h"

namespace vst {
namespace {

// The controls of each form by position, in the order the form adds them.
enum class PipeId : std::size_t {
  Label1,
  Combo2,
  Label2,
  numvalves,
  Label3,
  numflanges,
  Label4,
  numpumps,
  Label5,
  Text1,
  Label6,
  Command1
};
enum class ShoeId : std::size_t {
  Label1,
  shoeln,
  Label2,
  shoenum,
  Label3,
  shoetot,
  NextSize,
  Redo,
  Done,
  lblKept
};
constexpr std::array<std::string_view, 12> kPipeNames = {"Label1", "Combo2",     "Label2", "numvalves",
                                                         "Label3", "numflanges", "Label4", "numpumps",
                                                         "Label5", "Text1",      "Label6", "Command1"};
constexpr std::array<std::string_view, 10> kShoeNames = {
    "Label1", "shoeln", "Label2", "shoenum", "Label3", "shoetot", "NextSize", "Redo", "Done", "lblKept"};
std::string Name(PipeId id) { return std::string(kPipeNames[static_cast<std::size_t>(id)]); }
std::string Name(ShoeId id) { return std::string(kShoeNames[static_cast<std::size_t>(id)]); }

void Refuse(Dialogs& dialogs, std::string_view caption) {
  Message m;
  m.text = BoxRefusalText(caption);
  m.title = kInputErrorTitle;
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

constexpr std::array<std::string_view, 6> kPipeOrder = {kPipeNames[1], kPipeNames[3], kPipeNames[5],
                                                        kPipeNames[7], kPipeNames[9], kPipeNames[11]};
constexpr std::array<std::string_view, 6> kShoeOrder = {
    kShoeNames[1], kShoeNames[3], kShoeNames[6], "", "", ""};

// The boxes of PipeForm with the labels that name them, in reading order.
struct PipeBox {
  PipeId box;
  PipeId label;
};
constexpr std::array<PipeBox, 4> kPipeBoxes = {{
    {PipeId::numvalves, PipeId::Label2},
    {PipeId::numflanges, PipeId::Label3},
    {PipeId::numpumps, PipeId::Label4},
    {PipeId::Text1, PipeId::Label5},
}};

void RequireTextBox(const ControlSet& controls, std::string_view box) {
  if (controls[box].kind != ControlKind::TextBox) {
    throw std::invalid_argument("not a text box: " + std::string(box));
  }
}

}  // namespace

// ---------------------------------------------------------------- PipeForm

namespace {

// The form's controls as it opens.
ControlSet PipeFormControls(bool metric) {
  const std::array<std::pair<ControlKind, std::string>, 12> made = {{
      {ControlKind::Label,
       "&Does the Pipe Length  include tubing allowances for the valves, supports pumps and flanges?"},
      {ControlKind::List, ""},
      {ControlKind::Label, kFittingsBoxCaptions[0]},
      {ControlKind::TextBox, ""},
      {ControlKind::Label, kFittingsBoxCaptions[1]},
      {ControlKind::TextBox, ""},
      {ControlKind::Label, kFittingsBoxCaptions[2]},
      {ControlKind::TextBox, ""},
      {ControlKind::Label, kFittingsBoxCaptions[3]},
      {ControlKind::TextBox, ""},
      {ControlKind::Label, metric ? " m" : " Ft"},
      {ControlKind::Button, "&Next"},
  }};
  ControlSet controls;
  for (std::size_t i = 0; i < made.size(); ++i)
    controls.add(std::string(kPipeNames[i]), made[i].first, made[i].second);
  controls[PipeId::Combo2].items = {"Yes", "No"};
  return controls;
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
  controls_ = PipeFormControls(metric);
  const bool recorded = setup.showRecordedAnswer && (setup.allowanceIncluded == kAllowanceIncludedYes ||
                                                     setup.allowanceIncluded == kAllowanceIncludedNo);
  controls_[PipeId::Combo2].index = recorded ? setup.allowanceIncluded : kAllowanceIncludedNo;
  controls_[PipeId::numvalves].text = SingleText(setup.VALN);
  controls_[PipeId::numflanges].text = SingleText(setup.FLNO);
  controls_[PipeId::numpumps].text = SingleText(setup.NOPX);
  controls_[PipeId::Text1].text = SingleText(setup.WCTB);
  focus_ = Name(PipeId::Combo2);
  closed_ = false;
  answer_ = {};
}

void PipeFormModel::setText(std::string_view box, std::string text) {
  RequireTextBox(controls_, box);
  controls_[box].text = std::move(text);
}

void PipeFormModel::selectAnswer(int index) {
  if (index == kAllowanceIncludedYes || index == kAllowanceIncludedNo)
    controls_[PipeId::Combo2].index = index;
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
  if (focus_ == Name(PipeId::Command1)) {
    next();
    return;
  }
  focus_ = NextFocus(focus_);
}

bool PipeFormModel::next() {
  if (closed_) return true;
  std::array<std::string, 4> boxes;
  for (std::size_t i = 0; i < kPipeBoxes.size(); ++i) boxes[i] = controls_[kPipeBoxes[i].box].text;
  const FittingsReading reading = ReadFittings(controls_[PipeId::Combo2].index, boxes, decimalMark_);
  if (!reading.answer) {
    for (const PipeBox& b : kPipeBoxes) {
      if (controls_[b.label].text == reading.refusedCaption) focus_ = Name(b.box);
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

// The form's controls as it opens.
ControlSet ShoeFormControls(UnitSystem units) {
  const std::array<std::pair<ControlKind, std::string>, 10> made = {{
      {ControlKind::Label, ShoeLengthCaption(units)},
      {ControlKind::TextBox, "0"},
      {ControlKind::Label, kShoeCountCaption},
      {ControlKind::TextBox, "0"},
      {ControlKind::Label, ShoeTotalCaption(units)},
      {ControlKind::TextBox, ""},
      {ControlKind::Button, "&Next Size"},
      {ControlKind::Button, "&Clear"},
      {ControlKind::Button, "&Done"},
      {ControlKind::Label, std::string(kShoeTotalKeptNote)},
  }};
  ControlSet controls;
  for (std::size_t i = 0; i < made.size(); ++i)
    controls.add(std::string(kShoeNames[i]), made[i].first, made[i].second);
  return controls;
}

}  // namespace

ShoeFormModel::ShoeFormModel(const ShoeFormSetup& setup, Dialogs& dialogs)
    : dialogs_(dialogs), units_(setup.units), decimalMark_(setup.decimalMark) {
  reopen(setup);
}

void ShoeFormModel::reopen(const ShoeFormSetup& setup) {
  units_ = setup.units;
  decimalMark_ = setup.decimalMark;
  controls_ = ShoeFormControls(setup.units);
  controls_[ShoeId::shoetot].text = SingleText(ShoeStartTotal(setup.shoeAllowance));
  // The record's total carries over from its last design, so entering the
  // same shoes again would add them twice; the note says so while it holds.
  controls_[ShoeId::lblKept].visible = ShoeStartTotal(setup.shoeAllowance) != 0;
  focus_ = Name(ShoeId::shoeln);
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
  if (focus_ == Name(ShoeId::NextSize)) {
    nextSize();
    return;
  }
  focus_ = NextFocus(focus_);
}

bool ShoeFormModel::nextSize() {
  if (closed_) return true;
  const std::array<ShoeId, 3> boxes = {ShoeId::shoeln, ShoeId::shoenum, ShoeId::shoetot};
  const std::array<ShoeId, 3> labels = {ShoeId::Label1, ShoeId::Label2, ShoeId::Label3};
  const ShoeStep step = AddShoeSize(units_, controls_[ShoeId::shoeln].text, controls_[ShoeId::shoenum].text,
                                    controls_[ShoeId::shoetot].text, decimalMark_);
  if (!step.total) {
    const auto refused = static_cast<std::size_t>(step.refusedBox);
    focus_ = Name(boxes[refused]);
    Refuse(dialogs_, controls_[labels[refused]].text);
    return false;
  }
  controls_[ShoeId::shoetot].text = SingleText(ToSingle(*step.total));
  controls_[ShoeId::shoenum].text = "0";
  controls_[ShoeId::shoeln].text = "0";
  total_ = *step.total;
  focus_ = Name(ShoeId::shoeln);
  return true;
}

void ShoeFormModel::clear() {
  if (closed_) return;
  controls_[ShoeId::shoeln].text = "0";
  controls_[ShoeId::shoenum].text = "0";
  controls_[ShoeId::shoetot].text = "0";
  controls_[ShoeId::lblKept].visible = false;
  focus_ = Name(ShoeId::shoeln);
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
