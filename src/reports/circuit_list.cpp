#include "reports/circuit_list.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "bom/takeoff.h"
#include "core/legacy_math.h"
#include "core/units.h"
#include "engine/insulation_sizing.h"

namespace vst {
namespace {

constexpr const char* kDegree = "\u00B0";  // the degree sign, character 176

// Row titles of rows 0 to 22, the same in both modes.
constexpr std::array<const char*, 23> kCommonTitles = {
    "Record No.",        "Circuit No.",
    "Line No.",          "",
    "DESIGN INPUT",      "Max. Ambient",
    "Min. Ambient",      "Des. Maint. Temp.",
    "Max. Exp. Temp.",   "Insul. Thickness",
    "Insul. Type",       "Tracer Installation",
    "Tracer Tubing",     "Steam Pressure",
    "Pipe Length",       "Pipe Size",
    "No. of Passes",     "",
    "DESIGN OUTPUT",     "Max. Maint. Temp.",
    "Min. Maint. Temp.", "Tracer Type/Cemt.",
    "Design Heat Loss",
};
// Rows 23 to 27 by mode; the standard mode hides rows 25 to 27.
constexpr std::array<const char*, 5> kInternalTitles = {"Condensate Load", "Insul. Size", "Tracer Length",
                                                        "Max. Trap Length", "Max. Vert. Rise"};
constexpr std::array<const char*, 5> kStandardTitles = {"Insul. Size", "Tracer Length", "", "", ""};
constexpr int kFirstModeRow = 23;
constexpr int kFirstHiddenRow = 25;

// Insulation types by INSTYPE 1 to 6; any other value is the last type, in
// the program's own spelling.
constexpr std::array<const char*, 6> kInsulationTypes = {"Calcium Silicate", "Foamed Elastomer",
                                                         "Fiberglass",       "Mineral Fiber",
                                                         "Cellular Glass",   "Polyisocyanurate"};
constexpr const char* kLastInsulationType = "Expaneded Perlite";

// Metric nominal insulation thicknesses (mm) by thickness list position.
constexpr std::array<int, 7> kMetricThicknessMm = {25, 30, 40, 50, 60, 80, 100};
constexpr int kThicknessPositions = 7;

std::string Text(float value) { return SingleText(value); }

bool Metric(UnitSystem units) { return units == UnitSystem::Metric; }

std::string Temperature(float value, UnitSystem units) {
  return " " + Text(value) + kDegree + std::string(1, UnitLetter(units));
}
std::string Size(float value, UnitSystem units) { return " " + Text(value) + (Metric(units) ? "mm" : "''"); }
std::string Length(float value, UnitSystem units) { return " " + Text(value) + (Metric(units) ? "m" : "'"); }

std::string Thickness(int position, UnitSystem units) {
  if (position < 0 || position >= kThicknessPositions) return {};
  if (Metric(units))
    return " " + std::to_string(kMetricThicknessMm[static_cast<std::size_t>(position)]) + "mm";
  // Positions step by half an inch from 1 in.
  return " " + Text(ToSingle(position / 2.0 + 1)) + "''";
}

std::string InsulationType(int instype) {
  if (instype >= 1 && instype <= static_cast<int>(kInsulationTypes.size())) {
    return kInsulationTypes[static_cast<std::size_t>(instype - 1)];
  }
  return kLastInsulationType;
}

std::string Installation(int traceins) {
  if (traceins == 0) return "Troughline";
  if (traceins == 1) return "Fillet Trace";
  return "Coverlyn";
}

std::string TubeSize(int tracetub, UnitSystem units) {
  const std::string size = TubeSizeText(units, tracetub);
  return size.empty() ? std::string() : " " + size;
}

// The nominal size of the record's pipe size list position in the unit
// system: inches or millimetres. Empty for a position the list lacks.
std::string PipeSize(int position, UnitSystem units) {
  const std::optional<double> size = Metric(units) ? MetricPipeSizeMm(position) : NominalPipeSizeIn(position);
  if (!size) return {};
  return " " + Text(ToSingle(*size)) + (Metric(units) ? "mm" : "''");
}

// The cells of rows 0 to 27 of one record's column.
std::array<std::string, kCircuitListRows> RecordCells(const DesignRecord& r, int recordNumber,
                                                      UnitSystem units, bool internalMode) {
  const bool metric = Metric(units);
  std::array<std::string, kCircuitListRows> cell{};
  cell[0] = std::to_string(recordNumber);
  cell[1] = r.CIRTXT;
  cell[2] = r.PIPETXT;
  cell[5] = Temperature(r.MAXAMB, units);
  cell[6] = Temperature(r.MINAMB, units);
  cell[7] = Temperature(r.MAINTEMP, units);
  cell[8] = Temperature(r.MAXEXP, units);
  cell[9] = Thickness(r.INSTHK, units);
  cell[10] = InsulationType(r.INSTYPE);
  cell[11] = Installation(r.TRACEINS);
  cell[12] = TubeSize(r.TRACETUB, units);
  cell[13] = " " + Text(r.STEAMPRS) + PressureCaption(PressureUnitFromStored(r.PRESSURE));
  cell[14] = Length(r.PIPELN, units);
  cell[15] = PipeSize(r.PIPESIZE, units);
  cell[16] = " " + std::to_string(static_cast<long long>(r.NUMPASS) + 1);
  // The maintained temperatures are shown as whole degrees (fraction dropped).
  cell[19] = Temperature(ToSingle(Fix(r.TP2)), units);
  cell[20] = Temperature(ToSingle(Fix(r.TP1)), units);
  cell[21] = r.TRACEINS == 0 || r.TRACEINS == 1 ? r.CEM : r.COVR;
  cell[22] = " " + Text(r.LSWO) + (metric ? " W/m" : " BTU/hr-ft");
  if (internalMode) {
    cell[23] = " " + FixedText(r.COND, 3) + (metric ? " kg/hr-m" : " LB/hr-ft");
    cell[24] = Size(r.INSIZE, units);
    cell[25] = Length(r.TLEN, units);
    cell[26] = Length(r.TDX, units);
    cell[27] = Length(r.VTR, units);
  } else {
    cell[23] = Size(r.INSIZE, units);
    cell[24] = Length(r.TLEN, units);
  }
  return cell;
}

}  // namespace

bool FillsCircuitListColumn(const DesignRecord& record) {
  return record.HoldsDesign() || record.MAXAMB != 0.0f;
}

bool CircuitListHasSecondPage(const CircuitListRecords& records) {
  return std::any_of(records.begin() + kCircuitListSecondPage, records.end(), FillsCircuitListColumn);
}

bool CircuitListRowVisible(int row, bool internalMode) {
  if (row < 0 || row >= kCircuitListRows) return false;
  return internalMode || row < kFirstHiddenRow;
}

bool CircuitListCellCentred(int row, int column) {
  if (row < 0 || row >= kCircuitListRows || column < 0 || column >= kCircuitListColumns) return false;
  return row <= 2 || column == 0;
}

CircuitListPage CircuitListCells(const CircuitListRecords& records, int firstRecord, UnitSystem units,
                                 bool internalMode) {
  firstRecord = std::clamp(firstRecord, 0, DesignSet::kRecords - kCircuitListPageRecords);
  CircuitListPage page;
  for (int row = 0; row < kCircuitListRows; ++row) {
    const auto r = static_cast<std::size_t>(row);
    page.rowVisible[r] = CircuitListRowVisible(row, internalMode);
    if (row < kFirstModeRow) {
      page.cells[r][0] = kCommonTitles[r];
    } else {
      const auto& titles = internalMode ? kInternalTitles : kStandardTitles;
      page.cells[r][0] = titles[r - kFirstModeRow];
    }
  }
  for (int column = 1; column < kCircuitListColumns; ++column) {
    const int index = firstRecord + column - 1;
    const DesignRecord& record = records[static_cast<std::size_t>(index)];
    if (!FillsCircuitListColumn(record)) continue;  // the column stays empty
    const auto cells = RecordCells(record, index + 1, units, internalMode);
    for (std::size_t row = 0; row < cells.size(); ++row)
      page.cells[row][static_cast<std::size_t>(column)] = cells[row];
  }
  // A hidden row shows nothing.
  for (std::size_t row = 0; row < page.cells.size(); ++row) {
    if (!page.rowVisible[row]) page.cells[row].fill(std::string());
  }
  return page;
}

CircuitListModel::CircuitListModel(const CircuitListRecords& records, UnitSystem units, bool internalMode)
    : records_(records),
      units_(units),
      internalMode_(internalMode),
      moreVisible_(CircuitListHasSecondPage(records)),
      page_(CircuitListCells(records_, 0, units_, internalMode_)),
      otherPage_(CircuitListCells(records_, kCircuitListSecondPage, units_, internalMode_)) {}

void CircuitListModel::more() {
  if (!moreVisible_) return;
  const bool toSecond = firstRecord_ == 0;
  firstRecord_ = toSecond ? kCircuitListSecondPage : 0;
  moreCaption_ = toSecond ? "&1-5" : "&6-10";
  std::swap(page_, otherPage_);
}

}  // namespace vst
