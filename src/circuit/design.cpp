// A design runs in passes. A pass reads the entry, converts it to the
// English units of the engine and lets the engine compute it; then, as the
// pass ended: its input error or failure ends the design; a Fillet Trace too
// hot for its cement is redirected to Troughline before the allowances; the
// allowance step runs on the first pass; a jacketed tracer that cannot hold
// the temperature falls back to the next method; or the results are taken in
// the window's units, with the compound, the total tracer length and the
// material take-off.
#include "circuit/design.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "core/legacy_math.h"
#include "core/units.h"
#include "engine/design_limits.h"
#include "engine/design_pass.h"
#include "engine/insulation_sizing.h"

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
constexpr const char* kDesignCreated = "Design created";

std::string ShortfallWarningText() {
  std::string text;
  for (const char* part : kShortfallWarning) text += part;
  return text;
}

enum class PassStep { Completed, Stopped, Failed, Restart };

void RecordOutputs(const CircuitDesign& design, const CircuitContext& context, DesignRecord& record);

// One design: the entry as the passes change it, and what they found.
class Designing {
 public:
  Designing(const CircuitEntry& entry, const CircuitContext& context, DesignQuestions& questions,
            CircuitDesign& out)
      : context_(context), questions_(questions), out_(out), metric_(context.units == UnitSystem::Metric) {
    out_.entry = entry;
  }

  PassStep pass();
  void show(std::string text, std::string title) {
    out_.messages.push_back({std::move(title), std::move(text)});
    questions_.told(out_.messages.back());
  }
  PassStep fail(const std::string& reason) {
    show(CouldNotCompleteText(reason), kErrorTitle);
    return PassStep::Failed;
  }

 private:
  // A numeric field's value, empty when it holds no number a field can store.
  std::optional<double> number(const TypedNumber& field) const {
    if (!field.single(context_.decimalMark)) return std::nullopt;
    return field.value(context_.decimalMark);
  }
  // The number of a list entry's text (a pipe size, a wall thickness).
  std::optional<double> number(const std::string& text) const {
    return number(TypedNumber(text, context_.decimalMark));
  }
  // A temperature field in F (Metric fields are in C).
  std::optional<double> fahrenheit(std::optional<double> t) const {
    if (!t || !metric_) return t;
    return RunFahrenheitFromCelsius(*t);
  }
  void choose(Installation installation) {
    const int position = InstallationCode(installation, context_.internalMode);
    ChooseInstallation(out_.entry, position, context_);
    out_.fallbacks.push_back(position);
    questions_.installationChosen(position);
  }

  DesignPassInput passInput() const;
  HeatUpResult heatUp(const DesignPassInput& design, const DesignPassResult& pass) const;
  void takeReadings(const DesignPassResult& pass);
  std::optional<PassStep> allowanceStepOnFirstPass(const DesignPassResult& pass);
  PassStep finish(const DesignPassInput& design, const DesignPassResult& pass);

  const CircuitContext& context_;
  DesignQuestions& questions_;
  CircuitDesign& out_;
  const bool metric_;
  Installation installation_ = Installation::None;  // the method of the entry's installation
  // The numeric fields, read once per pass.
  std::optional<double> maintTemp_;
  std::optional<double> maxExposure_;
  std::optional<double> intermittent_;
  std::optional<double> pressure_;    // in the context's pressure unit
  std::optional<double> pipeLength_;  // ft / m
};

DesignPassInput Designing::passInput() const {
  const CircuitEntry& e = out_.entry;
  DesignPassInput p;
  p.units = context_.units;
  p.internalMode = context_.internalMode;
  p.pressureUnit = context_.pressureUnit;
  p.sizing = context_.sizing;
  p.maintTempF = fahrenheit(maintTemp_);
  const std::string pipeSize = PipeSizeText(e);
  p.pipeSizeListValue = Trim(pipeSize).empty() ? std::optional<double>(0) : number(pipeSize);
  p.pipeSizePos = e.pipeSize;
  p.insulationType = e.insulationType;
  p.insulationThicknessPos = e.insulationThickness;
  p.maxExposureF = fahrenheit(maxExposure_);
  p.intermittentExposureF = fahrenheit(intermittent_);
  if (pressure_) p.pressurePsig = PsigFrom(*pressure_, p.pressureUnit);
  p.installation = installation_;
  p.tubeIndex = e.tubeSize;
  p.passesPos = e.passes;
  p.minAmbientF = fahrenheit(number(e.minAmbient));
  p.maxAmbientF = fahrenheit(number(e.maxAmbient));
  p.tubeWall = number(TubeWallText(e));
  p.circuitLength = pipeLength_;
  return p;
}

// The inputs the record keeps as entered, as far as the pass read them.
void Designing::takeReadings(const DesignPassResult& pass) {
  const PassReadings& read = pass.readings;
  DesignReadings& kept = out_.readings;
  if (read.reportPipeSize) kept.reportPipeSize = ToSingle(*read.reportPipeSize);
  if (read.exposures) {
    kept.maxExposure = ToSingle(*maxExposure_);
    kept.intermittentExposure = ToSingle(*intermittent_);
  }
  if (read.steamPressure) kept.steamPressure = ToSingle(*pressure_);
  if (!read.compound.empty()) kept.compound = read.compound;
  if (read.passes) kept.passes = out_.entry.passes;
  kept.aboveCoverlynLimit = kept.aboveCoverlynLimit || read.aboveCoverlynLimit;
}

PassStep Designing::pass() {
  const CircuitEntry& e = out_.entry;
  installation_ = InstallationFromCode(e.installation, context_.internalMode);
  maintTemp_ = number(e.maintTemp);
  maxExposure_ = number(e.maxExposure);
  intermittent_ = number(e.intermittentExposure);
  pressure_ = number(e.pressure);
  pipeLength_ = number(e.pipeLength);

  const DesignPassInput design = passInput();
  const DesignPassResult pass = RunDesignPass(design);
  out_.k90InUse = pass.k90InUse;
  takeReadings(pass);
  switch (pass.end) {
    case PassEnd::Refused:
      show(pass.message, pass.title);
      return PassStep::Stopped;
    case PassEnd::Failed:
      show(pass.message, pass.title);
      return PassStep::Failed;
    case PassEnd::Redirected:
      show(pass.message, pass.title);
      choose(pass.fallback);
      return PassStep::Restart;
    case PassEnd::FallsBack:
    case PassEnd::Designed:
      break;
  }
  if (const auto ended = allowanceStepOnFirstPass(pass)) return *ended;
  if (pass.end == PassEnd::FallsBack) {
    choose(pass.fallback);
    show(pass.message, pass.title);
    return PassStep::Restart;
  }
  return finish(design, pass);
}

// The fittings and shoe dialogs, on the first pass only; later passes design
// with its lengths and counts. Ends the design when a dialog was closed or
// the allowance cannot be computed.
std::optional<PassStep> Designing::allowanceStepOnFirstPass(const DesignPassResult& pass) {
  if (out_.allowance) return std::nullopt;
  const CircuitEntry& e = out_.entry;
  const InsulationFit& fit = pass.outputs.insulation;
  AllowanceInputs a;
  a.units = context_.units;
  a.pipeLength = ToSingle(*pipeLength_);
  a.tubeSizePos = e.tubeSize;
  a.insulationThicknessPos = e.insulationThickness;
  a.pipeSizePos = e.pipeSize;
  a.passesPos = e.passes;
  a.installation = e.installation;
  a.tubeIndex = e.tubeSize;
  a.insulationRow = fit.position;
  a.tracedPipeDiameterIn = fit.effectiveDiameterIn;
  a.tracerAllowanceIn = fit.projectionIn;
  a.pipeLengthText = e.pipeLength.text();
  a.riseText = e.rise;
  a.decimalMark = context_.decimalMark;
  try {
    out_.allowance = AskAllowances(a, {e.fittings, e.shoeAllowance}, questions_);
  } catch (const std::invalid_argument&) {
    return fail("the fittings allowance cannot be computed");
  }
  if (!out_.allowance->lengths) return PassStep::Stopped;  // a dialog was closed: no design
  out_.status = kDesignCreated;
  questions_.statusShown(out_.status);
  return std::nullopt;
}

// Heat-up times already found on this thread. A heat-up is a pure function
// of its inputs, and a plant's line list heats the same pipe, insulation,
// steam and product over and over (the pipe length does not enter it), so
// a row often finds its time here instead of integrating again. Each
// thread keeps its own table of fixed size: a new time replaces the one in
// its slot.
class RecentHeatUps {
 public:
  HeatUpResult operator()(const HeatUpInput& in) {
    const Key key = KeyOf(in);
    Slot& slot = slots_[Hash(key) % slots_.size()];
    if (slot.used && slot.key == key) return slot.result;
    slot = {true, key, HeatUpTime(in)};
    return slot.result;
  }

 private:
  // Every input, bit for bit; an absent phase change as a flag and 0.
  using Key = std::array<std::uint64_t, 18>;
  static Key KeyOf(const HeatUpInput& in) {
    const double values[] = {in.steamTempF,
                             in.ambientF,
                             in.totalConductance,
                             static_cast<double>(in.insulation.type),
                             in.insulation.innerDiameterIn,
                             in.insulation.outerDiameterIn,
                             in.pipeOutsideDiameterIn,
                             in.minMaintainedTempF,
                             in.initialTempF,
                             in.finalTempF,
                             static_cast<double>(in.product),
                             in.otherDensityLbFt3,
                             in.otherSpecificHeatBtuLbF,
                             in.phaseChangeTempF ? 1.0 : 0.0,
                             in.phaseChangeTempF.value_or(0.0),
                             in.latentHeatBtuLb ? 1.0 : 0.0,
                             in.latentHeatBtuLb.value_or(0.0),
                             static_cast<double>(in.messageUnits)};
    static_assert(sizeof values == sizeof(Key));
    // A field added to the input belongs in the key too.
    static_assert(sizeof(HeatUpInput) == 144, "every field of HeatUpInput is in the key");
    Key key{};
    std::memcpy(key.data(), values, sizeof values);
    return key;
  }
  static std::uint64_t Hash(const Key& key) {
    std::uint64_t h = 0;
    for (const std::uint64_t bits : key) {
      h = (h ^ bits) * 0x9E3779B97F4A7C15ull;
      h ^= h >> 29;
    }
    return h;
  }
  struct Slot {
    bool used = false;
    Key key{};
    HeatUpResult result;
  };
  std::array<Slot, 1024> slots_{};
};

// The heat-up time of a heat-up design, at the conditions of the pass that
// designed it: the tab's fields read in the window's units and converted to
// the engine's English units here. A field that holds no number goes in as
// not a number, which the heat-up refuses with a message naming the field;
// the density, specific heat, phase change temperature and latent heat are
// read for "Other" only (the listed products carry their own data), the
// last two only with the phase change ticked.
HeatUpResult Designing::heatUp(const DesignPassInput& design, const DesignPassResult& pass) const {
  std::optional<HeatUpInput> conditions = HeatUpConditionsOf(design, pass);
  if (!conditions) {
    HeatUpResult none;
    none.end = HeatUpEnd::Failed;
    none.message = kNoHeatUpBalanceMessage;
    return none;
  }
  HeatUpInput& in = *conditions;
  const CircuitEntry& e = out_.entry;
  const double nan = std::nan("");
  const auto temperatureF = [&](const TypedNumber& text) { return fahrenheit(number(text)).value_or(nan); };
  const auto property = [&](const TypedNumber& text, double (*fromMetric)(double)) {
    const std::optional<double> value = number(text);
    if (!value) return nan;
    return metric_ ? fromMetric(*value) : *value;
  };
  in.product = e.product;
  in.initialTempF = temperatureF(e.initialTemp);
  in.finalTempF = temperatureF(e.finalTemp);
  if (e.product == kProductOther) {
    in.otherDensityLbFt3 = property(e.density, LbPerFt3FromKgPerM3);
    in.otherSpecificHeatBtuLbF = property(e.specificHeat, BtuPerLbFFromJPerKgK);
  }
  if (e.product == kProductOther && e.phaseChange) {
    in.phaseChangeTempF = temperatureF(e.phaseChangeTemp);
    in.latentHeatBtuLb = property(e.latentHeat, BtuPerLbFromJPerKg);
  }
  in.messageUnits = context_.units;
  thread_local RecentHeatUps recent;
  return recent(in);
}

// The message a heat-up design adds to its results: why no time was given,
// or that the product's data were held at the end of their range.
std::optional<std::string> HeatUpMessage(const HeatUpResult& h, int product) {
  if (h.end != HeatUpEnd::Computed) return h.message;
  if (!h.outsideProductRange) return std::nullopt;
  return "The heat-up temperatures reach outside the temperature range of the product property data of " +
         ChoiceText(&ProductList(), product) +
         ": its properties there are those at the nearer end of the range.  This may cause inaccurate "
         "results.";
}

// The heat-up time as the output shows it: hours to two decimals, a dash
// when the final temperature cannot be reached, empty when no time was
// computed (the message says why).
std::string HeatUpTimeText(const HeatUpResult& h) {
  switch (h.end) {
    case HeatUpEnd::Computed:
      return FixedText(ToSingle(h.hours), 2);
    case HeatUpEnd::CannotReach:
      return kNoHeatUpTime;
    case HeatUpEnd::Refused:
    case HeatUpEnd::Failed:
      break;
  }
  return {};
}

// A finished design: results, compound and tracer naming, total tracer
// length, material take-off, then the warnings about the results.
PassStep Designing::finish(const DesignPassInput& design, const DesignPassResult& pass) {
  const DesignOutputs& o = pass.outputs;
  const AllowanceResult& lengths = *out_.allowance->lengths;
  DesignFinish& f = out_.finish.emplace();
  const int position = o.insulation.position;
  f.TP1 = ToSingle(metric_ ? WholeCelsiusFromFahrenheit(o.minMaintainedTempF) : o.minMaintainedTempF);
  f.TP2 = ToSingle(metric_ ? WholeCelsiusFromFahrenheit(o.maxMaintainedTempF) : o.maxMaintainedTempF);
  f.VTR = ToSingle(metric_ ? TenthMetresFromFeet(o.riseFt) : o.riseFt);
  f.COND = ToSingle(metric_ ? KgPerHrMetreFromLbPerHrFt(o.condensateLbHrFt) : o.condensateLbHrFt);
  f.INSIZE = ToSingle(metric_ ? InsulationMetricSizeMm(position) : InsulationNominalSizeIn(position));
  f.TDX = ToSingle(metric_ ? TenthMetresFromFeet(o.trapDistanceFt) : Int(o.trapDistanceFt));
  const double lossTenths = IntTenths(o.heatLossBtuHrFt);
  f.LSWO = ToSingle(metric_ ? IntTenths(WattsPerMetreFromBtuPerHrFt(lossTenths)) : lossTenths);

  // A heat-up design then computes the time the tracers take to bring the
  // line up, at the conditions of its minimum maintained temperature.
  if (out_.entry.application == kApplicationHeatUp) out_.heatUp = heatUp(design, pass);

  const bool trapShorterThanCircuit =
      o.trapDistanceFt < StartDesignPipeLengthFt(context_.units, ToSingle(*pipeLength_));

  // The compound naming and the take-off read the installation of this
  // pass, the temperatures of the design and the allowance step's counts.
  const CircuitEntry& e = out_.entry;
  TakeoffInputs takeoff;
  takeoff.units = context_.units;
  takeoff.internalMode = context_.internalMode;
  takeoff.installation = e.installation;
  takeoff.tubeIndex = e.tubeSize;
  takeoff.pipeSizePos = e.pipeSize;
  takeoff.tracerCount = o.tracers;
  takeoff.exposureTempF = o.exposureTempF;
  takeoff.steamTempF = o.steamTempF;
  takeoff.intermittentExposureTempF = o.intermittentExposureTempF;
  takeoff.trapDistanceFt = o.trapDistanceFt;
  takeoff.bundleDiameterIn = o.insulation.effectiveDiameterIn;
  TakeAllowance(lengths, takeoff);
  // The compound chosen from the temperatures at the start of the run, if any.
  const std::string& start = out_.readings.compound;
  f.compound = ChooseCompound(takeoff, Compound{start, start.empty() ? " " : start, {}});
  // The design pipe length of every tracer plus 5 %.
  f.tracerLength = ToSingle(TracerLengthFt(o.tracers, lengths.designPipeLengthFt));
  try {
    f.takeoff = MaterialTakeoff(takeoff, f.compound);
  } catch (const std::invalid_argument&) {
    return fail("the material take-off cannot be computed");
  }
  // Results that are no finite numbers, or too large for their fields, are no design.
  DesignRecord outputs;
  RecordOutputs(out_, context_, outputs);
  if (const std::string_view output = UnrepresentableOutput(outputs); !output.empty()) {
    f.discarded = true;
    out_.display = {};
    return fail("the result " + std::string(output) + " is not a number its field can hold");
  }

  // What the record shows, with the two inputs its display reads as this
  // design read them (the record takes the entry's when it is stored).
  outputs.TRACEINS = e.installation;
  outputs.MAINTEMP = ToSingle(*maintTemp_);
  outputs.APPTYPE = e.application;
  out_.display = DisplayOf(outputs, true);
  if (out_.heatUp) out_.display.heatUpTime = HeatUpTimeText(*out_.heatUp);
  const DesignDisplay& display = out_.display;
  questions_.resultsShown(display);
  if (display.shortOfMaintTemp) show(ShortfallWarningText(), kWarningTitle);
  if (trapShorterThanCircuit) show(kTrapDistanceNote, kWarningTitle);
  if (out_.heatUp) {
    if (const auto message = HeatUpMessage(*out_.heatUp, e.product)) show(*message, kWarningTitle);
  }
  return PassStep::Completed;
}

}  // namespace

CircuitDesign DesignCircuit(const CircuitEntry& entry, const CircuitContext& context,
                            DesignQuestions& questions) {
  CircuitDesign out;
  Designing designing(entry, context, questions, out);
  for (int pass = 0; pass < limits::kMaxDesignPasses; ++pass) {
    switch (designing.pass()) {
      case PassStep::Completed:
        out.outcome = DesignOutcome::Completed;
        return out;
      case PassStep::Stopped:
        out.outcome = DesignOutcome::Stopped;
        return out;
      case PassStep::Failed:
        out.outcome = DesignOutcome::Failed;
        return out;
      case PassStep::Restart:
        break;
    }
  }
  designing.fail("the installation method did not change as the fallback required");
  out.outcome = DesignOutcome::Failed;
  return out;
}

namespace {

// The bill fields of a record from the take-off it keeps (none: no bill);
// the tie wire length of any take-off stays, even of results no field can
// hold.
void RecordBill(const Takeoff* kept, const Takeoff* any, DesignRecord& r) {
  const auto quantity = [kept](float Takeoff::*field) { return kept ? kept->*field : 0.0f; };
  r.TSIZ = kept ? kept->TSIZ : std::string();
  r.BAND = kept ? kept->BAND : std::string();
  r.CHAN = kept ? kept->CHAN : std::string(" ");
  r.TST = quantity(&Takeoff::TST);
  r.ACEM = quantity(&Takeoff::ACEM);
  r.ACEM1 = quantity(&Takeoff::ACEM1);
  r.ACHAN = quantity(&Takeoff::ACHAN);
  r.ABAND = quantity(&Takeoff::ABAND);
  r.UNION = quantity(&Takeoff::UNION);
  r.CRS = quantity(&Takeoff::CRS);
  r.FRST = quantity(&Takeoff::FRST);
  r.FAK = quantity(&Takeoff::FAK);
  r.MACO = quantity(&Takeoff::MACO);
  if (any) r.TBAND = any->TBAND;
}

// The inputs a design keeps as the window shows them after the run.
void RecordInputs(const CircuitEntry& e, const CircuitContext& context, DesignRecord& r) {
  const auto number = [&](const TypedNumber& field) {
    return field.single(context.decimalMark).value_or(0.0f);
  };
  r.TRACEINS = e.installation;
  r.TUBEMAT = e.material;
  r.TUBEWALL = e.tubeWall;
  r.APPTYPE = e.application;
  r.HeatUpProduct = e.product;
  r.HeatUpInitialTemp = e.initialTemp.text();
  r.HeatUpFinalTemp = e.finalTemp.text();
  r.HeatUpDensity = e.density.text();
  r.HeatUpSpecificHeat = e.specificHeat.text();
  r.HeatUpLatentHeat = e.latentHeat.text();
  r.HeatUpPhaseChange = e.phaseChange;
  r.HeatUpPhaseChangeTemp = e.phaseChangeTemp.text();
  r.MAXAMB = number(e.maxAmbient);
  r.MINAMB = number(e.minAmbient);
  r.MAINTEMP = number(e.maintTemp);
  r.PIPELN = number(e.pipeLength);
  r.INSTYPE = e.insulationType + 1;
  r.CIRTXT = e.circuit;
  r.PIPETXT = e.line;
}

// RecordOf but for the inputs of the entry.
void RecordOutputs(const CircuitDesign& d, const CircuitContext& context, DesignRecord& r) {
  const DesignReadings& read = d.readings;
  const AllowanceStep* step = d.allowance ? &*d.allowance : nullptr;
  const PipeFormAnswer* fittings = step && step->fittings ? &*step->fittings : nullptr;
  const DesignFinish* f = d.finish ? &*d.finish : nullptr;
  const Takeoff* t = f && f->takeoff ? &*f->takeoff : nullptr;
  // A result no field can hold leaves no outputs and no bill (the tie wire
  // length excepted).
  const bool kept = !(f && f->discarded);
  const std::string& startCompound = read.compound;

  // The preferences in force.
  r.UNDER = StoredNumber(context.sizing);
  r.PRESSURE = StoredNumber(context.pressureUnit);

  // What the passes read.
  if (read.reportPipeSize) r.ReportPipeSize = *read.reportPipeSize;
  if (read.maxExposure) r.MAXEXP = *read.maxExposure;
  if (read.intermittentExposure) r.IntermittentExposure = *read.intermittentExposure;
  if (read.steamPressure) r.STEAMPRS = *read.steamPressure;
  // Above the Coverlyn limit the circuit bill cannot offer copper tubing.
  if (read.aboveCoverlynLimit && r.SSFLAG < limits::kHighTemperatureMaterialOption) {
    r.SSFLAG = limits::kHighTemperatureMaterialOption;
  }

  // What the allowance dialogs were answered.
  if (fittings) {
    r.AllowanceIncluded = fittings->allowanceIncluded;
    r.TRACETUB = step->tubeSize;
    r.INSTHK = step->insulationThickness;
    r.PIPESIZE = step->pipeSize;
    r.VALN = fittings->valves;
    r.FLNO = fittings->flanges;
    r.NOPX = fittings->pumps;
    r.WCTB = fittings->wrapcore;
    r.NUMPASS = step->passes;
  } else if (read.passes) {
    r.NUMPASS = *read.passes;
  }
  if (step && step->shoeAllowance) r.ShoeAllowance = *step->shoeAllowance;

  // The outputs: the results of a finished design, else nothing.
  const bool results = f && kept;
  r.TP1 = results ? f->TP1 : 0;
  r.TP2 = results ? f->TP2 : 0;
  r.VTR = results ? f->VTR : 0;
  r.COND = results ? f->COND : 0;
  r.INSIZE = results ? f->INSIZE : 0;
  r.TDX = results ? f->TDX : 0;
  r.LSWO = results ? f->LSWO : 0;
  // The heat-up time of a heat-up design that gave one; 0 for every other.
  const HeatUpResult* heat = d.heatUp ? &*d.heatUp : nullptr;
  r.HeatUpTime = results && heat && heat->end == HeatUpEnd::Computed ? ToSingle(heat->hours) : 0;
  if (f) r.COVR = f->compound.COVR;
  // The compounds: the finished design's, else the one the temperatures chose.
  if (!kept) {
    r.CEM.clear();
  } else if (f) {
    r.CEM = f->compound.CEM;
  } else {
    r.CEM = startCompound;
  }
  if (!kept) {
    r.CEM1 = " ";
  } else if (t) {
    r.CEM1 = t->CEM1;
  } else if (f) {
    r.CEM1 = f->compound.CEM1;
  } else {
    r.CEM1 = startCompound.empty() ? " " : startCompound;
  }
  // The tracer length as the bill rounds it, else before rounding.
  r.TLEN = !kept ? 0 : t ? t->TLEN : f ? f->tracerLength : 0;
  // The fittings allowance: the take-off's, else the allowance step's.
  if (!kept) {
    r.SLEN = 0;
  } else if (t) {
    r.SLEN = t->SLEN;
  } else if (step) {
    r.SLEN = step->lengths ? step->lengths->slenFt : step->startSlenFt;
  } else {
    r.SLEN = 0;
  }
  RecordBill(kept ? t : nullptr, t, r);
}

}  // namespace

// The outputs of a design that has found nothing yet.
void ResetOutputs(DesignRecord& r, const CircuitContext& context) {
  RecordOutputs(CircuitDesign{}, context, r);
}

DesignRecord RecordOf(const CircuitDesign& d, const CircuitContext& context, const DesignRecord& previous) {
  DesignRecord r = previous;
  RecordOutputs(d, context, r);
  RecordInputs(d.entry, context, r);
  return r;
}

DesignDisplay DisplayOf(const DesignRecord& r, bool justDesigned) {
  DesignDisplay d;
  d.maxMaintTemp = SingleText(r.TP2);
  d.minMaintTemp = SingleText(r.TP1);
  d.shortOfMaintTemp = r.MAINTEMP > r.TP1;
  d.heatLoss = SingleText(r.LSWO);
  d.condensate = FixedText(r.COND, 3);
  d.insulationSize = SingleText(r.INSIZE);
  d.trapDistance = SingleText(r.TDX);
  d.rise = SingleText(r.VTR);
  d.totalLength = SingleText(r.TLEN);  // the total length as the bill rounds it
  // The heat-up time of a heat-up design that gave one. A record keeps no
  // time for a line that cannot reach its final temperature: a final
  // temperature at or above the minimum maintained one shows the dash the
  // design showed.
  if (r.APPTYPE == kApplicationHeatUp && r.HoldsDesign()) {
    const auto finalTemp = ParseSingle(r.HeatUpFinalTemp, ',');
    if (r.HeatUpTime > 0.0f) {
      d.heatUpTime = FixedText(r.HeatUpTime, 2);
    } else if (finalTemp && *finalTemp >= r.TP1) {
      d.heatUpTime = kNoHeatUpTime;
    }
  }
  // The method's caption, and its compound or (jacketed) Coverlyn type.
  if (r.TRACEINS == kInstallTroughline) {
    d.traceLabel = justDesigned ? "Troughline" : "Trough Line";
    d.traceType = r.CEM;
  } else if (r.TRACEINS == kInstallFillet) {
    d.traceLabel = "Fillet Trace with";
    d.traceType = r.CEM;
  } else {
    d.traceLabel = "Coverlyn Type";
    d.traceType = r.COVR;
  }
  return d;
}

ProductPropertyTexts ShownProductProperties(const CircuitEntry& e, const CircuitContext& context) {
  const bool metric = context.units == UnitSystem::Metric;
  const std::optional<ProductAtMean> p =
      e.application == kApplicationHeatUp ? ProductAtMeanTemperature(e, context) : std::nullopt;
  if (!p) return {e.density.text(), e.specificHeat.text()};
  return {FixedText(p->density, metric ? 1 : 2), FixedText(p->specificHeat, metric ? 0 : 3)};
}

std::optional<ProductAtMean> ProductAtMeanTemperature(const CircuitEntry& e, const CircuitContext& context) {
  if (e.product == kProductOther) return std::nullopt;
  const auto initial = e.initialTemp.value(context.decimalMark);
  const auto final = e.finalTemp.value(context.decimalMark);
  if (!initial || !final) return std::nullopt;
  const bool metric = context.units == UnitSystem::Metric;
  const double mean = (*initial + *final) / 2.0;
  const auto p = ProductPropertiesAt(e.product, metric ? RunFahrenheitFromCelsius(mean) : mean);
  if (!p) return std::nullopt;
  if (!metric) return ProductAtMean{p->densityLbFt3, p->specificHeatBtuLbF, mean};
  return ProductAtMean{KgPerM3FromLbPerFt3(p->densityLbFt3), JPerKgKFromBtuPerLbF(p->specificHeatBtuLbF),
                       mean};
}

void StoreDesign(const CircuitDesign& d, const CircuitContext& context, DesignRecord& record) {
  record = RecordOf(d, context, record);
}

void ClearStoredDesign(DesignRecord& r) {
  r.MAXAMB = r.MINAMB = r.MAINTEMP = r.MAXEXP = 0;
  r.INSTHK = 0;
  r.INSTYPE = 3;
  r.TRACEINS = 2;
  r.STEAMPRS = r.PIPELN = 0;
  r.PIPESIZE = 5;
  r.NUMPASS = 0;
  r.VALN = r.FLNO = r.NOPX = r.WCTB = 0;
  r.TP2 = r.TP1 = r.LSWO = r.COND = r.INSIZE = r.TLEN = r.TDX = r.VTR = r.SLEN = r.TST = 0;
  r.CEM.clear();
  r.ACEM = 0;
  r.CEM1 = " ";
  r.ACEM1 = r.ACHAN = r.ABAND = r.UNION = 0;
  r.CHAN.clear();
  r.TSIZ.clear();
  r.BAND.clear();
  r.CRS = r.FRST = r.FAK = r.MACO = 0;
  r.TUBEMAT = r.TUBEWALL = r.APPTYPE = 0;
  r.HeatUpProduct = 0;
  r.HeatUpInitialTemp = r.HeatUpFinalTemp = r.HeatUpDensity = r.HeatUpSpecificHeat = "0";
  r.HeatUpPhaseChange = false;
  r.HeatUpPhaseChangeTemp = r.HeatUpLatentHeat = "0";
  r.HeatUpTime = 0;
}

DesignRecord FreshRecord() {
  DesignRecord record;
  ClearStoredDesign(record);
  return record;
}

}  // namespace vst
