// The list rules and the application checks of one circuit, on the entry a
// fresh window holds.
#include "circuit/entry.h"

#include <gtest/gtest.h>

#include "core/units.h"
#include "docs/about_box.h"

namespace vst {
namespace {

CircuitContext Context(UnitSystem units = UnitSystem::English, bool internalMode = false) {
  CircuitContext context;
  context.units = units;
  context.internalMode = internalMode;
  context.pressureUnit = units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig;
  return context;
}

// Chooses the entry `text` of the list the entry offers.
int Position(const TextList& list, const std::string& text) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == text) return static_cast<int>(i);
  }
  ADD_FAILURE() << text << " is not on offer";
  return -1;
}

struct Circuit {
  explicit Circuit(CircuitContext c) : context(c), e(FreshEntry(c)) {}
  void installation(const std::string& text) {
    ChooseInstallation(e, Position(InstallationList(context.internalMode), text), context);
  }
  void tube(const std::string& text) { ChooseTubeSize(e, Position(*e.tubes, text), context); }
  void material(const std::string& text) { ChooseMaterial(e, Position(TracerMaterialList(), text), context); }
  CircuitContext context;
  CircuitEntry e;
};

TEST(ChooseInstallation, CapsTheTubeAsEachModeAllows) {
  Circuit s(Context());
  ASSERT_EQ(InstallationText(s.e, false), "Coverlyn  YJ-2");
  s.installation("Fillet Trace");
  EXPECT_EQ(TubeSizeText(s.e), "3/8");  // from the single size of YJ-2
  EXPECT_EQ(s.e.tubes->size(), 4u);
  s.tube("3/4");
  s.installation("Troughline");
  EXPECT_EQ(TubeSizeText(s.e), "1/2");  // the standard mode caps at 1/2 in
  s.installation("Coverlyn  YJ-1");
  EXPECT_EQ(*s.e.tubes, TextList{"3/8"});
  EXPECT_EQ(s.e.tubeSize, 0);

  Circuit internal(Context(UnitSystem::English, true));
  internal.installation("Fillet Trace");
  internal.tube("3/4");
  internal.installation("Troughline");
  EXPECT_EQ(TubeSizeText(internal.e), "3/4");
  internal.installation("Coverlyn  YJ-0");
  EXPECT_EQ(*internal.e.tubes, (TextList{"3/8", "1/2"}));
  EXPECT_EQ(TubeSizeText(internal.e), "1/2");
  internal.installation("Coverlyn  YJ-2");
  EXPECT_EQ(TubeSizeText(internal.e), "3/8");
}

TEST(ChooseTubeSize, TroughlineWithALargerTubeBlanksTheSmallestPipesKeepingPositions) {
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    const bool metric = units == UnitSystem::Metric;
    SCOPED_TRACE(metric ? "Metric" : "English");
    Circuit s(Context(units));
    s.installation("Troughline");
    EXPECT_EQ((*s.e.pipeSizes)[0], metric ? "15" : ".5");  // the smallest tube: all sizes
    ChoosePipeSize(s.e, 3);
    ChooseTubeSize(s.e, 1, s.context);
    ASSERT_EQ(s.e.pipeSizes->size(), 19u);
    EXPECT_EQ((TextList{(*s.e.pipeSizes)[0], (*s.e.pipeSizes)[1], (*s.e.pipeSizes)[2]}),
              (TextList{"", "", ""}));
    EXPECT_EQ(PipeSizeText(s.e), metric ? "40" : "1.5");
    s.installation("Fillet Trace");
    EXPECT_EQ((*s.e.pipeSizes)[0], metric ? "15" : ".5");
    EXPECT_EQ(s.e.pipeSize, 3);
  }
}

TEST(ChooseMaterial, WallsFollowTubeAndMaterialAndUnlistedCasesKeepThem) {
  Circuit s(Context());
  s.installation("Troughline");
  EXPECT_EQ(*s.e.walls, (TextList{"0.032", "0.049"}));
  s.e.tubeWall = 1;
  EXPECT_FALSE(ChooseMaterial(s.e, kMaterialStainlessSeamless, s.context));  // 3/8 in seamless
  EXPECT_EQ(*s.e.walls, (TextList{"0.032", "0.049"}));
  EXPECT_EQ(s.e.tubeWall, 1);
  s.tube("1/2");
  EXPECT_EQ(*s.e.walls, (TextList{"0.035", "0.049"}));
  EXPECT_EQ(s.e.tubeWall, 0);
  s.tube("5/8");  // 5/8 in seamless: unchanged again
  EXPECT_EQ(*s.e.walls, (TextList{"0.035", "0.049"}));
  s.material("Copper");
  EXPECT_EQ(*s.e.walls, (TextList{"0.042", "0.049", "0.065"}));

  Circuit metric(Context(UnitSystem::Metric));
  metric.installation("Troughline");
  for (const char* tube : {"10", "12", "16", "20"}) {
    for (const char* material : {"Copper", "Stainless Wld", "Stainless Smls"}) {
      metric.material(material);
      metric.tube(tube);
      EXPECT_EQ(*metric.e.walls, (TextList{"1", "1.5"})) << tube << " " << material;
      EXPECT_EQ(metric.e.tubeWall, 0) << tube << " " << material;
    }
  }
}

TEST(FreshEntry, HoldsTheDefaultsOfEachUnitSystem) {
  const CircuitEntry english = FreshEntry(Context());
  const CircuitEntry metric = FreshEntry(Context(UnitSystem::Metric));
  const auto texts = [](const CircuitEntry& e) {
    TextList t;
    for (const TypedNumber* n :
         {&e.maxAmbient, &e.minAmbient, &e.maintTemp, &e.maxExposure, &e.intermittentExposure, &e.pressure,
          &e.pipeLength, &e.initialTemp, &e.finalTemp, &e.phaseChangeTemp, &e.specificHeat, &e.density,
          &e.latentHeat})
      t.push_back(n->text());
    return t;
  };
  EXPECT_EQ(texts(english),
            (TextList{"100", "0", "100", " 375", "375", "50", "100", "0", "100", "32", "1", "62.4", "144"}));
  EXPECT_EQ(texts(metric), (TextList{"38", "-18", "38", "190", "190", "3.45", "30", "-18", "38", "0",
                                     "4186.553", "982.846", "334922"}));
  EXPECT_EQ(PipeSizeText(english), "2.0");
  EXPECT_EQ(PipeSizeText(metric), "50");
  EXPECT_EQ(english.insulationType, kInsulationFiberglass);
}

TEST(CheckStep, WarningsInOrderWithTheirCorrectionsAndTheFocus) {
  const char* poly =
      "Polyisocyanurate insulation should not be used with steam pressures greater than 50 psig";
  const char* copperPsig =
      "A Tracer Tubing Material of Copper should not be used with steam pressures greater than 250 psig";
  const char* copper400F =
      "A Tracer Tubing Material of Copper should not be used with a Maximum Exposure Temperature greater "
      "than "
      "400\u00B0F";
  using F = EntryField;
  const CircuitContext context = Context();
  CircuitEntry e = FreshEntry(context);
  e.pressure = "300";
  e.maxExposure = "450";
  CircuitEntry fromList = e;
  fromList.insulationType = kInsulationPolyisocyanurate;

  // From the list: Calcium Silicate, whose own choice warns about copper.
  CheckStep step = CheckInsulationChoice(fromList, context);
  ASSERT_EQ(step.warnings.size(), 3u);
  EXPECT_EQ(step.warnings[0].text, poly);
  EXPECT_EQ(step.warnings[0].corrected, F::InsulationType);
  EXPECT_EQ(step.warnings[1].text, copperPsig);
  EXPECT_EQ(step.warnings[2].text, copper400F);
  EXPECT_FALSE(step.warnings[2].corrected);
  EXPECT_EQ(step.focus, F::InsulationType);
  EXPECT_EQ(fromList.insulationType, 0);
  EXPECT_EQ(fromList.pressure, "300");

  // From the pressure field both copper limits are put back.
  step = CheckPressureField(e, context);
  ASSERT_EQ(step.warnings.size(), 2u);
  EXPECT_EQ(step.warnings[0].corrected, F::Pressure);
  EXPECT_EQ(step.warnings[1].corrected, F::MaxExposure);
  EXPECT_EQ(step.focus, F::MaxExposure);
  EXPECT_EQ(e.pressure, "50");
  EXPECT_EQ(e.maxExposure, "375");
  EXPECT_TRUE(CheckMaxExposureField(e, context).warnings.empty());
  EXPECT_FALSE(CheckMaxExposureField(e, context).focus);
}

}  // namespace
}  // namespace vst
