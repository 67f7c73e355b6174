// The design of one circuit (module STSEL) as a function of the entry: the
// passes of the engine, the fallbacks through the installation list (each
// through the same list rule a person's choice runs), the allowance step on
// the first pass, the results in the window's units, the compound and the
// material take-off. It reads nothing but its arguments and keeps nothing:
// the fittings and shoe questions are asked through DesignQuestions (the
// window answers with its dialogs, a line list from its row), and the
// result says everything the design shows and stores. StoreDesign() puts a
// result into a record.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "bom/allowances.h"
#include "bom/takeoff.h"
#include "circuit/allowance_step.h"
#include "circuit/entry.h"
#include "core/units.h"
#include "engine/heat_up.h"

namespace vst {

// The texts the window writes into its output fields when a design completes.
struct DesignDisplay {
  std::string maxMaintTemp;
  std::string minMaintTemp;
  bool shortOfMaintTemp = false;  // the minimum falls short of the maintenance temperature (marked yellow)
  std::string heatLoss;
  std::string condensate;  // "0.000"
  std::string insulationSize;
  std::string trapDistance;
  std::string rise;
  std::string totalLength;  // with allowances
  std::string traceLabel;   // the method's caption ("Troughline", "Fillet Trace with", "Coverlyn Type")
  std::string traceType;    // its compound or Coverlyn type (CEM or COVR)
  std::string
      heatUpTime;  // hours; "" for a maintenance design, "—" when the final temperature cannot be reached
};

// The outputs of a design, one row each, in the order the line-list command
// gives them: the heading of its CSV column (and the main window's caption),
// the heading of the Line List window's column and that column's place among
// the window's results, its unit, its text, whether only the internal
// mode shows it, and whether only a heat-up design gives it (the line-list
// outputs, which carry no application, leave such an output out).
struct DesignOutput {
  const char* caption;
  const char* listCaption;
  int listColumn;
  std::optional<UnitQuantity> unit;
  std::string DesignDisplay::*text;
  bool internalOnly;
  bool heatUpOnly;
};
inline constexpr std::array<DesignOutput, 10> kDesignOutputs{{
    {"Max. Maint. Temp.", "Max. Maint. Temp.", 0, UnitQuantity::Temperature, &DesignDisplay::maxMaintTemp,
     false, false},
    {"Min. Maint. Temp.", "Min. Maint. Temp.", 1, UnitQuantity::Temperature, &DesignDisplay::minMaintTemp,
     false, false},
    {"Design Heat Loss", "Heat Loss", 2, UnitQuantity::HeatLoss, &DesignDisplay::heatLoss, false, false},
    {"Operating Condensate Load", "Condensate Load", 3, UnitQuantity::Condensate, &DesignDisplay::condensate,
     true, false},
    {"Nominal Insulation Size", "Insulation Size", 4, UnitQuantity::InsulationSize,
     &DesignDisplay::insulationSize, false, false},
    {"Total Tracer Length with Allowances", "Total Tracer Length", 5, UnitQuantity::Length,
     &DesignDisplay::totalLength, false, false},
    {"Max. Trap Distance", "Max. Trap Distance", 7, UnitQuantity::Length, &DesignDisplay::trapDistance, true,
     false},
    {"Max. Vertical Rise", "Max. Vertical Rise", 8, UnitQuantity::Length, &DesignDisplay::rise, true, false},
    {"Tracer Product", "Compound / Jacketed Type", 6, std::nullopt, &DesignDisplay::traceType, false, false},
    {"Heat Up Time", "Heat Up Time", 9, std::nullopt, &DesignDisplay::heatUpTime, false, true},
}};
// The outputs every design gives: those of kDesignOutputs before the
// heat-up time.
inline constexpr std::size_t kMaintenanceOutputs = 9;
static_assert(!kDesignOutputs[kMaintenanceOutputs - 1].heatUpOnly &&
                  kDesignOutputs[kMaintenanceOutputs].heatUpOnly,
              "the outputs of a maintenance design come first");

// What a record holding a design shows: its outputs as texts (the
// shortest text of each single-precision value, the condensate load with
// three decimals), the shortfall mark, and the method's caption with its
// compound or type. A design just finished names Troughline "Troughline",
// a stored one shown again "Trough Line".
DesignDisplay DisplayOf(const DesignRecord& record, bool justDesigned);

// What a design asks while it runs, and what it tells as it goes. The two
// questions must be answered (nothing: the dialog was closed, and the design
// ends without a design); the rest is told as the design reaches it, so the
// window shows each message, fallback and result at once. The result holds
// all of it again.
class DesignQuestions : public AllowanceQuestions {
 public:
  virtual void told(const ShownMessage&) {}
  virtual void installationChosen(int /*position*/) {}
  virtual void statusShown(const std::string&) {}
  virtual void resultsShown(const DesignDisplay&) {}
};

enum class DesignOutcome {
  Completed,  // the record holds a design
  Stopped,    // an input error ended the run, or a dialog was closed
  Failed,     // the design could not be completed for these inputs (message "Error" shown)
};

// The inputs the passes read, as the record keeps them (each once a pass
// has read it, whether or not the design then completes).
struct DesignReadings {
  std::optional<float> reportPipeSize;  // in / mm
  std::optional<float> maxExposure;     // with the intermittent exposure
  std::optional<float> intermittentExposure;
  std::optional<float> steamPressure;  // in the pressure unit of the context
  std::string compound;                // from the temperatures; "" for none
  std::optional<int> passes;           // the passes list position
  bool aboveCoverlynLimit = false;     // the circuit bill cannot offer copper tubing
};

// The end of a design that reached its results.
struct DesignFinish {
  // Outputs in the window's units.
  float TP1 = 0, TP2 = 0, VTR = 0, COND = 0, INSIZE = 0, TDX = 0, LSWO = 0;
  Compound compound;
  float tracerLength = 0;          // TLEN before the take-off rounds it, ft
  std::optional<Takeoff> takeoff;  // nothing: the take-off could not be computed
  bool discarded = false;          // a result no field can hold: no design
};

struct CircuitDesign {
  DesignOutcome outcome = DesignOutcome::Stopped;
  std::vector<ShownMessage> messages;  // in the order shown
  std::vector<int> fallbacks;          // installation positions chosen by the design, in order
  CircuitEntry entry;                  // as the design left it (installation, tube, wall after fallbacks)
  DesignReadings readings;
  std::optional<AllowanceStep> allowance;
  std::optional<DesignFinish> finish;
  bool k90InUse = false;  // the last pass chose the K-90 compound
  // A heat-up design: what the heat-up time came to (Computed, CannotReach,
  // or the reason none was given). Nothing for a maintenance design.
  std::optional<HeatUpResult> heatUp;
  DesignDisplay display;  // when completed
  std::string status;     // the status panel's caption, "" for none
};

// Designs `entry` in `context`.
CircuitDesign DesignCircuit(const CircuitEntry& entry, const CircuitContext& context,
                            DesignQuestions& questions);

// The record of a circuit after `design`, from the record it had before: the
// preferences in force, what the design read and was answered, its outputs
// and bill (none unless it finished with results every field can hold), and
// the inputs of the entry as the design left it. The other fields stay.
DesignRecord RecordOf(const CircuitDesign& design, const CircuitContext& context,
                      const DesignRecord& previous);
// Puts a design into the record of its circuit, as the design button leaves
// it; the one place a design is written into a record.
void StoreDesign(const CircuitDesign& design, const CircuitContext& context, DesignRecord& record);

// A listed heat-up product's density and specific heat at the mean of the
// entry's initial and final temperatures, in the units of the context
// (lb/ft3, BTU/(lb F), F; kg/m3, J/(kg K), C): what the window shows of the
// product and the heat-up uses there. Nothing for "Other", whose fields
// hold its own values, and when a temperature field holds no number.
struct ProductAtMean {
  double density = 0;
  double specificHeat = 0;
  double at = 0;  // the mean temperature
};
std::optional<ProductAtMean> ProductAtMeanTemperature(const CircuitEntry& entry,
                                                      const CircuitContext& context);

// The density and specific heat texts the heat-up tab shows: a listed
// product's of a heat-up at the mean temperature (ProductAtMeanTemperature,
// to 2 and 3 decimals in English units, 1 and 0 in Metric), otherwise the
// entry's own.
struct ProductPropertyTexts {
  std::string density;
  std::string specificHeat;
};
ProductPropertyTexts ShownProductProperties(const CircuitEntry& entry, const CircuitContext& context);

// The outputs and bill fields of a record reset, as the design button does
// before a run.
void ResetOutputs(DesignRecord& record, const CircuitContext& context);

// Drops the design of a record when an input it depends on changes: the
// inputs and outputs go back to the window's starting values; the jacketed
// type, sizing, pressure unit, tie wire, material option, circuit and line
// numbers and tube size stay.
void ClearStoredDesign(DesignRecord& record);

// The record a freshly opened window designs into.
DesignRecord FreshRecord();

}  // namespace vst
