// The design run (module STSEL) as the main window runs it: designs the
// current record from the window's inputs. It never touches a widget: each
// pass reads a plain DesignInputs value from its host (the main window
// model), has the engine compute the pass (engine/design_pass), shows the
// pass's messages and the allowance dialogs through the host's Dialogs,
// selects the fallback installation through the host, writes the record and
// hands the texts of the output fields back in a DesignDisplay.
#pragma once

#include <string>

#include "core/design_record.h"
#include "workspace/dialogs.h"

namespace vst {

// What the main window shows when a pass starts.
struct DesignInputs {
  UnitSystem units = UnitSystem::English;
  bool internalMode = false;
  char decimalMark = '.';  // the locale's decimal separator
  int recordIndex = 0;     // Rec_Num - 1

  // Texts of the numeric fields as typed.
  std::string maintTemp;             // MT_In
  std::string maxExposure;           // Max_Exp_Temp
  std::string intermittentExposure;  // txtIntExpTemp
  std::string pressure;              // Pressure
  std::string minAmbient;            // Min_Amb
  std::string maxAmbient;            // Max_Amb
  std::string pipeLength;            // Pipe_Len_In
  std::string riseText;              // the Rise output as shown (read by the fittings dialog)

  // Lists: positions, and the text where the run reads the text.
  std::string pipeSizeText;     // Pipe_Dia_In text
  int pipeSizePos = -1;         // Pipe_Dia_In position
  int insulationType = 0;       // Insul_Typ_In position
  int insulationThickness = 0;  // Insul_Th_In position
  int installation = 0;         // Cab_In position (mode-dependent code)
  int tubeSize = 0;             // Cab_Sel position
  int passes = 0;               // Pass position (n = position + 1)
  int tubeMaterial = 0;         // cboTracerMaterial position
  int tubeWall = 0;             // cboTubeWallThick position
  std::string tubeWallText;     // cboTubeWallThick text (inches, or mm in Metric)
  int application = 0;          // cboApplication position
};

// The texts the run writes into the output fields at its results step.
struct DesignDisplay {
  std::string maxMaintTemp;    // Max_Maint_Temp
  std::string minMaintTemp;    // Min_Maint_Temp
  int minMaintColor = 15;      // palette entry: 14 yellow (short of the maintenance temperature), 15 white
  std::string heatLoss;        // Ht_Lswo_Out
  std::string condensate;      // Cond_Load ("0.000")
  std::string insulationSize;  // Insul_Size
  std::string trapDistance;    // Trap_Dist
  std::string rise;            // Rise
  std::string totalLength;     // Tot_Cab_Out
  std::string traceLabel;      // TraceLb caption ("Troughline", "Fillet Trace with", "Coverlyn Type")
  std::string traceType;       // TraceTp text (CEM or COVR)
};

class DesignHost {
 public:
  virtual ~DesignHost() = default;
  // The inputs as the window shows them now (read again after a fallback).
  virtual DesignInputs readInputs() = 0;
  // The record the run designs (index checked).
  virtual DesignRecord& record(int index) = 0;
  // Selects an installation list position as a user's click would (the
  // window rebuilds its lists; it discards nothing while a run is going on).
  virtual void selectInstallation(int position) = 0;
  // Sets the caption of the status panel.
  virtual void setStatus(const std::string& caption) = 0;
  // Writes the output fields; called at the results step, before its warnings.
  virtual void showResults(const DesignDisplay& display) = 0;
  virtual Dialogs& dialogs() = 0;
};

// Module state of the run, kept between the passes of one design command.
struct DesignRunState {
  int passCounter = 0;    // set to 0 by the design command; the allowance step runs on pass 0
  bool K90InUse = false;  // cleared at the start of every pass
};

enum class DesignOutcome {
  Completed,  // the record holds a design
  Stopped,    // an input error ended the run (its message was shown)
  Failed,     // the design could not be completed for these inputs (message "Error" shown)
};

DesignOutcome DesignRun(DesignHost& host, DesignRunState& state);

}  // namespace vst
