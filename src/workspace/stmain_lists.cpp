// The list handling of the main window: what each list click does, the
// installation choice with the lists that depend on it (tube size, pipe size,
// wall thickness), and the discarding of the stored design.
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
    case StId::Cab_In:
      installationChange();
      break;
    case StId::Cab_Sel:
      tubeSizeChange();
      break;
    case StId::cboTracerMaterial:
      discardIfChanged(r.TUBEMAT, index);
      rebuildWallThickness();
      break;
    case StId::cboTubeWallThick:
      discardIfChanged(r.TUBEWALL, index);
      break;
    case StId::Insul_Th_In:
      discardIfChanged(r.INSTHK, index);
      break;
    case StId::Insul_Typ_In:
      discardIfChanged(r.INSTYPE - 1, index);
      // The stored design was checked when it was entered; loading it again
      // must not change what it shows.
      if (set_.RecordLoading) return;
      // A polyisocyanurate correction selects another insulation, whose own
      // click handling has run the copper check already.
      if (polyisocyanurateCheck(false)) return;
      copperCheck(false);
      break;
    case StId::Pipe_Dia_In:
      discardIfChanged(r.PIPESIZE, index);
      break;
    case StId::Pass:
      discardIfChanged(r.NUMPASS, index);
      break;
    case StId::cboApplication:
      c(StId::SSTab1Tab1).enabled = index > kApplicationMaintenance;
      break;
    case StId::cboProduct:
      productHandling();
      break;
    default:
      break;
  }
}

void STmainModel::discardIfChanged(int stored, int now) {
  if (stored != now) discardStoredDesign();
}

// Installation change (Cab_In click): the tube sizes the installation
// offers, keeping the tube position where the new list allows it, then the
// pipe sizes; another installation than the stored one discards the design.
void STmainModel::installationChange() {
  const int installation = c(StId::Cab_In).index;
  Control& tubes = c(StId::Cab_Sel);
  const int p = TubePositionAfterInstallation(tubes.index, installation, internalMode_);
  offeredTubes_ = &TubeSizeList(installation, internalMode_, set_.Units);
  tubes.items = *offeredTubes_;
  tubes.index = -1;
  selectList(StId::Cab_Sel, p);
  rebuildPipeSizes();
  discardIfChanged(set_.current().TRACEINS, installation);
}

// Tube size change (Cab_Sel click).
void STmainModel::tubeSizeChange() {
  discardIfChanged(set_.current().TRACETUB, c(StId::Cab_Sel).index);
  rebuildPipeSizes();
  rebuildWallThickness();
}

// The 19 pipe sizes, the three smallest blanked for Troughline with a tube
// above 3/8 in; the selected position stays.
void STmainModel::rebuildPipeSizes() {
  Control& pipes = c(StId::Pipe_Dia_In);
  const int selected = pipes.index;
  offeredPipeSizes_ =
      &PipeSizeList(set_.Units, BlanksSmallestPipes(c(StId::Cab_In).index, c(StId::Cab_Sel).index));
  if (pipes.items != *offeredPipeSizes_) pipes.items = *offeredPipeSizes_;  // mostly the list it has
  pipes.index = -1;
  selectList(StId::Pipe_Dia_In, selected);
}

// The wall thicknesses of the tube size and material; refilled lists select
// their first entry, sizes outside the table leave the list as it is.
void STmainModel::rebuildWallThickness() {
  const std::string tube(Trim(c(StId::Cab_Sel).selectedText()));
  const TextList* walls = WallThicknessList(set_.Units, tube, c(StId::cboTracerMaterial).index);
  if (walls == nullptr) return;
  offeredWalls_ = walls;
  Control& list = c(StId::cboTubeWallThick);
  list.items = *walls;
  list.index = -1;
  selectList(StId::cboTubeWallThick, 0);
}

void STmainModel::selectInstallation(int position) { selectList(StId::Cab_In, position); }

// An input that the stored design depends on has changed: the design of the
// current record is dropped, on the screen and in the record. Nothing happens
// while a record or file is loaded, nor while the design button's run (whose
// fallbacks select another installation) is in progress.
void STmainModel::discardStoredDesign() {
  if (set_.RecordLoading || designRunning_) return;
  for (StId output : {StId::Max_Maint_Temp, StId::Min_Maint_Temp, StId::Ht_Lswo_Out, StId::Cond_Load,
                      StId::Insul_Size, StId::Tot_Cab_Out, StId::Trap_Dist, StId::Rise}) {
    c(output).text.clear();
  }
  c(StId::TraceLb).visible = false;
  c(StId::TraceTp).visible = false;
  ClearStoredDesign(set_.current());
  c(StId::Min_Maint_Temp).backColor = kColorWhite;
  noteSavedState();
}

}  // namespace vst
