// One pass of a circuit design as a chain of named steps. Each step reads
// what it needs, checks it and either computes its part or ends the pass
// with its message; the checks run in the order the user has always seen
// their messages.
#include "engine/design_pass.h"

#include <cmath>
#include <utility>

#include "engine/design_limits.h"

namespace vst {
namespace {

// Message texts of a pass, as the user reads them.
constexpr const char* kPipeNotInList = "Pipe Size is not in the list.";
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
constexpr const char* kCircuitLengthNotPositive = "Pipe Length must be greater than 0.";
constexpr const char* kFilletTooHot =
    "Maximum temperature exposure or Steam temperature is too high for Fillet Trace. Troughline has been "
    "selected.";
constexpr const char* kDegree = "\xC2\xB0";  // U+00B0 in UTF-8
constexpr const char* kCouldNotComplete = "The design could not be completed for these inputs: ";

// Captions of the input fields, as the messages about them name them.
constexpr const char* kMaintTempField = "Maint. Temp.";
constexpr const char* kMaxExposureField = "Steam Out / Max. Process Temp.";
constexpr const char* kIntermittentField = "Intermittent Exposure Temp.";
constexpr const char* kPressureField = "Steam Pressure";
constexpr const char* kMaxAmbientField = "Max. Ambient";
constexpr const char* kPipeLengthField = "Pipe Length";
constexpr const char* kPipeSizeField = "Pipe Size";
constexpr const char* kWallField = "Tracer Wall Thickness";

std::string CoverlynLimitText() {
  return std::string("Coverlyn is limited to 406") + kDegree + "F (207" + kDegree +
         "C) exposure or steam temperature. Troughline has been selected.";
}

const char* PressureRangeText(PressureUnit unit) {
  switch (unit) {
    case PressureUnit::Kpa:
      return kPressureKpa;
    case PressureUnit::BarG:
      return kPressureBarG;
    case PressureUnit::Psig:
      break;
  }
  return kPressurePsig;
}

// The method a jacketed tracer falls back to when it cannot hold the
// maintenance temperature, with the message that says so: one step down the
// jacketed types, then Troughline on a pipe of 2 in and up, Fillet Trace on
// a smaller one.
struct JacketedFallback {
  Installation next;
  const char* message;
};
JacketedFallback FallbackFor(Installation installation, bool internalMode, double pipeIn) {
  const bool large = pipeIn >= limits::kTroughlineFallbackPipeIn;
  switch (installation) {
    case Installation::YJ2:
      return {Installation::YJ1, "YJ-2 could not maintain desired temperature. YJ-1 has been selected."};
    case Installation::YJ1:
      if (internalMode) {
        return {Installation::YJ0, "YJ-1 could not maintain desired temperature. YJ-0 has been selected."};
      }
      if (large) {
        return {Installation::Troughline,
                "YJ-1 could not maintain desired temperature. Trough Line has been selected."};
      }
      return {Installation::FilletTrace,
              "YJ-1 could not maintain desired temperature. Fillet Trace has been selected."};
    default:  // YJ-0
      if (large) {
        return {Installation::Troughline,
                "YJ-0 could not maintain desired temperature. Trough Line has been selected."};
      }
      return {Installation::FilletTrace,
              "YJ-0 could not maintain desired temperature. Fillet Trace has been selected."};
  }
}

class DesignPass {
 public:
  explicit DesignPass(const DesignPassInput& input)
      : in_(input), metric_(input.units == UnitSystem::Metric) {}

  DesignPassResult Run() {
    // Each step returns false when it has ended the pass.
    const bool reachedTheEnd =
        ReadMaintenanceTemperature() && ReadPipeSize() && ReadExposureTemperatures() &&
        CheckExposureLimit() && ReadSteamPressure() && ChooseCompoundFromTemperatures() &&
        CheckInstallationAndTube() && CheckTubeFitsPipe() && CheckTracerCount() &&
        SizeInsulationAroundTracers() && CheckMinimumAmbient() && CheckPressureRange() && SteamConditions() &&
        CheckFilletLimit() && TracerConductanceIntoPipe() && MinimumMaintainedTemperature() &&
        DesignHeatLossAndTrapDistance() && MaximumMaintainedTemperature() && CheckCircuitLength();
    if (reachedTheEnd) DecideFallback();
    return std::move(result_);
  }

 private:
  bool End(PassEnd end, std::string message, const char* title) {
    result_.end = end;
    result_.message = std::move(message);
    result_.title = title;
    return false;
  }
  bool Refuse(std::string message) { return End(PassEnd::Refused, std::move(message), kInputErrorTitle); }
  bool NotANumber(const char* field) { return Refuse(std::string(field) + " must be a number."); }
  bool Fail(std::string_view reason) {
    return End(PassEnd::Failed, CouldNotCompleteText(reason), kErrorTitle);
  }

  bool ReadMaintenanceTemperature() {
    if (!in_.maintTempF) return NotANumber(kMaintTempField);
    return true;
  }

  // The nominal pipe size. A blank list entry (the sizes that Troughline with
  // a tube above 3/8 in cannot take) reads as 0.
  bool ReadPipeSize() {
    if (!in_.pipeSizeListValue) return NotANumber(kPipeSizeField);
    if (*in_.pipeSizeListValue == 0)
      return Refuse(metric_ ? limits::kTroughlineSmallPipeMetric : limits::kTroughlineSmallPipeEnglish);
    pipeIn_ = *in_.pipeSizeListValue;
    if (metric_) {
      const auto nominal = NominalPipeSizeIn(in_.pipeSizePos);
      if (!nominal) return Refuse(kPipeNotInList);
      pipeIn_ = *nominal;
      result_.readings.reportPipeSize = *MetricPipeSizeMm(in_.pipeSizePos);
    } else {
      result_.readings.reportPipeSize = pipeIn_;
    }
    const auto outsideDiameter = PipeOutsideDiameterIn(pipeIn_);
    if (!outsideDiameter) return Refuse(kPipeNotInList);
    pipeOdIn_ = *outsideDiameter;
    return true;
  }

  bool ReadExposureTemperatures() {
    result_.readings.insulationType = true;
    if (!in_.maxExposureF) return NotANumber(kMaxExposureField);
    if (!in_.intermittentExposureF) return NotANumber(kIntermittentField);
    result_.readings.exposures = true;
    exposureF_ = *in_.maxExposureF;
    intermittentF_ = *in_.intermittentExposureF;
    return true;
  }

  bool CheckExposureLimit() {
    if (exposureF_ > limits::kMaxExposureF) return Refuse(kExposureTooHigh);
    return true;
  }

  bool ReadSteamPressure() {
    if (!in_.pressurePsig) return NotANumber(kPressureField);
    result_.readings.steamPressure = true;
    psig_ = *in_.pressurePsig;
    steamF_ = SteamSaturationTemp(psig_);
    return true;
  }

  // The first compound whose limit none of the three temperatures exceeds.
  // No compound takes an intermittent exposure above the last limit: such a
  // design is refused rather than left without a compound. (A steam
  // temperature beyond it comes from a pressure that the range check refuses.)
  bool ChooseCompoundFromTemperatures() {
    for (const auto& compound : limits::kCompounds) {
      if (exposureF_ <= compound.limitF && steamF_ <= compound.limitF && intermittentF_ <= compound.limitF) {
        result_.readings.compound = compound.name;
        result_.k90InUse = compound.k90;
        return true;
      }
    }
    if (intermittentF_ > limits::kCompounds.back().limitF) return Refuse(kIntermittentTooHigh);
    return true;
  }

  // The method and tube; Troughline with the 3/8 in tube on the smallest
  // pipes runs in a compound for 700 F at least.
  bool CheckInstallationAndTube() {
    if (in_.installation == Installation::None) return Refuse("Tracer Installation is not in the list.");
    if (in_.tubeIndex < 0 || in_.tubeIndex > 3) return Refuse("Tracer Tubing is not in the list.");
    if (pipeIn_ < limits::kSmallTroughlinePipeIn && in_.installation == Installation::Troughline &&
        in_.tubeIndex == 0 && exposureF_ < limits::kSmallTroughlineExposureF) {
      exposureF_ = limits::kSmallTroughlineExposureF;
    }
    return true;
  }

  bool CheckTubeFitsPipe() {
    if (const limits::TubeFit* fit = limits::TubeTooLargeFor(in_.tubeIndex, pipeIn_)) {
      return Refuse(metric_ ? fit->metricMessage : fit->englishMessage);
    }
    return true;
  }

  bool CheckTracerCount() {
    if (in_.passesPos < 0 || in_.passesPos >= limits::kMaxTracers) {
      return Refuse("Number of Passes is not in the list.");
    }
    result_.readings.passes = true;
    tracers_ = in_.passesPos + 1;
    if (tracers_ >
        limits::MostTracers(pipeIn_, InstallationCode(in_.installation, in_.internalMode), in_.tubeIndex)) {
      return Refuse(kTooManyPasses);
    }
    return true;
  }

  // The insulation size that takes the pipe with its tracers, and its
  // inner and outer diameters.
  bool SizeInsulationAroundTracers() {
    if (in_.insulationType < 0 || in_.insulationType > 6) return Refuse("InsulationType is not in the list.");
    if (in_.insulationThicknessPos < 0 || in_.insulationThicknessPos > 6) {
      return Refuse("Insulation Thickness is not in the list.");
    }
    const auto profile = TracerProfileFor(in_.installation, in_.tubeIndex, pipeIn_);
    const auto fit = SizeInsulation(pipeOdIn_, *profile, tracers_, in_.insulationThicknessPos, in_.units,
                                    in_.sizing == InsulationSizing::Minimal);
    if (!fit) return Fail("no insulation size fits the traced pipe");
    fit_ = *fit;
    insulation_ = Insulation{in_.insulationType, fit_.innerDiameterIn, fit_.outerDiameterIn};
    return true;
  }

  bool CheckMinimumAmbient() {
    if (!in_.minAmbientF || *in_.minAmbientF < limits::kMinAmbientF) return Refuse(kMinAmbientNotValid);
    minAmbientF_ = *in_.minAmbientF;
    return true;
  }

  bool CheckPressureRange() {
    if (!(psig_ >= limits::kMinSteamPsig && psig_ <= limits::kMaxSteamPsig)) {
      return Refuse(PressureRangeText(in_.pressureUnit));
    }
    return true;
  }

  // The rise, the latent heat and the steam of the two cold cases, whose
  // supply is reduced by the line losses.
  bool SteamConditions() {
    riseFt_ = limits::kRiseFtPerPsig * psig_;
    latentHeat_ = LatentHeat(steamF_);
    steamMinimumCaseF_ = SteamSaturationTemp(limits::kMinimumCasePressureShare * psig_);
    steamHeatLossCaseF_ = SteamSaturationTemp(limits::kHeatLossCasePressureShare * psig_);
    result_.readings.aboveCoverlynLimit =
        steamF_ > limits::kCoverlynLimitF || exposureF_ > limits::kCoverlynLimitF;
    return true;
  }

  bool CheckFilletLimit() {
    if (in_.installation == Installation::FilletTrace &&
        (steamF_ > limits::kFilletLimitF || exposureF_ > limits::kFilletLimitF)) {
      result_.fallback = Installation::Troughline;
      return End(PassEnd::Redirected, kFilletTooHot, kInputErrorTitle);
    }
    return true;
  }

  // The conductance from all tracers into the pipe.
  bool TracerConductanceIntoPipe() {
    conductance_ = TotalConductance(
        TracerConductance(in_.installation, pipeIn_, in_.tubeIndex, result_.k90InUse), tracers_);
    return true;
  }

  bool MinimumMaintainedTemperature() {
    const PipeBalance minimum = PipeTemperatureBalance(BalanceCase::MinimumMaintained, steamMinimumCaseF_,
                                                       minAmbientF_, conductance_, insulation_);
    if (!minimum.converged) return Fail("the minimum maintained temperature does not balance");
    out().minMaintainedTempF = StoredMinimumMaintainedTemp(minimum.pipeTempF, in_.installation);
    return true;
  }

  // The design heat loss, the condensate it makes in each tracer and the
  // longest tracer that can carry that condensate to its trap.
  bool DesignHeatLossAndTrapDistance() {
    const PipeBalance loss = PipeTemperatureBalance(BalanceCase::DesignHeatLoss, steamHeatLossCaseF_,
                                                    minAmbientF_, conductance_, insulation_);
    if (!loss.converged) return Fail("the design heat loss does not balance");
    out().heatLossBtuHrFt = loss.heatLossBtuHrFt;
    out().condensateLbHrFt = CondensateLoad(loss.heatLossBtuHrFt, tracers_, latentHeat_);
    if (!in_.tubeWall) return NotANumber(kWallField);
    const TrapDistanceResult trap = TrapDistance(HeatPerTracer(loss.heatLossBtuHrFt, tracers_), psig_,
                                                 in_.tubeIndex, *in_.tubeWall, metric_);
    if (!trap.converged || !std::isfinite(out().condensateLbHrFt)) {
      return Fail("the trap distance does not converge");
    }
    out().trapDistanceFt = trap.lengthFt;
    return true;
  }

  bool MaximumMaintainedTemperature() {
    if (!in_.maxAmbientF) return NotANumber(kMaxAmbientField);
    if (!(*in_.maxAmbientF > minAmbientF_)) return Refuse(kMaxAmbientNotAbove);
    const PipeBalance maximum = PipeTemperatureBalance(BalanceCase::MaximumMaintained, steamF_,
                                                       *in_.maxAmbientF, conductance_, insulation_);
    if (!maximum.converged) return Fail("the maximum maintained temperature does not balance");
    out().maxMaintainedTempF = maximum.pipeTempF;
    return true;
  }

  // The circuit length, which the allowance step then lengthens; beyond its
  // limit the tracer length outgrows its field.
  bool CheckCircuitLength() {
    if (!in_.circuitLength) return NotANumber(kPipeLengthField);
    if (!(*in_.circuitLength > 0)) return Refuse(kCircuitLengthNotPositive);
    if (auto refusal = PipeLengthRefusal(*in_.circuitLength, in_.units)) return Refuse(std::move(*refusal));
    return true;
  }

  // A design that reached its end: a jacketed tracer that cannot hold the
  // maintenance temperature, or runs hotter than Coverlyn withstands, falls
  // back to a stronger method; Troughline and Fillet Trace never do.
  void DecideFallback() {
    DesignOutputs& o = out();
    o.tracers = tracers_;
    o.insulation = fit_;
    o.riseFt = riseFt_;
    o.exposureTempF = exposureF_;
    o.steamTempF = steamF_;
    o.intermittentExposureTempF = intermittentF_;
    o.minimumCaseSteamTempF = steamMinimumCaseF_;
    o.totalConductance = conductance_;
    o.pipeOutsideDiameterIn = pipeOdIn_;
    result_.end = PassEnd::Designed;
    if (!IsJacketed(in_.installation)) return;
    if (o.minMaintainedTempF < *in_.maintTempF) {
      const JacketedFallback fallback = FallbackFor(in_.installation, in_.internalMode, pipeIn_);
      result_.end = PassEnd::FallsBack;
      result_.fallback = fallback.next;
      result_.message = fallback.message;
    } else if (result_.readings.aboveCoverlynLimit) {
      result_.end = PassEnd::FallsBack;
      result_.fallback = Installation::Troughline;
      result_.message = CoverlynLimitText();
    }
  }

  DesignOutputs& out() { return result_.outputs; }

  const DesignPassInput& in_;
  const bool metric_;
  DesignPassResult result_;

  double pipeIn_ = 0;    // nominal pipe size
  double pipeOdIn_ = 0;  // pipe outside diameter
  double exposureF_ = 0;
  double intermittentF_ = 0;
  double psig_ = 0;
  double steamF_ = 0;  // saturated steam at the supply pressure
  int tracers_ = 1;
  InsulationFit fit_;
  Insulation insulation_;
  double minAmbientF_ = 0;
  double riseFt_ = 0;
  double latentHeat_ = 0;
  double steamMinimumCaseF_ = 0;
  double steamHeatLossCaseF_ = 0;
  double conductance_ = 0;  // all tracers into the pipe
};

}  // namespace

DesignPassResult RunDesignPass(const DesignPassInput& input) { return DesignPass(input).Run(); }

std::string CouldNotCompleteText(std::string_view reason) {
  return kCouldNotComplete + std::string(reason) + ".";
}

}  // namespace vst
