// One circuit as an engineer enters it, and the rules of entering it: the
// list rules (an installation offers its own tube sizes, a tube and a
// material their wall thicknesses, Troughline with a tube above 3/8 in no
// small pipe sizes) and the application checks, applied in the order a
// person meets them entering the circuit from top to bottom. The main window
// calls the same rules from its event handlers, one event at a time; a line
// list enters a whole row at once through Enter().
//
// The numeric fields are kept as the text typed with the number it reads as
// (read once, with the locale's decimal mark, where the text enters): every
// rule reads that number, a text that is not a number is named in the
// design's messages, and the fittings dialog shows the pipe length as typed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bom/allowances.h"
#include "circuit/lists.h"
#include "core/design_record.h"
#include "core/typed_number.h"

namespace vst {

// What a circuit is entered and designed in: the unit system and program
// mode of the run, the preferences in force, and the locale's decimal mark.
struct CircuitContext {
  UnitSystem units = UnitSystem::English;
  bool internalMode = false;
  PressureUnit pressureUnit = PressureUnit::Psig;  // the unit of the pressure field
  InsulationSizing sizing = InsulationSizing::Standard;
  char decimalMark = '.';
};

// One shoe size of the shoe dialog: the texts of its length and count boxes.
struct ShoeSize {
  std::string length;  // inches, or millimetres in Metric
  std::string count;
};

struct CircuitEntry {
  // List choices: positions in the lists on offer (-1 for none).
  int installation = -1;  // in InstallationList(mode): the code of the method
  int tubeSize = -1;      // in `tubes`; position 0 is always the smallest tube
  int material = kMaterialCopper;
  int tubeWall = -1;  // in `walls`
  int pipeSize = -1;  // in `pipeSizes`
  int insulationType = kInsulationFiberglass;
  int insulationThickness = 0;
  int passes = 0;  // tracers - 1
  int application = kApplicationMaintenance;
  int product = 0;  // the heat-up product

  // The lists the choices above left on offer. The wall list stays as it was
  // when the tube and material have none of their own.
  const TextList* tubes = nullptr;
  const TextList* pipeSizes = nullptr;
  const TextList* walls = nullptr;

  // Typed fields, in the window's units.
  TypedNumber maxAmbient;
  TypedNumber minAmbient;
  TypedNumber maintTemp;
  TypedNumber maxExposure;
  TypedNumber intermittentExposure;
  TypedNumber pipeLength;
  TypedNumber pressure;  // in the context's pressure unit
  std::string circuit;   // circuit number
  std::string line;      // line or pipe number

  // Heat-up data (kept with the record; a maintenance design does not use them).
  TypedNumber initialTemp;  // follows the minimum ambient as it is typed
  TypedNumber finalTemp;    // follows the maintenance temperature
  TypedNumber density;
  TypedNumber specificHeat;
  TypedNumber latentHeat;
  bool phaseChange = false;
  TypedNumber phaseChangeTemp;

  // What the fittings and shoe dialogs open with: the counts and answer of
  // the record, its running shoe total, and the vertical rise the window
  // shows (with one, the fittings dialog opens on the recorded answer).
  PipeFormAnswer fittings{kAllowanceIncludedYes, 0, 0, 0, 0};
  float shoeAllowance = 0;
  std::string rise;
};

// The text of a list choice, empty when the position is outside its list.
std::string ChoiceText(const TextList* list, int position);
inline std::string TubeSizeText(const CircuitEntry& e) { return ChoiceText(e.tubes, e.tubeSize); }
inline std::string PipeSizeText(const CircuitEntry& e) { return ChoiceText(e.pipeSizes, e.pipeSize); }
inline std::string TubeWallText(const CircuitEntry& e) { return ChoiceText(e.walls, e.tubeWall); }
std::string InstallationText(const CircuitEntry& e, bool internalMode);

// The circuit a freshly opened main window holds: the defaults of the unit
// system, the last installation of the mode's list with its first tube,
// copper tubing with its first wall, a 2 in (50 mm) pipe, Fiberglass.
CircuitEntry FreshEntry(const CircuitContext& context);

// The tube position an installation keeps of `tubePos`: the standard mode
// caps the tube at 1/2 in on every change and a jacketed tracer at 3/8 in;
// in InternalMode YJ-0 takes up to 1/2 in, YJ-1 and YJ-2 3/8 in.
int TubePositionAfterInstallation(int tubePos, int installation, bool internalMode);

// Troughline with a tube above 3/8 in does not fit the three smallest pipes:
// their entries are blank.
bool BlanksSmallestPipes(int installation, int tubePos);

// The refusal a design gives a pipe size position with the installation and
// tube positions: the pipe size the Troughline list leaves blank, or a tube
// too large for the pipe; nothing when the pipe takes them. The lists that
// offer pipe sizes ask this, so they offer what the design takes.
std::optional<std::string> PipeSizeRefusal(int installation, int tubePos, int pipePos,
                                           const CircuitContext& context);
// The most passes (tracers) a design takes on the pipe size position with
// the installation and tube positions; 0 for a position outside the list.
int MostPasses(int installation, int tubePos, int pipePos);

// The list rules: choosing an installation, a tube size or a tubing
// material refills the lists that depend on it. A position outside its list
// leaves no choice (-1). Each returns true when the wall thicknesses were
// refilled (their first one chosen); a tube and material without a list of
// their own leave the walls as they were.
bool ChooseInstallation(CircuitEntry& entry, int position, const CircuitContext& context);
bool ChooseTubeSize(CircuitEntry& entry, int position, const CircuitContext& context);
bool ChooseMaterial(CircuitEntry& entry, int position, const CircuitContext& context);
// The pipe size among those on offer.
void ChoosePipeSize(CircuitEntry& entry, int position);

// The fields a person fills in, in the order of entering a circuit from top
// to bottom. The wall thickness and the intermittent exposure may be left as
// the window fills them in.
enum class EntryField {
  Installation,
  TubeSize,
  Material,
  TubeWall,
  PipeSize,
  MaxAmbient,
  MinAmbient,
  MaintTemp,
  MaxExposure,
  IntermittentExposure,
  PipeLength,
  Pressure,
  Circuit,
  Line,
  InsulationType,
  InsulationThickness,
  Passes,
  Done,  // past the last field
};

// A message of the window: its title ("" for none) and text.
struct ShownMessage {
  std::string title;
  std::string text;
};

// An input an application check changed, with the warning that preceded the
// change ("" when there was none).
struct EntryCorrection {
  EntryField field;
  std::string used;  // the text the field, or the list entry, shows now
  std::string message;
};

// What the application checks did when a person left a field or chose an
// insulation: the warnings in the order shown (each titled kProgramTitle),
// each with the field it put a value back into when that changed the field,
// and the field that has the focus afterwards (none when nothing warned).
struct CheckWarningShown {
  std::string text;
  std::optional<EntryField> corrected;
};
struct CheckStep {
  std::vector<CheckWarningShown> warnings;
  std::optional<EntryField> focus;
};

// Leaving the pressure field: polyisocyanurate insulation, then copper
// tubing; each failed limit puts its value back into the field it names.
CheckStep CheckPressureField(CircuitEntry& entry, const CircuitContext& context);
// Leaving the maximum exposure field: copper tubing.
CheckStep CheckMaxExposureField(CircuitEntry& entry, const CircuitContext& context);
// Choosing an insulation: polyisocyanurate above its pressure becomes Calcium
// Silicate (whose own choice is checked in turn); copper tubing only warns
// and moves the focus to the material.
CheckStep CheckInsulationChoice(CircuitEntry& entry, const CircuitContext& context);

struct EnteredCircuit {
  CircuitEntry entry;  // as the window holds it once entered
  std::vector<EntryCorrection> corrections;
  std::vector<ShownMessage> messages;       // the checks' warnings, in order
  EntryField stoppedAt = EntryField::Done;  // the list field whose choice was not on offer
};

// Where a person finds the choice of a list field among the entries on
// offer when entering reaches it: its position, or -1 when it is not there.
using ChoiceFinder = std::function<int(EntryField field, const TextList& offered)>;

// Enters a circuit into a freshly opened window (FreshEntry) field by field,
// from the installation down to the passes: each list choice found by `find`
// in the list the earlier choices leave on offer and made through its list
// rule, each typed field taken from `typed` and run through its checks.
// `enterWall` and `enterIntermittent` say whether those two fields are
// filled in. Entering stops before a choice `find` cannot find.
EnteredCircuit Enter(const CircuitEntry& typed, const CircuitContext& context, bool enterWall,
                     bool enterIntermittent, const ChoiceFinder& find);

}  // namespace vst
