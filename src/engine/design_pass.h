// One pass of the design of a circuit: from the circuit's inputs in English
// units to its outputs, or to the message that ends the pass, or to the
// installation method it falls back to. A pure function: it shows nothing,
// stores nothing and keeps nothing between calls; the design run of the
// main window (workspace/design_run) reads the inputs, shows the messages,
// runs the allowance step and stores the results.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/message_titles.h"
#include "core/units.h"
#include "engine/heat_transfer.h"
#include "engine/insulation_sizing.h"

namespace vst {

// The inputs of one pass. A number is empty when its field holds no number;
// the pass names that field in its message when it comes to it, so the
// messages keep the order of the checks.
struct DesignPassInput {
  // Metric: the insulation thicknesses of the Metric list, the millimetre
  // texts of the tube fit messages and the Metric size of the report.
  UnitSystem units = UnitSystem::English;
  bool internalMode = false;                       // the mode whose list offers `installation`
  PressureUnit pressureUnit = PressureUnit::Psig;  // the unit the steam pressure message names
  InsulationSizing sizing = InsulationSizing::Standard;

  std::optional<double> maintTempF;             // temperature to maintain
  std::optional<double> pipeSizeListValue;      // the pipe size list's number (in / mm); 0 for a blank entry
  int pipeSizePos = -1;                         // pipe size list position
  int insulationType = 0;                       // insulation type index 0..6
  int insulationThicknessPos = 0;               // nominal thickness list position 0..6
  std::optional<double> maxExposureF;           // maximum exposure temperature
  std::optional<double> intermittentExposureF;  // intermittent exposure temperature
  std::optional<double> pressurePsig;           // steam supply pressure
  Installation installation = Installation::Troughline;
  int tubeIndex = 0;                    // tube size index 0..3
  int passesPos = 0;                    // passes list position: tracers = position + 1
  std::optional<double> minAmbientF;    // minimum ambient temperature
  std::optional<double> maxAmbientF;    // maximum ambient temperature
  std::optional<double> tubeWall;       // tracer tube wall: inches, or millimetres in Metric
  std::optional<double> circuitLength;  // the circuit (pipe) length as entered: ft, or m in Metric
};

// How a pass ends.
enum class PassEnd {
  Refused,     // an input check failed: the message (titled kInputErrorTitle) ends the run
  Failed,      // the equations have no solution for these inputs: the message (title "Error") ends the run
  Redirected,  // Fillet Trace is too hot: the message (titled kInputErrorTitle), then `fallback` is
               // selected and the run starts again, before its allowance step
  FallsBack,   // a jacketed tracer cannot hold the temperature or is too hot: after the allowance
               // step `fallback` is selected, the message (no title) shows and the run starts again
  Designed,    // the outputs hold the design
};

// Inputs that the record keeps as they were entered once the pass has read
// them, whether or not the pass then completes.
struct PassReadings {
  std::optional<double> reportPipeSize;  // the size the circuit report shows: in, or mm in Metric
  bool insulationType = false;           // the insulation type
  bool exposures = false;                // the maximum and intermittent exposure temperatures
  bool steamPressure = false;            // the steam pressure
  std::string compound;                  // the compound chosen from the temperatures; empty for none
  bool passes = false;                   // the passes list position
  bool aboveCoverlynLimit = false;       // the steam or exposure exceeds what Coverlyn withstands
};

// What a pass that reached its end computed (PassEnd::Designed, and
// PassEnd::FallsBack, whose allowance step needs the insulation fit).
struct DesignOutputs {
  int tracers = 1;
  InsulationFit insulation;       // size position, projection, effective and insulation diameters
  double minMaintainedTempF = 0;  // TP1 (a jacketed tracer's 5 F below the balance)
  double maxMaintainedTempF = 0;  // TP2
  double riseFt = 0;              // VTR, the vertical rise the steam can lift condensate
  double condensateLbHrFt = 0;    // per tracer per foot of pipe
  double heatLossBtuHrFt = 0;     // design heat loss per foot of pipe, all tracers
  double trapDistanceFt = 0;      // maximum trap distance
  double exposureTempF = 0;       // maximum exposure (small Troughline pipes raised to 700 F)
  double steamTempF = 0;          // saturated steam at the supply pressure
  double intermittentExposureTempF = 0;
  // The minimum maintained case as balanced, for the heat-up time.
  double minimumCaseSteamTempF = 0;  // steam at 90 % of the supply pressure
  double totalConductance = 0;       // all tracers into the pipe, BTU/(hr ft F)
  double pipeOutsideDiameterIn = 0;
};

struct DesignPassResult {
  PassEnd end = PassEnd::Failed;
  std::string message;                         // the message the pass ends with; empty for a design
  std::string title;                           // its title
  Installation fallback = Installation::None;  // Redirected, FallsBack: the method to select
  bool k90InUse = false;                       // the K-90 compound was chosen
  PassReadings readings;
  DesignOutputs outputs;  // valid for Designed and FallsBack
};

DesignPassResult RunDesignPass(const DesignPassInput& input);

// "The design could not be completed for these inputs: <reason>."
std::string CouldNotCompleteText(std::string_view reason);

}  // namespace vst
