#include "circuit/entry.h"

#include <array>

#include "circuit/checks.h"
#include "core/legacy_math.h"
#include "docs/about_box.h"

namespace vst {

namespace {

// A position the list does not hold leaves the list without a choice.
int Clamped(const TextList* list, int position) {
  const int size = list == nullptr ? 0 : static_cast<int>(list->size());
  return position >= 0 && position < size ? position : -1;
}

// The pipe sizes of the installation and tube; the chosen position stays.
void RefillPipeSizes(CircuitEntry& e, const CircuitContext& context) {
  e.pipeSizes = &PipeSizeList(context.units, BlanksSmallestPipes(e.installation, e.tubeSize));
  e.pipeSize = Clamped(e.pipeSizes, e.pipeSize);
}

// The wall thicknesses of the tube and material, their first one chosen; a
// tube and material without a list of their own leave the list as it is.
void RefillWalls(CircuitEntry& e, const CircuitContext& context) {
  const std::string tube(Trim(TubeSizeText(e)));
  const TextList* walls = WallThicknessList(context.units, tube, e.material);
  if (walls == nullptr) return;
  e.walls = walls;
  e.tubeWall = Clamped(e.walls, 0);
}

}  // namespace

std::string ChoiceText(const TextList* list, int position) {
  if (list == nullptr || position < 0 || position >= static_cast<int>(list->size())) return {};
  return (*list)[static_cast<std::size_t>(position)];
}

std::string InstallationText(const CircuitEntry& e, bool internalMode) {
  return ChoiceText(&InstallationList(internalMode), e.installation);
}

int TubePositionAfterInstallation(int tubePos, int installation, bool internalMode) {
  const bool fourSizes = installation == kInstallTroughline || installation == kInstallFillet;
  int p = tubePos;
  if (!internalMode) {
    if (p > 1) p = 1;
    if (!fourSizes) p = 0;
  } else if (installation == kInstallInternalYJ0) {
    if (p > 1) p = 1;
  } else if (!fourSizes) {
    p = 0;
  }
  return p;
}

bool BlanksSmallestPipes(int installation, int tubePos) {
  return installation == kInstallTroughline && tubePos > 0;
}

void ChooseTubeSize(CircuitEntry& e, int position, const CircuitContext& context) {
  e.tubeSize = Clamped(e.tubes, position);
  RefillPipeSizes(e, context);
  RefillWalls(e, context);
}

void ChooseInstallation(CircuitEntry& e, int position, const CircuitContext& context) {
  e.installation = Clamped(&InstallationList(context.internalMode), position);
  const int tube = TubePositionAfterInstallation(e.tubeSize, e.installation, context.internalMode);
  e.tubes = &TubeSizeList(e.installation, context.internalMode, context.units);
  ChooseTubeSize(e, tube, context);
}

void ChooseMaterial(CircuitEntry& e, int position, const CircuitContext& context) {
  e.material = Clamped(&TracerMaterialList(), position);
  RefillWalls(e, context);
}

namespace {

CircuitEntry BuildFreshEntry(const CircuitContext& context) {
  const UnitSystem units = context.units;
  const auto text = [units](const char* field) { return *DefaultText(field, units); };
  CircuitEntry e;
  e.maxAmbient = text("Max_Amb");
  e.minAmbient = text("Min_Amb");
  e.maintTemp = text("MT_In");
  e.maxExposure = text("Max_Exp_Temp");
  e.intermittentExposure = text("txtIntExpTemp");
  e.pressure = text("Pressure");
  e.pipeLength = text("Pipe_Len_In");
  e.initialTemp = e.minAmbient;
  e.finalTemp = e.maintTemp;
  e.density = text("txtProdDensity");
  e.specificHeat = text("txtProdCp");
  e.latentHeat = text("txtLatentHeat");
  // The window first fills the tube list as Troughline offers it and the
  // pipe sizes at 2 in; the installation list then chooses its last entry,
  // which refills both and the walls of copper tubing.
  e.tubes = &TubeSizeFirstFill(units);
  e.tubeSize = 0;
  e.pipeSize = kPipeSizeStart;
  e.pipeSizes = &PipeSizeList(units, false);
  e.material = kMaterialCopper;
  RefillWalls(e, context);
  ChooseInstallation(e, static_cast<int>(InstallationList(context.internalMode).size()) - 1, context);
  return e;
}

}  // namespace

CircuitEntry FreshEntry(const CircuitContext& context) {
  // Built once per unit system and mode: a line list starts every row here.
  static const std::array<CircuitEntry, 4> fresh = [] {
    std::array<CircuitEntry, 4> entries;
    for (int i = 0; i < 4; ++i) {
      CircuitContext c;
      c.units = i / 2 == 1 ? UnitSystem::Metric : UnitSystem::English;
      c.internalMode = i % 2 == 1;
      entries[static_cast<std::size_t>(i)] = BuildFreshEntry(c);
    }
    return entries;
  }();
  const bool metric = context.units == UnitSystem::Metric;
  return fresh[static_cast<std::size_t>((metric ? 2 : 0) + (context.internalMode ? 1 : 0))];
}

namespace {

// Enters the fields one by one, as a person fills in the window, keeping
// what the checks change in the fields already entered.
class Entering {
 public:
  Entering(const CircuitContext& context, EnteredCircuit& out) : context_(context), out_(out) {}

  CircuitEntry& entry() { return out_.entry; }

  // Begins entering `field`; the warnings of this field start here.
  void begin(EntryField field) {
    entered_[static_cast<std::size_t>(field)] = true;
    stepStart_ = out_.messages.size();
  }
  void warn(const std::string& text) { out_.messages.push_back({kProgramTitle, text}); }
  // A check changed a field: a field already entered counts as corrected,
  // with the warning shown last in this step.
  void corrected(EntryField field, std::string used) {
    const auto at = static_cast<std::size_t>(field);
    if (!entered_[at] || reported_[at]) return;
    reported_[at] = true;
    const std::string message = out_.messages.size() > stepStart_ ? out_.messages.back().text : std::string();
    out_.corrections.push_back({field, std::move(used), message});
  }

  void copperCheck(bool fromField) {
    CircuitEntry& e = entry();
    for (const FieldWarning& w : CopperWarnings(e.material, e.pressure, e.maxExposure, context_.pressureUnit,
                                                context_.units, context_.decimalMark)) {
      warn(w.warning.message);
      if (!fromField) continue;
      const bool pressure = w.field == CheckedField::Pressure;
      std::string& text = pressure ? e.pressure : e.maxExposure;
      if (text == w.warning.putBack) continue;
      text = w.warning.putBack;
      corrected(pressure ? EntryField::Pressure : EntryField::MaxExposure, text);
    }
  }
  bool polyisocyanurateCheck(bool fromField) {
    CircuitEntry& e = entry();
    const auto warning =
        PolyisocyanurateWarning(e.insulationType, e.pressure, context_.pressureUnit, context_.decimalMark);
    if (!warning) return false;
    warn(warning->message);
    if (fromField) {
      if (e.pressure != warning->putBack) {
        e.pressure = warning->putBack;
        corrected(EntryField::Pressure, e.pressure);
      }
    } else {
      e.insulationType = 0;
      corrected(EntryField::InsulationType, InsulationTypeList()[0]);
      // Calcium Silicate's own choice runs its checks.
      if (!polyisocyanurateCheck(false)) copperCheck(false);
    }
    return true;
  }

 private:
  const CircuitContext& context_;
  EnteredCircuit& out_;
  std::size_t stepStart_ = 0;
  bool entered_[static_cast<std::size_t>(EntryField::Done)] = {};
  bool reported_[static_cast<std::size_t>(EntryField::Done)] = {};
};

}  // namespace

EnteredCircuit Enter(const CircuitEntry& wanted, const CircuitContext& context, bool enterWall,
                     bool enterIntermittent, EntryField stopBefore) {
  EnteredCircuit out;
  out.entry = FreshEntry(context);
  Entering in(context, out);
  CircuitEntry& e = in.entry();
  const auto reached = [stopBefore](EntryField field) { return field >= stopBefore; };
  const auto typed = [&](EntryField field, std::string& into, const std::string& text) {
    if (reached(field)) return false;
    in.begin(field);
    into = text;
    return true;
  };

  using F = EntryField;
  if (reached(F::Installation)) return out;
  in.begin(F::Installation);
  ChooseInstallation(e, wanted.installation, context);
  if (reached(F::TubeSize)) return out;
  in.begin(F::TubeSize);
  ChooseTubeSize(e, wanted.tubeSize, context);
  if (reached(F::Material)) return out;
  in.begin(F::Material);
  ChooseMaterial(e, wanted.material, context);
  if (reached(F::TubeWall)) return out;
  if (enterWall) {
    in.begin(F::TubeWall);
    e.tubeWall = Clamped(e.walls, wanted.tubeWall);
  }
  if (reached(F::PipeSize)) return out;
  in.begin(F::PipeSize);
  e.pipeSize = Clamped(e.pipeSizes, wanted.pipeSize);

  if (!typed(F::MaxAmbient, e.maxAmbient, wanted.maxAmbient)) return out;
  if (!typed(F::MinAmbient, e.minAmbient, wanted.minAmbient)) return out;
  e.initialTemp = e.minAmbient;
  if (!typed(F::MaintTemp, e.maintTemp, wanted.maintTemp)) return out;
  e.finalTemp = e.maintTemp;
  if (!typed(F::MaxExposure, e.maxExposure, wanted.maxExposure)) return out;
  in.copperCheck(true);
  if (enterIntermittent &&
      !typed(F::IntermittentExposure, e.intermittentExposure, wanted.intermittentExposure))
    return out;
  if (!typed(F::PipeLength, e.pipeLength, wanted.pipeLength)) return out;
  if (!typed(F::Pressure, e.pressure, wanted.pressure)) return out;
  in.polyisocyanurateCheck(true);
  in.copperCheck(true);
  if (!typed(F::Circuit, e.circuit, wanted.circuit)) return out;
  if (!typed(F::Line, e.line, wanted.line)) return out;

  // The insulation after the pressure: its checks read the pressure field.
  if (reached(F::InsulationType)) return out;
  in.begin(F::InsulationType);
  e.insulationType = Clamped(&InsulationTypeList(), wanted.insulationType);
  if (!in.polyisocyanurateCheck(false)) in.copperCheck(false);
  if (reached(F::InsulationThickness)) return out;
  in.begin(F::InsulationThickness);
  e.insulationThickness = Clamped(&InsulationThicknessList(context.units), wanted.insulationThickness);
  if (reached(F::Passes)) return out;
  in.begin(F::Passes);
  e.passes = Clamped(&PassList(), wanted.passes);
  return out;
}

}  // namespace vst
