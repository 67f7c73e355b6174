#include "circuit/allowance_step.h"

#include <cmath>
#include <stdexcept>

#include "core/legacy_math.h"

namespace vst {

AllowanceResult RunAllowanceStep(const AllowanceInputs& in, DesignRecord& record,
                                 AllowanceQuestions& questions) {
  if (!std::isfinite(in.pipeLength) || in.pipeLength < 0.0f) {
    throw std::invalid_argument("pipe length must be a length of 0 or more");
  }
  if (in.tubeIndex < 0 || in.tubeIndex > 3) throw std::invalid_argument("tube size index outside 0..3");
  if (in.passesPos < 0) throw std::invalid_argument("negative passes position");
  const int tracers = in.passesPos + 1;

  AllowanceResult result;
  result.designPipeLengthFt = StartDesignPipeLengthFt(in.units, in.pipeLength);
  record.SLEN = ToSingle(IntTenths(result.designPipeLengthFt));
  result.slenFt = record.SLEN;

  PipeFormSetup setup;
  setup.units = in.units;
  setup.pipeLengthText = in.pipeLengthText;
  setup.VALN = record.VALN;
  setup.FLNO = record.FLNO;
  setup.NOPX = record.NOPX;
  setup.WCTB = record.WCTB;
  setup.allowanceIncluded = record.AllowanceIncluded;
  setup.showRecordedAnswer = ShowsRecordedAnswer(in.riseText, tracers);
  setup.decimalMark = in.decimalMark;
  const std::optional<PipeFormAnswer> accepted = questions.pipeForm(setup);
  if (!accepted) return result;

  const PipeFormAnswer& answer = *accepted;
  record.AllowanceIncluded = answer.allowanceIncluded;
  record.TRACETUB = in.tubeSizePos;
  record.INSTHK = in.insulationThicknessPos;
  record.PIPESIZE = in.pipeSizePos;
  record.NUMPASS = in.passesPos;
  record.VALN = answer.valves;
  record.FLNO = answer.flanges;
  record.NOPX = answer.pumps;
  record.WCTB = answer.wrapcore;
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
    record.SLEN = ToSingle(straightFt > 0.0 ? straightFt : 0.0);
  } else {
    ShoeFormSetup shoeSetup;
    shoeSetup.units = in.units;
    shoeSetup.shoeAllowance = record.ShoeAllowance;
    shoeSetup.decimalMark = in.decimalMark;
    const std::optional<ShoeFormAnswer> shoes = questions.shoeForm(shoeSetup);
    if (!shoes) return result;
    record.ShoeAllowance = shoes->total;
    result.shoeTotalFt = shoes->totalFt;
    result.fittingsAllowanceFt = pumpFt + result.shoeTotalFt + flangeFt + valveFt;
    // The allowance is shared among the tracers; the total tracer length
    // (tracers x design pipe length) then holds it once.
    result.designPipeLengthFt += result.fittingsAllowanceFt / tracers;
    record.SLEN = ToSingle(result.designPipeLengthFt);
  }
  result.slenFt = record.SLEN;
  result.completed = true;
  result.status = "Design created";
  return result;
}

bool ShowsRecordedAnswer(std::string_view riseText, int tracerCount) {
  return !riseText.empty() || tracerCount == 1;
}

}  // namespace vst
