// The records of the main window: navigation with the spinner, loading a
// record into the window, opening and saving the set, and the closing prompt.
#include <algorithm>
#include <exception>
#include <string>

#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "core/message_titles.h"
#include "core/units.h"
#include "workspace/stmain_model.h"

namespace vst {

namespace {

constexpr const char* kSaveQuestion = "Do you want to save your current design?";

}  // namespace

void STmainModel::showRecordNumber() { c(StId::Rec_Num).text = std::to_string(set_.CurrentRecord + 1); }

// A lower spinner position steps to the next record, a higher one to the
// previous record.
void STmainModel::spinnerStep(int newPosition) {
  Control& spinner = c(StId::Spin1);
  // The record being designed stays the current record until its run ends.
  if (designRunning_) {
    spinner.index = set_.SpinnerPosition;
    return;
  }
  spinner.index = std::clamp(newPosition, kSpinnerMin, kSpinnerMax);
  if (spinner.index < set_.SpinnerPosition) {
    nextStep();
  } else if (spinner.index > set_.SpinnerPosition) {
    previousStep();
  }
  set_.SpinnerPosition = spinner.index;
}

// The next record, from a designed one only: a designed next record is
// loaded, a new one starts from the inputs on the screen.
void STmainModel::nextStep() {
  if (set_.CurrentRecord >= DesignSet::kRecords - 1 || !set_.current().HoldsDesign()) {
    c(StId::Spin1).index = set_.SpinnerPosition;
    return;
  }
  ++set_.CurrentRecord;
  showRecordNumber();
  if (set_.current().HoldsDesign()) {
    loadRecordIntoWindow(false);
  } else {
    c(StId::TraceLb).visible = false;
    c(StId::TraceTp).visible = false;
    showStoredOutputs();
  }
}

// The previous record, or record 1 again; it is loaded in every case.
void STmainModel::previousStep() {
  if (set_.CurrentRecord > 0) --set_.CurrentRecord;
  showRecordNumber();
  loadRecordIntoWindow(true);
}

// Fills the window from the current record. Each field set here runs its
// handling; RecordLoading keeps that handling from discarding anything. The
// heat-up texts follow Min_Amb and MT_In, so the stored ones win over the
// copies those two fields make.
void STmainModel::loadRecordIntoWindow(bool previousStep) {
  set_.RecordLoading = true;
  const DesignRecord& r = set_.current();
  setText(StId::Max_Amb, SingleText(r.MAXAMB));
  setText(StId::Min_Amb, SingleText(r.MINAMB));
  setText(StId::MT_In, SingleText(r.MAINTEMP));
  setText(StId::Max_Exp_Temp, SingleText(r.MAXEXP));
  selectList(StId::Insul_Th_In, r.INSTHK);
  selectList(StId::Insul_Typ_In, r.INSTYPE - 1);
  selectList(StId::Cab_In, r.TRACEINS);
  selectList(StId::Cab_Sel, r.TRACETUB);
  selectList(StId::cboTracerMaterial, r.TUBEMAT);
  selectList(StId::cboTubeWallThick, r.TUBEWALL);
  selectList(StId::cboApplication, r.APPTYPE);
  selectList(StId::cboProduct, r.HeatUpProduct);
  setText(StId::txtInitalTemp, r.HeatUpInitialTemp);
  setText(StId::txtFinalTemp, r.HeatUpFinalTemp);
  setText(StId::txtProdDensity, r.HeatUpDensity);
  setText(StId::txtProdCp, r.HeatUpSpecificHeat);
  setChecked(StId::chbPhaseChange, r.HeatUpPhaseChange);
  // Records from before the phase change temperature was kept leave the field as it is.
  if (!r.HeatUpPhaseChangeTemp.empty()) setText(StId::txtPCTemp, r.HeatUpPhaseChangeTemp);
  setText(StId::txtLatentHeat, r.HeatUpLatentHeat);
  setText(StId::Pressure, SingleText(r.STEAMPRS));
  setText(StId::Pipe_Len_In, SingleText(r.PIPELN));
  selectList(StId::Pipe_Dia_In, r.PIPESIZE);
  selectList(StId::Pass, r.NUMPASS);
  if (!previousStep || !r.CIRTXT.empty()) setText(StId::Circ_No, r.CIRTXT);
  if (!previousStep || !r.PIPETXT.empty()) setText(StId::Line_No, r.PIPETXT);

  // The program-wide pressure unit and sizing follow a designed record; a
  // record without a design leaves the preferences in force.
  if (r.HoldsDesign()) {
    c(StId::Label6).text = PressureCaption(PressureUnitFromStored(r.PRESSURE));
    set_.PressureUnit = PressureUnitFromStored(r.PRESSURE);
    set_.InsulationSizing = InsulationSizingFromStored(r.UNDER);
  }
  showStoredOutputs();
  showInstallationResult();
  set_.RecordLoading = false;
}

// The output fields from the current record; a record without a design
// shows none.
void STmainModel::showStoredOutputs() {
  const DesignRecord& r = set_.current();
  const bool designed = r.HoldsDesign();
  const DesignDisplay shown = designed ? DisplayOf(r, false) : DesignDisplay{};
  for (const DesignOutput& output : kDesignOutputs) {
    if (output.text != &DesignDisplay::traceType) c(OutputControl(output.text)).text = shown.*output.text;
  }
  const bool heatUp = designed && r.APPTYPE == kApplicationHeatUp;
  c(StId::lblHuTime).enabled = heatUp;
  c(StId::lblHuTimeUnit).enabled = heatUp;
  // The minimum maintained temperature is marked when it falls short of the
  // maintenance temperature, as the design marked it.
  c(StId::Min_Maint_Temp).backColor = shown.shortOfMaintTemp ? kColorYellow : kColorWhite;
}

// TraceLb and TraceTp for the installation of the stored design.
void STmainModel::showInstallationResult() {
  const DesignRecord& r = set_.current();
  Control& label = c(StId::TraceLb);
  Control& type = c(StId::TraceTp);
  if (!r.HoldsDesign()) {
    label.visible = type.visible = false;
    return;
  }
  const DesignDisplay shown = DisplayOf(r, false);
  label.text = shown.traceLabel;
  type.text = shown.traceType;
  label.visible = type.visible = true;
  type.enabled = true;
}

void STmainModel::applyOpenedSet(const std::array<DesignRecord, DesignSet::kRecords>& records,
                                 bool internalMode) {
  internalMode_ = internalMode;
  set_.RecordLoading = true;
  // The file's own mode is in force before the records are shown, so a stored
  // installation position means what it meant when the file was saved.
  for (int i = 0; i < DesignSet::kRecords; ++i) set_.at(i) = records[static_cast<std::size_t>(i)];
  programModeRefresh();
  previousStep();
  set_.DesignLock = true;
  set_.RecordLoading = false;
  savedRecords_ = set_.records;
  noteSavedState();
}

void STmainModel::fileSaved(bool succeeded) {
  set_.LastSaveFailed = !succeeded;
  if (succeeded) savedRecords_ = set_.records;
  noteSavedState();
}

bool STmainModel::queryUnsavedChanges(const std::function<void()>& save) {
  noteSavedState();
  if (set_.DesignSaved) return true;
  const MsgAnswer answer =
      dialogs_.message(Message{kSaveQuestion, "Save", MsgIcon::Question, MsgButtons::YesNoCancel, false});
  if (answer == MsgAnswer::Cancel) return false;
  if (answer != MsgAnswer::Yes) return true;
  set_.LastSaveFailed = true;  // a save that reports nothing has not saved
  try {
    if (save) save();
  } catch (const std::exception& e) {
    // The designs are still only here: the window stays, and says why.
    set_.LastSaveFailed = true;
    dialogs_.message(Message{std::string("The file was not saved: ") + e.what() + ".", kErrorTitle,
                             MsgIcon::Exclamation, MsgButtons::Ok, false});
  }
  return !set_.LastSaveFailed;
}

}  // namespace vst
