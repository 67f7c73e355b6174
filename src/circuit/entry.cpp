#include "circuit/entry.h"

#include <array>
#include <utility>

#include "circuit/checks.h"
#include "core/legacy_math.h"
#include "docs/about_box.h"
#include "engine/design_limits.h"
#include "engine/insulation_sizing.h"

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
// tube and material without a list of their own leave the list as it is
// (false).
bool RefillWalls(CircuitEntry& e, const CircuitContext& context) {
  const std::string tube(Trim(TubeSizeText(e)));
  const TextList* walls = WallThicknessList(context.units, tube, e.material);
  if (walls == nullptr) return false;
  e.walls = walls;
  e.tubeWall = Clamped(e.walls, 0);
  return true;
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

std::optional<std::string> PipeSizeRefusal(int installation, int tubePos, int pipePos,
                                           const CircuitContext& context) {
  const std::optional<double> pipeIn = NominalPipeSizeIn(pipePos);
  if (!pipeIn) return std::nullopt;
  const bool metric = context.units == UnitSystem::Metric;
  // The design reads a blank entry of the list on offer as no pipe at all.
  const TextList& offered = PipeSizeList(context.units, BlanksSmallestPipes(installation, tubePos));
  if (Trim(ChoiceText(&offered, pipePos)).empty()) {
    return metric ? limits::kTroughlineSmallPipeMetric : limits::kTroughlineSmallPipeEnglish;
  }
  if (const limits::TubeFit* fit = limits::TubeTooLargeFor(tubePos, *pipeIn)) {
    return metric ? fit->metricMessage : fit->englishMessage;
  }
  return std::nullopt;
}

int MostPasses(int installation, int tubePos, int pipePos) {
  const std::optional<double> pipeIn = NominalPipeSizeIn(pipePos);
  return pipeIn ? limits::MostTracers(*pipeIn, installation, tubePos) : 0;
}

bool ChooseTubeSize(CircuitEntry& e, int position, const CircuitContext& context) {
  e.tubeSize = Clamped(e.tubes, position);
  RefillPipeSizes(e, context);
  return RefillWalls(e, context);
}

bool ChooseInstallation(CircuitEntry& e, int position, const CircuitContext& context) {
  e.installation = Clamped(&InstallationList(context.internalMode), position);
  const int tube = TubePositionAfterInstallation(e.tubeSize, e.installation, context.internalMode);
  e.tubes = &TubeSizeList(e.installation, context.internalMode, context.units);
  return ChooseTubeSize(e, tube, context);
}

bool ChooseMaterial(CircuitEntry& e, int position, const CircuitContext& context) {
  e.material = Clamped(&TracerMaterialList(), position);
  return RefillWalls(e, context);
}

void ChoosePipeSize(CircuitEntry& e, int position) { e.pipeSize = Clamped(e.pipeSizes, position); }

namespace {

// The texts a fresh window shows in its fields, English and Metric.
struct TextDefault {
  TypedNumber CircuitEntry::*field;
  const char* english;
  const char* metric;
};
const TextDefault kTextDefaults[] = {
    {&CircuitEntry::maxAmbient, "100", "38"},
    {&CircuitEntry::minAmbient, "0", "-18"},
    {&CircuitEntry::maintTemp, "100", "38"},
    {&CircuitEntry::maxExposure, " 375", "190"},
    {&CircuitEntry::intermittentExposure, "375", "190"},
    {&CircuitEntry::pressure, "50", "3.45"},
    {&CircuitEntry::pipeLength, "100", "30"},
    {&CircuitEntry::phaseChangeTemp, "32", "0"},
    {&CircuitEntry::specificHeat, "1", "4186.553"},
    {&CircuitEntry::density, "62.4", "982.846"},
    {&CircuitEntry::latentHeat, "144", "334922"},
};

CircuitEntry BuildFreshEntry(const CircuitContext& context) {
  const UnitSystem units = context.units;
  CircuitEntry e;
  for (const TextDefault& d : kTextDefaults) e.*d.field = units == UnitSystem::Metric ? d.metric : d.english;
  e.initialTemp = e.minAmbient;
  e.finalTemp = e.maintTemp;
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

// The application checks of one step on an entry.
class Checking {
 public:
  Checking(CircuitEntry& entry, const CircuitContext& context) : e_(entry), context_(context) {}

  CheckStep step;

  // Copper tubing against the pressure and then the exposure: both may warn.
  // From a field the offending field gets its limit back; from the
  // insulation list the material keeps its entry and takes the focus.
  void copper(bool fromField) {
    for (const FieldWarning& w :
         CopperWarnings(e_.material, e_.pressure, e_.maxExposure, context_.pressureUnit, context_.units,
                        context_.decimalMark)) {
      CheckWarningShown shown{w.warning.message, std::nullopt};
      if (fromField) {
        const bool pressure = w.field == CheckedField::Pressure;
        const EntryField field = pressure ? EntryField::Pressure : EntryField::MaxExposure;
        TypedNumber& text = pressure ? e_.pressure : e_.maxExposure;
        if (text != w.warning.putBack) {
          text = TypedNumber(w.warning.putBack, context_.decimalMark);
          shown.corrected = field;
        }
        step.focus = field;
      } else {
        step.focus = EntryField::Material;
      }
      step.warnings.push_back(std::move(shown));
    }
  }

  // Polyisocyanurate insulation against the pressure: from the field the
  // limit is put back, from the list the insulation becomes Calcium Silicate.
  bool polyisocyanurate(bool fromField) {
    const auto warning =
        PolyisocyanurateWarning(e_.insulationType, e_.pressure, context_.pressureUnit, context_.decimalMark);
    if (!warning) return false;
    CheckWarningShown shown{warning->message, std::nullopt};
    if (fromField) {
      if (e_.pressure != warning->putBack) {
        e_.pressure = TypedNumber(warning->putBack, context_.decimalMark);
        shown.corrected = EntryField::Pressure;
      }
      step.warnings.push_back(std::move(shown));
      step.focus = EntryField::Pressure;
      return true;
    }
    e_.insulationType = 0;
    shown.corrected = EntryField::InsulationType;
    step.warnings.push_back(std::move(shown));
    // Calcium Silicate's own choice runs its checks.
    if (!polyisocyanurate(false)) copper(false);
    step.focus = EntryField::InsulationType;
    return true;
  }

 private:
  CircuitEntry& e_;
  const CircuitContext& context_;
};

}  // namespace

CheckStep CheckPressureField(CircuitEntry& entry, const CircuitContext& context) {
  Checking checking(entry, context);
  checking.polyisocyanurate(true);
  checking.copper(true);
  return std::move(checking.step);
}

CheckStep CheckMaxExposureField(CircuitEntry& entry, const CircuitContext& context) {
  Checking checking(entry, context);
  checking.copper(true);
  return std::move(checking.step);
}

CheckStep CheckInsulationChoice(CircuitEntry& entry, const CircuitContext& context) {
  Checking checking(entry, context);
  if (!checking.polyisocyanurate(false)) checking.copper(false);
  return std::move(checking.step);
}

namespace {

// Enters the fields one by one, as a person fills in the window, keeping
// what the checks change in the fields already entered.
class Entering {
 public:
  explicit Entering(EnteredCircuit& out) : out_(out) {}

  CircuitEntry& entry() { return out_.entry; }

  // The text a corrected field shows.
  std::string CorrectedText(EntryField field) const {
    const CircuitEntry& e = out_.entry;
    if (field == EntryField::Pressure) return e.pressure.text();
    if (field == EntryField::MaxExposure) return e.maxExposure.text();
    return ChoiceText(&InsulationTypeList(), e.insulationType);
  }

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

  // Shows the warnings of a check step, each followed by the correction it
  // made.
  void shown(const CheckStep& step) {
    for (const CheckWarningShown& w : step.warnings) {
      warn(w.text);
      if (w.corrected) corrected(*w.corrected, CorrectedText(*w.corrected));
    }
  }

 private:
  EnteredCircuit& out_;
  std::size_t stepStart_ = 0;
  bool entered_[static_cast<std::size_t>(EntryField::Done)] = {};
  bool reported_[static_cast<std::size_t>(EntryField::Done)] = {};
};

}  // namespace

EnteredCircuit Enter(const CircuitEntry& wanted, const CircuitContext& context, bool enterWall,
                     bool enterIntermittent, const ChoiceFinder& find) {
  EnteredCircuit out;
  out.entry = FreshEntry(context);
  Entering in(out);
  CircuitEntry& e = in.entry();
  // Begins entering a list field: the position of its choice in `offered`,
  // nothing when the list does not hold it (entering stops there).
  const auto choose = [&](EntryField field, const TextList* offered) -> std::optional<int> {
    static const TextList none;
    const int position = find(field, offered ? *offered : none);
    if (position < 0) {
      out.stoppedAt = field;
      return std::nullopt;
    }
    in.begin(field);
    return position;
  };
  const auto typed = [&](EntryField field, auto& into, const auto& text) {
    in.begin(field);
    into = text;
  };

  using F = EntryField;
  const auto installation = choose(F::Installation, &InstallationList(context.internalMode));
  if (!installation) return out;
  ChooseInstallation(e, *installation, context);
  const auto tube = choose(F::TubeSize, e.tubes);
  if (!tube) return out;
  ChooseTubeSize(e, *tube, context);
  const auto material = choose(F::Material, &TracerMaterialList());
  if (!material) return out;
  ChooseMaterial(e, *material, context);
  if (enterWall) {
    const auto wall = choose(F::TubeWall, e.walls);
    if (!wall) return out;
    e.tubeWall = Clamped(e.walls, *wall);
  }
  // The pipe sizes by position: a size the installation's list blanks is
  // still chosen at its place, and the design refuses it.
  const auto pipe = choose(F::PipeSize, &PipeSizeList(context.units, false));
  if (!pipe) return out;
  ChoosePipeSize(e, *pipe);

  typed(F::MaxAmbient, e.maxAmbient, wanted.maxAmbient);
  typed(F::MinAmbient, e.minAmbient, wanted.minAmbient);
  e.initialTemp = e.minAmbient;
  typed(F::MaintTemp, e.maintTemp, wanted.maintTemp);
  e.finalTemp = e.maintTemp;
  typed(F::MaxExposure, e.maxExposure, wanted.maxExposure);
  in.shown(CheckMaxExposureField(e, context));
  if (enterIntermittent) typed(F::IntermittentExposure, e.intermittentExposure, wanted.intermittentExposure);
  typed(F::PipeLength, e.pipeLength, wanted.pipeLength);
  typed(F::Pressure, e.pressure, wanted.pressure);
  in.shown(CheckPressureField(e, context));
  typed(F::Circuit, e.circuit, wanted.circuit);
  typed(F::Line, e.line, wanted.line);

  // The insulation after the pressure: its checks read the pressure field.
  const auto insulation = choose(F::InsulationType, &InsulationTypeList());
  if (!insulation) return out;
  e.insulationType = Clamped(&InsulationTypeList(), *insulation);
  in.shown(CheckInsulationChoice(e, context));
  const auto thickness = choose(F::InsulationThickness, &InsulationThicknessList(context.units));
  if (!thickness) return out;
  e.insulationThickness = Clamped(&InsulationThicknessList(context.units), *thickness);
  const auto passes = choose(F::Passes, &PassList());
  if (!passes) return out;
  e.passes = Clamped(&PassList(), *passes);
  return out;
}

}  // namespace vst
