#include "circuit/allowance_step.h"

#include <cmath>
#include <stdexcept>

#include "core/legacy_math.h"

namespace vst {

AllowanceStep AskAllowances(const AllowanceInputs& in, const AllowanceRecorded& recorded,
                            AllowanceQuestions& questions) {
  if (!std::isfinite(in.pipeLength) || in.pipeLength < 0.0f) {
    throw std::invalid_argument("pipe length must be a length of 0 or more");
  }
  if (in.tubeIndex < 0 || in.tubeIndex > 3) throw std::invalid_argument("tube size index outside 0..3");
  if (in.passesPos < 0) throw std::invalid_argument("negative passes position");
  const int tracers = in.passesPos + 1;

  AllowanceStep step;
  step.startSlenFt = ToSingle(IntTenths(StartDesignPipeLengthFt(in.units, in.pipeLength)));
  PipeFormSetup setup;
  setup.units = in.units;
  setup.pipeLengthText = in.pipeLengthText;
  setup.VALN = recorded.fittings.valves;
  setup.FLNO = recorded.fittings.flanges;
  setup.NOPX = recorded.fittings.pumps;
  setup.WCTB = recorded.fittings.wrapcore;
  setup.allowanceIncluded = recorded.fittings.allowanceIncluded;
  setup.showRecordedAnswer = ShowsRecordedAnswer(in.riseText, tracers);
  setup.decimalMark = in.decimalMark;
  step.fittings = questions.pipeForm(setup);
  if (!step.fittings) return step;
  step.tubeSize = in.tubeSizePos;
  step.insulationThickness = in.insulationThicknessPos;
  step.pipeSize = in.pipeSizePos;
  step.passes = in.passesPos;

  double shoeTotalFt = 0;
  if (!AllowanceAlreadyIncluded(step.fittings->allowanceIncluded, tracers)) {
    ShoeFormSetup shoeSetup;
    shoeSetup.units = in.units;
    shoeSetup.shoeAllowance = recorded.shoeAllowance;
    shoeSetup.decimalMark = in.decimalMark;
    const std::optional<ShoeFormAnswer> shoes = questions.shoeForm(shoeSetup);
    if (!shoes) return step;
    step.shoeAllowance = shoes->total;
    shoeTotalFt = shoes->totalFt;
  }
  step.lengths = ComputeAllowance(in, *step.fittings, shoeTotalFt);
  return step;
}

bool ShowsRecordedAnswer(std::string_view riseText, int tracerCount) {
  return !riseText.empty() || tracerCount == 1;
}

}  // namespace vst
