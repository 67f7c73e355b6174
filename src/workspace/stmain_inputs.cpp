// Input handling of the main window: the decimal key, the comparisons with
// the stored design when a field is left, the application checks, the
// heat-up fields, and the design button with what it stores.
#include <array>

#include "circuit/checks.h"
#include "circuit/design.h"
#include "circuit/entry.h"
#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "workspace/stmain_model.h"

namespace vst {

namespace {

constexpr std::array<StId, 6> kDecimalFields{StId::Max_Amb,      StId::Min_Amb,     StId::MT_In,
                                             StId::Max_Exp_Temp, StId::Pipe_Len_In, StId::Pressure};

// Density and specific heat with their captions and units, and the box.
constexpr std::array<StId, 7> kProductFields{
    StId::txtProdDensity, StId::lblProdDensity, StId::lblProdDensUnit, StId::txtProdCp,
    StId::lblProdCp,      StId::lblProdCpUnit,  StId::chbPhaseChange};
// The phase-change temperature and latent heat with their captions and units.
constexpr std::array<StId, 6> kPhaseFields{StId::txtPCTemp,     StId::lblPCTemp,     StId::lblPCTempUnit,
                                           StId::txtLatentHeat, StId::lblLatentHeat, StId::lblLatentHeatUnit};

}  // namespace

char STmainModel::keyPress(std::string_view name, char key) {
  const std::optional<StId> field = FindStId(name);
  if (key == '.' && decimalMark_ != '.' && field) {
    for (StId decimal : kDecimalFields) {
      if (*field == decimal) return decimalMark_;
    }
  }
  return key;
}

void STmainModel::lostFocus(std::string_view name) {
  const std::optional<StId> field = FindStId(name);
  if (!field) return;
  const DesignRecord& r = set_.current();
  switch (*field) {
    case StId::Max_Amb:
      numberLostFocus(entry_.maxAmbient, r.MAXAMB);
      break;
    case StId::Min_Amb:
      numberLostFocus(entry_.minAmbient, r.MINAMB);
      break;
    case StId::MT_In:
      numberLostFocus(entry_.maintTemp, r.MAINTEMP);
      break;
    case StId::Max_Exp_Temp:
      showCheckStep(CheckMaxExposureField(entry_, context()));
      numberLostFocus(entry_.maxExposure, set_.current().MAXEXP);
      break;
    case StId::Pipe_Len_In:
      numberLostFocus(entry_.pipeLength, r.PIPELN);
      break;
    case StId::Pressure:
      showCheckStep(CheckPressureField(entry_, context()));
      numberLostFocus(entry_.pressure, set_.current().STEAMPRS);
      break;
    case StId::txtIntExpTemp:
      numberLostFocus(entry_.intermittentExposure, r.IntermittentExposure);
      break;
    default:
      break;
  }
}

// A field that no longer shows the stored value discards the design. Text
// that is not a number counts as changed.
void STmainModel::numberLostFocus(const TypedNumber& field, float stored) {
  const auto value = field.single(decimalMark_);
  if (!value || *value != stored) discardStoredDesign();
}

void STmainModel::warn(const std::string& text, const std::string& title) {
  dialogs_.message(Message{text, title, MsgIcon::None, MsgButtons::Ok, false});
}

// The warnings of a check step in order, each followed by its correction
// drawn into the control it changed, then the focus. A corrected insulation
// is a choice of its own, which may discard the stored design.
void STmainModel::showCheckStep(const CheckStep& step) {
  for (const CheckWarningShown& w : step.warnings) {
    warn(w.text, kProgramTitle);
    if (!w.corrected) continue;
    switch (*w.corrected) {
      case EntryField::Pressure:
        setText(StId::Pressure, entry_.pressure.text());
        break;
      case EntryField::MaxExposure:
        setText(StId::Max_Exp_Temp, entry_.maxExposure.text());
        break;
      case EntryField::InsulationType:
        c(StId::Insul_Typ_In).index = entry_.insulationType;
        discardIfChanged(set_.current().INSTYPE - 1, entry_.insulationType);
        break;
      default:
        break;
    }
  }
  if (!step.focus) return;
  switch (*step.focus) {
    case EntryField::Pressure:
      requestFocus(StId::Pressure);
      break;
    case EntryField::MaxExposure:
      requestFocus(StId::Max_Exp_Temp);
      break;
    case EntryField::Material:
      requestFocus(StId::cboTracerMaterial);
      break;
    case EntryField::InsulationType:
      requestFocus(StId::Insul_Typ_In);
      break;
    default:
      break;
  }
}

// Heat-up product (cboProduct click): "Other" takes its properties from the
// fields; every other product uses its curve fits, whose range is checked
// against the maintenance temperature.
void STmainModel::productHandling() {
  const Control& products = c(StId::cboProduct);
  const bool other = products.index >= 0 && products.index == static_cast<int>(products.items.size()) - 1;
  showProductProperties();
  if (other) {
    for (StId field : kProductFields) c(field).enabled = true;
    phaseChangeHandling();
    return;
  }
  for (StId field : kProductFields) c(field).enabled = false;
  for (StId field : kPhaseFields) c(field).enabled = false;
  // The range was checked when the product was picked; showing a stored
  // record again does not warn.
  if (set_.RecordLoading) return;
  if (Trim(c(StId::MT_In).text).empty()) return;
  const auto maintTemp = entry_.maintTemp.single(decimalMark_);
  if (!maintTemp) return;
  if (const auto warning = ProductRangeWarning(products.index, *maintTemp, set_.Units)) {
    warn(*warning, kProductRangeTitle);
  }
}

// A heat-up of a listed product shows, read-only, the product's density and
// specific heat at the mean of the initial and final temperatures, which the
// heat-up uses there; "Other", and a maintenance window, show the values of
// the fields as entered.
bool STmainModel::showsProductData() const {
  return entry_.application == kApplicationHeatUp && entry_.product != kProductOther;
}

void STmainModel::showProductProperties() {
  const ProductPropertyTexts shown = ShownProductProperties(entry_, context());
  c(StId::txtProdDensity).text = shown.density;
  c(StId::txtProdCp).text = shown.specificHeat;
}

// A heat-up input changed: the heat-up time shown and stored no longer
// follows from the inputs and goes; the maintenance design, which does not
// depend on them, stays.
void STmainModel::dropHeatUpTime() {
  if (set_.RecordLoading || designRunning_) return;
  DesignRecord& r = set_.current();
  if (c(StId::txtHuTime).text.empty() && r.HeatUpTime == 0.0f) return;
  c(StId::txtHuTime).text.clear();
  r.HeatUpTime = 0;
  noteSavedState();
}

void STmainModel::phaseChangeHandling() {
  const bool on = c(StId::chbPhaseChange).checked;
  for (StId field : kPhaseFields) c(field).enabled = on;
}

void STmainModel::setStatus(const std::string& caption) { c(StId::MessagePanel).text = caption; }

void STmainModel::showResults(const DesignDisplay& d) {
  for (const DesignOutput& output : kDesignOutputs) c(OutputControl(output.text)).text = d.*output.text;
  c(StId::Min_Maint_Temp).backColor = d.shortOfMaintTemp ? kColorYellow : kColorWhite;
  Control& label = c(StId::TraceLb);
  label.text = d.traceLabel;
  label.visible = !d.traceLabel.empty();
  Control& type = c(StId::TraceTp);
  type.text = d.traceType;
  type.visible = label.visible;
  type.enabled = true;
  // The heat-up time, of a heat-up design only.
  const bool heatUp = entry_.application == kApplicationHeatUp;
  c(StId::lblHuTime).enabled = heatUp;
  c(StId::lblHuTimeUnit).enabled = heatUp;
}

}  // namespace vst
