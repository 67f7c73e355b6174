// The list handling of the main window: what each list click does, the
// installation choice with the lists that depend on it (tube size, pipe size,
// wall thickness), and the discarding of the stored design.
#include "circuit/design.h"
#include "circuit/entry.h"
#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "workspace/stmain_model.h"

namespace vst {

void STmainModel::listClickHandling(std::string_view name) {
  const int index = c(name).index;
  DesignRecord& r = set_.current();
  if (name == "Cab_In") {
    installationChange();
  } else if (name == "Cab_Sel") {
    tubeSizeChange();
  } else if (name == "cboTracerMaterial") {
    discardIfChanged(r.TUBEMAT, index);
    rebuildWallThickness();
  } else if (name == "cboTubeWallThick") {
    discardIfChanged(r.TUBEWALL, index);
  } else if (name == "Insul_Th_In") {
    discardIfChanged(r.INSTHK, index);
  } else if (name == "Insul_Typ_In") {
    discardIfChanged(r.INSTYPE - 1, index);
    // The stored design was checked when it was entered; loading it again
    // must not change what it shows.
    if (set_.RecordLoading) return;
    // A polyisocyanurate correction selects another insulation, whose own
    // click handling has run the copper check already.
    if (polyisocyanurateCheck(false)) return;
    copperCheck(false);
  } else if (name == "Pipe_Dia_In") {
    discardIfChanged(r.PIPESIZE, index);
  } else if (name == "Pass") {
    discardIfChanged(r.NUMPASS, index);
  } else if (name == "cboApplication") {
    c("SSTab1Tab1").enabled = index > kApplicationMaintenance;
  } else if (name == "cboProduct") {
    productHandling();
  }
}

void STmainModel::discardIfChanged(int stored, int now) {
  if (stored != now) discardStoredDesign();
}

// Installation change (Cab_In click): the tube sizes the installation
// offers, keeping the tube position where the new list allows it, then the
// pipe sizes; another installation than the stored one discards the design.
void STmainModel::installationChange() {
  const int installation = c("Cab_In").index;
  Control& tubes = c("Cab_Sel");
  const int p = TubePositionAfterInstallation(tubes.index, installation, internalMode_);
  offeredTubes_ = &TubeSizeList(installation, internalMode_, set_.Units);
  tubes.items = *offeredTubes_;
  tubes.index = -1;
  selectList("Cab_Sel", p);
  rebuildPipeSizes();
  discardIfChanged(set_.current().TRACEINS, installation);
}

// Tube size change (Cab_Sel click).
void STmainModel::tubeSizeChange() {
  discardIfChanged(set_.current().TRACETUB, c("Cab_Sel").index);
  rebuildPipeSizes();
  rebuildWallThickness();
}

// The 19 pipe sizes, the three smallest blanked for Troughline with a tube
// above 3/8 in; the selected position stays.
void STmainModel::rebuildPipeSizes() {
  Control& pipes = c("Pipe_Dia_In");
  const int selected = pipes.index;
  offeredPipeSizes_ = &PipeSizeList(set_.Units, BlanksSmallestPipes(c("Cab_In").index, c("Cab_Sel").index));
  if (pipes.items != *offeredPipeSizes_) pipes.items = *offeredPipeSizes_;  // mostly the list it has
  pipes.index = -1;
  selectList("Pipe_Dia_In", selected);
}

// The wall thicknesses of the tube size and material; refilled lists select
// their first entry, sizes outside the table leave the list as it is.
void STmainModel::rebuildWallThickness() {
  const std::string tube(Trim(c("Cab_Sel").selectedText()));
  const TextList* walls = WallThicknessList(set_.Units, tube, c("cboTracerMaterial").index);
  if (walls == nullptr) return;
  offeredWalls_ = walls;
  Control& list = c("cboTubeWallThick");
  list.items = *walls;
  list.index = -1;
  selectList("cboTubeWallThick", 0);
}

void STmainModel::selectInstallation(int position) { selectList("Cab_In", position); }

// An input that the stored design depends on has changed: the design of the
// current record is dropped, on the screen and in the record. Nothing happens
// while a record or file is loaded, nor while the design button's run (whose
// fallbacks select another installation) is in progress.
void STmainModel::discardStoredDesign() {
  if (set_.RecordLoading || designRunning_) return;
  for (std::size_t i = 0; i < 8; ++i) controls_.atPosition(discardedControls_[i]).text.clear();
  controls_.atPosition(discardedControls_[8]).visible = false;
  controls_.atPosition(discardedControls_[9]).visible = false;
  ClearStoredDesign(set_.current());
  controls_.atPosition(discardedControls_[1]).backColor = kColorWhite;  // Min_Maint_Temp
  set_.DesignSaved = false;
}

}  // namespace vst
