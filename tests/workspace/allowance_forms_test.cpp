#include "workspace/allowance_forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bom/allowances.h"
#include "circuit/allowance_step.h"
#include "support/script_dialogs.h"

namespace vst {
namespace {

using test::ScriptDialogs;

PipeFormSetup EnglishSetup() {
  PipeFormSetup s;
  s.pipeLengthText = "100";
  s.showRecordedAnswer = true;
  return s;
}

TEST(PipeForm, ShowsLengthUnitsAndTheRecordsCounts) {
  ScriptDialogs dialogs;
  struct Row {
    UnitSystem units;
    const char* length;
    const char* caption;
    const char* unit;
  };
  const Row rows[] = {
      {UnitSystem::English, "100", "Pipe Length = 100 Feet", " Ft"},
      {UnitSystem::Metric, "30", "Pipe Length = 30 Meters", " m"},
      {UnitSystem::Metric, " 30.5", "Pipe Length =  30.5 Meters", " m"},
  };
  for (const auto& r : rows) {
    PipeFormSetup s;
    s.units = r.units;
    s.pipeLengthText = r.length;
    s.VALN = 2;
    s.FLNO = 3.5f;
    s.NOPX = 1;
    s.WCTB = 12.25f;
    PipeFormModel form(s, dialogs);
    EXPECT_EQ(form.caption(), r.caption) << r.length;
    EXPECT_EQ(form.control("Label6").text, r.unit) << r.caption;
    EXPECT_EQ(form.text("numvalves"), "2");
    EXPECT_EQ(form.text("numflanges"), "3.5");
    EXPECT_EQ(form.text("numpumps"), "1");
    EXPECT_EQ(form.text("Text1"), "12.25");
    EXPECT_EQ(form.control("Combo2").items, (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(form.control("Command1").text, "&Next");
    EXPECT_EQ(form.focus(), "Combo2");
  }
}

TEST(PipeForm, AnswerListShowsTheRecordsAnswerOnlyWithRiseShownOrOneTracer) {
  struct Row {
    const char* rise;
    int tracers;
    int recorded;
    int shown;
  };
  const Row rows[] = {
      {"", 1, kAllowanceIncludedYes, kAllowanceIncludedYes},  // one tracer: the record's answer
      {"", 2, kAllowanceIncludedYes, kAllowanceIncludedNo},   // two tracers, Rise empty: "No"
      {"7.5", 2, kAllowanceIncludedYes, kAllowanceIncludedYes},
      {" ", 3, kAllowanceIncludedYes, kAllowanceIncludedYes},  // a blank is not an empty Rise
      {"7.5", 2, kAllowanceIncludedNo, kAllowanceIncludedNo},
      {"", 1, 7, kAllowanceIncludedNo},  // an answer outside the list shows "No"
  };
  ScriptDialogs dialogs;
  for (const auto& r : rows) {
    PipeFormSetup s = EnglishSetup();
    s.allowanceIncluded = r.recorded;
    s.showRecordedAnswer = ShowsRecordedAnswer(r.rise, r.tracers);
    PipeFormModel form(s, dialogs);
    EXPECT_EQ(form.selectedAnswer(), r.shown)
        << "rise \"" << r.rise << "\" tracers " << r.tracers << " recorded " << r.recorded;
  }
}

TEST(PipeForm, ActivationFillsOnlyEmptyBoxesWithZero) {
  ScriptDialogs dialogs;
  PipeFormModel form(EnglishSetup(), dialogs);
  form.setText("numvalves", "");
  form.setText("numflanges", "4");
  form.setText("numpumps", "");
  form.setText("Text1", "x");
  form.activate();
  EXPECT_EQ(form.text("numvalves"), "0");
  EXPECT_EQ(form.text("numflanges"), "4");
  EXPECT_EQ(form.text("numpumps"), "0");
  EXPECT_EQ(form.text("Text1"), "x");
}

TEST(PipeForm, EnterMovesThroughTheBoxesToNextAndThenPressesIt) {
  EXPECT_EQ(PipeFormModel::NextFocus("Combo2"), "numvalves");
  EXPECT_EQ(PipeFormModel::NextFocus("numvalves"), "numflanges");
  EXPECT_EQ(PipeFormModel::NextFocus("numflanges"), "numpumps");
  EXPECT_EQ(PipeFormModel::NextFocus("numpumps"), "Text1");
  EXPECT_EQ(PipeFormModel::NextFocus("Text1"), "Command1");
  EXPECT_EQ(PipeFormModel::NextFocus("Command1"), "Command1");
  EXPECT_EQ(PipeFormModel::NextFocus("Label1"), "Label1");

  ScriptDialogs dialogs;
  PipeFormModel form(EnglishSetup(), dialogs);
  std::vector<std::string> seen{form.focus()};
  for (int i = 0; i < 5; ++i) {
    form.pressEnter();
    seen.push_back(form.focus());
  }
  EXPECT_EQ(seen,
            (std::vector<std::string>{"Combo2", "numvalves", "numflanges", "numpumps", "Text1", "Command1"}));
  EXPECT_FALSE(form.closed());
  form.pressEnter();
  EXPECT_TRUE(form.closed());
}

TEST(PipeForm, NextReadsTheBoxesEmptyAsZero) {
  ScriptDialogs dialogs;
  PipeFormModel form(EnglishSetup(), dialogs);
  form.selectAnswer(kAllowanceIncludedNo);
  form.selectAnswer(5);  // not a list position: ignored
  form.setText("numvalves", " 2");
  form.setText("numflanges", "");
  form.setText("numpumps", "1.5");
  form.setText("Text1", "40");
  ASSERT_TRUE(form.next());
  EXPECT_TRUE(form.closed());
  EXPECT_EQ(form.answer().allowanceIncluded, kAllowanceIncludedNo);
  EXPECT_EQ(form.answer().valves, 2.0f);
  EXPECT_EQ(form.answer().flanges, 0.0f);
  EXPECT_EQ(form.answer().pumps, 1.5f);
  EXPECT_EQ(form.answer().wrapcore, 40.0f);
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(PipeForm, RefusesANonNumericOrNegativeBoxByNameAndStaysOpen) {
  struct Row {
    const char* box;
    const char* text;
    const char* message;
  };
  const Row rows[] = {
      {"numvalves", "two", "The Number of Valves must be a number from 0 to 1000000."},
      {"numflanges", "-1", "The Number of Flanges must be a number from 0 to 1000000."},
      {"numpumps", "1,5", "The Number of Pumps must be a number from 0 to 1000000."},
      {"Text1", "1e7", "The Total Wrapcore Allowance must be a number from 0 to 1000000."},
      {"Text1", "inf", "The Total Wrapcore Allowance must be a number from 0 to 1000000."},
  };
  for (const auto& r : rows) {
    ScriptDialogs dialogs;
    PipeFormModel form(EnglishSetup(), dialogs);
    form.setText(r.box, r.text);
    EXPECT_FALSE(form.next()) << r.box << " = " << r.text;
    EXPECT_FALSE(form.closed()) << r.box;
    EXPECT_EQ(form.focus(), r.box);
    ASSERT_EQ(dialogs.messages().size(), 1u) << r.box;
    EXPECT_EQ(dialogs.messages()[0].text, r.message);
    EXPECT_EQ(dialogs.messages()[0].title, "Input Error");
    form.setText(r.box, "1");
    EXPECT_TRUE(form.next()) << r.box << " corrected";
  }
}

TEST(PipeForm, ADecimalCommaLocaleReadsCommaCounts) {
  ScriptDialogs dialogs;
  PipeFormSetup s = EnglishSetup();
  s.decimalMark = ',';
  PipeFormModel form(s, dialogs);
  form.setText("Text1", "12,5");
  ASSERT_TRUE(form.next());
  EXPECT_EQ(form.answer().wrapcore, 12.5f);
}

ShoeFormSetup Shoes(UnitSystem units, float start = 0) {
  ShoeFormSetup s;
  s.units = units;
  s.shoeAllowance = start;
  return s;
}

TEST(ShoeForm, CaptionsFollowTheUnitSystem) {
  ScriptDialogs dialogs;
  ShoeFormModel english(Shoes(UnitSystem::English), dialogs);
  ShoeFormModel metric(Shoes(UnitSystem::Metric, 3.5f), dialogs);
  EXPECT_EQ(english.caption(), " Tubing Allowances for Shoes");
  EXPECT_EQ(english.control("Label1").text, "Shoe &Length (inches)");
  EXPECT_EQ(english.control("Label2").text, "Number of &Shoes");
  EXPECT_EQ(english.control("Label3").text, "&Total Length (feet)");
  EXPECT_EQ(metric.control("Label1").text, "Shoe &Length (mm)");
  EXPECT_EQ(metric.control("Label3").text, "&Total Length (meters)");
  EXPECT_EQ(english.text("shoetot"), "0");
  EXPECT_EQ(metric.text("shoetot"), "3.5");  // the running total of the record
  EXPECT_EQ(english.control("NextSize").text, "&Next Size");
  EXPECT_EQ(english.control("Redo").text, "&Clear");
  EXPECT_EQ(english.control("Done").text, "&Done");
}

TEST(ShoeForm, EachShoeTakesTwiceItsLengthPlusABendTruncatedToTenths) {
  struct Row {
    UnitSystem units;
    float start;
    const char* length;
    const char* count;
    const char* total;
    double totalFt;
  };
  const Row rows[] = {
      {UnitSystem::English, 0, "12", "4", "10", 10.0},             // 4 x (0.5 + 2 x 1)
      {UnitSystem::Metric, 0, "300", "4", "3", 9.843},             // Int(10 x 4 x 0.77) / 10 = 3 m
      {UnitSystem::English, 10, "4", "1", "11.1", 11.1},           // 10 + 1.1667 truncated
      {UnitSystem::English, 0, "6", "2.5", "3", 3.0},              // 2.5 shoes count as 2 (halves to even)
      {UnitSystem::English, 0, "6", "3.5", "6", 6.0},              // 3.5 shoes count as 4
      {UnitSystem::English, 0, "6", "0.5", "0", 0.0},              // 0.5 counts as 0
      {UnitSystem::English, 0, "6", "1.6", "3", 3.0},              // 1.6 counts as 2
      {UnitSystem::English, 2.3f, "", "", "2.3", 2.3},             // empty boxes add nothing
      {UnitSystem::Metric, 1.2f, "150", "3", "2.6", 2.6 * 3.281},  // 1.2 + 3 x 0.47 = 2.61
  };
  for (const auto& r : rows) {
    ScriptDialogs dialogs;
    ShoeFormModel form(Shoes(r.units, r.start), dialogs);
    form.setText("shoeln", r.length);
    form.setText("shoenum", r.count);
    ASSERT_TRUE(form.nextSize()) << r.length << " x " << r.count;
    EXPECT_EQ(form.text("shoetot"), r.total) << r.length << " x " << r.count << " from " << r.start;
    EXPECT_EQ(form.text("shoeln"), "0");
    EXPECT_EQ(form.text("shoenum"), "0");
    ASSERT_TRUE(form.done());
    EXPECT_TRUE(form.closed());
    EXPECT_NEAR(form.totalFt(), r.totalFt, 1e-9) << r.length << " x " << r.count;
  }
}

TEST(ShoeForm, DoneAddsThePendingSizeAndClearStartsAfresh) {
  ScriptDialogs dialogs;
  ShoeFormModel form(Shoes(UnitSystem::English, 25), dialogs);
  form.clear();
  EXPECT_EQ(form.text("shoetot"), "0");
  form.setText("shoeln", "12");
  form.setText("shoenum", "2");
  ASSERT_TRUE(form.nextSize());  // 5 ft
  form.setText("shoeln", "24");
  form.setText("shoenum", "1");
  ASSERT_TRUE(form.done());  // + 4.5 ft
  EXPECT_EQ(form.total(), 9.5f);
  EXPECT_DOUBLE_EQ(form.totalFt(), 9.5);
}

TEST(ShoeForm, SaysAKeptTotalIsKeptUntilClear) {
  const struct {
    float start;
    bool noteShown;
  } rows[] = {{0, false}, {25, true}, {0.1f, true}};
  for (const auto& r : rows) {
    ScriptDialogs dialogs;
    ShoeFormModel form(Shoes(UnitSystem::English, r.start), dialogs);
    EXPECT_EQ(form.control("lblKept").visible, r.noteShown) << r.start;
    EXPECT_EQ(form.control("lblKept").text, kShoeTotalKeptNote);
    form.clear();
    EXPECT_FALSE(form.control("lblKept").visible) << r.start;
  }
  // The total itself still carries over: the same shoes again add to it.
  ScriptDialogs dialogs;
  ShoeFormModel form(Shoes(UnitSystem::English, 10), dialogs);
  form.setText("shoeln", "12");
  form.setText("shoenum", "4");
  ASSERT_TRUE(form.done());
  EXPECT_EQ(form.total(), 20.0f);
}

TEST(ShoeForm, EnterMovesLengthCountNextSizeAndAddsTheSize) {
  EXPECT_EQ(ShoeFormModel::NextFocus("shoeln"), "shoenum");
  EXPECT_EQ(ShoeFormModel::NextFocus("shoenum"), "NextSize");
  EXPECT_EQ(ShoeFormModel::NextFocus("NextSize"), "NextSize");
  EXPECT_EQ(ShoeFormModel::NextFocus("shoetot"), "shoetot");

  ScriptDialogs dialogs;
  ShoeFormModel form(Shoes(UnitSystem::English), dialogs);
  form.setText("shoeln", "12");
  form.pressEnter();
  EXPECT_EQ(form.focus(), "shoenum");
  form.setText("shoenum", "4");
  form.pressEnter();
  EXPECT_EQ(form.focus(), "NextSize");
  form.pressEnter();
  EXPECT_EQ(form.text("shoetot"), "10");
  EXPECT_EQ(form.focus(), "shoeln");
  EXPECT_FALSE(form.closed());
}

TEST(ShoeForm, RefusesABadBoxByNameKeepsTheTotalAndStaysOpen) {
  struct Row {
    const char* box;
    const char* text;
    const char* message;
  };
  const Row rows[] = {
      {"shoeln", "12in", "The Shoe Length (inches) must be a number from 0 to 1000000."},
      {"shoenum", "-4", "The Number of Shoes must be a number from 0 to 1000000."},
      {"shoetot", "abc", "The Total Length (feet) must be a number from 0 to 1000000."},
  };
  for (const auto& r : rows) {
    ScriptDialogs dialogs;
    ShoeFormModel form(Shoes(UnitSystem::English, 7), dialogs);
    form.setText("shoeln", "12");
    form.setText("shoenum", "1");
    form.setText(r.box, r.text);
    EXPECT_FALSE(form.done()) << r.box << " = " << r.text;
    EXPECT_FALSE(form.closed());
    EXPECT_EQ(form.focus(), r.box);
    ASSERT_EQ(dialogs.messageTexts(), std::vector<std::string>{r.message}) << r.box;
    EXPECT_EQ(form.text(r.box), r.text) << "the refused text stays for correction";
  }
  // A total that would outgrow the limit is refused on the total box.
  ScriptDialogs dialogs;
  ShoeFormModel form(Shoes(UnitSystem::English), dialogs);
  form.setText("shoeln", "1000000");
  form.setText("shoenum", "1000000");
  EXPECT_FALSE(form.nextSize());
  EXPECT_EQ(form.focus(), "shoetot");
  EXPECT_EQ(form.text("shoetot"), "0");
}

// Every control as a text, to compare two forms whole.
template <class Form>
std::vector<std::string> Shown(const Form& form) {
  std::vector<std::string> out{form.focus(), form.closed() ? "closed" : "open"};
  for (const Control& c : form.controls().all()) {
    std::string line = c.name + "|" + c.text + "|" + std::to_string(c.index) + "|" +
                       std::to_string(c.visible) + std::to_string(c.enabled) + std::to_string(c.backColor);
    for (const auto& item : c.items) line += "|" + item;
    out.push_back(line);
  }
  return out;
}

TEST(Forms, AReopenedFormIsTheFormANewOneWouldBe) {
  ScriptDialogs dialogs;
  for (UnitSystem second : {UnitSystem::English, UnitSystem::Metric}) {
    PipeFormSetup first = EnglishSetup();
    PipeFormModel pipe(first, dialogs);
    pipe.selectAnswer(kAllowanceIncludedYes);
    pipe.setText("numvalves", "7");
    ASSERT_TRUE(pipe.next());
    PipeFormSetup again = EnglishSetup();
    again.units = second;
    again.pipeLengthText = "30";
    again.FLNO = 2;
    pipe.reopen(again);
    const PipeFormModel newPipe(again, dialogs);
    EXPECT_EQ(Shown(pipe), Shown(newPipe));
    EXPECT_EQ(pipe.caption(), newPipe.caption());

    ShoeFormSetup shoeSetup;
    ShoeFormModel shoe(shoeSetup, dialogs);
    shoe.setText("shoeln", "12");
    shoe.setText("shoenum", "4");
    ASSERT_TRUE(shoe.done());
    shoeSetup.units = second;
    shoeSetup.shoeAllowance = 3.5f;
    shoe.reopen(shoeSetup);
    const ShoeFormModel newShoe(shoeSetup, dialogs);
    EXPECT_EQ(Shown(shoe), Shown(newShoe));
    EXPECT_EQ(shoe.total(), newShoe.total());
  }
}

TEST(ScriptedDialogs, RefusedFormAnswerIsFollowedByTheNextAndRunningOutThrows) {
  ScriptDialogs dialogs;
  dialogs.pipe({kAllowanceIncludedNo, "x", "0", "0", "0"}).pipe({kAllowanceIncludedYes, "3", "0", "1", ""});
  PipeFormModel form(EnglishSetup(), dialogs);
  dialogs.runPipeForm(form);
  ASSERT_TRUE(form.closed());
  EXPECT_EQ(form.answer().valves, 3.0f);
  EXPECT_EQ(form.answer().allowanceIncluded, kAllowanceIncludedYes);
  EXPECT_EQ(dialogs.log(),
            (std::vector<std::string>{
                "PipeForm: Pipe Length = 100 Feet",
                "Message [Input Error]: The Number of Valves must be a number from 0 to 1000000.",
            }));
  EXPECT_TRUE(dialogs.allAnswersUsed());

  PipeFormModel second(EnglishSetup(), dialogs);
  EXPECT_THROW(dialogs.runPipeForm(second), test::ScriptError);

  dialogs.shoes({.sizes = {{"12", "x"}}});
  ShoeFormModel shoes(Shoes(UnitSystem::English), dialogs);
  EXPECT_THROW(dialogs.runShoeForm(shoes), test::ScriptError);
  EXPECT_THROW(dialogs.openFileName({}), test::ScriptError);
}

TEST(ScriptedDialogs, QuestionsTakeQueuedAnswersAndOkBoxesTakeNone) {
  ScriptDialogs dialogs;
  dialogs.answer(MsgAnswer::No);
  dialogs.setDefaultAnswer(MsgAnswer::Cancel);
  Message ok{"note", "Warning", MsgIcon::Exclamation, MsgButtons::Ok, false};
  Message ask{"Save?", "Save", MsgIcon::Question, MsgButtons::YesNoCancel, false};
  EXPECT_EQ(dialogs.message(ok), MsgAnswer::Ok);
  EXPECT_EQ(dialogs.message(ask), MsgAnswer::No);
  EXPECT_EQ(dialogs.message(ask), MsgAnswer::Cancel);
  EXPECT_EQ(dialogs.messageTexts(), (std::vector<std::string>{"note", "Save?", "Save?"}));

  dialogs.file("/tmp/a.mdb").file(std::nullopt);
  FileDialogSpec save;
  save.title = "SAVE FILE";
  FileDialogSpec open;
  open.title = "OPEN FILE";
  EXPECT_EQ(dialogs.saveFileName(save), "/tmp/a.mdb");
  EXPECT_EQ(dialogs.openFileName(open), std::nullopt);
  ASSERT_EQ(dialogs.fileDialogs().size(), 2u);
  EXPECT_EQ(dialogs.fileDialogs()[0].kind, test::FileDialogKind::Save);
  EXPECT_EQ(dialogs.log().back(), "Open: OPEN FILE");
}

}  // namespace
}  // namespace vst
