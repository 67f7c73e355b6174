// Input handling of the main window: the decimal key, the comparisons with
// the stored design when a field is left, the application checks, the
// heat-up fields, and the design button with what it stores.
#include <array>

#include "circuit/checks.h"
#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "workspace/stmain_model.h"

namespace vst {

namespace {

constexpr std::array<const char*, 6> kDecimalFields{"Max_Amb",      "Min_Amb",     "MT_In",
                                                    "Max_Exp_Temp", "Pipe_Len_In", "Pressure"};

// Density and specific heat with their captions and units, and the box.
constexpr std::array<const char*, 7> kProductFields{"txtProdDensity", "lblProdDensity", "lblProdDensUnit",
                                                    "txtProdCp",      "lblProdCp",      "lblProdCpUnit",
                                                    "chbPhaseChange"};
// The phase-change temperature and latent heat with their captions and units.
constexpr std::array<const char*, 6> kPhaseFields{"txtPCTemp",     "lblPCTemp",     "lblPCTempUnit",
                                                  "txtLatentHeat", "lblLatentHeat", "lblLatentHeatUnit"};

}  // namespace

char STmainModel::keyPress(std::string_view name, char key) {
  if (key == '.' && decimalMark_ != '.') {
    for (const char* field : kDecimalFields) {
      if (name == field) return decimalMark_;
    }
  }
  return key;
}

void STmainModel::lostFocus(std::string_view name) {
  const DesignRecord& r = set_.current();
  if (name == "Max_Amb") {
    numberLostFocus(name, r.MAXAMB);
  } else if (name == "Min_Amb") {
    numberLostFocus(name, r.MINAMB);
  } else if (name == "MT_In") {
    numberLostFocus(name, r.MAINTEMP);
  } else if (name == "Max_Exp_Temp") {
    copperCheck(true);
    numberLostFocus(name, set_.current().MAXEXP);
  } else if (name == "Pipe_Len_In") {
    numberLostFocus(name, r.PIPELN);
  } else if (name == "Pressure") {
    polyisocyanurateCheck(true);
    copperCheck(true);
    numberLostFocus(name, set_.current().STEAMPRS);
  } else if (name == "txtIntExpTemp") {
    numberLostFocus(name, r.IntermittentExposure);
  }
}

// A field that no longer shows the stored value discards the design. Text
// that is not a number counts as changed.
void STmainModel::numberLostFocus(std::string_view field, float stored) {
  const auto value = ParseSingle(c(field).text, decimalMark_);
  if (!value || *value != stored) discardStoredDesign();
}

void STmainModel::warn(const std::string& text, const std::string& title) {
  dialogs_.message(Message{text, title, MsgIcon::None, MsgButtons::Ok, false});
}

// Polyisocyanurate insulation and the steam pressure. From the pressure field
// the limit's value is put back; from the insulation list the insulation
// becomes Calcium Silicate.
bool STmainModel::polyisocyanurateCheck(bool fromField) {
  const auto warning =
      PolyisocyanurateWarning(c("Insul_Typ_In").index, c("Pressure").text, set_.PressureUnit, decimalMark_);
  if (!warning) return false;
  warn(warning->message, kProgramTitle);
  if (fromField) {
    setText("Pressure", warning->putBack);
    requestFocus("Pressure");
  } else {
    selectList("Insul_Typ_In", 0);
    requestFocus("Insul_Typ_In");
  }
  return true;
}

// Copper tubing against the steam pressure and then the exposure
// temperature; both parts may warn in one call. From a field the offending
// field gets its limit's value back; from the insulation list only the focus
// moves to the material list, which keeps its entry.
void STmainModel::copperCheck(bool fromField) {
  const auto warnings = CopperWarnings(c("cboTracerMaterial").index, c("Pressure").text,
                                       c("Max_Exp_Temp").text, set_.PressureUnit, set_.Units, decimalMark_);
  for (const FieldWarning& w : warnings) {
    warn(w.warning.message, kProgramTitle);
    const char* field = w.field == CheckedField::Pressure ? "Pressure" : "Max_Exp_Temp";
    if (fromField) {
      setText(field, w.warning.putBack);
      requestFocus(field);
    } else {
      requestFocus("cboTracerMaterial");
    }
  }
}

// Heat-up product (cboProduct click): "Other" takes its properties from the
// fields; every other product uses its curve fits, whose range is checked
// against the maintenance temperature.
void STmainModel::productHandling() {
  const Control& products = c("cboProduct");
  const bool other = products.index >= 0 && products.index == static_cast<int>(products.items.size()) - 1;
  if (other) {
    for (const char* name : kProductFields) c(name).enabled = true;
    phaseChangeHandling();
    return;
  }
  for (const char* name : kProductFields) c(name).enabled = false;
  for (const char* name : kPhaseFields) c(name).enabled = false;
  // The range was checked when the product was picked; showing a stored
  // record again does not warn.
  if (set_.RecordLoading) return;
  if (Trim(c("MT_In").text).empty()) return;
  const auto maintTemp = ParseSingle(c("MT_In").text, decimalMark_);
  if (!maintTemp) return;
  if (const auto warning = ProductRangeWarning(products.index, *maintTemp, set_.Units)) {
    warn(*warning, kProductRangeTitle);
  }
}

void STmainModel::phaseChangeHandling() {
  const bool on = c("chbPhaseChange").checked;
  for (const char* name : kPhaseFields) c(name).enabled = on;
}

void STmainModel::setStatus(const std::string& caption) { c("MessagePanel").text = caption; }

void STmainModel::showResults(const DesignDisplay& d) {
  c("Max_Maint_Temp").text = d.maxMaintTemp;
  c("Min_Maint_Temp").text = d.minMaintTemp;
  c("Min_Maint_Temp").backColor = d.shortOfMaintTemp ? kColorYellow : kColorWhite;
  c("Ht_Lswo_Out").text = d.heatLoss;
  c("Cond_Load").text = d.condensate;
  c("Insul_Size").text = d.insulationSize;
  c("Trap_Dist").text = d.trapDistance;
  c("Rise").text = d.rise;
  c("Tot_Cab_Out").text = d.totalLength;
  Control& label = c("TraceLb");
  label.text = d.traceLabel;
  label.visible = !d.traceLabel.empty();
  Control& type = c("TraceTp");
  type.text = d.traceType;
  type.visible = label.visible;
  type.enabled = true;
  // The heat-up time is not computed by a design: its field stays empty.
  c("lblHuTime").enabled = false;
  c("lblHuTimeUnit").enabled = false;
  c("txtHuTime").text.clear();
}

}  // namespace vst
