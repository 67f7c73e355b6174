// The list handling of the main window: what each list click does. The
// installation, tube, material and pipe size are chosen through the
// circuit's own list rules on the entry the window holds, and the lists are
// drawn from it; a choice that differs from the stored design discards it.
#include "circuit/design.h"
#include "circuit/entry.h"
#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "workspace/stmain_model.h"

namespace vst {

void STmainModel::listClickHandling(StId list) {
  const int index = c(list).index;
  DesignRecord& r = set_.current();
  switch (list) {
    case StId::Cab_In: {
      const bool wallsRefilled = ChooseInstallation(entry_, index, context());
      drawChoices();
      discardIfChoicesChanged(wallsRefilled);
      discardIfChanged(r.TRACEINS, entry_.installation);
      break;
    }
    case StId::Cab_Sel:
      discardIfChoicesChanged(ChooseTubeSize(entry_, index, context()));
      drawChoices();
      break;
    case StId::cboTracerMaterial: {
      discardIfChanged(r.TUBEMAT, index);
      const bool wallsRefilled = ChooseMaterial(entry_, index, context());
      drawChoices();
      if (wallsRefilled) discardIfChanged(r.TUBEWALL, entry_.tubeWall);
      break;
    }
    case StId::cboTubeWallThick:
      entry_.tubeWall = index;
      discardIfChanged(r.TUBEWALL, index);
      break;
    case StId::Insul_Th_In:
      entry_.insulationThickness = index;
      discardIfChanged(r.INSTHK, index);
      break;
    case StId::Insul_Typ_In:
      entry_.insulationType = index;
      discardIfChanged(r.INSTYPE - 1, index);
      // The stored design was checked when it was entered; loading it again
      // must not change what it shows.
      if (set_.RecordLoading) return;
      showCheckStep(CheckInsulationChoice(entry_, context()));
      break;
    case StId::Pipe_Dia_In:
      ChoosePipeSize(entry_, index);
      discardIfChanged(r.PIPESIZE, index);
      break;
    case StId::Pass:
      entry_.passes = index;
      discardIfChanged(r.NUMPASS, index);
      break;
    case StId::cboApplication:
      entry_.application = index;
      c(StId::SSTab1Tab1).enabled = index > kApplicationMaintenance;
      showProductProperties();
      dropHeatUpTime();
      break;
    case StId::cboProduct:
      entry_.product = index;
      productHandling();
      dropHeatUpTime();
      break;
    default:
      break;
  }
}

void STmainModel::discardIfChanged(int stored, int now) {
  if (stored != now) discardStoredDesign();
}

// After a tube choice (its own, or the one an installation leaves): the
// tube, the pipe size and refilled walls against the stored design.
void STmainModel::discardIfChoicesChanged(bool wallsRefilled) {
  const DesignRecord& r = set_.current();
  const bool changed = r.TRACETUB != entry_.tubeSize || r.PIPESIZE != entry_.pipeSize ||
                       (wallsRefilled && r.TUBEWALL != entry_.tubeWall);
  if (changed) discardStoredDesign();
}

// The installation, tube, material, wall and pipe size lists as the entry
// holds them; a list left as it was keeps its entries.
void STmainModel::drawChoices() {
  const auto draw = [this](StId list, const TextList* items, int index) {
    Control& control = c(list);
    if (items != nullptr && control.items != *items) control.items = *items;
    control.index = index;
  };
  draw(StId::Cab_In, nullptr, entry_.installation);
  draw(StId::Cab_Sel, entry_.tubes, entry_.tubeSize);
  draw(StId::cboTracerMaterial, nullptr, entry_.material);
  draw(StId::cboTubeWallThick, entry_.walls, entry_.tubeWall);
  draw(StId::Pipe_Dia_In, entry_.pipeSizes, entry_.pipeSize);
}

void STmainModel::selectInstallation(int position) { selectList(StId::Cab_In, position); }

// An input that the stored design depends on has changed: the design of the
// current record is dropped, on the screen and in the record. Nothing happens
// while a record or file is loaded, nor while the design button's run (whose
// fallbacks select another installation) is in progress.
void STmainModel::discardStoredDesign() {
  if (set_.RecordLoading || designRunning_) return;
  // The method's type keeps its text; it is hidden below.
  for (const DesignOutput& output : kDesignOutputs) {
    if (output.text != &DesignDisplay::traceType) c(OutputControl(output.text)).text.clear();
  }
  c(StId::TraceLb).visible = false;
  c(StId::TraceTp).visible = false;
  ClearStoredDesign(set_.current());
  c(StId::Min_Maint_Temp).backColor = kColorWhite;
  noteSavedState();
}

}  // namespace vst
