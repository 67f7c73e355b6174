#include "workspace/about_windows.h"

#include <gtest/gtest.h>

#include "core/units.h"
#include "docs/version.h"

namespace vst {
namespace {

constexpr KeyModifiers kCtrlAlt{false, true, true};
constexpr KeyModifiers kCtrlAltShift{true, true, true};
constexpr KeyModifiers kCtrl{false, true, false};
constexpr KeyModifiers kAlt{false, false, true};
constexpr KeyModifiers kNone{};

TEST(AboutBox, ShowsVersionLabelAndTexts) {
  AboutBoxModel box([] {});
  EXPECT_EQ(std::string(AboutBoxModel::kCaption), "About Vaporix");
  EXPECT_EQ(box.controls()["lblVersion"].text, "Version 3.0.1");
  EXPECT_EQ(box.controls()["lblProductName"].text, "Vantrel");
  EXPECT_EQ(box.controls()["lblBrand"].text, "Vaporix");
  EXPECT_EQ(box.controls()["lblCompany"].text, "Quorvex");
  EXPECT_FALSE(box.controls()["lblDisclaimer"].text.empty());
  EXPECT_EQ(box.controls()["SSCommand1"].text, "&OK");
}

TEST(AboutBox, DoubleClickWithoutArmingDoesNotToggle) {
  int toggles = 0;
  AboutBoxModel box([&] { ++toggles; });
  box.doubleClick("imgISO");
  EXPECT_EQ(toggles, 0);
}

TEST(AboutBox, ArmedDoubleClickTogglesEveryTime) {
  int toggles = 0;
  AboutBoxModel box([&] { ++toggles; });
  box.keyPress("imgISO", kCtrlAlt);
  box.doubleClick("imgISO");
  EXPECT_EQ(toggles, 1);
  box.doubleClick("imgISO");  // still armed: toggles back
  EXPECT_EQ(toggles, 2);
  EXPECT_TRUE(box.armed());
}

TEST(AboutBox, EachKeyPressOnThePictureDecidesTheArmingAnew) {
  struct Row {
    const char* what;
    KeyModifiers first;
    KeyModifiers second;
    bool armed;
  } rows[] = {
      {"Ctrl+Alt", kNone, kCtrlAlt, true},
      {"Ctrl+Alt+Shift", kNone, kCtrlAltShift, false},
      {"Ctrl only", kNone, kCtrl, false},
      {"Alt only", kNone, kAlt, false},
      {"plain key after arming", kCtrlAlt, kNone, false},
      {"Shift added after arming", kCtrlAlt, kCtrlAltShift, false},
      {"armed again after a plain key", kNone, kCtrlAlt, true},
  };
  for (const Row& r : rows) {
    int toggles = 0;
    AboutBoxModel box([&] { ++toggles; });
    box.keyPress("imgISO", r.first);
    box.keyPress("imgISO", r.second);
    box.doubleClick("imgISO");
    EXPECT_EQ(box.armed(), r.armed) << r.what;
    EXPECT_EQ(toggles, r.armed ? 1 : 0) << r.what;
  }
}

TEST(AboutBox, GestureBelongsToThePictureOnly) {
  int toggles = 0;
  AboutBoxModel box([&] { ++toggles; });
  box.keyPress("SSCommand1", kCtrlAlt);
  box.doubleClick("imgISO");
  box.keyPress("imgISO", kCtrlAlt);
  box.keyPress("SSCommand1", kNone);  // a key elsewhere leaves the picture armed
  box.doubleClick("lblVersion");
  EXPECT_EQ(toggles, 0);
  box.doubleClick("imgISO");
  EXPECT_EQ(toggles, 1);
}

TEST(AboutBox, MissingToggleIsHarmless) {
  AboutBoxModel box(nullptr);
  box.keyPress("imgISO", kCtrlAlt);
  box.doubleClick("imgISO");
  EXPECT_TRUE(box.armed());
}

TEST(StartupWindow, CaptionAndTexts) {
  StartupModel w("Linux");
  EXPECT_EQ(StartupModel::caption(), "Vantrel\u00AE   Steam Tracing");
  EXPECT_EQ(w.controls()["lblSubtitle"].text, "Steam Heat Tracing Design Software");
  EXPECT_EQ(w.controls()["lblVersion"].text, "(Version 3.0.1)");
  EXPECT_EQ(w.controls()["lblPlatform"].text, "Linux");
  EXPECT_EQ(w.controls()["lblCompany"].text, "Quorvex");
  EXPECT_EQ(w.controls()["English"].text, " &Inch Pound Units");
  EXPECT_EQ(w.controls()["Metric"].text, " &SI Metric Units");
}

TEST(StartupWindow, CommandsChooseUnitsAndPressureUnit) {
  StartupModel w("");
  auto english = w.clicked("English");
  ASSERT_TRUE(english);
  EXPECT_EQ(english->units, UnitSystem::English);
  EXPECT_EQ(StoredNumber(english->pressureUnit), 0);
  auto metric = w.clicked("Metric");
  ASSERT_TRUE(metric);
  EXPECT_EQ(metric->units, UnitSystem::Metric);
  EXPECT_EQ(StoredNumber(metric->pressureUnit), 2);
  EXPECT_FALSE(w.clicked("lblVersion"));
}

}  // namespace
}  // namespace vst
