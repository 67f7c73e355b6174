// The records of the main window: navigation with the spinner, loading a
// record into the window, opening and saving the set, and the closing prompt.
#include <algorithm>

#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "core/units.h"
#include "workspace/stmain_model.h"

namespace vst {

namespace {

constexpr const char* kSaveQuestion = "Do you want to save your current design?";

}  // namespace

void STmainModel::showRecordNumber() { c("Rec_Num").text = std::to_string(set_.CurrentRecord + 1); }

// A lower spinner position steps to the next record, a higher one to the
// previous record.
void STmainModel::spinnerStep(int newPosition) {
  Control& spinner = c("Spin1");
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
    c("Spin1").index = set_.SpinnerPosition;
    return;
  }
  ++set_.CurrentRecord;
  showRecordNumber();
  if (set_.current().HoldsDesign()) {
    loadRecordIntoWindow(false);
  } else {
    c("TraceLb").visible = false;
    c("TraceTp").visible = false;
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
  setText("Max_Amb", SingleText(r.MAXAMB));
  setText("Min_Amb", SingleText(r.MINAMB));
  setText("MT_In", SingleText(r.MAINTEMP));
  setText("Max_Exp_Temp", SingleText(r.MAXEXP));
  selectList("Insul_Th_In", r.INSTHK);
  selectList("Insul_Typ_In", r.INSTYPE - 1);
  selectList("Cab_In", r.TRACEINS);
  selectList("Cab_Sel", r.TRACETUB);
  selectList("cboTracerMaterial", r.TUBEMAT);
  selectList("cboTubeWallThick", r.TUBEWALL);
  selectList("cboApplication", r.APPTYPE);
  selectList("cboProduct", r.HeatUpProduct);
  setText("txtInitalTemp", r.HeatUpInitialTemp);
  setText("txtFinalTemp", r.HeatUpFinalTemp);
  setText("txtProdDensity", r.HeatUpDensity);
  setText("txtProdCp", r.HeatUpSpecificHeat);
  setChecked("chbPhaseChange", r.HeatUpPhaseChange);
  setText("txtLatentHeat", r.HeatUpLatentHeat);
  setText("Pressure", SingleText(r.STEAMPRS));
  setText("Pipe_Len_In", SingleText(r.PIPELN));
  selectList("Pipe_Dia_In", r.PIPESIZE);
  selectList("Pass", r.NUMPASS);
  if (!previousStep || !r.CIRTXT.empty()) setText("Circ_No", r.CIRTXT);
  if (!previousStep || !r.PIPETXT.empty()) setText("Line_No", r.PIPETXT);

  // The program-wide pressure unit and sizing follow a designed record; a
  // record without a design leaves the preferences in force.
  if (r.HoldsDesign()) {
    c("Label6").text = PressureCaption(PressureUnitFromStored(r.PRESSURE));
    set_.PressureUnit = PressureUnitFromStored(r.PRESSURE);
    set_.InsulationSizing = InsulationSizingFromStored(r.UNDER);
  }
  showStoredOutputs();
  showInstallationResult(false);
  set_.RecordLoading = false;
}

// The output fields from the current record; a record without a design
// shows none.
void STmainModel::showStoredOutputs() {
  const DesignRecord& r = set_.current();
  const bool designed = r.HoldsDesign();
  const auto show = [&](const char* name, float value) { c(name).text = designed ? SingleText(value) : ""; };
  show("Max_Maint_Temp", r.TP2);
  show("Min_Maint_Temp", r.TP1);
  show("Ht_Lswo_Out", r.LSWO);
  show("Insul_Size", r.INSIZE);
  show("Tot_Cab_Out", r.TLEN);
  show("Trap_Dist", r.TDX);
  show("Rise", r.VTR);
  c("Cond_Load").text = designed ? FixedText(r.COND, 3) : "";
  // The heat-up time is not computed by a design, which leaves the field empty.
  c("txtHuTime").text = designed && r.HeatUpTime != 0.0f ? SingleText(r.HeatUpTime) : "";
  // The minimum maintained temperature is marked when it falls short of the
  // maintenance temperature, as the design marked it.
  c("Min_Maint_Temp").backColor = designed && r.MAINTEMP > r.TP1 ? kColorYellow : kColorWhite;
}

// TraceLb and TraceTp for the installation a design used.
void STmainModel::showInstallationResult(bool justDesigned) {
  const DesignRecord& r = set_.current();
  Control& label = c("TraceLb");
  Control& type = c("TraceTp");
  if (!r.HoldsDesign()) {
    label.visible = type.visible = false;
    return;
  }
  if (r.TRACEINS == kInstallTroughline) {
    label.text = justDesigned ? "Troughline" : "Trough Line";
    type.text = r.CEM;
  } else if (r.TRACEINS == kInstallFillet) {
    label.text = "Fillet Trace with";
    type.text = r.CEM;
  } else {
    label.text = "Coverlyn Type";
    type.text = r.COVR;
  }
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
  set_.DesignSaved = true;
}

void STmainModel::fileSaved(bool succeeded) {
  set_.LastSaveFailed = !succeeded;
  if (succeeded) set_.DesignSaved = true;
}

bool STmainModel::queryClose(const std::function<void()>& save) {
  try {
    if (set_.DesignSaved) return true;
    const MsgAnswer answer =
        dialogs_.message(Message{kSaveQuestion, "Save", MsgIcon::Question, MsgButtons::YesNoCancel, false});
    if (answer == MsgAnswer::Cancel) return false;
    if (answer == MsgAnswer::Yes) {
      set_.LastSaveFailed = true;  // a save that reports nothing has not saved
      if (save) save();
      return !set_.LastSaveFailed;
    }
    return true;
  } catch (...) {
    // An error while closing ends the program rather than leaving it half
    // closed.
    return true;
  }
}

}  // namespace vst
