// The material take-off at the end of a design: the compound choice that
// names the record's heat transfer compound and jacketed tracer type, and
// MaterialTakeoff, which turns the design into the quantities of its bill
// (tubing, strip sections or channels, compound, banding, tie wire, crimp
// seals, unions, trap stations, male connectors, tubing seal kits) and stores
// them in the record. Lengths in feet and diameters in inches inside; only
// the total tracer length and the tie wire length are shown in metres to
// Metric users.
#pragma once

#include <string>

#include "bom/allowances.h"
#include "core/design_record.h"

namespace vst {

// What the compound choice and the take-off read from the design run. The
// installation and tube are those of the pass that completed the design.
struct TakeoffInputs {
  UnitSystem units = UnitSystem::English;
  bool internalMode = false;
  int installation = 0;  // installation code: 0 strip or channel, 1 fillet, 2 and above jacketed
  int tubeIndex = 0;     // 0 3/8, 1 1/2, 2 5/8, 3 3/4 in (10, 12, 16, 20 mm)
  int pipeSizePos = 0;   // pipe size list position (0 and 1: the two smallest pipes)
  int tracerCount = 1;

  double exposureTempF = 0;              // maximum exposure, F (after the small-pipe raise to 700 F)
  double steamTempF = 0;                 // saturated steam temperature at the supply pressure, F
  double intermittentExposureTempF = 0;  // F
  double trapDistanceFt = 0;             // maximum trap distance, ft
  double bundleDiameterIn = 0;           // pipe outside diameter plus tracer allowance, in

  // From the allowance step (see TakeAllowance).
  double designPipeLengthFt = 0;  // DesignPipeLength
  float bandingLengthFt = 0;      // SLEN as the allowance step left it
  float valves = 0;
  float flanges = 0;
  float pumps = 0;
  float wrapcore = 0;  // WCTB; not 0 means pre-insulated tubing is used
  int fittingsRow = kNoFittingsRow;
  double fittingsAllowanceFt = 0;  // FittingsAllowance
};

// Copies the allowance step's results into the take-off inputs.
void TakeAllowance(const AllowanceResult& allowance, TakeoffInputs& inputs);

// The jacketed tracer type of an installation code in the program mode:
// standard 2 "YJ-1", 3 "YJ-2"; InternalMode 2 "YJ-0", 3 "YJ-1", 4 "YJ-2";
// empty for the other codes.
std::string JacketedTypeName(int installation, bool internalMode);

// The heat transfer compound of a design (CEM, CEM1) and its jacketed tracer
// type (COVR).
struct Compound {
  std::string CEM;
  std::string CEM1;
  std::string COVR;
};

// The compound choice: "COVERLYN" for a jacketed tube; "E-50-C" or "E-55-C"
// for a fillet; "Clipstrip" for a strip installation whose temperatures all
// stay at or below 406 F, otherwise the strip keeps `compound`, the one the
// design run chose from the temperatures at its start. COVR names the
// jacketed tracer type ("" for the others).
Compound ChooseCompound(const TakeoffInputs& inputs, Compound compound);

// The total tracer length before rounding: 105 % of tracers x design pipe
// length, truncated to tenths of a foot.
double TracerLengthFt(int tracerCount, double designPipeLengthFt);

// A length in feet shown in metres, rounded up to the half metre (through
// whole decimetres, truncated).
double HalfMetresFromFeet(double feet);

// The total tracer length as the bill lists it: feet rounded up to the next
// whole foot (English), or metres rounded up to the half metre (Metric).
double BillTracerLength(UnitSystem units, double tracerLengthFt);

// The tube size text of the bill ("3/8'' O.D.", "10mm O.D.").
std::string TubeSizeText(UnitSystem units, int tubeIndex);

// The quantities of a design's bill, named as the record's fields.
struct Takeoff {
  float TLEN = 0;  // total tracer length: whole feet, Metric half metres
  std::string TSIZ;
  float TST = 0;
  float ACHAN = 0;
  std::string CHAN;
  std::string CEM1;
  float ACEM = 0;
  float ACEM1 = 0;
  float ABAND = 0;
  std::string BAND;
  float TBAND = 0;
  float CRS = 0;
  float UNION = 0;
  float FRST = 0;
  float FAK = 0;
  float MACO = 0;
  float SLEN = 0;  // the fittings allowance, ft
};

// The take-off of a completed design with the compound ChooseCompound
// named. Throws std::invalid_argument for a tube index outside 0..3, a
// tracer count below 1, a negative installation code or a negative or
// non-finite length or diameter.
Takeoff MaterialTakeoff(const TakeoffInputs& inputs, const Compound& compound);

}  // namespace vst
