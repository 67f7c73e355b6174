// The design button of the main window: its precondition, the resets before
// the design run, and the inputs it stores after the run.
#include <array>

#include "core/legacy_math.h"
#include "core/units.h"
#include "workspace/stmain_model.h"

namespace vst {

namespace {

// The fields the design button requires, in the order it reads them.
constexpr std::array<const char*, 7> kRequiredFields{
    "Pipe_Len_In", "MT_In", "Max_Exp_Temp", "Min_Amb", "Max_Amb", "txtIntExpTemp", "Pressure"};

constexpr const char* kMissingInputs = "All Circuit Design Input Data must have values.";

}  // namespace

void STmainModel::setDesignRunner(DesignRunner runner) {
  if (!runner) runner = [](DesignHost& host, DesignRunState& state) { return DesignRun(host, state); };
  runner_ = std::move(runner);
}

// The design button: every input must have a value; then the record's
// outputs are reset, the run designs it, and the inputs the run does not
// store are stored from the window.
void STmainModel::designCommand() {
  // The allowance dialogs let the window's events through while the run
  // waits for them; a second design of the same record is not started.
  if (designRunning_) return;
  for (const char* field : kRequiredFields) {
    if (Trim(c(field).text).empty()) {
      dialogs_.message(Message{kMissingInputs, "Input Error", MsgIcon::Information, MsgButtons::Ok, true});
      return;
    }
  }
  c("TraceLb").visible = false;
  c("TraceTp").visible = false;
  DesignRecord& r = set_.current();
  r.TP2 = r.TP1 = r.LSWO = r.COND = r.INSIZE = r.TLEN = r.TDX = r.VTR = r.SLEN = r.TST = 0;
  r.ACEM = r.ACEM1 = r.ACHAN = r.ABAND = r.UNION = r.CRS = r.FRST = r.FAK = r.MACO = 0;
  r.HeatUpTime = 0;
  r.CEM.clear();
  r.TSIZ.clear();
  r.BAND.clear();
  r.CEM1 = " ";
  r.CHAN = " ";
  r.UNDER = StoredNumber(set_.InsulationSizing);
  r.PRESSURE = StoredNumber(set_.PressureUnit);
  // The record changes from here on, whatever the run's outcome.
  set_.DesignSaved = false;

  DesignRunState state;  // pass counter 0: the allowance step runs on the first pass
  {
    designRunning_ = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{designRunning_};
    runner_(*this, state);
  }
  set_.DesignLock = true;

  DesignRecord& stored = set_.current();
  stored.TRACEINS = c("Cab_In").index;
  stored.TUBEMAT = c("cboTracerMaterial").index;
  stored.TUBEWALL = c("cboTubeWallThick").index;
  stored.APPTYPE = c("cboApplication").index;
  stored.HeatUpProduct = c("cboProduct").index;
  stored.HeatUpInitialTemp = c("txtInitalTemp").text;
  stored.HeatUpFinalTemp = c("txtFinalTemp").text;
  stored.HeatUpDensity = c("txtProdDensity").text;
  stored.HeatUpSpecificHeat = c("txtProdCp").text;
  stored.HeatUpLatentHeat = c("txtLatentHeat").text;
  stored.HeatUpPhaseChange = c("chbPhaseChange").checked;
  stored.MAXAMB = number("Max_Amb");
  stored.MINAMB = number("Min_Amb");
  stored.MAINTEMP = number("MT_In");
  stored.PIPELN = number("Pipe_Len_In");
  stored.INSTYPE = c("Insul_Typ_In").index + 1;
  stored.CIRTXT = c("Circ_No").text;
  stored.PIPETXT = c("Line_No").text;
}

}  // namespace vst
