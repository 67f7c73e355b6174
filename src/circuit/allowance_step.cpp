#include "circuit/allowance_step.h"

#include <cmath>
#include <stdexcept>

#include "core/legacy_math.h"

namespace vst {

AllowanceResult RunAllowanceStep(const AllowanceInputs& in, DesignRecord& record,
                                 AllowanceQuestions& dialogs) {
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
  const std::optional<PipeFormAnswer> accepted = dialogs.pipeForm(setup);
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

  double shoeTotalFt = 0;
  if (!AllowanceAlreadyIncluded(answer.allowanceIncluded, tracers)) {
    ShoeFormSetup shoeSetup;
    shoeSetup.units = in.units;
    shoeSetup.shoeAllowance = record.ShoeAllowance;
    shoeSetup.decimalMark = in.decimalMark;
    const std::optional<ShoeFormAnswer> shoes = dialogs.shoeForm(shoeSetup);
    if (!shoes) return result;
    record.ShoeAllowance = shoes->total;
    shoeTotalFt = shoes->totalFt;
  }
  result = ComputeAllowance(in, answer, shoeTotalFt);
  record.SLEN = result.slenFt;
  return result;
}

bool ShowsRecordedAnswer(std::string_view riseText, int tracerCount) {
  return !riseText.empty() || tracerCount == 1;
}

}  // namespace vst
