#include "circuit/checks.h"

#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {

namespace {

struct PressureLimit {
  float limit;
  const char* message;
  const char* putBack;
};

struct PressureLimits {
  PressureLimit psig, kpa, barg;

  const PressureLimit& of(PressureUnit pressureUnit) const {
    if (pressureUnit == PressureUnit::Psig) return psig;
    if (pressureUnit == PressureUnit::Kpa) return kpa;
    return barg;
  }
};

std::optional<CheckWarning> Exceeds(const PressureLimit& limit, float value) {
  if (!(value > limit.limit)) return std::nullopt;
  return CheckWarning{limit.message, limit.putBack};
}

}  // namespace

std::optional<CheckWarning> PolyisocyanuratePressureCheck(float pressure, PressureUnit pressureUnit) {
  static const PressureLimits limits{
      {50.0f, "Polyisocyanurate insulation should not be used with steam pressures greater than 50 psig",
       "50"},
      {446.0f, "Polyisocyanurate insulation should not be used with steam pressures greater than 446 kPa",
       "446"},
      {3.448f, "Polyisocyanurate insulation should not be used with steam pressures greater than 3.448 barg",
       "3.4"},
  };
  return Exceeds(limits.of(pressureUnit), pressure);
}

std::optional<CheckWarning> CopperPressureCheck(float pressure, PressureUnit pressureUnit) {
  static const PressureLimits limits{
      {250.0f,
       "A Tracer Tubing Material of Copper should not be used with steam pressures greater than 250 psig",
       "50"},
      {1825.0f,
       "A Tracer Tubing Material of Copper should not be used with steam pressures greater than 1,825 kPa",
       "446"},
      {17.237f,
       "A Tracer Tubing Material of Copper should not be used with steam pressures greater than 17.237 barg",
       "3.4"},
  };
  return Exceeds(limits.of(pressureUnit), pressure);
}

std::optional<CheckWarning> CopperExposureCheck(float exposure, UnitSystem units) {
  if (units == UnitSystem::Metric) {
    if (!(exposure > 204.0f)) return std::nullopt;
    return CheckWarning{
        "A Tracer Tubing Material of Copper should not be used with a Maximum Exposure Temperature greater "
        "than "
        "204\u00B0C",
        "190"};
  }
  if (!(exposure > 400.0f)) return std::nullopt;
  return CheckWarning{
      "A Tracer Tubing Material of Copper should not be used with a Maximum Exposure Temperature greater "
      "than "
      "400\u00B0F",
      "375"};
}

std::optional<std::string> ProductRangeWarning(int product, float maintTemp, UnitSystem units) {
  const ProductRange* range = ProductRangeTable(product);
  if (range == nullptr) return std::nullopt;
  const bool metric = units == UnitSystem::Metric;
  const double fahrenheit = metric ? FahrenheitFromCelsius(maintTemp) : static_cast<double>(maintTemp);
  if (fahrenheit >= range->lowF && fahrenheit <= range->highF) return std::nullopt;
  const std::string low = metric ? range->lowMetric : range->lowEnglish;
  const std::string high = metric ? range->highMetric : range->highEnglish;
  const std::string unit = metric ? " \u00B0C" : " \u00B0F";
  return "Maintenance temperature is outside the temperature range of (" + low + "- " + high + unit +
         ")  for the product property curve fits of " + ProductList()[static_cast<std::size_t>(product)] +
         ".  This may cause inaccurate results.  Selecting Other and manually entering the proper "
         "temperature "
         "adjusted product properties is recommended";
}

std::optional<CheckWarning> PolyisocyanurateWarning(int insulationType, const TypedNumber& pressure,
                                                    PressureUnit pressureUnit, char decimalMark) {
  if (insulationType != kInsulationPolyisocyanurate) return std::nullopt;
  const auto value = pressure.single(decimalMark);
  if (!value) return std::nullopt;
  return PolyisocyanuratePressureCheck(*value, pressureUnit);
}

std::vector<FieldWarning> CopperWarnings(int material, const TypedNumber& pressure,
                                         const TypedNumber& exposure, PressureUnit pressureUnit,
                                         UnitSystem units, char decimalMark) {
  std::vector<FieldWarning> warnings;
  if (material != kMaterialCopper) return warnings;
  if (const auto value = pressure.single(decimalMark)) {
    if (auto warning = CopperPressureCheck(*value, pressureUnit)) {
      warnings.push_back({CheckedField::Pressure, std::move(*warning)});
    }
  }
  if (const auto value = exposure.single(decimalMark)) {
    if (auto warning = CopperExposureCheck(*value, units)) {
      warnings.push_back({CheckedField::MaxExposure, std::move(*warning)});
    }
  }
  return warnings;
}

}  // namespace vst
