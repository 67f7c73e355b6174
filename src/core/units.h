// Unit captions of the main window and the conversions between the window's
// units and the English units the design engine computes in.
#pragma once

#include <string>

#include "core/design_record.h"

namespace vst {

// A pressure unit from and to the number a record stores in PRESSURE (0 psig,
// 1 kPa, 2 bar g); another number reads as psig, as the window has always
// treated it.
PressureUnit PressureUnitFromStored(int stored);
int StoredNumber(PressureUnit unit);

// The insulation sizing from and to the number a record stores in UNDER (0
// standard, 1 minimal); another number reads as standard sizing.
InsulationSizing InsulationSizingFromStored(int stored);
int StoredNumber(InsulationSizing sizing);

// Quantities that carry a unit label beside their field.
enum class UnitQuantity {
  Temperature,     // Unit1..Unit7, lblInitTempUnit, lblFinalTempUnit, lblPCTempUnit
  Length,          // feet1..feet4
  HeatLoss,        // W_Ft1
  Condensate,      // label beside Cond_Load
  InsulationSize,  // inch3
  Size,            // lblInsThickUnit, lblPipeUnit, lblTraceTubeUnit
  Pressure,        // Label6 when the window opens
  Density,         // lblProdDensUnit
  SpecificHeat,    // lblProdCpUnit
  LatentHeat,      // lblLatentHeatUnit
};

// The caption of a quantity's unit label in the unit system.
std::string UnitCaption(UnitQuantity quantity, UnitSystem units);

// The pressure caption a designed record sets from its PRESSURE:
// " kPa" for 1, " bar g" for 2, " psig" otherwise.
std::string PressureCaption(PressureUnit unit);

// Temperatures.
double FahrenheitFromCelsius(double celsius);          // C x 1.8 + 32 (window rules)
double RunFahrenheitFromCelsius(double celsius);       // C x 9 / 5 + 32 (design run)
double WholeCelsiusFromFahrenheit(double fahrenheit);  // Int((F - 32) x 5 / 9)

// Pressures to psig (kPa are absolute, bar g gauge).
double PsigFromKpa(double kpa);    // kPa x 0.1450326 - 14.7
double PsigFromBarG(double barg);  // bar g x 14.5
double PsigFrom(double value, PressureUnit unit);
// The inverse, used where a pressure changes its unit without changing.
double PressureFromPsig(double psig, PressureUnit unit);

// Lengths.
double FeetFromMetres(double metres);     // m x 3.281
double TenthMetresFromFeet(double feet);  // Int(ft x 3.048) / 10
double InchesFromMillimetres(double mm);  // mm / 25.4

// Design outputs per length of pipe.
double KgPerHrMetreFromLbPerHrFt(double lbPerHrFt);     // condensate: x 1.49
double WattsPerMetreFromBtuPerHrFt(double btuPerHrFt);  // heat loss: x 0.9613535

// Product properties of the heat-up, from the Metric fields to the engine's
// English units (the pound 0.45359237 kg, the foot 0.3048 m and the
// International Table BTU 1055.05585262 J, so 1 BTU/lb = 2326 J/kg exactly).
double LbPerFt3FromKgPerM3(double kgPerM3);   // / 16.018463373960138
double BtuPerLbFFromJPerKgK(double jPerKgK);  // / 4186.8
double BtuPerLbFromJPerKg(double jPerKg);     // / 2326
// And back, for what the window shows of a product.
double KgPerM3FromLbPerFt3(double lbPerFt3);
double JPerKgKFromBtuPerLbF(double btuPerLbF);

}  // namespace vst
