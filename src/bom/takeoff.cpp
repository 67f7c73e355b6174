#include "bom/takeoff.h"

#include <array>
#include <cmath>
#include <stdexcept>

#include "core/legacy_math.h"

namespace vst {
namespace {

// Per-fitting quantities by row 1..31 (index row - 1): heat transfer
// compound for one valve in gallons and in cartridges, and banding length
// for one valve in feet. A pump takes twice a valve's; flanges take none.
constexpr std::array<double, kFittingsRows> kFittingCompoundGallons = {
    0,   0, 0, 0, 0.36, 0.43, 0.43, 0.71, 0.71, 1, 1, 0, 1.43, 0, 2, 0,
    2.5, 0, 3, 0, 3.5,  0,    4,    0,    4.5,  0, 5, 0, 5.5,  0, 6};
constexpr std::array<double, kFittingsRows> kFittingCompoundCartridges = {
    0,   0, 0,    0, 0.008, 0.02, 0.02, 0.028, 0.028, 0.04, 0.04, 0, 0.06,  0, 0.08, 0,
    0.1, 0, 0.12, 0, 0.169, 0,    0.2,  0,     0.225, 0,    0.25, 0, 0.275, 0, 0.3};
constexpr std::array<double, kFittingsRows> kFittingBandFt = {
    0,     0, 0,     0, 3,     3.5, 3.5,   4.7, 4.7,   5.72, 5.72,  0, 8.1, 0, 10.16, 0,
    12.24, 0, 14.36, 0, 15.68, 0,   17.76, 0,   19.84, 0,    21.92, 0, 24,  0, 26.12};

double PerFitting(const std::array<double, kFittingsRows>& table, int row) {
  if (row < 1 || row > kFittingsRows) return 0.0;
  return table[static_cast<std::size_t>(row - 1)];
}

// Fillet cement: feet of tracer that ten cartridges cover, by tube index.
// The 3/4 in tube has no published rate; its fillet grows with the tube's
// cross-section, so it takes the 5/8 in rate scaled by the square of the
// diameters, 67 x (0.625 / 0.75)^2 = 46.5 ft (a smaller figure means more
// cement, never an empty compound line).
constexpr std::array<double, 4> kFilletFeetPerTenCartridges = {200, 140, 67, 46.5};

constexpr std::array<const char*, 4> kTubeSizesEnglish = {"3/8'' O.D.", "1/2'' O.D.", "5/8'' O.D.",
                                                          "3/4'' O.D."};
constexpr std::array<const char*, 4> kTubeSizesMetric = {"10mm O.D.", "12mm O.D.", "16mm O.D.", "20mm O.D."};

bool IsCartridgeCompound(const std::string& compound) { return compound == "E-50-C" || compound == "E-55-C"; }

void Check(const TakeoffInputs& in) {
  if (in.tubeIndex < 0 || in.tubeIndex > 3) throw std::invalid_argument("tube size index outside 0..3");
  if (in.tracerCount < 1) throw std::invalid_argument("tracer count below 1");
  if (in.installation < 0) throw std::invalid_argument("negative installation code");
  auto length = [](double v, const char* what) {
    if (!std::isfinite(v) || v < 0.0)
      throw std::invalid_argument(std::string(what) + " must be finite, 0 or more");
  };
  length(in.designPipeLengthFt, "design pipe length");
  length(in.bundleDiameterIn, "bundle diameter");
  length(in.fittingsAllowanceFt, "fittings allowance");
  length(in.bandingLengthFt, "banding length");
  if (std::isnan(in.trapDistanceFt)) throw std::invalid_argument("trap distance is not a number");
}

// Number of sub-circuits of the run (each supplied and trapped on its own):
// the design pipe length over the trap distance, rounded up with `roundUp`.
// A trap distance of 0 or less cannot divide the run: one circuit.
double SubCircuits(double lengthFt, double trapDistanceFt, double roundUp) {
  if (!(trapDistanceFt > 0.0)) return 1.0;
  return lengthFt / trapDistanceFt + roundUp;
}

}  // namespace

void TakeAllowance(const AllowanceResult& allowance, TakeoffInputs& inputs) {
  inputs.designPipeLengthFt = allowance.designPipeLengthFt;
  inputs.bandingLengthFt = allowance.slenFt;
  inputs.valves = allowance.valves;
  inputs.flanges = allowance.flanges;
  inputs.pumps = allowance.pumps;
  inputs.wrapcore = allowance.wrapcore;
  inputs.fittingsRow = allowance.fittingsRow;
  inputs.fittingsAllowanceFt = allowance.fittingsAllowanceFt;
}

std::string JacketedTypeName(int installation, bool internalMode) {
  if (internalMode) {
    switch (installation) {
      case 2:
        return "YJ-0";
      case 3:
        return "YJ-1";
      case 4:
        return "YJ-2";
      default:
        return {};
    }
  }
  switch (installation) {
    case 2:
      return "YJ-1";
    case 3:
      return "YJ-2";
    default:
      return {};
  }
}

Compound ChooseCompound(const TakeoffInputs& in, Compound compound) {
  if (in.installation >= 2) {
    compound.CEM = "COVERLYN";
    compound.CEM1 = " ";
  } else if (in.installation == 1) {
    const bool mild = in.exposureTempF <= 325 && in.steamTempF <= 325;
    compound.CEM = mild ? "E-50-C" : "E-55-C";
    compound.CEM1 = compound.CEM;
  } else if (in.exposureTempF <= 406 && in.steamTempF <= 406 && in.intermittentExposureTempF <= 406) {
    compound.CEM = "Clipstrip";
    compound.CEM1 = "Clipstrip";
  }
  // Otherwise a strip or channel keeps the compound chosen at the start of
  // the run.
  compound.COVR = JacketedTypeName(in.installation, in.internalMode);
  return compound;
}

double TracerLengthFt(int tracerCount, double designPipeLengthFt) {
  return Int(tracerCount * designPipeLengthFt * 10.5) / 10.0;
}

double HalfMetresFromFeet(double feet) {
  const double d = Int(feet * 3.048);  // whole decimetres
  const double rest = d - 10.0 * Fix(d / 10.0);
  if (rest == 0.0) return d / 10.0;
  if (rest <= 5.0) return Int(d / 10.0) + 0.5;
  return Int(d / 10.0) + 1.0;
}

double BillTracerLength(UnitSystem units, double tracerLengthFt) {
  if (units == UnitSystem::Metric) return HalfMetresFromFeet(tracerLengthFt);
  return -Int(-tracerLengthFt);  // up to the next whole foot
}

std::string TubeSizeText(UnitSystem units, int tubeIndex) {
  if (tubeIndex < 0 || tubeIndex > 3) return {};
  const auto i = static_cast<std::size_t>(tubeIndex);
  return units == UnitSystem::Metric ? kTubeSizesMetric[i] : kTubeSizesEnglish[i];
}

namespace {

// Heat transfer compound: at valves and pumps (ACEM1, in the unit of the
// compound) and along the run (ACEM). The extruded strip needs none along the
// run and keeps its valve and pump compound apart; a jacketed tube needs no
// heat transfer compound at all, at fittings neither.
void TakeCompound(const TakeoffInputs& in, double tlenFt, const Compound& compound, Takeoff& record) {
  const double valvesAndPumps = in.valves + 2.0 * in.pumps;
  const int r = in.fittingsRow;
  const int tube = in.tubeIndex;
  record.CEM1 = compound.CEM1;
  double acem1 = IsCartridgeCompound(compound.CEM1)
                     ? Fix(10.0 * PerFitting(kFittingCompoundCartridges, r) * valvesAndPumps + 0.999)
                     : Fix(PerFitting(kFittingCompoundGallons, r) * valvesAndPumps + 0.999);
  double acem = 0.0;
  if (compound.CEM != "Clipstrip") {
    if (in.installation == 0) {
      if (tube == 0) {
        acem = Fix(tlenFt / (in.pipeSizePos <= 1 ? 56.0 : 28.0) + 0.99);
      } else if (tube == 1) {
        acem = Fix(tlenFt / 32.0 + 0.99);
      } else {
        acem = Fix(tlenFt / 19.0 + 0.99);
      }
      acem += acem1;
    } else if (in.installation == 1) {
      acem = Fix(tlenFt * 10.0 / kFilletFeetPerTenCartridges[static_cast<std::size_t>(tube)] + 0.99) + acem1;
    }
    record.CEM1 = " ";
    acem1 = 0.0;
  }
  record.ACEM = ToSingle(acem);
  record.ACEM1 = ToSingle(acem1);
}

// Extruded-strip sections of 4 ft (TST), and for a strip or channel the
// channels of 4 ft with their type (ACHAN, CHAN). Returns the sections.
double TakeSectionsAndChannels(const TakeoffInputs& in, double tlenFt, Takeoff& record) {
  const double tst = Fix(tlenFt / 4.0 + 0.99);
  record.TST = ToSingle(tst);
  const int tube = in.tubeIndex;
  if (in.installation == 0) {
    record.ACHAN = ToSingle(Fix(tlenFt / 4.0 + 0.99));
    if (tube <= 1) {
      const std::string suffix = in.exposureTempF > 410 ? " SS" : "";
      record.CHAN = (tube == 0 && in.pipeSizePos <= 1 ? "MCX-8" : "MCX-4") + suffix;
    } else {
      record.CHAN = "MCX-7";
    }
  } else {
    record.ACHAN = 0;
    record.CHAN = " ";
  }
  return tst;
}

// Banding: one band per foot of straight pipe, each the bundle circumference
// plus 3 in (a jacketed tube's bundle is wrapped two and a half times), plus
// bands at fittings; tie wire (TBAND, at least 20 ft) for the non-jacketed
// kinds; whole rolls of banding or fiber tape (ABAND, BAND).
void TakeBanding(const TakeoffInputs& in, Takeoff& record) {
  const bool jacketed = in.installation >= 2;
  const double S = in.bandingLengthFt;
  const double D = in.bundleDiameterIn;
  const double V = in.valves;
  const double P = in.pumps;
  double aband = jacketed ? Fix(S * (2.5 * 3.1416 * D + 3.0) / 12.0) : Fix(S * (3.1416 * D + 3.0) / 12.0);
  const double B = PerFitting(kFittingBandFt, in.fittingsRow);
  if (jacketed) {
    aband = Fix(aband + 2.0 * B * P + B * V);
    record.TBAND = 0;
  } else {
    aband = Fix(3.0 * aband / 4.0 + 2.0 * B * P + B * V);
    double tband = aband < 20.0 ? 20.0 : aband;
    if (in.units == UnitSystem::Metric) tband = HalfMetresFromFeet(tband);
    record.TBAND = ToSingle(tband);
  }
  double rollFt = 50.0;
  record.BAND = "HB2SS";
  if (jacketed) {
    rollFt = 108.0;
    record.BAND = "GF-1Q";
  } else if (in.tubeIndex >= 2) {
    rollFt = 100.0;
    record.BAND = "HB3SS";
  }
  record.ABAND = ToSingle(aband > 0.0 ? std::ceil(aband / rollFt) : 0.0);
}

// Tube fittings: crimp seals (CRS), unions at flanges and both sides of every
// valve and pump, and with pre-insulated tubing both ends of every
// sub-circuit (UNION); one trap station per sub-circuit and tracer (FRST);
// male connectors and tubing seal kits (MACO, FAK).
void TakeTubeFittings(const TakeoffInputs& in, double sections, Takeoff& record) {
  const bool jacketed = in.installation >= 2;
  const double V = in.valves;
  const double F = in.flanges;
  const double P = in.pumps;
  const double L = in.designPipeLengthFt;
  record.CRS = jacketed ? 0.0f : ToSingle(Fix(1.05 * (3.0 * sections + 2.0 * (V + P))));
  const bool preInsulated = in.wrapcore != 0.0f;
  const double unions =
      preInsulated ? F + 2.0 * (V + P + Fix(SubCircuits(L, in.trapDistanceFt, 0.999))) : F + 2.0 * (V + P);
  record.UNION = ToSingle(unions);
  const double frst = Int(SubCircuits(L, in.trapDistanceFt, 0.9999)) * in.tracerCount;
  record.FRST = ToSingle(frst);
  if (preInsulated) {
    record.MACO = ToSingle(2.0 * frst);
    record.FAK = ToSingle(jacketed ? frst : Int(frst * 4.0 / 6.0 + 0.9999));
  } else {
    record.MACO = 0;
    record.FAK = jacketed ? ToSingle(Int(frst * 2.0 / 6.0 + 0.9999)) : 0.0f;
  }
}

}  // namespace

Takeoff MaterialTakeoff(const TakeoffInputs& in, const Compound& compound) {
  Check(in);
  Takeoff record;
  const double tlenFt = TracerLengthFt(in.tracerCount, in.designPipeLengthFt);
  TakeCompound(in, tlenFt, compound, record);
  record.TSIZ = TubeSizeText(in.units, in.tubeIndex);
  const double sections = TakeSectionsAndChannels(in, tlenFt, record);
  record.TLEN = ToSingle(BillTracerLength(in.units, tlenFt));  // as the bill lists it
  TakeBanding(in, record);
  TakeTubeFittings(in, sections, record);
  record.SLEN = ToSingle(in.fittingsAllowanceFt);  // the fittings allowance of the design
  return record;
}

}  // namespace vst
