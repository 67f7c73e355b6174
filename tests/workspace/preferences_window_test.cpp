#include "workspace/preferences_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {
namespace {

// Records every message; the other dialogs are not used by this window.
class RecordingDialogs : public Dialogs {
 public:
  std::vector<Message> messages;
  MsgAnswer message(const Message& m) override {
    messages.push_back(m);
    return MsgAnswer::Ok;
  }
  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup&) override {
    ADD_FAILURE() << "no fittings dialog expected";
    return std::nullopt;
  }
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup&) override {
    ADD_FAILURE() << "no shoe dialog expected";
    return std::nullopt;
  }
  std::optional<std::string> openFileName(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> saveFileName(const FileDialogSpec&) override { return std::nullopt; }
};

PreferencesInput Metric(int unit, std::string pressure, int under = 0, char mark = '.') {
  return PreferencesInput{UnitSystem::Metric, static_cast<PressureUnit>(unit), under, std::move(pressure),
                          mark};
}

PreferencesInput English(int unit, std::string pressure, int under = 0) {
  return PreferencesInput{UnitSystem::English, static_cast<PressureUnit>(unit), under, std::move(pressure),
                          '.'};
}

TEST(PreferencesWindow, ShowsTheWindowTextsAndControls) {
  RecordingDialogs dialogs;
  PreferencesModel model(Metric(2, "3.45"), dialogs);
  const ControlSet& c = model.controls();
  EXPECT_EQ(std::string(PreferencesModel::kCaption), " Preference");
  EXPECT_EQ(c["Label2"].text, "&Insulation Sizing:");
  EXPECT_EQ(c["Label3"].text, "Standard Oversizing  ");
  EXPECT_EQ(c["Label4"].text, "Minimal    Oversizing");
  EXPECT_EQ(c["Combo2"].items, (std::vector<std::string>{"STANDARD", "MINIMAL"}));
  EXPECT_EQ(c["Combo1"].items, (std::vector<std::string>{"psig", "kPa", "bar g"}));
  EXPECT_EQ(c["Label1"].text, "Steam &Pressure ");
  EXPECT_EQ(c["Command1"].text, " &Done");
  EXPECT_EQ(c["Note"].text, "&Notes");
  EXPECT_EQ(c["InsulationSize"].text, "Insulation Sizing");
  EXPECT_EQ(c["Combo1"].index, 2);
  EXPECT_TRUE(c["Combo1"].visible);
  EXPECT_TRUE(c["Label1"].visible);
}

TEST(PreferencesWindow, EnglishUnitsHideThePressureUnitAndDoneSetsPsig) {
  for (int unit : {-1, 0, 1, 2, 7}) {
    RecordingDialogs dialogs;
    PreferencesModel model(English(unit, "50"), dialogs);
    EXPECT_FALSE(model.controls()["Combo1"].visible) << "unit " << unit;
    EXPECT_FALSE(model.controls()["Label1"].visible) << "unit " << unit;
    model.listClicked("Combo1", 1);  // a hidden list takes no choice
    auto out = model.done();
    ASSERT_TRUE(out) << "unit " << unit;
    EXPECT_EQ(StoredNumber(out->pressureUnit), 0) << "unit " << unit;
    EXPECT_FALSE(out->pressureText) << "unit " << unit;
    EXPECT_FALSE(out->pressureCaption) << "unit " << unit;
  }
}

TEST(PreferencesWindow, SizingListShowsTheRecordsUnderAndDoneMakesItProgramWide) {
  struct Row {
    int under;
    int shown;
  } rows[] = {{0, 0}, {1, 1}, {-3, 0}, {9, 0}};
  for (const Row& r : rows) {
    RecordingDialogs dialogs;
    PreferencesModel model(English(0, "50", r.under), dialogs);
    EXPECT_EQ(model.controls()["Combo2"].index, r.shown) << "UNDER " << r.under;
    EXPECT_EQ(model.controls()["Combo2"].selectedText(), r.shown ? "MINIMAL" : "STANDARD")
        << "UNDER " << r.under;
    auto out = model.done();
    ASSERT_TRUE(out);
    EXPECT_EQ(StoredNumber(out->insulationSizing), r.shown) << "UNDER " << r.under;
  }
}

TEST(PreferencesWindow, PickedSizingApplies) {
  RecordingDialogs dialogs;
  PreferencesModel model(Metric(2, "3.45", 1), dialogs);
  model.listClicked("Combo2", 0);
  EXPECT_EQ(StoredNumber(model.done()->insulationSizing), 0);
  model.listClicked("Combo2", 1);
  EXPECT_EQ(StoredNumber(model.done()->insulationSizing), 1);
  model.listClicked("Combo2", 2);   // past the list: ignored
  model.listClicked("Combo2", -1);  // nothing: ignored
  EXPECT_EQ(StoredNumber(model.done()->insulationSizing), 1);
}

TEST(PreferencesWindow, PressureUnitOutsideTheListOpensAsBarG) {
  for (int unit : {-1, 3, 100}) {
    RecordingDialogs dialogs;
    PreferencesModel model(Metric(unit, "3.45"), dialogs);
    EXPECT_EQ(model.controls()["Combo1"].index, 2) << "unit " << unit;
    auto out = model.done();
    ASSERT_TRUE(out);
    EXPECT_EQ(StoredNumber(out->pressureUnit), 2) << "unit " << unit;
    EXPECT_FALSE(out->pressureText) << "unit " << unit;
  }
}

// Unit changes keep the physical pressure: kPa absolute, psig and bar g
// gauge, with 14.7 psi of atmosphere, 14.5 psi per bar and 0.1450326 psi per
// kPa. Expected values are worked by hand from those factors.
TEST(PreferencesWindow, UnitChangeConvertsThePressureAndItsCaption) {
  struct Row {
    int from;
    std::string text;
    int to;
    std::string expectedText;
    std::string caption;
  } rows[] = {
      // 3.4 bar g = 49.3 psig = 64 psia = 64 / 0.1450326 kPa
      {2, "3.4", 1, "441.280098405462", " kPa"},
      {2, "3.4", 0, "49.3", " psig"},
      {0, "49.3", 2, "3.4", " bar g"},
      // 446 kPa x 0.1450326 - 14.7 = 49.9845396 psig
      {1, "446", 0, "49.9845396", " psig"},
      {1, "446", 2, "3.44720962758621", " bar g"},
      // 100 kPa x 0.1450326 = 14.50326 psia, 0.19674 psi below atmosphere
      // (the double product lands just below it in the 15th digit)
      {1, "100", 0, "-0.196739999999998", " psig"},
      // 0 psig = 14.7 psia = 14.7 / 0.1450326 kPa
      {0, "0", 1, "101.356522602505", " kPa"},
      {0, "-14.7", 1, "0", " kPa"},
      {2, "  2.5 ", 0, "36.25", " psig"},
  };
  for (const Row& r : rows) {
    RecordingDialogs dialogs;
    PreferencesModel model(Metric(r.from, r.text), dialogs);
    model.listClicked("Combo1", r.to);
    auto out = model.done();
    ASSERT_TRUE(out) << r.text << " from " << r.from << " to " << r.to;
    EXPECT_EQ(StoredNumber(out->pressureUnit), r.to) << r.text << " from " << r.from;
    ASSERT_TRUE(out->pressureText) << r.text << " from " << r.from << " to " << r.to;
    EXPECT_EQ(*out->pressureText, r.expectedText) << r.text << " from " << r.from << " to " << r.to;
    EXPECT_EQ(out->pressureCaption.value_or("?"), r.caption)
        << r.text << " from " << r.from << " to " << r.to;
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

TEST(PreferencesWindow, ConvertingThereAndBackGivesThePressureBack) {
  for (const char* start : {"3.4", "3.45", "0.5", "10", "17.25"}) {
    for (int via : {0, 1}) {
      RecordingDialogs dialogs;
      PreferencesModel there(Metric(2, start), dialogs);
      there.listClicked("Combo1", via);
      auto a = there.done();
      ASSERT_TRUE(a && a->pressureText) << start;
      PreferencesModel back(Metric(via, *a->pressureText), dialogs);
      back.listClicked("Combo1", 2);
      auto b = back.done();
      ASSERT_TRUE(b && b->pressureText) << start << " via " << *a->pressureText;
      // The intermediate text carries 15 significant digits, so the way back
      // lands within a few units of the 15th digit of the start.
      const double got = ParseNumber(*b->pressureText).value_or(-1);
      const double want = ParseNumber(start).value_or(-2);
      EXPECT_NEAR(got, want, want * 1e-13) << start << " via " << *a->pressureText;
      EXPECT_EQ(*b->pressureCaption, " bar g");
    }
  }
}

TEST(PreferencesWindow, BarGToKpaAndBackReadsTheSameText) {
  RecordingDialogs dialogs;
  PreferencesModel there(Metric(2, "3.4"), dialogs);
  there.listClicked("Combo1", 1);
  auto a = there.done();
  ASSERT_TRUE(a && a->pressureText);
  PreferencesModel back(Metric(1, *a->pressureText), dialogs);
  back.listClicked("Combo1", 2);
  auto b = back.done();
  ASSERT_TRUE(b && b->pressureText);
  EXPECT_EQ(*b->pressureText, "3.4") << "via " << *a->pressureText;
}

TEST(PreferencesWindow, ConversionWritesTheUsersDecimalMark) {
  RecordingDialogs dialogs;
  PreferencesModel model(Metric(2, "3,4", 0, ','), dialogs);
  model.listClicked("Combo1", 0);
  auto out = model.done();
  ASSERT_TRUE(out && out->pressureText);
  EXPECT_EQ(*out->pressureText, "49,3");
}

TEST(PreferencesWindow, SwitchingToTheUnitInForceChangesNothing) {
  for (int unit : {0, 1, 2}) {
    RecordingDialogs dialogs;
    PreferencesModel model(Metric(unit, "3.4"), dialogs);
    model.listClicked("Combo1", (unit + 1) % 3);
    model.listClicked("Combo1", unit);
    auto out = model.done();
    ASSERT_TRUE(out);
    EXPECT_EQ(StoredNumber(out->pressureUnit), unit);
    EXPECT_FALSE(out->pressureText) << "unit " << unit;
    EXPECT_FALSE(out->pressureCaption) << "unit " << unit;
  }
}

TEST(PreferencesWindow, PressureThatIsNoNumberKeepsUnitAndTextAndSaysSo) {
  for (const char* text : {"", "   ", "abc", "3.4x", "1e999", "nan", "-"}) {
    RecordingDialogs dialogs;
    PreferencesModel model(Metric(1, text, 1), dialogs);
    model.listClicked("Combo1", 2);
    auto out = model.done();
    ASSERT_TRUE(out) << "'" << text << "'";
    EXPECT_EQ(StoredNumber(out->pressureUnit), 1) << "'" << text << "'";
    EXPECT_FALSE(out->pressureText) << "'" << text << "'";
    EXPECT_FALSE(out->pressureCaption) << "'" << text << "'";
    EXPECT_EQ(StoredNumber(out->insulationSizing), 1) << "'" << text << "'";
    ASSERT_EQ(dialogs.messages.size(), 1u) << "'" << text << "'";
    EXPECT_NE(dialogs.messages[0].text.find("Steam Pressure"), std::string::npos);
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::Ok);
  }
}

TEST(PreferencesWindow, OverflowingConversionIsRefused) {
  // 1e308 bar g is a number but no pressure in psig or kPa.
  RecordingDialogs dialogs;
  PreferencesModel model(Metric(2, "1e308"), dialogs);
  model.listClicked("Combo1", 1);
  auto out = model.done();
  ASSERT_TRUE(out);
  EXPECT_EQ(StoredNumber(out->pressureUnit), 2);
  EXPECT_FALSE(out->pressureText);
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST(PreferencesWindow, InsulationSizingNoteShowsTheCoverlynNote) {
  RecordingDialogs dialogs;
  PreferencesModel model(English(0, "50"), dialogs);
  model.clicked("Note");
  EXPECT_TRUE(dialogs.messages.empty());
  model.clicked("InsulationSize");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Coverlyn");
  EXPECT_EQ(dialogs.messages[0].text,
            "Minimal oversizing can be an option where compressible insulation is being used. When this "
            "preference is selected, the user should independently verify that the oversizing is sufficient "
            "for the pipe and tracer combination selected.");
  EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::Ok);
}

TEST(PreferencesWindow, UnknownNamesAreIgnored) {
  RecordingDialogs dialogs;
  PreferencesModel model(Metric(2, "3.4"), dialogs);
  model.listClicked("Nothing", 0);
  model.listClicked("Command1", 0);
  model.clicked("Nothing");
  auto out = model.done();
  ASSERT_TRUE(out);
  EXPECT_EQ(StoredNumber(out->pressureUnit), 2);
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace vst
