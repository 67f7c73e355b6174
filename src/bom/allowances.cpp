#include "bom/allowances.h"

#include <array>

#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {
namespace {

// Extra tracer length for one valve (ft), by row 1..31 of the per-fitting
// tables; a pump takes twice a valve's allowance. Variant 1: 3/8 in tube in
// a channel, strip or fillet. Variant 2: 1/2 in tube, and 3/8 in jacketed.
// Variant 3: 5/8 in tube, and 1/2 in with installation code 2.
// The 3/4 in tube has no variant of its own; it takes variant 3, the 5/8 in
// values: the allowance falls as the tube grows, and the stiffer 3/4 in tube
// cannot loop tighter than the 5/8 in one, so the 5/8 in loop lengths are the
// smallest an estimator can defend without inventing a shorter loop.
constexpr std::array<std::array<double, kFittingsRows>, 3> kValveAllowanceFt = {{
    {0,  0,  3,  3,  3,  5,  5,  7,  7,  10, 10, 10, 15, 15, 20, 20,
     25, 25, 30, 30, 35, 35, 40, 40, 45, 45, 50, 50, 50, 50, 60},
    {0,  0,  0,  2,  2,  4,  4,  5,  5,  7,  7,  7,  11, 11, 15, 15,
     20, 20, 25, 25, 35, 35, 40, 40, 45, 45, 50, 50, 50, 50, 60},
    {0,  0,  0,  0,  0,  0,  0,  0,  0,  6,  6,  6,  9,  9,  12, 12,
     14, 14, 20, 20, 28, 28, 32, 32, 35, 35, 40, 40, 40, 40, 50},
}};

}  // namespace

int FittingsRow(int insulationRow, double tracedPipeDiameterIn, double tracerAllowanceIn) {
  const double t = tracerAllowanceIn;
  int step = 0;
  if (tracedPipeDiameterIn >= 5.0) {
    step = t <= 1.0 ? 1 : t <= 2.0 ? 2 : 3;
  } else {
    if (!(t <= 2.0)) return kNoFittingsRow;  // also a NaN allowance
    step = t <= 0.5 ? 1 : t <= 1.0 ? 2 : t <= 1.5 ? 3 : 4;
  }
  // The largest pipes (30 and 36 in) step back from insulation rows beyond
  // the tables; they take the last row.
  const long row = static_cast<long>(insulationRow) - step;
  if (row < 1) return kNoFittingsRow;
  if (row > kFittingsRows) return kFittingsRows;
  return static_cast<int>(row);
}

int ValveAllowanceVariant(int tubeIndex, int installation) {
  switch (tubeIndex) {
    case 0:
      return installation >= 2 ? 2 : 1;
    case 1:
      return installation == 2 ? 3 : 2;
    case 2:
    case 3:  // 3/4 in: the 5/8 in values (see the table)
      return 3;
    default:
      return 0;
  }
}

double ValveAllowanceFt(int variant, int row) {
  if (variant < 1 || variant > 3 || row < 1 || row > kFittingsRows) return 0.0;
  return kValveAllowanceFt[static_cast<std::size_t>(variant - 1)][static_cast<std::size_t>(row - 1)];
}

double AddShoeAllowance(UnitSystem units, double total, double shoeLength, double shoeCount) {
  const bool metric = units == UnitSystem::Metric;
  const double length = metric ? shoeLength / 1000.0 : shoeLength / 12.0;  // m / ft
  const double bend = metric ? 0.17 : 0.5;                                 // m / ft per shoe
  return IntTenths(total + RoundHalfEven(shoeCount) * (bend + 2.0 * length));
}

double StartDesignPipeLengthFt(UnitSystem units, float pipeLength) {
  const double length = pipeLength;
  return units == UnitSystem::Metric ? FeetFromMetres(length) : length;
}

bool AllowanceAlreadyIncluded(int allowanceIncluded, int tracerCount) {
  return allowanceIncluded == kAllowanceIncludedYes && tracerCount == 1;
}

AllowanceResult ComputeAllowance(const AllowanceInputs& in, const PipeFormAnswer& answer,
                                 double shoeTotalFt) {
  const int tracers = in.passesPos + 1;
  AllowanceResult result;
  result.designPipeLengthFt = StartDesignPipeLengthFt(in.units, in.pipeLength);
  result.valves = answer.valves;
  result.flanges = answer.flanges;
  result.pumps = answer.pumps;
  result.wrapcore = answer.wrapcore;

  result.fittingsRow = FittingsRow(in.insulationRow, in.tracedPipeDiameterIn, in.tracerAllowanceIn);
  result.valveAllowanceFt =
      ValveAllowanceFt(ValveAllowanceVariant(in.tubeIndex, in.installation), result.fittingsRow);
  const double a = result.valveAllowanceFt;
  const double valveFt = static_cast<double>(answer.valves) * a;
  const double pumpFt = 2.0 * a * static_cast<double>(answer.pumps);
  const double flangeFt = static_cast<double>(answer.flanges) * kFlangeAllowanceFt;

  if (AllowanceAlreadyIncluded(answer.allowanceIncluded, tracers)) {
    // The entered length already holds the loops: the straight pipe that
    // takes bands is the length without them, and never less than none
    // (loops longer than the whole entered length leave no straight pipe).
    result.fittingsAllowanceFt = flangeFt + valveFt + pumpFt;
    const double straightFt = result.designPipeLengthFt - result.fittingsAllowanceFt;
    result.slenFt = ToSingle(straightFt > 0.0 ? straightFt : 0.0);
  } else {
    result.shoeTotalFt = shoeTotalFt;
    result.fittingsAllowanceFt = pumpFt + result.shoeTotalFt + flangeFt + valveFt;
    // The allowance is shared among the tracers; the total tracer length
    // (tracers x design pipe length) then holds it once.
    result.designPipeLengthFt += result.fittingsAllowanceFt / tracers;
    result.slenFt = ToSingle(result.designPipeLengthFt);
  }
  result.completed = true;
  result.status = "Design created";
  return result;
}

}  // namespace vst
