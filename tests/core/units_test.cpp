#include "core/units.h"

#include <gtest/gtest.h>

namespace vst {
namespace {

TEST(UnitCaptions, MatchTheWindowInBothUnitSystems) {
  struct Row {
    UnitQuantity q;
    const char* english;
    const char* metric;
  };
  const Row rows[] = {
      {UnitQuantity::Temperature, "\u00B0F", "\u00B0C"},
      {UnitQuantity::Length, "ft", "m"},
      {UnitQuantity::HeatLoss, " BTU/hr-ft", "W/m"},
      {UnitQuantity::Condensate, " Lb/hr-ft", "kg/hr-m"},
      {UnitQuantity::InsulationSize, " in", "mm"},
      {UnitQuantity::Size, "in", "mm"},
      {UnitQuantity::Pressure, "  psig", " bar g"},
      {UnitQuantity::Density, "lb/ft\u00B3", "kg/m\u00B3"},
      {UnitQuantity::SpecificHeat, "BTU/lb-\u00B0F", "J/kg-\u00B0C"},
      {UnitQuantity::LatentHeat, "BTU/lb", "J/kg"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(UnitCaption(r.q, UnitSystem::English), r.english);
    EXPECT_EQ(UnitCaption(r.q, UnitSystem::Metric), r.metric);
  }
  EXPECT_EQ(PressureCaption(PressureUnit::Kpa), " kPa");
  EXPECT_EQ(PressureCaption(PressureUnit::BarG), " bar g");
  EXPECT_EQ(PressureCaption(PressureUnit::Psig), " psig");
  EXPECT_EQ(PressureCaption(PressureUnitFromStored(7)), " psig");
  // The numbers records store: an unknown one reads as psig or standard sizing.
  for (PressureUnit unit : {PressureUnit::Psig, PressureUnit::Kpa, PressureUnit::BarG}) {
    EXPECT_EQ(PressureUnitFromStored(StoredNumber(unit)), unit) << StoredNumber(unit);
  }
  EXPECT_EQ(StoredNumber(PressureUnit::BarG), 2);
  EXPECT_EQ(InsulationSizingFromStored(1), InsulationSizing::Minimal);
  EXPECT_EQ(InsulationSizingFromStored(2), InsulationSizing::Standard);
  EXPECT_EQ(UnitLetter(UnitSystem::English), 'F');
  EXPECT_EQ(UnitLetter(UnitSystem::Metric), 'C');
}

TEST(UnitConversions, PressuresOfTheWindowInPsig) {
  // kPa are absolute, bar g gauge: 446 kPa and 1825 kPa are the window's 50
  // and 250 psig.
  EXPECT_NEAR(PsigFromKpa(446), 50.0, 0.07);
  EXPECT_NEAR(PsigFromKpa(1825), 250.0, 0.1);
  EXPECT_NEAR(PsigFromKpa(135), 4.879, 0.001);
  EXPECT_DOUBLE_EQ(PsigFromBarG(3.45), 50.025);
  EXPECT_DOUBLE_EQ(PsigFrom(50, PressureUnit::Psig), 50);
  EXPECT_DOUBLE_EQ(PsigFrom(446, PressureUnit::Kpa), PsigFromKpa(446));
  EXPECT_DOUBLE_EQ(PsigFrom(3.4, PressureUnit::BarG), 49.3);
  for (PressureUnit unit : {PressureUnit::Psig, PressureUnit::Kpa, PressureUnit::BarG}) {
    EXPECT_NEAR(PsigFrom(PressureFromPsig(49.3, unit), unit), 49.3, 1e-9) << StoredNumber(unit);
  }
}

TEST(UnitConversions, TemperaturesAndLengths) {
  EXPECT_DOUBLE_EQ(FahrenheitFromCelsius(38), 100.4);
  EXPECT_NEAR(FahrenheitFromCelsius(-18), -0.4, 1e-12);
  EXPECT_DOUBLE_EQ(RunFahrenheitFromCelsius(100), 212);
  EXPECT_EQ(WholeCelsiusFromFahrenheit(100.4), 38);
  EXPECT_EQ(WholeCelsiusFromFahrenheit(0), -18);  // -17.8 rounds down
  EXPECT_DOUBLE_EQ(FeetFromMetres(30), 98.43);
  EXPECT_DOUBLE_EQ(TenthMetresFromFeet(42.3), 12.8);  // 12.89 m shows as 12.8
}

// Water's properties in both systems (NIST SP 811 factors: 1 lb/ft3 =
// 16.01846 kg/m3, 1 BTU/(lb F) = 4186.8 J/(kg K), 1 BTU/lb = 2326 J/kg).
TEST(UnitConversions, HeatUpProductPropertiesFromMetric) {
  EXPECT_NEAR(LbPerFt3FromKgPerM3(999.0), 62.366, 5e-4);
  EXPECT_NEAR(BtuPerLbFFromJPerKgK(4184.0), 0.99933, 5e-6);
  EXPECT_NEAR(BtuPerLbFromJPerKg(333550.0), 143.40, 5e-3);  // the heat of fusion of ice
}

}  // namespace
}  // namespace vst
