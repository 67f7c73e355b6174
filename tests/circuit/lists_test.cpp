#include "circuit/lists.h"

#include <gtest/gtest.h>

#include "circuit/checks.h"
#include "core/units.h"

namespace vst {
namespace {

std::string Joined(const TextList& list) {
  std::string s;
  for (const auto& e : list) s += "[" + e + "]";
  return s;
}

// The wall list a tube and material offer, nothing when they leave the list alone.
std::optional<TextList> Offered(UnitSystem units, std::string_view tube, int material) {
  const TextList* list = WallThicknessList(units, tube, material);
  return list ? std::optional<TextList>(*list) : std::nullopt;
}

TEST(WallThicknessList, FollowsTubeAndMaterialAndLeavesUnlistedCasesAlone) {
  struct Row {
    const char* tube;
    int material;
    std::optional<TextList> expected;  // nothing: the list is left as it is
  };
  const Row rows[] = {
      {"3/8", kMaterialCopper, TextList{"0.032", "0.049"}},
      {"3/8", kMaterialStainlessWelded, TextList{"0.035", "0.049"}},
      {"3/8", kMaterialStainlessSeamless, std::nullopt},
      {"1/2", kMaterialCopper, TextList{"0.035", "0.049"}},
      {"1/2", kMaterialStainlessWelded, TextList{"0.035", "0.049"}},
      {"1/2", kMaterialStainlessSeamless, TextList{"0.035", "0.049"}},
      {"5/8", kMaterialCopper, TextList{"0.042", "0.049", "0.065"}},
      {"5/8", kMaterialStainlessWelded, TextList{"0.049", "0.065"}},
      {"5/8", kMaterialStainlessSeamless, std::nullopt},
      {"3/4", kMaterialCopper, TextList{"0.049", "0.065"}},
      {"3/4", kMaterialStainlessWelded, TextList{"0.049", "0.065"}},
      {"3/4", kMaterialStainlessSeamless, TextList{"0.049", "0.065"}},
      {"7/8", kMaterialCopper, std::nullopt},
      {"", kMaterialCopper, std::nullopt},
      {"3/8", -1, std::nullopt},
      {"3/8", 3, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("tube ") + row.tube + ", material " + std::to_string(row.material));
    EXPECT_EQ(Offered(UnitSystem::English, row.tube, row.material), row.expected);
    // Metric walls do not depend on the tube or the material.
    EXPECT_EQ(Offered(UnitSystem::Metric, row.tube, row.material), (TextList{"1", "1.5"}));
  }
}

TEST(PipeSizeList, BlanksTheThreeSmallestSizesWithoutMovingTheOthers) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    const bool metric = units == UnitSystem::Metric;
    SCOPED_TRACE(metric ? "Metric" : "English");
    const TextList full = PipeSizeList(units, false);
    const TextList blanked = PipeSizeList(units, true);
    ASSERT_EQ(full.size(), 19u);
    ASSERT_EQ(blanked.size(), 19u);
    EXPECT_EQ(full[0], metric ? "15" : ".5");
    EXPECT_EQ(full[2], metric ? "25" : "1");
    EXPECT_EQ(full[18], metric ? "900" : "36.0");
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(blanked[i], "") << "position " << i;
    for (std::size_t i = 3; i < 19; ++i) EXPECT_EQ(blanked[i], full[i]) << "position " << i;
    EXPECT_EQ(blanked[3], metric ? "40" : "1.5");
  }
}

TEST(TubeSizeList, OffersTheSizesOfEachInstallationInBothModes) {
  struct Row {
    int installation;
    bool internal;
    const char* english;
    const char* metric;
  };
  const Row rows[] = {
      {0, false, "[3/8][1/2][5/8][3/4]", "[10][12][16][20]"},
      {1, false, "[3/8][1/2][5/8][3/4]", "[10][12][16][20]"},
      {2, false, "[3/8]", "[10]"},  // YJ-1
      {3, false, "[3/8]", "[10]"},  // YJ-2
      {0, true, "[3/8][1/2][5/8][3/4]", "[10][12][16][20]"},
      {1, true, "[3/8][1/2][5/8][3/4]", "[10][12][16][20]"},
      {2, true, "[3/8][1/2]", "[10][12]"},  // YJ-0
      {3, true, "[3/8]", "[10]"},
      {4, true, "[3/8]", "[10]"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("installation " + std::to_string(row.installation) +
                 (row.internal ? " internal" : " standard"));
    EXPECT_EQ(Joined(TubeSizeList(row.installation, row.internal, UnitSystem::English)), row.english);
    EXPECT_EQ(Joined(TubeSizeList(row.installation, row.internal, UnitSystem::Metric)), row.metric);
  }
}

TEST(InstallationList, HasTwoBlanksAfterCoverlynAndYJ0OnlyInInternalMode) {
  EXPECT_EQ(Joined(InstallationList(false)), "[Troughline][Fillet Trace][Coverlyn  YJ-1][Coverlyn  YJ-2]");
  EXPECT_EQ(Joined(InstallationList(true)),
            "[Troughline][Fillet Trace][Coverlyn  YJ-0][Coverlyn  YJ-1][Coverlyn  YJ-2]");
}

TEST(FixedLists, HoldTheEntriesOfBothUnitSystems) {
  EXPECT_EQ(Joined(InsulationThicknessList(UnitSystem::English)), "[1.0][1.5][2.0][2.5][3.0][3.5][4.0]");
  EXPECT_EQ(Joined(InsulationThicknessList(UnitSystem::Metric)), "[25][30][40][50][60][80][100]");
  EXPECT_EQ(InsulationTypeList()[kInsulationPolyisocyanurate], "Polyisocyanurate");
  EXPECT_EQ(InsulationTypeList()[kInsulationFiberglass], "Fiberglass");
  EXPECT_EQ(Joined(PassList()), "[1][2][3][4][5][6][7][8]");
  EXPECT_EQ(Joined(TracerMaterialList()), "[Copper][Stainless Wld][Stainless Smls]");
  ASSERT_EQ(ProductList().size(), 41u);
  EXPECT_EQ(ProductList()[kProductOther], "Other");
  EXPECT_EQ(ProductList()[19], "Napthalene (Liq.)");
  EXPECT_EQ(PipeSizeList(UnitSystem::English, false)[kPipeSizeStart], "2.0");
  EXPECT_EQ(PipeSizeList(UnitSystem::Metric, false)[kPipeSizeStart], "50");
}

TEST(ProductRangeTable, CoversEveryProductButOther) {
  for (int p = 0; p < kProductOther; ++p) {
    const ProductRange* range = ProductRangeTable(p);
    ASSERT_NE(range, nullptr) << "position " << p;
    EXPECT_LT(range->lowF, range->highF) << "position " << p;
  }
  EXPECT_EQ(ProductRangeTable(kProductOther), nullptr);
  EXPECT_EQ(ProductRangeTable(-1), nullptr);
  EXPECT_EQ(ProductRangeTable(41), nullptr);
}

TEST(PressureChecks, WarnAboveTheLimitOfEachPressureUnit) {
  struct Row {
    bool copper;  // else polyisocyanurate
    float pressure;
    PressureUnit unit;
    const char* putBack;  // nullptr: no warning
    const char* limitText;
  };
  const Row rows[] = {
      {false, 50.0f, PressureUnit::Psig, nullptr, ""},
      {false, 50.5f, PressureUnit::Psig, "50", "50 psig"},
      {false, 446.0f, PressureUnit::Kpa, nullptr, ""},
      {false, 446.5f, PressureUnit::Kpa, "446", "446 kPa"},
      {false, 3.448f, PressureUnit::BarG, nullptr, ""},
      {false, 3.45f, PressureUnit::BarG, "3.4", "3.448 barg"},
      {false, 3.45f, static_cast<PressureUnit>(7), "3.4", "3.448 barg"},  // any other unit reads as bar g
      {true, 250.0f, PressureUnit::Psig, nullptr, ""},
      {true, 300.0f, PressureUnit::Psig, "50", "250 psig"},
      {true, 1825.0f, PressureUnit::Kpa, nullptr, ""},
      {true, 1826.0f, PressureUnit::Kpa, "446", "1,825 kPa"},
      {true, 17.237f, PressureUnit::BarG, nullptr, ""},
      {true, 17.3f, PressureUnit::BarG, "3.4", "17.237 barg"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.copper ? "copper " : "polyisocyanurate ") + std::to_string(row.pressure) +
                 " unit " + std::to_string(StoredNumber(row.unit)));
    const auto warning = row.copper ? CopperPressureCheck(row.pressure, row.unit)
                                    : PolyisocyanuratePressureCheck(row.pressure, row.unit);
    if (row.putBack == nullptr) {
      EXPECT_FALSE(warning.has_value());
      continue;
    }
    ASSERT_TRUE(warning.has_value());
    EXPECT_EQ(warning->putBack, row.putBack);
    const std::string start = row.copper
                                  ? "A Tracer Tubing Material of Copper should not be used with steam "
                                    "pressures greater than "
                                  : "Polyisocyanurate insulation should not be used with steam pressures "
                                    "greater than ";
    EXPECT_EQ(warning->message, start + row.limitText);
  }
}

TEST(CopperExposureCheck, WarnsAbove400FOr204C) {
  EXPECT_FALSE(CopperExposureCheck(400.0f, UnitSystem::English));
  EXPECT_FALSE(CopperExposureCheck(204.0f, UnitSystem::Metric));
  const auto english = CopperExposureCheck(450.0f, UnitSystem::English);
  ASSERT_TRUE(english);
  EXPECT_EQ(english->putBack, "375");
  EXPECT_EQ(english->message,
            "A Tracer Tubing Material of Copper should not be used with a Maximum Exposure Temperature "
            "greater than "
            "400\u00B0F");
  const auto metric = CopperExposureCheck(205.0f, UnitSystem::Metric);
  ASSERT_TRUE(metric);
  EXPECT_EQ(metric->putBack, "190");
  EXPECT_EQ(metric->message,
            "A Tracer Tubing Material of Copper should not be used with a Maximum Exposure Temperature "
            "greater than "
            "204\u00B0C");
}

TEST(ProductRangeWarning, ChecksTheMaintenanceTemperatureInFahrenheitWithInclusiveBounds) {
  struct Row {
    int product;
    float maintTemp;
    UnitSystem units;
    bool warns;
  };
  const Row rows[] = {
      {0, 100.0f, UnitSystem::English, false},
      {0, 212.0f, UnitSystem::English, false},  // bounds are inclusive
      {0, 212.5f, UnitSystem::English, true},
      {0, 31.0f, UnitSystem::English, true},
      {0, 38.0f, UnitSystem::Metric, false},   // 100.4 F
      {0, 101.0f, UnitSystem::Metric, true},   // 213.8 F
      {9, 82.3f, UnitSystem::English, false},  // the single nearest to 82.3 is the bound itself
      {9, 82.2f, UnitSystem::English, true},
      {4, -139.0f, UnitSystem::English, false},
      {kProductOther, 5000.0f, UnitSystem::English, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("product " + std::to_string(row.product) + " at " + std::to_string(row.maintTemp));
    EXPECT_EQ(ProductRangeWarning(row.product, row.maintTemp, row.units).has_value(), row.warns);
  }
  const char* tail =
      ".  This may cause inaccurate results.  Selecting Other and manually entering the proper temperature "
      "adjusted "
      "product properties is recommended";
  EXPECT_EQ(
      ProductRangeWarning(0, 250.0f, UnitSystem::English),
      std::string("Maintenance temperature is outside the temperature range of ( 32 - 212 \u00B0F)  for the "
                  "product property curve fits of Water") +
          tail);
  EXPECT_EQ(
      ProductRangeWarning(0, 101.0f, UnitSystem::Metric),
      std::string("Maintenance temperature is outside the temperature range of ( 0 - 100 \u00B0C)  for the "
                  "product property curve fits of Water") +
          tail);
  EXPECT_EQ(
      ProductRangeWarning(12, -30.0f, UnitSystem::Metric),  // -22 F
      std::string("Maintenance temperature is outside the temperature range of ( -24- 198 \u00B0C)  for the "
                  "product property curve fits of Ethylene Glycol") +
          tail);
}

}  // namespace
}  // namespace vst
