// The design run (STSEL). One pass reads the window's inputs, converts them
// to English units, checks them in a fixed order, sizes the insulation, runs
// the three temperature cases and the trap distance, and either ends (an
// input error, a failure, a finished design) or selects a stronger
// installation method and asks for another pass.
#include "workspace/design_run.h"

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>

#include "bom/allowances.h"
#include "bom/takeoff.h"
#include "core/controls.h"
#include "core/legacy_math.h"
#include "core/units.h"
#include "engine/design_limits.h"
#include "engine/heat_transfer.h"
#include "engine/insulation_sizing.h"

namespace vst {
namespace {

// Message texts of the run, as the user reads them.
constexpr const char* kInputError = "Input Error";
constexpr const char* kWarning = "Warning";
constexpr const char* kError = "Error";

constexpr const char* kMetricPipeTooSmall = "Pipe Sizes smaller then 40mm not available for Troughline.";
constexpr const char* kEnglishPipeTooSmall = "Trough Line does not fit on Pipe Sizes smaller than 1.5''.";
constexpr const char* kExposureTooHigh = " Exposure temperature is too high for any QUORVEX cement.";
constexpr const char* kIntermittentTooHigh =
    "Intermittent Exposure Temp. is too high for any QUORVEX compound.";
constexpr const char* kTooManyPasses =
    "The number of passes exceed the Vaporix design limits for this pipe size.";
constexpr const char* kMinAmbientNotValid = " Min ambient not valid";
constexpr const char* kPressureKpa = "Steam pressure must be between 135 and 2169 kPa.";
constexpr const char* kPressureBarG = "Steam pressure must be between .35 and 20.68 bar g.";
constexpr const char* kPressurePsig = "Steam pressure must be between 5 and 300 psig.";
constexpr const char* kMaxAmbientNotAbove = " Max ambient must be greater than min ambient";
constexpr const char* kFilletTooHot =
    "Maximum temperature exposure or Steam temperature is too high for Fillet Trace. Troughline has been "
    "selected.";
constexpr const char* kDegree = "\xC2\xB0";  // U+00B0 in UTF-8
constexpr const char* kShortfallWarning[] = {
    "The Minimum Maintenance Temperature is less then the input Maintenance",
    "Temperature.  Multiple Tracers, higher steam pressure, increased ",
    "insulation thickness or resistance may be required to achieve ",
    "the input Maintenance Temperature required.",
};
constexpr const char* kTrapDistanceNote =
    "NOTE: Due to the maximum trap distance value, this circuit length  should  be divided into equal "
    "sub-circuits,  each  to be individually supplied and trapped.";
constexpr const char* kCouldNotComplete = "The design could not be completed for these inputs: ";

// Captions of the input fields, as error messages name them.
constexpr const char* kMaintTempField = "Maint. Temp.";
constexpr const char* kMaxExposureField = "Steam Out / Max. Process Temp.";
constexpr const char* kIntermittentField = "Intermittent Exposure Temp.";
constexpr const char* kPressureField = "Steam Pressure";
constexpr const char* kMaxAmbientField = "Max. Ambient";
constexpr const char* kPipeLengthField = "Pipe Length";
constexpr const char* kPipeSizeField = "Pipe Size";
constexpr const char* kWallField = "Tracer Wall Thickness";

// A pass through the run can fall back at most this many times (internal
// mode: YJ-2, YJ-1, YJ-0, Fillet Trace, Troughline); more passes mean the
// installation did not change as asked.
constexpr int kMaxPasses = 8;

std::string CoverlynLimitText() {
  return std::string("Coverlyn is limited to 406") + kDegree + "F (207" + kDegree +
         "C) exposure or steam temperature. Troughline has been selected.";
}

std::string ShortfallWarningText() {
  std::string text;
  for (const char* part : kShortfallWarning) text += part;
  return text;
}

enum class PassEnd { Completed, Stopped, Failed, Restart };

class DesignPass {
 public:
  DesignPass(DesignHost& host, DesignRunState& state, std::optional<AllowanceResult>& allowance)
      : host_(host), state_(state), dialogs_(host.dialogs()), allowance_(allowance) {}

  PassEnd Run();

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
  PassEnd Refuse(const std::string& text) {
    Show(text, kInputError);
    return PassEnd::Stopped;
  }
  PassEnd NotANumber(const char* field) { return Refuse(std::string(field) + " must be a number."); }
  PassEnd Fail(const std::string& reason) {
    Show(kCouldNotComplete + reason + ".", kError);
    return PassEnd::Failed;
  }

  std::optional<double> Number(const std::string& text) const {
    auto value = ParseNumber(text, in_.decimalMark);
    if (value && !std::isfinite(ToSingle(*value))) return std::nullopt;
    return value;
  }
  // A temperature field in degrees F (Metric fields are in C).
  double ToFahrenheit(double t) const { return metric_ ? RunFahrenheitFromCelsius(t) : t; }

  DesignHost& host_;
  DesignRunState& state_;
  Dialogs& dialogs_;
  // The allowance step's result, kept for the later passes of the run.
  std::optional<AllowanceResult>& allowance_;
  DesignInputs in_;
  bool metric_ = false;
};

PassEnd DesignPass::Run() {
  // 1. Inputs of this pass; the maintenance temperature.
  state_.K90InUse = false;
  in_ = host_.readInputs();
  metric_ = in_.units == UnitSystem::Metric;
  const auto maintTemp = Number(in_.maintTemp);
  if (!maintTemp) return NotANumber(kMaintTempField);
  const double maintTempF = ToFahrenheit(*maintTemp);
  if (!DesignSet::ValidIndex(in_.recordIndex)) return Fail("the record number is not 1 to 10");
  DesignRecord& rec = host_.record(in_.recordIndex);

  // 3. Pipe size. A blank list entry reads as 0: the sizes that Troughline
  // with a tube above 3/8 in cannot take.
  double pipeSizeText = 0;
  if (!Trim(in_.pipeSizeText).empty()) {
    const auto s = Number(in_.pipeSizeText);
    if (!s) return NotANumber(kPipeSizeField);
    pipeSizeText = *s;
  }
  if (pipeSizeText == 0) return Refuse(metric_ ? kMetricPipeTooSmall : kEnglishPipeTooSmall);
  double pipeIn = pipeSizeText;
  if (metric_) {
    const auto nominal = NominalPipeSizeIn(in_.pipeSizePos);
    if (!nominal) return Refuse("Pipe Size is not in the list.");
    pipeIn = *nominal;
    rec.ReportPipeSize = ToSingle(*MetricPipeSizeMm(in_.pipeSizePos));
  } else {
    rec.ReportPipeSize = ToSingle(pipeSizeText);
  }
  const auto pipeOd = PipeOutsideDiameterIn(pipeIn);  // 12. (looked up here: an unknown size ends the run)
  if (!pipeOd) return Refuse("Pipe Size is not in the list.");

  // 4. Insulation type and the exposure temperatures.
  rec.INSTYPE = in_.insulationType;
  const auto maxExposure = Number(in_.maxExposure);
  if (!maxExposure) return NotANumber(kMaxExposureField);
  const auto intermittent = Number(in_.intermittentExposure);
  if (!intermittent) return NotANumber(kIntermittentField);
  rec.MAXEXP = ToSingle(*maxExposure);
  rec.IntermittentExposure = ToSingle(*intermittent);
  double exposureF = ToFahrenheit(*maxExposure);
  const double intermittentF = ToFahrenheit(*intermittent);

  // 5.
  if (exposureF > 1250) return Refuse(kExposureTooHigh);

  // 6. Steam pressure in psig.
  const auto pressure = Number(in_.pressure);
  if (!pressure) return NotANumber(kPressureField);
  rec.STEAMPRS = ToSingle(*pressure);
  const double psig = PsigFrom(*pressure, rec.PRESSURE);

  // 7.
  const double steamF = SteamSaturationTemp(psig);

  // 8. Compound: the first whose limit none of the three temperatures exceeds.
  struct CompoundLimit {
    double limitF;
    const char* name;
  };
  constexpr CompoundLimit kCompounds[] = {{325, "E-50-C"}, {375, "E-55-C"}, {700, "K-30"}, {1832, "K-90"}};
  bool compoundChosen = false;
  for (const auto& c : kCompounds) {
    if (exposureF <= c.limitF && steamF <= c.limitF && intermittentF <= c.limitF) {
      rec.CEM = c.name;
      rec.CEM1 = c.name;
      state_.K90InUse = c.limitF == 1832;
      compoundChosen = true;
      break;
    }
  }
  // No compound takes an intermittent exposure above the last limit: such a
  // design is refused rather than left without a compound. (A steam
  // temperature beyond it comes from a pressure that step 17 refuses.)
  if (!compoundChosen && intermittentF > kCompounds[3].limitF) return Refuse(kIntermittentTooHigh);

  // 9. Installation and tube; the small Troughline runs in K-30 at least.
  const int code = in_.installation;
  const int tube = in_.tubeSize;
  const Installation installation = InstallationFromCode(code, in_.internalMode);
  if (installation == Installation::None) return Refuse("Tracer Installation is not in the list.");
  if (tube < 0 || tube > 3) return Refuse("Tracer Tubing is not in the list.");
  if (pipeIn < 1.5 && code == 0 && tube == 0 && exposureF < 700) exposureF = 700;

  // 10. Tube fit.
  if (pipeIn < 3 && tube == 3) {
    return Refuse(metric_ ? "Pipe too small for 20mm Tracer" : "Pipe too small for 3/4'' Tracer");
  }
  if (pipeIn < 2 && tube == 2) {
    return Refuse(metric_ ? "Pipe too small for 16mm Tracer" : "Pipe too small for 5/8'' Tracer");
  }
  if (pipeIn < 1.5 && tube == 1) {
    return Refuse(metric_ ? "Pipe too small for 12mm Tracer" : "Pipe too small for 1/2'' Tracer");
  }

  // 11. Passes.
  if (in_.passes < 0 || in_.passes > 7) return Refuse("Number of Passes is not in the list.");
  rec.NUMPASS = in_.passes;
  const int n = in_.passes + 1;
  const bool tooMany = (pipeIn <= 1.5 && n > 1 && !(code == 2 && tube != 1)) || (pipeIn < 2.5 && n > 2) ||
                       (pipeIn < 4 && n >= 4) || (pipeIn < 8 && n >= 5) || (pipeIn < 12 && n >= 7);
  if (tooMany) return Refuse(kTooManyPasses);

  // 13 to 16. Insulation around pipe and tracers.
  if (in_.insulationType < 0 || in_.insulationType > 6) return Refuse("InsulationType is not in the list.");
  if (in_.insulationThickness < 0 || in_.insulationThickness > 6) {
    return Refuse("Insulation Thickness is not in the list.");
  }
  const auto profile = TracerProfileFor(installation, tube, pipeIn);
  const auto sizing =
      SizeInsulation(*pipeOd, *profile, n, in_.insulationThickness, in_.units, rec.UNDER == 1);
  if (!sizing) return Fail("no insulation size fits the traced pipe");
  const Insulation insulation{in_.insulationType, sizing->innerDiameterIn, sizing->outerDiameterIn};

  // 17. Minimum ambient, then the pressure range.
  const auto minAmbient = Number(in_.minAmbient);
  if (!minAmbient || ToFahrenheit(*minAmbient) < -100) return Refuse(kMinAmbientNotValid);
  const double minAmbientF = ToFahrenheit(*minAmbient);
  if (!(psig >= 5 && psig <= 300)) {
    return Refuse(rec.PRESSURE == kKpa    ? kPressureKpa
                  : rec.PRESSURE == kBarG ? kPressureBarG
                                          : kPressurePsig);
  }

  // 18. Rise and steam at 90 and 95 % of the pressure.
  const double riseFt = 0.15 * psig;
  const double latentHeat = LatentHeat(steamF);
  const double steam90F = SteamSaturationTemp(0.9 * psig);
  const double steam95F = SteamSaturationTemp(0.95 * psig);

  // 19. Above 406 F the bill's material option cannot stay below 2.
  const bool above406 = steamF > 406 || exposureF > 406;
  if (above406 && rec.SSFLAG < 2) rec.SSFLAG = 2;

  // 20. Fillet Trace limit.
  if (code == 1 && (steamF > 375 || exposureF > 375)) {
    Show(kFilletTooHot, kInputError);
    host_.selectInstallation(0);
    return PassEnd::Restart;
  }

  const double conductance =
      TotalConductance(TracerConductance(code, pipeIn, tube, in_.internalMode, state_.K90InUse), n);

  // 21. Minimum maintained temperature.
  const PipeBalance minimum =
      PipeTemperatureBalance(BalanceCase::MinimumMaintained, steam90F, minAmbientF, conductance, insulation);
  if (!minimum.converged) return Fail("the minimum maintained temperature does not balance");
  const double tp1F = StoredMinimumMaintainedTemp(minimum.pipeTempF, code);

  // 22. Design heat loss, condensate and trap distance.
  const PipeBalance loss =
      PipeTemperatureBalance(BalanceCase::DesignHeatLoss, steam95F, minAmbientF, conductance, insulation);
  if (!loss.converged) return Fail("the design heat loss does not balance");
  const double heatPerTracer = HeatPerTracer(loss.heatLossBtuHrFt, n);
  const double condensate = CondensateLoad(loss.heatLossBtuHrFt, n, latentHeat);
  const auto wall = Number(in_.tubeWallText);
  if (!wall) return NotANumber(kWallField);
  const TrapDistanceResult trap = TrapDistance(heatPerTracer, psig, tube, *wall, metric_);
  if (!trap.converged || !std::isfinite(condensate)) return Fail("the trap distance does not converge");

  // 23. Maximum ambient and the maximum maintained temperature.
  const auto maxAmbient = Number(in_.maxAmbient);
  if (!maxAmbient) return NotANumber(kMaxAmbientField);
  const double maxAmbientF = ToFahrenheit(*maxAmbient);
  if (!(maxAmbientF > minAmbientF)) return Refuse(kMaxAmbientNotAbove);
  const PipeBalance maximum =
      PipeTemperatureBalance(BalanceCase::MaximumMaintained, steamF, maxAmbientF, conductance, insulation);
  if (!maximum.converged) return Fail("the maximum maintained temperature does not balance");

  // The circuit length, read before the allowance dialogs ask about it.
  const auto pipeLength = Number(in_.pipeLength);
  if (!pipeLength) return NotANumber(kPipeLengthField);
  if (!(*pipeLength > 0)) return Refuse("Pipe Length must be greater than 0.");
  if (auto refusal = PipeLengthRefusal(*pipeLength, in_.units)) return Refuse(*refusal);

  // 24. Allowance step, on the first pass only (and on any pass that has no
  // allowance to reuse); later passes design with its lengths and counts.
  if (state_.passCounter == 0 || !allowance_) {
    AllowanceInputs a;
    a.units = in_.units;
    a.decimalMark = in_.decimalMark;
    a.pipeLengthText = in_.pipeLength;
    a.pipeLength = ToSingle(*pipeLength);
    a.riseText = in_.riseText;
    a.tubeSizePos = in_.tubeSize;
    a.insulationThicknessPos = in_.insulationThickness;
    a.pipeSizePos = in_.pipeSizePos;
    a.passesPos = in_.passes;
    a.installation = code;
    a.tubeIndex = tube;
    a.insulationRow = sizing->position;
    a.tracedPipeDiameterIn = sizing->effectiveDiameterIn;
    a.tracerAllowanceIn = sizing->projectionIn;
    AllowanceResult result;
    try {
      result = RunAllowanceStep(a, rec, dialogs_);
    } catch (const std::invalid_argument&) {
      return Fail("the fittings allowance cannot be computed");
    }
    if (!result.completed) return PassEnd::Stopped;  // a dialog was closed: no design
    if (!result.status.empty()) host_.setStatus(result.status);
    allowance_ = std::move(result);
  }
  state_.passCounter += 1;
  const AllowanceResult& allowance = *allowance_;

  // 25. Fallback of a jacketed tracer.
  if (IsJacketedCode(code)) {
    if (tp1F < maintTempF) {
      int next = 0;
      std::string text;
      const bool large = pipeIn >= 2;
      switch (installation) {
        case Installation::YJ2:
          next = in_.internalMode ? 3 : 2;
          text = "YJ-2 could not maintain desired temperature. YJ-1 has been selected.";
          break;
        case Installation::YJ1:
          if (in_.internalMode) {
            next = 2;
            text = "YJ-1 could not maintain desired temperature. YJ-0 has been selected.";
          } else {
            next = large ? 0 : 1;
            text = large ? "YJ-1 could not maintain desired temperature. Trough Line has been selected."
                         : "YJ-1 could not maintain desired temperature. Fillet Trace has been selected.";
          }
          break;
        default:  // YJ-0
          next = large ? 0 : 1;
          text = large ? "YJ-0 could not maintain desired temperature. Trough Line has been selected."
                       : "YJ-0 could not maintain desired temperature. Fillet Trace has been selected.";
          break;
      }
      host_.selectInstallation(next);
      Show(text, "");
      return PassEnd::Restart;
    }
    if (above406) {
      host_.selectInstallation(0);
      Show(CoverlynLimitText(), "");
      return PassEnd::Restart;
    }
  }

  // 26. Results, in the units of the window.
  DesignDisplay display;
  rec.TP1 = ToSingle(metric_ ? WholeCelsiusFromFahrenheit(tp1F) : tp1F);
  rec.TP2 = ToSingle(metric_ ? WholeCelsiusFromFahrenheit(maximum.pipeTempF) : maximum.pipeTempF);
  rec.VTR = ToSingle(metric_ ? TenthMetresFromFeet(riseFt) : riseFt);
  rec.COND = ToSingle(metric_ ? condensate * 1.49 : condensate);
  rec.INSIZE = ToSingle(metric_ ? InsulationMetricSizeMm(sizing->position)
                                : InsulationNominalSizeIn(sizing->position));
  rec.TDX = ToSingle(metric_ ? TenthMetresFromFeet(trap.lengthFt) : Int(trap.lengthFt));
  const double lossTenths = IntTenths(loss.heatLossBtuHrFt);
  rec.LSWO = ToSingle(metric_ ? IntTenths(lossTenths * 0.9613535) : lossTenths);
  const bool shortfall = ToSingle(*maintTemp) > rec.TP1;
  display.maxMaintTemp = SingleText(rec.TP2);
  display.minMaintTemp = SingleText(rec.TP1);
  display.minMaintColor = shortfall ? kColorYellow : kColorWhite;
  display.rise = SingleText(rec.VTR);
  display.condensate = FixedText(rec.COND, 3);
  display.insulationSize = SingleText(rec.INSIZE);
  display.trapDistance = SingleText(rec.TDX);
  display.heatLoss = SingleText(rec.LSWO);
  const bool trapShorterThanCircuit =
      trap.lengthFt < StartDesignPipeLengthFt(in_.units, ToSingle(*pipeLength));

  // 27. Compound and tracer naming, for the installation of this pass.
  TakeoffInputs takeoff;
  takeoff.units = in_.units;
  takeoff.internalMode = in_.internalMode;
  takeoff.installation = code;
  takeoff.tubeIndex = tube;
  takeoff.pipeSizePos = in_.pipeSizePos;
  takeoff.tracerCount = n;
  takeoff.exposureTempF = exposureF;
  takeoff.steamTempF = steamF;
  takeoff.intermittentExposureTempF = intermittentF;
  takeoff.trapDistanceFt = trap.lengthFt;
  takeoff.bundleDiameterIn = sizing->effectiveDiameterIn;
  TakeAllowance(allowance, takeoff);
  ChooseCompound(takeoff, rec);
  if (code == 0) {
    display.traceLabel = "Troughline";
  } else if (code == 1) {
    display.traceLabel = "Fillet Trace with";
  } else {
    display.traceLabel = "Coverlyn Type";
  }
  display.traceType = IsJacketedCode(code) ? rec.COVR : rec.CEM;

  // 28. Total tracer length: the design pipe length of every tracer plus 5 %.
  rec.TLEN = ToSingle(TracerLengthFt(n, allowance.designPipeLengthFt));

  // 29. No heat-up time in a maintenance design.
  rec.HeatUpTime = 0;

  // 30. Material take-off, which rounds the total length for display.
  try {
    display.totalLength = MaterialTakeoff(takeoff, rec);
  } catch (const std::invalid_argument&) {
    return Fail("the material take-off cannot be computed");
  }
  // Results that are no finite numbers, or too large for their fields, are no design.
  if (const std::string_view output = UnrepresentableOutput(rec); !output.empty()) {
    DiscardOutputs(rec);
    return Fail("the result " + std::string(output) + " is not a number its field can hold");
  }

  host_.showResults(display);
  if (shortfall) Show(ShortfallWarningText(), kWarning);
  if (trapShorterThanCircuit) Show(kTrapDistanceNote, kWarning);
  return PassEnd::Completed;
}

}  // namespace

DesignOutcome DesignRun(DesignHost& host, DesignRunState& state) {
  std::optional<AllowanceResult> allowance;
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    DesignPass designPass(host, state, allowance);
    switch (designPass.Run()) {
      case PassEnd::Completed:
        return DesignOutcome::Completed;
      case PassEnd::Stopped:
        return DesignOutcome::Stopped;
      case PassEnd::Failed:
        return DesignOutcome::Failed;
      case PassEnd::Restart:
        break;
    }
  }
  Message m;
  m.text =
      std::string(kCouldNotComplete) + "the installation method did not change as the fallback required.";
  m.title = kError;
  m.icon = MsgIcon::Information;
  m.systemModal = true;
  host.dialogs().message(m);
  return DesignOutcome::Failed;
}

}  // namespace vst
