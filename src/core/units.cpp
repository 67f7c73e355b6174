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

std::string PressureCaption(int pressureUnit) {
  if (pressureUnit == kKpa) return " kPa";
  if (pressureUnit == kBarG) return " bar g";
  return " psig";
}

double FahrenheitFromCelsius(double celsius) { return celsius * 1.8 + 32.0; }

double RunFahrenheitFromCelsius(double celsius) { return celsius * 9.0 / 5.0 + 32.0; }

double WholeCelsiusFromFahrenheit(double fahrenheit) { return Int((fahrenheit - 32.0) * 5.0 / 9.0); }

double PsigFromKpa(double kpa) { return kpa * 0.1450326 - 14.7; }

double PsigFromBarG(double barg) { return barg * 14.5; }

double PsigFrom(double value, int pressureUnit) {
  if (pressureUnit == kKpa) return PsigFromKpa(value);
  if (pressureUnit == kBarG) return PsigFromBarG(value);
  return value;
}

double PressureFromPsig(double psig, int pressureUnit) {
  if (pressureUnit == kKpa) return (psig + 14.7) / 0.1450326;
  if (pressureUnit == kBarG) return psig / 14.5;
  return psig;
}

double FeetFromMetres(double metres) { return metres * 3.281; }

double TenthMetresFromFeet(double feet) { return Int(feet * 3.048) / 10.0; }

}  // namespace vst
