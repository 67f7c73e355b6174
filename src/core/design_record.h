// One circuit design (DesignRecord) and the set of ten that the main window
// holds (DesignSet). Values are kept in the units shown on the screen when the
// record was designed; only the design engine converts. Reals are single
// precision, as the window stores typed text and computed outputs.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vst {

enum class UnitSystem { English, Metric };

// The unit of a steam pressure: psig (gauge), kPa (absolute), bar g (gauge).
// Records store it in PRESSURE as 0, 1, 2 (units.h converts).
enum class PressureUnit { Psig = 0, Kpa = 1, BarG = 2 };

// How the insulation is sized around the tracers: the first size that fits,
// or one size smaller where that still clears the bare pipe. Records store
// it in UNDER as 0, 1 (units.h converts).
enum class InsulationSizing { Standard = 0, Minimal = 1 };

// The temperature letter under which the unit system is held: "F" or "C".
char UnitLetter(UnitSystem units);

// The applications a record's APPTYPE holds: a maintenance design, or one
// that also computes the heat-up time.
inline constexpr int kApplicationMaintenance = 0;
inline constexpr int kApplicationHeatUp = 1;

// The heat-up product list (HeatUpProduct) has 41 entries; the last, "Other",
// takes the engineer's own density, specific heat and phase change.
inline constexpr int kHeatUpProducts = 41;
inline constexpr int kProductOther = 40;
// What the heat-up time shows when the final temperature cannot be reached.
inline constexpr const char* kNoHeatUpTime = "\u2014";

struct DesignRecord {
  // Inputs
  float MAXAMB = 0;     // maximum ambient temperature, F / C
  float MINAMB = 0;     // minimum ambient temperature, F / C
  float MAINTEMP = 0;   // temperature to be maintained, F / C
  float MAXEXP = 0;     // maximum exposure temperature, F / C
  int INSTHK = 0;       // insulation thickness list position
  int INSTYPE = 0;      // insulation type, list position + 1
  int PIPESIZE = 0;     // pipe size list position
  float PIPELN = 0;     // pipe length, ft / m
  int NUMPASS = 0;      // passes list position (0 = 1 pass)
  float STEAMPRS = 0;   // steam pressure in the unit of PRESSURE
  int TRACETUB = 0;     // tube size list position
  int TRACEINS = 0;     // installation list position (meaning depends on the mode)
  std::string CIRTXT;   // circuit number
  std::string PIPETXT;  // line or pipe number
  float VALN = 0;       // valves
  float FLNO = 0;       // flanges
  float NOPX = 0;       // pumps
  float WCTB = 0;       // pre-insulated tubing allowance, ft / m
  int UNDER = 0;        // insulation sizing at design time: 0 standard, 1 minimal
  int PRESSURE = 0;     // pressure unit of STEAMPRS: 0 psig, 1 kPa, 2 bar g
  float TBAND = 0;      // tie wire length, ft / m
  // Outputs
  float TP2 = 0;     // maximum maintained temperature, F / C
  float TP1 = 0;     // minimum maintained temperature, F / C
  float LSWO = 0;    // design heat loss, BTU/hr-ft / W/m
  float COND = 0;    // condensate load, Lb/hr-ft / kg/hr-m
  float INSIZE = 0;  // nominal insulation size, in / mm
  float TLEN = 0;    // total tracer length with allowances, ft / m
  float TDX = 0;     // maximum trap distance, ft / m
  float VTR = 0;     // maximum vertical rise, ft / m
  float SLEN = 0;    // total fittings allowance, ft
  float TST = 0;     // 4 ft extruded-strip sections
  std::string CEM;   // compound of a channel or fillet installation
  float ACEM = 0;
  std::string CEM1;  // second compound
  float ACEM1 = 0;
  float ACHAN = 0;   // channels
  float ABAND = 0;   // banding rolls
  float UNION = 0;   // unions
  std::string CHAN;  // channel catalogue number
  std::string TSIZ;  // tube size text; not empty exactly when designed
  std::string BAND;  // banding catalogue number
  float CRS = 0;     // crimp seals
  float FRST = 0;    // trap stations
  float FAK = 0;     // tubing seal kits
  float MACO = 0;    // male connectors
  float SSFLAG = 0;  // circuit bill material option position
  std::string COVR;  // jacketed tracer type
  int TUBEMAT = 0;   // tubing material list position
  int TUBEWALL = 0;  // wall thickness list position
  int APPTYPE = 0;   // application list position

  // The heat-up data, written to a design file only by a set that holds a
  // heat-up design (APPTYPE kApplicationHeatUp); the texts as typed.
  int HeatUpProduct = 0;              // cboProduct position
  std::string HeatUpInitialTemp;      // txtInitalTemp
  std::string HeatUpFinalTemp;        // txtFinalTemp
  std::string HeatUpDensity;          // txtProdDensity
  std::string HeatUpSpecificHeat;     // txtProdCp
  bool HeatUpPhaseChange = false;     // chbPhaseChange
  std::string HeatUpPhaseChangeTemp;  // txtPCTemp
  std::string HeatUpLatentHeat;       // txtLatentHeat
  float HeatUpTime = 0;               // hours; 0 when the design gave no time
  // Kept in memory only, never written to a design file (the two answers of
  // the allowance dialogs excepted).
  float IntermittentExposure = 0;  // txtIntExpTemp, written by the design run
  int AllowanceIncluded = 0;       // fittings dialog answer: 0 "Yes", 1 "No"; in the file
  float ShoeAllowance = 0;         // running shoe total, ft / m; in the file
  float ReportPipeSize = 0;        // pipe size shown by the circuit report, in / mm

  // A record holds a design exactly when its tube size text is not empty.
  bool HoldsDesign() const { return !TSIZ.empty(); }

  // The record holds a heat-up design's data (its application is "Heat Up").
  bool HeatUpApplication() const { return APPTYPE == kApplicationHeatUp; }

  bool operator==(const DesignRecord&) const = default;
};

// Field reflection: every record field by its name, for the design file and
// the batch output. `inFile` is false for the values kept in memory only.
enum class FieldKind { Real, Integer, Text, Flag };
struct FieldInfo {
  std::string_view name;
  FieldKind kind;
  bool inFile;
  std::variant<float DesignRecord::*, int DesignRecord::*, std::string DesignRecord::*, bool DesignRecord::*>
      member;
};
const std::vector<FieldInfo>& RecordFields();
// The fields the design file holds beyond RecordFields() (all `inFile`),
// which the line-list command's record listings do not show.
const std::vector<FieldInfo>& LaterFileFields();
const FieldInfo* FindRecordField(std::string_view name);
// Numeric value of a field (0 or 1 for a flag); 0 for a text field.
double FieldNumber(const DesignRecord& record, const FieldInfo& field);
// Text value of a text field; the shortest text of a numeric one.
std::string FieldText(const DesignRecord& record, const FieldInfo& field);

// An index outside 0..9 of a DesignSet.
class RecordIndexError : public std::out_of_range {
 public:
  explicit RecordIndexError(int index);
};

struct DesignSet {
  static constexpr int kRecords = 10;

  DesignRecord& at(int index);
  const DesignRecord& at(int index) const;
  DesignRecord& current() { return at(CurrentRecord); }
  const DesignRecord& current() const { return at(CurrentRecord); }
  static bool ValidIndex(int index) { return index >= 0 && index < kRecords; }

  std::array<DesignRecord, kRecords> records{};
  int CurrentRecord = 0;        // index of the record shown; Rec_Num shows it + 1
  bool DesignSaved = false;     // no unsaved change
  bool RecordLoading = false;   // a record or file is being loaded into the window
  bool LastSaveFailed = false;  // the last save ended in an error
  bool DesignLock = false;      // a design has run or a file was opened
  int SpinnerPosition = 0;      // last position of the record spinner
  UnitSystem Units = UnitSystem::English;
  vst::PressureUnit PressureUnit = vst::PressureUnit::Psig;
  vst::InsulationSizing InsulationSizing = vst::InsulationSizing::Standard;

  bool operator==(const DesignSet&) const = default;
};

}  // namespace vst
