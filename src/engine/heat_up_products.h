// The heat-up products' density and specific heat as functions of
// temperature, from published correlations: one row per product of the
// heat-up product list (by its position), each naming its equation form,
// its coefficients as the source prints them, the temperature range the
// source gives them for and the source. Outside that range a property is
// held at the value of the nearer end.
//
// Temperatures F, densities lb/ft3, specific heats BTU/(lb F); the
// correlations themselves work in the units of their source (K, kg/m3,
// J/(kmol K), ...) and are converted at the end.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/design_record.h"

namespace vst {

// Each product of the heat-up product list (kHeatUpProducts) has a row but
// the last, "Other" (kProductOther), which takes the engineer's constants.

// The equation forms of the table. T is the temperature in K unless said
// otherwise; c[] the row's coefficients.
enum class PropertyForm {
  None,
  // Density.
  Dippr105,          // kmol/m3 = c0 / c1^(1 + (1 - T/c2)^c3)
  PpdsDensity,       // kg/m3 = c0 + c1 s^0.35 + c2 s^(2/3) + c3 s + c4 s^(4/3), s = 1 - T/c5
  LinearDensity,     // kg/m3 = c0 - c1 (T - c2)
  CubicCelsius,      // kg/m3 = c0 + c1 t + c2 t^2 + c3 t^3, t in C
  CriticalDensity,   // kg/m3 = c0 + c1 s + c2 s^c4, s = 1 - T/c3
  PetroleumDensity,  // kg/m3 = r60 exp(-a d (1 + 0.8 a d)), r60 = c0 x 999.016 kg/m3 (water at
                     // 60 F), a = c1 / r60^2 + c2 / r60 per F, d = t - 60, t in F
  OlssonDensity,     // sodium hydroxide solution of NaOH mass fraction c0, kg/m3
  ConstantDensity,   // kg/m3 = c0
  Iapws97Density,    // water, IAPWS-IF97 region 1 at 101.325 kPa
  // Specific heat.
  Dippr100,             // J/(kmol K) = c0 + c1 T + c2 T^2 + c3 T^3 + c4 T^4
  ChemSep16,            // J/(kmol K) = c0 + exp(c1 / T + c2 + c3 T + c4 T^2)
  ChemSep4,             // J/(kmol K) = c0 + c1 T + c2 T^2 + c3 T^3
  ZabranskyCubic,       // J/(mol K) = R (c0 + c1 x + c2 x^2 + c3 x^3), x = T / 100 K
  Shomate,              // J/(mol K) = c0 + c1 x + c2 x^2 + c3 x^3 + c4 / x^2, x = T / 1000 K
  CragoeSpecificHeat,   // BTU/(lb F) = (0.388 + 0.00045 t) / sqrt(c0), t in F, c0 the specific
                        // gravity 60/60 F
  OlssonSpecificHeat,   // sodium hydroxide solution of NaOH mass fraction c0: the temperature
                        // derivative of the enthalpy correlation, kJ/(kg K)
  ConstantMolar,        // J/(kmol K) = c0
  Iapws97SpecificHeat,  // water, IAPWS-IF97 region 1 at 101.325 kPa
};

// One correlation over the range its source gives it for (K).
struct PropertyFit {
  PropertyForm form = PropertyForm::None;
  std::array<double, 6> c{};
  double lowK = 0;
  double highK = 0;
};

// A product's data. A property may come in two pieces, the second taking
// over at the first's upper end (a spline of the source, or a change of
// phase behaviour the data must not be interpolated across).
struct HeatUpProductData {
  double molarMassKgKmol = 0;  // for the molar forms
  std::array<PropertyFit, 2> density;
  std::array<PropertyFit, 2> specificHeat;
  const char* densitySource = "";
  const char* specificHeatSource = "";
  // What the help and the window say of the row: extrapolation, or a stand-in
  // where no published data for the product were found. Empty for none.
  const char* note = "";
  bool standIn = false;
};

// The row of a product list position; null for "Other" and positions
// outside the list.
const HeatUpProductData* HeatUpProductAt(int position);

struct ProductProperties {
  double densityLbFt3 = 0;
  double specificHeatBtuLbF = 0;
  bool heldAtRangeEnd = false;  // the temperature lay outside a property's range
};

// The properties of a listed product at a temperature (F); nothing for
// "Other", a position outside the list and a temperature that is not a
// number.
std::optional<ProductProperties> ProductPropertiesAt(int position, double tempF);

// The temperatures (F) at which a product's properties change their form:
// the ends of every piece's range. Empty for "Other".
std::vector<double> ProductPropertyBreaksF(int position);

// Water by IAPWS-IF97 region 1 (the liquid), at a temperature (K) and
// pressure (MPa): density kg/m3 and specific heat kJ/(kg K).
struct WaterState {
  double densityKgM3 = 0;
  double specificHeatKjKgK = 0;
};
WaterState Iapws97Region1(double temperatureK, double pressureMPa);

}  // namespace vst
