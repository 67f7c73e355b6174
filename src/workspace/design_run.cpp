// The design run of the main window. A pass reads the window's inputs,
// converts them to the English units of the engine, lets the engine compute
// the pass, stores what the pass read into the record and then, as the pass
// ended: shows its input error or failure; selects Troughline for a Fillet
// Trace that is too hot and starts again; runs the allowance step (on the
// first pass only), then selects the fallback of a jacketed tracer and starts
// again; or stores the results in the window's units and ends with the
// compound naming and the material take-off.
#include "workspace/design_run.h"

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "bom/allowances.h"
#include "bom/takeoff.h"
#include "circuit/allowance_step.h"
#include "core/legacy_math.h"
#include "core/units.h"
#include "engine/design_limits.h"
#include "engine/design_pass.h"
#include "engine/insulation_sizing.h"
#include "workspace/controls.h"

namespace vst {
namespace {

// Message texts of the run, as the user reads them.
constexpr const char* kShortfallWarning[] = {
    "The Minimum Maintenance Temperature is less then the input Maintenance",
    "Temperature.  Multiple Tracers, higher steam pressure, increased ",
    "insulation thickness or resistance may be required to achieve ",
    "the input Maintenance Temperature required.",
};
constexpr const char* kTrapDistanceNote =
    "NOTE: Due to the maximum trap distance value, this circuit length  should  be divided into equal "
    "sub-circuits,  each  to be individually supplied and trapped.";

std::string ShortfallWarningText() {
  std::string text;
  for (const char* part : kShortfallWarning) text += part;
  return text;
}

// The caption of TraceLb for the method of a design.
const char* TraceLabel(Installation installation) {
  switch (installation) {
    case Installation::Troughline:
      return "Troughline";
    case Installation::FilletTrace:
      return "Fillet Trace with";
    default:
      return "Coverlyn Type";
  }
}

enum class RunStep { Completed, Stopped, Failed, Restart };

class DesignRunPass {
 public:
  DesignRunPass(DesignHost& host, DesignRunState& state, std::optional<AllowanceResult>& allowance)
      : host_(host), state_(state), dialogs_(host.dialogs()), allowance_(allowance) {}

  RunStep Run();

 private:
  // Every message of the run is a system-modal information box.
  void Show(const std::string& text, const std::string& title) {
    Message m;
    m.text = text;
    m.title = title;
    m.icon = MsgIcon::Information;
    m.buttons = MsgButtons::Ok;
    m.systemModal = true;
    dialogs_.message(m);
  }
  RunStep Fail(const std::string& reason) {
    Show(CouldNotCompleteText(reason), kErrorTitle);
    return RunStep::Failed;
  }

  // A numeric field's value, empty when it holds no number a field can store.
  std::optional<double> Number(const std::string& text) const {
    auto value = ParseNumber(text, in_.decimalMark);
    if (value && !std::isfinite(ToSingle(*value))) return std::nullopt;
    return value;
  }
  // A temperature field in F (Metric fields are in C).
  std::optional<double> Fahrenheit(std::optional<double> t) const {
    if (!t || !metric_) return t;
    return RunFahrenheitFromCelsius(*t);
  }

  DesignPassInput PassInput(const DesignRecord* record) const;
  void StoreReadings(const DesignPassResult& pass, DesignRecord& rec) const;
  std::optional<RunStep> AllowanceStepOnFirstPass(const DesignPassResult& pass, DesignRecord& rec);
  DesignDisplay StoreResults(const DesignOutputs& out, DesignRecord& rec) const;
  TakeoffInputs TakeoffFor(const DesignOutputs& out) const;
  RunStep Finish(const DesignPassResult& pass, DesignRecord& rec);

  DesignHost& host_;
  DesignRunState& state_;
  Dialogs& dialogs_;
  // The allowance step's result, kept for the later passes of the run.
  std::optional<AllowanceResult>& allowance_;
  DesignInputs in_;
  bool metric_ = false;
  Installation installation_ = Installation::None;  // the method of Cab_In's position
  // The numeric fields as entered, read once per pass.
  std::optional<double> maintTemp_;
  std::optional<double> maxExposure_;
  std::optional<double> intermittent_;
  std::optional<double> pressure_;    // in the record's pressure unit
  std::optional<double> pipeLength_;  // ft / m
};

// The window's inputs in the engine's units. The record's stored pressure
// unit and insulation sizing say how to read the pressure and size the
// insulation (none without a record: the pass then ends at its first check).
DesignPassInput DesignRunPass::PassInput(const DesignRecord* record) const {
  DesignPassInput p;
  p.units = in_.units;
  p.internalMode = in_.internalMode;
  p.pressureUnit = PressureUnitFromStored(record != nullptr ? record->PRESSURE : 0);
  p.sizing = InsulationSizingFromStored(record != nullptr ? record->UNDER : 0);
  p.maintTempF = Fahrenheit(maintTemp_);
  p.pipeSizeListValue = Trim(in_.pipeSizeText).empty() ? std::optional<double>(0) : Number(in_.pipeSizeText);
  p.pipeSizePos = in_.pipeSizePos;
  p.insulationType = in_.insulationType;
  p.insulationThicknessPos = in_.insulationThickness;
  p.maxExposureF = Fahrenheit(maxExposure_);
  p.intermittentExposureF = Fahrenheit(intermittent_);
  if (pressure_) p.pressurePsig = PsigFrom(*pressure_, p.pressureUnit);
  p.installation = installation_;
  p.tubeIndex = in_.tubeSize;
  p.passesPos = in_.passes;
  p.minAmbientF = Fahrenheit(Number(in_.minAmbient));
  p.maxAmbientF = Fahrenheit(Number(in_.maxAmbient));
  p.tubeWall = Number(in_.tubeWallText);
  p.circuitLength = pipeLength_;
  return p;
}

// The inputs the record keeps as entered, as far as the pass read them.
void DesignRunPass::StoreReadings(const DesignPassResult& pass, DesignRecord& rec) const {
  const PassReadings& read = pass.readings;
  if (read.reportPipeSize) rec.ReportPipeSize = ToSingle(*read.reportPipeSize);
  if (read.insulationType) rec.INSTYPE = in_.insulationType;
  if (read.exposures) {
    rec.MAXEXP = ToSingle(*maxExposure_);
    rec.IntermittentExposure = ToSingle(*intermittent_);
  }
  if (read.steamPressure) rec.STEAMPRS = ToSingle(*pressure_);
  if (!read.compound.empty()) {
    rec.CEM = read.compound;
    rec.CEM1 = read.compound;
  }
  if (read.passes) rec.NUMPASS = in_.passes;
  // Above the Coverlyn limit the circuit bill cannot offer copper tubing.
  if (read.aboveCoverlynLimit && rec.SSFLAG < limits::kHighTemperatureMaterialOption) {
    rec.SSFLAG = limits::kHighTemperatureMaterialOption;
  }
}

RunStep DesignRunPass::Run() {
  state_.K90InUse = false;
  in_ = host_.readInputs();
  metric_ = in_.units == UnitSystem::Metric;
  installation_ = InstallationFromCode(in_.installation, in_.internalMode);
  maintTemp_ = Number(in_.maintTemp);
  maxExposure_ = Number(in_.maxExposure);
  intermittent_ = Number(in_.intermittentExposure);
  pressure_ = Number(in_.pressure);
  pipeLength_ = Number(in_.pipeLength);
  // The maintenance temperature is read before the record: its message
  // comes before a record number outside the set.
  const bool haveRecord = DesignSet::ValidIndex(in_.recordIndex);
  if (maintTemp_ && !haveRecord) return Fail("the record number is not 1 to 10");
  DesignRecord* rec = haveRecord ? &host_.record(in_.recordIndex) : nullptr;

  const DesignPassResult pass = RunDesignPass(PassInput(rec));
  state_.K90InUse = pass.k90InUse;
  if (rec != nullptr) StoreReadings(pass, *rec);
  switch (pass.end) {
    case PassEnd::Refused:
      Show(pass.message, pass.title);
      return RunStep::Stopped;
    case PassEnd::Failed:
      Show(pass.message, pass.title);
      return RunStep::Failed;
    case PassEnd::Redirected:
      Show(pass.message, pass.title);
      host_.selectInstallation(InstallationCode(pass.fallback, in_.internalMode));
      return RunStep::Restart;
    case PassEnd::FallsBack:
    case PassEnd::Designed:
      break;
  }
  if (const auto ended = AllowanceStepOnFirstPass(pass, *rec)) return *ended;
  if (pass.end == PassEnd::FallsBack) {
    host_.selectInstallation(InstallationCode(pass.fallback, in_.internalMode));
    Show(pass.message, pass.title);
    return RunStep::Restart;
  }
  return Finish(pass, *rec);
}

// The fittings and shoe dialogs, on the first pass only (and on any pass
// that has no allowance to reuse); later passes design with its lengths and
// counts. Ends the run when a dialog was closed or the allowance cannot be
// computed.
std::optional<RunStep> DesignRunPass::AllowanceStepOnFirstPass(const DesignPassResult& pass,
                                                               DesignRecord& rec) {
  if (state_.passCounter == 0 || !allowance_) {
    const InsulationFit& fit = pass.outputs.insulation;
    AllowanceInputs a;
    a.units = in_.units;
    a.decimalMark = in_.decimalMark;
    a.pipeLengthText = in_.pipeLength;
    a.pipeLength = ToSingle(*pipeLength_);
    a.riseText = in_.riseText;
    a.tubeSizePos = in_.tubeSize;
    a.insulationThicknessPos = in_.insulationThickness;
    a.pipeSizePos = in_.pipeSizePos;
    a.passesPos = in_.passes;
    a.installation = in_.installation;
    a.tubeIndex = in_.tubeSize;
    a.insulationRow = fit.position;
    a.tracedPipeDiameterIn = fit.effectiveDiameterIn;
    a.tracerAllowanceIn = fit.projectionIn;
    AllowanceResult result;
    try {
      result = RunAllowanceStep(a, rec, dialogs_);
    } catch (const std::invalid_argument&) {
      return Fail("the fittings allowance cannot be computed");
    }
    if (!result.completed) return RunStep::Stopped;  // a dialog was closed: no design
    if (!result.status.empty()) host_.setStatus(result.status);
    allowance_ = std::move(result);
  }
  state_.passCounter += 1;
  return std::nullopt;
}

// The outputs in the window's units: Metric temperatures in whole C, lengths
// truncated to tenths of a metre.
DesignDisplay DesignRunPass::StoreResults(const DesignOutputs& out, DesignRecord& rec) const {
  const int position = out.insulation.position;
  rec.TP1 = ToSingle(metric_ ? WholeCelsiusFromFahrenheit(out.minMaintainedTempF) : out.minMaintainedTempF);
  rec.TP2 = ToSingle(metric_ ? WholeCelsiusFromFahrenheit(out.maxMaintainedTempF) : out.maxMaintainedTempF);
  rec.VTR = ToSingle(metric_ ? TenthMetresFromFeet(out.riseFt) : out.riseFt);
  rec.COND = ToSingle(metric_ ? KgPerHrMetreFromLbPerHrFt(out.condensateLbHrFt) : out.condensateLbHrFt);
  rec.INSIZE = ToSingle(metric_ ? InsulationMetricSizeMm(position) : InsulationNominalSizeIn(position));
  rec.TDX = ToSingle(metric_ ? TenthMetresFromFeet(out.trapDistanceFt) : Int(out.trapDistanceFt));
  const double lossTenths = IntTenths(out.heatLossBtuHrFt);
  rec.LSWO = ToSingle(metric_ ? IntTenths(WattsPerMetreFromBtuPerHrFt(lossTenths)) : lossTenths);
  DesignDisplay display;
  display.maxMaintTemp = SingleText(rec.TP2);
  display.minMaintTemp = SingleText(rec.TP1);
  display.minMaintColor = ToSingle(*maintTemp_) > rec.TP1 ? kColorYellow : kColorWhite;
  display.rise = SingleText(rec.VTR);
  display.condensate = FixedText(rec.COND, 3);
  display.insulationSize = SingleText(rec.INSIZE);
  display.trapDistance = SingleText(rec.TDX);
  display.heatLoss = SingleText(rec.LSWO);
  return display;
}

// What the compound naming and the take-off read: the installation of this
// pass, the temperatures of the design and the allowance step's counts.
TakeoffInputs DesignRunPass::TakeoffFor(const DesignOutputs& out) const {
  TakeoffInputs takeoff;
  takeoff.units = in_.units;
  takeoff.internalMode = in_.internalMode;
  takeoff.installation = in_.installation;
  takeoff.tubeIndex = in_.tubeSize;
  takeoff.pipeSizePos = in_.pipeSizePos;
  takeoff.tracerCount = out.tracers;
  takeoff.exposureTempF = out.exposureTempF;
  takeoff.steamTempF = out.steamTempF;
  takeoff.intermittentExposureTempF = out.intermittentExposureTempF;
  takeoff.trapDistanceFt = out.trapDistanceFt;
  takeoff.bundleDiameterIn = out.insulation.effectiveDiameterIn;
  TakeAllowance(*allowance_, takeoff);
  return takeoff;
}

// A finished design: results, compound and tracer naming, total tracer
// length, material take-off, then the warnings about the results.
RunStep DesignRunPass::Finish(const DesignPassResult& pass, DesignRecord& rec) {
  const DesignOutputs& out = pass.outputs;
  DesignDisplay display = StoreResults(out, rec);
  const bool shortfall = display.minMaintColor == kColorYellow;
  const bool trapShorterThanCircuit =
      out.trapDistanceFt < StartDesignPipeLengthFt(in_.units, ToSingle(*pipeLength_));

  TakeoffInputs takeoff = TakeoffFor(out);
  ChooseCompound(takeoff, rec);
  display.traceLabel = TraceLabel(installation_);
  display.traceType = IsJacketed(installation_) ? rec.COVR : rec.CEM;
  // The design pipe length of every tracer plus 5 %.
  rec.TLEN = ToSingle(TracerLengthFt(out.tracers, allowance_->designPipeLengthFt));
  rec.HeatUpTime = 0;  // a maintenance design computes no heat-up time
  try {
    display.totalLength = MaterialTakeoff(takeoff, rec);  // rounds the total length for display
  } catch (const std::invalid_argument&) {
    return Fail("the material take-off cannot be computed");
  }
  // Results that are no finite numbers, or too large for their fields, are no design.
  if (const std::string_view output = UnrepresentableOutput(rec); !output.empty()) {
    DiscardOutputs(rec);
    return Fail("the result " + std::string(output) + " is not a number its field can hold");
  }

  host_.showResults(display);
  if (shortfall) Show(ShortfallWarningText(), kWarningTitle);
  if (trapShorterThanCircuit) Show(kTrapDistanceNote, kWarningTitle);
  return RunStep::Completed;
}

}  // namespace

DesignOutcome DesignRun(DesignHost& host, DesignRunState& state) {
  std::optional<AllowanceResult> allowance;
  for (int pass = 0; pass < limits::kMaxDesignPasses; ++pass) {
    DesignRunPass designPass(host, state, allowance);
    switch (designPass.Run()) {
      case RunStep::Completed:
        return DesignOutcome::Completed;
      case RunStep::Stopped:
        return DesignOutcome::Stopped;
      case RunStep::Failed:
        return DesignOutcome::Failed;
      case RunStep::Restart:
        break;
    }
  }
  Message m;
  m.text = CouldNotCompleteText("the installation method did not change as the fallback required");
  m.title = kErrorTitle;
  m.icon = MsgIcon::Information;
  m.systemModal = true;
  host.dialogs().message(m);
  return DesignOutcome::Failed;
}

}  // namespace vst
