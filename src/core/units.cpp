#include "core/units.h"

#include "core/legacy_math.h"

namespace vst {

std::string UnitCaption(UnitQuantity quantity, UnitSystem units) {
  const bool metric = units == UnitSystem::Metric;
  switch (quantity) {
    case UnitQuantity::Temperature:
      return std::string("\u00B0") + UnitLetter(units);
    case UnitQuantity::Length:
      return metric ? "m" : "ft";
    case UnitQuantity::HeatLoss:
      return metric ? "W/m" : " BTU/hr-ft";
    case UnitQuantity::Condensate:
      return metric ? "kg/hr-m" : " Lb/hr-ft";
    case UnitQuantity::InsulationSize:
      return metric ? "mm" : " in";
    case UnitQuantity::Size:
      return metric ? "mm" : "in";
    case UnitQuantity::Pressure:
      return metric ? " bar g" : "  psig";
    case UnitQuantity::Density:
      return metric ? "kg/m\u00B3" : "lb/ft\u00B3";
    case UnitQuantity::SpecificHeat:
      return metric ? "J/kg-\u00B0C" : "BTU/lb-\u00B0F";
    case UnitQuantity::LatentHeat:
      return metric ? "J/kg" : "BTU/lb";
  }
  return {};
}

std::string PressureCaption(PressureUnit unit) {
  if (unit == PressureUnit::Kpa) return " kPa";
  if (unit == PressureUnit::BarG) return " bar g";
  return " psig";
}

PressureUnit PressureUnitFromStored(int stored) {
  if (stored == StoredNumber(PressureUnit::Kpa)) return PressureUnit::Kpa;
  if (stored == StoredNumber(PressureUnit::BarG)) return PressureUnit::BarG;
  return PressureUnit::Psig;
}

int StoredNumber(PressureUnit unit) { return static_cast<int>(unit); }

InsulationSizing InsulationSizingFromStored(int stored) {
  return stored == StoredNumber(InsulationSizing::Minimal) ? InsulationSizing::Minimal
                                                           : InsulationSizing::Standard;
}

int StoredNumber(InsulationSizing sizing) { return static_cast<int>(sizing); }

double FahrenheitFromCelsius(double celsius) { return celsius * 1.8 + 32.0; }

double RunFahrenheitFromCelsius(double celsius) { return celsius * 9.0 / 5.0 + 32.0; }

double WholeCelsiusFromFahrenheit(double fahrenheit) { return Int((fahrenheit - 32.0) * 5.0 / 9.0); }

double PsigFromKpa(double kpa) { return kpa * 0.1450326 - 14.7; }

double PsigFromBarG(double barg) { return barg * 14.5; }

double PsigFrom(double value, PressureUnit unit) {
  if (unit == PressureUnit::Kpa) return PsigFromKpa(value);
  if (unit == PressureUnit::BarG) return PsigFromBarG(value);
  return value;
}

double PressureFromPsig(double psig, PressureUnit unit) {
  if (unit == PressureUnit::Kpa) return (psig + 14.7) / 0.1450326;
  if (unit == PressureUnit::BarG) return psig / 14.5;
  return psig;
}

double FeetFromMetres(double metres) { return metres * 3.281; }

double TenthMetresFromFeet(double feet) { return Int(feet * 3.048) / 10.0; }

double InchesFromMillimetres(double mm) { return mm / 25.4; }

double KgPerHrMetreFromLbPerHrFt(double lbPerHrFt) { return lbPerHrFt * 1.49; }

double WattsPerMetreFromBtuPerHrFt(double btuPerHrFt) { return btuPerHrFt * 0.9613535; }

// 1 lb/ft3 = 0.45359237 kg / 0.3048^3 m3.
constexpr double kKgPerM3PerLbPerFt3 = 0.45359237 / (0.3048 * 0.3048 * 0.3048);
double LbPerFt3FromKgPerM3(double kgPerM3) { return kgPerM3 / kKgPerM3PerLbPerFt3; }
double KgPerM3FromLbPerFt3(double lbPerFt3) { return lbPerFt3 * kKgPerM3PerLbPerFt3; }

// 1 BTU/(lb F) = 2326 J/kg x 1.8 F/K.
double BtuPerLbFFromJPerKgK(double jPerKgK) { return jPerKgK / 4186.8; }
double JPerKgKFromBtuPerLbF(double btuPerLbF) { return btuPerLbF * 4186.8; }

double BtuPerLbFromJPerKg(double jPerKg) { return jPerKg / 2326.0; }

}  // namespace vst
