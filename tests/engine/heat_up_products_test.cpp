#include "engine/heat_up_products.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "support/test_paths.h"

namespace vst {
namespace {

// Sources of the reference values (each a source other than the row's own).
constexpr const char* kChemSep = "ChemSep database (DIPPR 105 / eq. 16 or 4), via OMChemSim";
constexpr const char* kPerryVdi = "VDI Heat Atlas PPDS density";
constexpr const char* kCrc25C = "CRC Handbook, liquid at 25 C (molar volume, Cp)";
constexpr const char* kZab = "Zabransky (2001) spline, at its range end";
constexpr const char* kJanaf = "JANAF tables (Chase 1998), interpolated";
constexpr const char* kCrcMolten = "CRC Handbook, density of molten elements";
constexpr const char* kOthers = "see the row's comment";

// A listed product at a temperature (F) against published values of another
// source; 0 where that source gives no value. Densities within 2 %, specific
// heats within 3 % (the scatter the sources give for liquid heat capacities
// near the ends of their ranges).
struct Reference {
  int position;
  double tempF;
  double densityLbFt3;
  double specificHeatBtuLbF;
  const char* source;
};
const Reference kReferences[] = {
    // Both ends of each product's range in the heat-up product list.
    {0, 32, 62.46, 1.002, kChemSep},       // Water
    {0, 212, 59.82, 1.007, kChemSep},      // Water
    {3, 62, 65.63, 0.4857, kChemSep},      // Acetic Acid
    {3, 244, 58.64, 0.5925, kChemSep},     // Acetic Acid
    {4, -139, 56.81, 0.4812, kChemSep},    // Acetone
    {4, 133, 46.86, 0.5459, kChemSep},     // Acetone
    {5, -1, 65.16, 0.4718, kChemSep},      // Analine
    {5, 300, 57.01, 0.5477, kChemSep},     // Analine
    {6, 42, 55.68, 0.4038, kChemSep},      // Benzene
    {6, 176, 50.91, 0.457, kChemSep},      // Benzene
    {7, 0, 55.8, 0.3874, kChemSep},        // Cumene
    {7, 306, 46.47, 0, kChemSep},          // Cumene
    {7, 283.37, 0, 0.5258, kChemSep},      // Cumene: the end of Zabransky's data (412.8 K), held above
    {8, 44, 49.29, 0.4247, kChemSep},      // Cyclohexane
    {8, 177, 44.98, 0.5016, kChemSep},     // Cyclohexane
    {9, 82.3, 68.17, 0.5784, kChemSep},    // Diethanolamine
    {9, 210, 65.13, 0.6764, kChemSep},     // Diethanolamine
    {10, -40, 52.59, 0.4883, kChemSep},    // Ethanol
    {10, 178.1, 45.65, 0.7267, kChemSep},  // Ethanol
    {11, 49.6, 137.0, 0, kPerryVdi},       // Ethylene Bromide
    {11, 269, 121.2, 0, kPerryVdi},        // Ethylene Bromide
    {11, 77, 0, 0.1729, kCrc25C},          // Ethylene Bromide
    {12, -11.3, 71.41, 0.5225, kChemSep},  // Ethylene Glycol
    {12, 388.4, 60.61, 0.769, kChemSep},   // Ethylene Glycol
    {13, 46.7, 77.05, 0, kPerryVdi},       // Formic Acid (100%)
    {13, 214, 69.53, 0, kPerryVdi},        // Formic Acid (100%)
    {13, 77, 0, 0.5138, kCrc25C},          // Formic Acid (100%)
    {14, 64.8, 78.22, 0, kChemSep},        // Glycerol
    {14, 350, 71.44, 0, kChemSep},         // Glycerol
    {14, 67.9, 0, 0.5603, kZab},           // Glycerol (293.1 K)
    {14, 229.2, 0, 0.6712, kZab},          // Glycerol (382.7 K)
    {15, 77, 62.65, 0.7371, kCrc25C},      // Hydrazine
    {16, 8, 45.9, 0.6212, kChemSep},       // Hydrogen Cyanide
    {16, 78.1, 42.37, 0.6279, kChemSep},   // Hydrogen Cyanide
    {17, -40, 52.72, 0.5397, kChemSep},    // Methanol
    {17, 148, 46.85, 0.6741, kChemSep},    // Methanol
    {18, 78.7, 0, 0.6478, kZab},           // Monoethanolamine (299.1 K)
    {18, 256.4, 0, 0.7506, kZab},          // Monoethanolamine (397.8 K)
    {19, 176, 61.0, 0.4064, kChemSep},     // Napthalene (Liq.)
    {19, 424, 53.89, 0.536, kChemSep},     // Napthalene (Liq.)
    {20, 42, 76.0, 0, kChemSep},           // Nitrobenzene
    {20, 412, 62.17, 0, kChemSep},         // Nitrobenzene
    {20, 77, 0, 0.3605, kCrc25C},          // Nitrobenzene
    {21, 148.5, 51.67, 0.1962, kOthers},   // Potassium: CRC molten density; JANAF
    {21, 932, 45.37, 0, kCrcMolten},       // Potassium: the end of CRC's range (773 K)
    {21, 1400, 0, 0.1867, kJanaf},         // Potassium (Liquid)
    {22, 208, 57.87, 0.3307, kOthers},     // Sodium: CRC molten density; JANAF at the melting point
    {22, 1616, 46.22, 0.3068, kOthers},    // Sodium: Foust (1972) density; JANAF
    {22, 1616, 0, 0.3034, kOthers},        // Sodium: Fink and Leibowitz's enthalpy, differentiated
    {23, 1, 58.38, 0.3916, kChemSep},      // Styrene
    {23, 292.3, 49.19, 0.5225, kChemSep},  // Styrene
    {24, 246, 111.9, 0.2339, kOthers},     // Sulfur: VDI PPDS density; JANAF
    {24, 302, 110.98, 0, kPerryVdi},       // Sulfur
    {25, -20, 56.99, 0.3746, kChemSep},    // Toluene
    {25, 231, 48.68, 0.4767, kChemSep},    // Toluene
    {26, 71, 0, 0.5658, kChemSep},         // Triethanolamine
    {26, 212, 0, 0.6172, kChemSep},        // Triethanolamine
    {27, -13.5, 57.16, 0.3911, kChemSep},  // O-xylene
    {27, 292, 48.05, 0.4909, kChemSep},    // O-xylene
    {28, 1, 55.83, 0.3827, kChemSep},      // M-xylene
    {28, 252.8, 48.24, 0.4903, kChemSep},  // M-xylene
    {29, 55.8, 54.09, 0.3983, kChemSep},   // P-xylene
    {29, 281.3, 47.0, 0.5019, kChemSep},   // P-xylene
    {37, 68, 94.66, 0, kOthers},           // NaOH 50 %: Laliberte (2009), J. Chem. Eng. Data 54, 1725
    {37, 248, 92.35, 0, kOthers},          // NaOH 50 %: Laliberte at the top of its range (120 C)
    {39, 77, 114.26, 0, kCrc25C},          // Sulfuric Acid (98%): the pure acid
};

TEST(HeatUpProducts, ListedProductsAgreeWithASecondPublishedSource) {
  for (const Reference& r : kReferences) {
    const auto p = ProductPropertiesAt(r.position, r.tempF);
    ASSERT_TRUE(p) << r.position;
    const std::string where =
        "product " + std::to_string(r.position) + " at " + std::to_string(r.tempF) + " F against " + r.source;
    if (r.densityLbFt3 > 0) {
      EXPECT_NEAR(p->densityLbFt3 / r.densityLbFt3, 1.0, 0.02) << where;
    }
    if (r.specificHeatBtuLbF > 0) {
      EXPECT_NEAR(p->specificHeatBtuLbF / r.specificHeatBtuLbF, 1.0, 0.03) << where;
    }
  }
}

TEST(HeatUpProducts, ReproducesTheHandbookSpotValues) {
  struct Spot {
    int position;
    double tempF;
    double densityLbFt3;  // 0: no spot value
    double specificHeatBtuLbF;
  };
  const Spot spots[] = {
      {0, 60, 62.37, 1.000},  // water
      {25, 77, 53.9, 0.406},  // toluene
      {14, 77, 0, 0.567},     // glycerol
      {5, 77, 0, 0.492},      // aniline
      {22, 400, 0, 0.320},    // sodium
  };
  for (const Spot& s : spots) {
    const auto p = ProductPropertiesAt(s.position, s.tempF);
    ASSERT_TRUE(p);
    if (s.densityLbFt3 > 0) {
      EXPECT_NEAR(p->densityLbFt3 / s.densityLbFt3, 1.0, 0.02) << s.position;
    }
    EXPECT_NEAR(p->specificHeatBtuLbF / s.specificHeatBtuLbF, 1.0, 0.02) << s.position;
    EXPECT_FALSE(p->heldAtRangeEnd) << s.position;
  }
}

TEST(HeatUpProducts, WaterFollowsTheIf97VerificationTable) {
  // IAPWS R7-97, Table 5: specific volume m3/kg and isobaric heat capacity kJ/(kg K).
  struct Point {
    double kelvin, megapascal, volume, cp;
  };
  const Point points[] = {{300, 3, 0.100215168e-2, 0.417301218e1},
                          {300, 80, 0.971180894e-3, 0.401008987e1},
                          {500, 3, 0.120241800e-2, 0.465580682e1}};
  for (const Point& p : points) {
    const WaterState w = Iapws97Region1(p.kelvin, p.megapascal);
    EXPECT_NEAR(1.0 / w.densityKgM3, p.volume, p.volume * 1e-8);
    EXPECT_NEAR(w.specificHeatKjKgK, p.cp, p.cp * 1e-8);
  }
}

TEST(HeatUpProducts, OutsideItsRangeAPropertyIsHeldAtTheNearerEnd) {
  // Liquid sulfur's heat capacity ends at 432 K (317.93 F), where it peaks:
  // above, the value of that end, never a value across it.
  const double endF = (432.0 - 273.15) * 1.8 + 32.0;
  const auto atEnd = ProductPropertiesAt(24, endF);
  const auto above = ProductPropertiesAt(24, 400);
  const auto inside = ProductPropertiesAt(24, 300);
  ASSERT_TRUE(atEnd && above && inside);
  EXPECT_FALSE(atEnd->heldAtRangeEnd);
  EXPECT_FALSE(inside->heldAtRangeEnd);
  EXPECT_TRUE(above->heldAtRangeEnd);
  EXPECT_DOUBLE_EQ(above->specificHeatBtuLbF, atEnd->specificHeatBtuLbF);
  // Below the range: water at 0 F takes its 32 F value.
  const auto cold = ProductPropertiesAt(0, 0);
  const auto freezing = ProductPropertiesAt(0, 32);
  ASSERT_TRUE(cold && freezing);
  EXPECT_TRUE(cold->heldAtRangeEnd);
  EXPECT_NEAR(cold->densityLbFt3, freezing->densityLbFt3, 1e-9);
}

TEST(HeatUpProducts, EveryRowNamesItsSourcesAndGivesPositiveValuesAcrossItsBreaks) {
  for (int position = 0; position < kProductOther; ++position) {
    const HeatUpProductData* row = HeatUpProductAt(position);
    ASSERT_NE(row, nullptr);
    EXPECT_GT(std::string(row->densitySource).size(), 10u) << position;
    EXPECT_GT(std::string(row->specificHeatSource).size(), 10u) << position;
    if (row->standIn) {
      EXPECT_NE(std::string(row->note).find("stand-in"), std::string::npos) << position;
    }
    for (double tempF : ProductPropertyBreaksF(position)) {
      const auto p = ProductPropertiesAt(position, tempF);
      ASSERT_TRUE(p);
      EXPECT_TRUE(std::isfinite(p->densityLbFt3) && p->densityLbFt3 > 1.0) << position << " at " << tempF;
      EXPECT_TRUE(std::isfinite(p->specificHeatBtuLbF) && p->specificHeatBtuLbF > 0.05)
          << position << " at " << tempF;
    }
  }
  EXPECT_EQ(HeatUpProductAt(kProductOther), nullptr);
  EXPECT_FALSE(ProductPropertiesAt(kProductOther, 100));
  EXPECT_FALSE(ProductPropertiesAt(-1, 100));
  EXPECT_FALSE(ProductPropertiesAt(0, std::nan("")));
}

// The help page's product table is written from this table: each row's
// sources and note appear on it, so the two cannot drift apart unnoticed.
TEST(HeatUpProducts, TheHelpPageNamesEveryRowsSources) {
  std::ifstream file(std::filesystem::path(test::TestDataDir()) / "help" / "47.htm");
  ASSERT_TRUE(file);
  std::stringstream page;
  page << file.rdbuf();
  for (int position = 0; position < kProductOther; ++position) {
    const HeatUpProductData* row = HeatUpProductAt(position);
    for (const char* text : {row->densitySource, row->specificHeatSource, row->note}) {
      EXPECT_NE(page.str().find(text), std::string::npos) << position << ": " << text;
    }
  }
}

}  // namespace
}  // namespace vst
