// The circuit report and bill of one designed record: the material lines of
// CktBillGrid (quantity, catalogue number, description), read from the bill
// quantities the material take-off stored in the record, and the design
// summary of CktRptGrid (inputs and outputs as the main window shows them).
// Nothing is computed here that the take-off did not store.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/design_record.h"

namespace vst {

// One row of a bill grid: quantity, catalogue number, description.
using BillRow = std::array<std::string, 3>;
// One row of the design summary: input column, output column.
using ReportRow = std::array<std::string, 2>;

// The header row of both bill grids.
BillRow BillHeaderRow();

// Catalogue codes of a record's tube. TubeSizeCode: English "3".."6"
// (eighths of an inch), Metric "10", "12", "16", "20". MaterialLetter: "B"
// copper, "A" welded stainless steel, "F" any other material. WallCode: the
// wall of the tube by size, material and wall position.
std::string TubeSizeCode(UnitSystem units, int tubeIndex);
std::string MaterialLetter(int tubeMaterial);
std::string WallCode(UnitSystem units, int tubeIndex, int tubeMaterial, int wallIndex);

// " Meters" or " Feet".
std::string LengthUnitWord(UnitSystem units);

// A record's maximum exposure temperature in F (Metric values converted).
double RecordExposureTempF(const DesignRecord& record, UnitSystem units);

// The valve and pump compound of an extruded strip: "K-30" up to 700 F of the
// record's own exposure temperature, else "K-90".
std::string StripCompound(const DesignRecord& record, UnitSystem units);

// The tubing line (catalogue, description) of a record, as the circuit bill
// and the summary list it.
std::string TubingCatalogue(const DesignRecord& record, UnitSystem units);
std::string TubingDescription(const DesignRecord& record);

// The pre-insulated tubing line (catalogue, description).
std::string WrapcoreCatalogue(const DesignRecord& record, UnitSystem units);
std::string WrapcoreDescription(const DesignRecord& record);

// The size and material words of a union or connector line: " 3/8'' Brass",
// " 20mm Stainless Steel".
std::string FittingSizeMaterial(UnitSystem units, int tubeIndex, int tubeMaterial);

// The banding roll description of a catalogue number.
std::string BandingDescription(UnitSystem units, const std::string& band);

// A quantity as the bills write it: its shortest general form.
std::string QuantityNumber(float value);

// The rows of CktBillGrid for a designed record: the header, then the
// material lines whose condition holds, without gaps.
std::vector<BillRow> CircuitBillRows(const DesignRecord& record, UnitSystem units);

// What the design summary reads from the main window: the texts of its
// fields as shown, and the record's own values.
struct CircuitReportFields {
  UnitSystem units = UnitSystem::English;
  bool internalMode = false;
  std::string maxAmbient, minAmbient;       // Max_Amb, Min_Amb
  std::string insulationType;               // Insul_Typ_In text
  std::string pipeDiameter;                 // Pipe_Dia_In text
  std::string insulationThickness;          // Insul_Th_In text
  std::string pipeLength;                   // Pipe_Len_In
  std::string tracerTubing;                 // Cab_Sel text
  std::string pressure;                     // Pressure
  std::string maxMaintTemp, minMaintTemp;   // Max_Maint_Temp, Min_Maint_Temp
  std::string heatLoss, condensate;         // Ht_Lswo_Out, Cond_Load
  std::string insulationSize, totalLength;  // Insul_Size, Tot_Cab_Out
  std::string trapDistance, rise;           // Trap_Dist, Rise
  // The heat-up tab and output of a heat-up design (APPTYPE "Heat Up").
  std::string product;                      // cboProduct text
  std::string initialTemp, finalTemp;       // txtInitalTemp, txtFinalTemp
  std::string density, specificHeat;        // txtProdDensity, txtProdCp as shown
  bool phaseChange = false;                 // "Other" with chbPhaseChange ticked
  std::string phaseChangeTemp, latentHeat;  // txtPCTemp, txtLatentHeat
  std::string heatUpTime;                   // txtHuTime: hours, a dash, or empty
};

// One line of the design summary: the window shows label, `gap` spaces and
// the value (with its unit); the printout shows `printLabel` and the value
// at a print column.
struct ReportItem {
  std::string label;
  int gap = 0;
  std::string value;
  std::string printLabel;
  std::string text() const;
};

// The inputs (nine lines) and the outputs of the design summary; the
// outputs hold the condensate load, trap distance and vertical rise only in
// InternalMode, and end with the installation line. A heat-up design adds
// its product, temperatures and product data to the inputs and the heat-up
// time to the outputs. Numbers are
// re-formatted through single precision; a text that is no number is shown
// as it stands.
std::vector<ReportItem> CircuitReportInputs(const CircuitReportFields& fields, const DesignRecord& record);
std::vector<ReportItem> CircuitReportOutputs(const CircuitReportFields& fields, const DesignRecord& record);

// The installation line: "Coverlyn Type:" with COVR for a jacketed tube,
// "Fillet Trace:" or "Troughline:" with CEM.
ReportItem InstallationItem(const DesignRecord& record);

// The rows of CktRptGrid: row 0 the section titles, then the inputs in
// column 0 and the outputs in column 1; ten rows, more when a heat-up
// design's lines need them.
std::vector<ReportRow> CircuitReportRows(const CircuitReportFields& fields, const DesignRecord& record);

}  // namespace vst
