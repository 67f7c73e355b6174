// The Files menu and the closing prompt as a user meets them: dialogs,
// messages, and what the set holds afterwards.
#include "workspace/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "circuit/report.h"
#include "designfile/design_file.h"
#include "stmain_test_support.h"
#include "workspace/bill_models.h"

namespace vst {
namespace {

namespace fs = std::filesystem;
using test::Session;

class FileCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("vst-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    ASSERT_TRUE(CreateDesignTemplate(TemplatePath(folder_)).ok());
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path path(const char* name) const { return folder_ / name; }

  // Designs record 1 of the session with the engine's stand-in.
  static void DesignFirstRecord(Session& s) {
    s.type("Pressure", "3.45");
    s.type("Pipe_Len_In", "30.5");
    s.type("Circ_No", "C-1");
    s.design();
    ASSERT_TRUE(s.model.set().current().HoldsDesign());
  }

  fs::path folder_;
};

TEST_F(FileCommands, SavedSetOpensAgainWithEveryDesignAsItWas) {
  Session s(UnitSystem::Metric);
  DesignFirstRecord(s);
  s.dialogs.file(path("set.mdb").string());
  EXPECT_TRUE(SaveFileCommand(s.model, folder_));
  EXPECT_TRUE(s.model.set().DesignSaved);
  EXPECT_FALSE(s.model.set().LastSaveFailed);
  ASSERT_EQ(s.dialogs.fileDialogs().size(), 1u);
  EXPECT_EQ(s.dialogs.fileDialogs()[0].spec.title, "SAVE FILE");
  EXPECT_EQ(s.dialogs.fileDialogs()[0].spec.startFolder, folder_.string());

  Session later(UnitSystem::Metric);
  later.dialogs.file(path("set.mdb").string());
  OpenFileCommand(later.model, folder_);
  EXPECT_EQ(later.dialogs.fileDialogs().at(0).spec.title, "OPEN FILE");
  const DesignRecord& a = s.model.set().at(0);
  const DesignRecord& b = later.model.set().at(0);
  EXPECT_EQ(b.STEAMPRS, 3.45f);
  EXPECT_EQ(b.PIPELN, 30.5f);
  EXPECT_EQ(b.TP1, a.TP1);
  EXPECT_EQ(b.TSIZ, a.TSIZ);
  EXPECT_EQ(b.CIRTXT, "C-1");
  EXPECT_FLOAT_EQ(b.COND, 0.023f);  // kept as the text "0.023"
  EXPECT_TRUE(later.model.set().DesignSaved);
  EXPECT_TRUE(later.model.set().DesignLock);
  EXPECT_EQ(later.text("Pressure"), "3.45");
  EXPECT_EQ(later.text("Max_Maint_Temp"), "150");
  EXPECT_TRUE(later.dialogs.messages().empty());
}

// A heat-up design of "Other" with a phase change comes back with its tab,
// inputs and time, and the circuit report of the reopened window reads as
// the report of the record alone (as the line-list command prints it).
TEST_F(FileCommands, AHeatUpDesignOpensAgainWithItsTabInputsAndTime) {
  Session s;
  s.model.setDesignRunner({});
  s.dialogs.pipe({kAllowanceIncludedNo, "2", "3", "1", "0"}).shoes({.sizes = {{"12", "4"}}});
  s.pick("cboApplication", "Heat Up");
  s.pick("cboProduct", "Other");
  s.model.checkClicked("chbPhaseChange", true);
  s.type("txtPCTemp", "40");
  s.type("txtFinalTemp", "90");
  s.design();
  const std::string time = s.text("txtHuTime");
  ASSERT_FALSE(time.empty());
  s.dialogs.file(path("heat.mdb").string());
  ASSERT_TRUE(SaveFileCommand(s.model, folder_));

  Session later;
  later.dialogs.file(path("heat.mdb").string());
  OpenFileCommand(later.model, folder_);
  EXPECT_TRUE(later.c("SSTab1Tab1").enabled);
  EXPECT_EQ(later.selected("cboProduct"), "Other");
  EXPECT_TRUE(later.c("chbPhaseChange").checked);
  EXPECT_EQ(later.text("txtPCTemp"), "40");
  EXPECT_EQ(later.text("txtFinalTemp"), "90");
  EXPECT_EQ(later.text("txtHuTime"), time);
  EXPECT_TRUE(later.c("lblHuTime").enabled);

  const DesignRecord& r = later.model.set().current();
  const CircuitReport fromRecord =
      CircuitReportOf(ReportFieldsOf(r, UnitSystem::English, false), r, 1, r.CIRTXT, r.PIPETXT);
  EXPECT_EQ(CktBillModel(later.model, 0).reportRows(), fromRecord.rows);
  EXPECT_EQ(fromRecord.rows.at(15)[0], "Phase Change Temp.:         40\u00B0F");
  EXPECT_EQ(fromRecord.rows.at(7)[1], "Heat Up Time: " + std::string(29, ' ') + time + " Hours");

  // A record kept without a time because the line cannot reach its final
  // temperature shows the dash the design showed.
  DesignRecord settled = r;
  settled.HeatUpTime = 0;
  settled.HeatUpFinalTemp = "400";
  EXPECT_EQ(DisplayOf(settled, false).heatUpTime, "\u2014");
}

TEST_F(FileCommands, OpeningTakesTheModeOfTheFileAndStepsBackOneRecord) {
  Session s;
  s.internalMode();
  DesignFirstRecord(s);
  s.dialogs.file(path("internal.mdb").string());
  ASSERT_TRUE(SaveFileCommand(s.model, folder_));

  Session later;
  const std::string caption = later.model.caption();
  later.model.set().CurrentRecord = 3;  // record 4 shown
  later.dialogs.file(path("internal.mdb").string());
  OpenFileCommand(later.model, folder_);
  EXPECT_TRUE(later.model.internalMode());
  EXPECT_EQ(later.model.caption(), caption);  // the caption stays as it was
  EXPECT_EQ(later.model.set().CurrentRecord, 2);
  // The last entry of the file's mode stays that entry: Coverlyn YJ-2.
  EXPECT_EQ(s.model.set().at(0).TRACEINS, 4);
  EXPECT_EQ(later.model.set().at(0).TRACEINS, 4);
  EXPECT_EQ(later.c("Cab_In").items.at(4), "Coverlyn  YJ-2");
  EXPECT_EQ(later.text("Rec_Num"), "3");
  later.model.toggleProgramMode();  // refused after opening a file
  EXPECT_TRUE(later.model.internalMode());
  ASSERT_FALSE(later.dialogs.messages().empty());
  EXPECT_EQ(later.dialogs.messages().back().text, "Program mode cannot be changed after performing a design");
}

TEST_F(FileCommands, AFileThatCannotBeReadLeavesEverythingAsItWas) {
  struct Bad {
    const char* name;
    const char* content;
  };
  const Bad files[] = {{"empty.mdb", ""}, {"text.mdb", "not a database at all\n"}};
  for (const auto& f : files) {
    std::ofstream(path(f.name)) << f.content;
    Session s;
    DesignFirstRecord(s);
    const DesignSet before = s.model.set();
    const std::string pressure = s.text("Pressure");
    s.dialogs.clearRecords();
    s.dialogs.answer(MsgAnswer::No).file(path(f.name).string());
    OpenFileCommand(s.model, folder_);
    ASSERT_EQ(s.dialogs.messages().size(), 2u) << f.name;  // the save question, then the error
    EXPECT_EQ(s.dialogs.messages()[1].title, "Error");
    EXPECT_EQ(s.dialogs.messages()[1].text.rfind("The file was not opened", 0), 0u)
        << s.dialogs.messages()[1].text;
    EXPECT_EQ(s.model.set().records, before.records) << f.name;
    EXPECT_EQ(s.model.set().DesignSaved, before.DesignSaved);
    EXPECT_EQ(s.text("Pressure"), pressure);
    EXPECT_FALSE(s.model.internalMode());
  }
}

TEST_F(FileCommands, ASetSavedInTheOtherUnitSystemIsRefusedNamingItsUnits) {
  Session metric(UnitSystem::Metric);
  DesignFirstRecord(metric);
  metric.dialogs.file(path("metric.mdb").string());
  ASSERT_TRUE(SaveFileCommand(metric.model, folder_));

  Session s;
  DesignFirstRecord(s);
  const DesignSet before = s.model.set();
  s.dialogs.clearRecords();
  s.dialogs.answer(MsgAnswer::No).file(path("metric.mdb").string());
  OpenFileCommand(s.model, folder_);
  ASSERT_EQ(s.dialogs.messages().size(), 2u);
  EXPECT_EQ(s.dialogs.messages()[1].title, "Error");
  EXPECT_EQ(
      s.dialogs.messages()[1].text,
      "The file was not opened: it was saved in SI Metric units; start the program in SI Metric units to "
      "open it.");
  EXPECT_EQ(s.model.set().records, before.records);
}

TEST_F(FileCommands, CancellingEitherDialogChangesNothing) {
  Session s;
  DesignFirstRecord(s);
  const DesignSet before = s.model.set();
  s.dialogs.answer(MsgAnswer::No).file(std::nullopt).file(std::nullopt);
  OpenFileCommand(s.model, folder_);
  EXPECT_EQ(s.model.set().records, before.records);
  EXPECT_FALSE(s.model.set().DesignSaved);
  EXPECT_FALSE(SaveFileCommand(s.model, folder_));
  EXPECT_TRUE(s.model.set().LastSaveFailed);
  EXPECT_FALSE(s.model.set().DesignSaved);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()),
            1);  // the template only
}

TEST_F(FileCommands, AFailedSaveSaysWhyAndKeepsTheEarlierFile) {
  Session s;
  DesignFirstRecord(s);
  s.dialogs.file(path("keep.mdb").string());
  ASSERT_TRUE(SaveFileCommand(s.model, folder_));
  std::ifstream in(path("keep.mdb"), std::ios::binary);
  const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  fs::remove(TemplatePath(folder_));  // the template is gone
  s.dialogs.file(path("keep.mdb").string());
  EXPECT_FALSE(SaveFileCommand(s.model, folder_));
  EXPECT_TRUE(s.model.set().LastSaveFailed);
  ASSERT_EQ(s.dialogs.messages().size(), 1u);
  EXPECT_EQ(s.dialogs.messages()[0].title, "Error");
  EXPECT_EQ(s.dialogs.messages()[0].text.rfind("The file was not saved", 0), 0u);
  std::ifstream again(path("keep.mdb"), std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), old);
}

TEST_F(FileCommands, TheClosingPromptClosesOnlyWhenNothingIsLost) {
  struct Case {
    const char* what;
    std::optional<MsgAnswer> answer;  // none: no question is asked
    bool saveSucceeds;
    bool closes;
  };
  const Case cases[] = {
      {"No closes without saving", MsgAnswer::No, false, true},
      {"Cancel stays", MsgAnswer::Cancel, false, false},
      {"Yes with a cancelled save stays", MsgAnswer::Yes, false, false},
      {"Yes with a save closes", MsgAnswer::Yes, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Session s;
    DesignFirstRecord(s);
    s.dialogs.answer(*c.answer);
    s.dialogs.file(c.saveSucceeds ? std::optional<std::string>(path("close.mdb").string()) : std::nullopt);
    const bool closes = s.model.queryUnsavedChanges([&] { SaveFileCommand(s.model, folder_); });
    EXPECT_EQ(closes, c.closes);
    ASSERT_FALSE(s.dialogs.messages().empty());
    EXPECT_EQ(s.dialogs.messages()[0].text, "Do you want to save your current design?");
    EXPECT_EQ(s.dialogs.messages()[0].title, "Save");
    EXPECT_EQ(s.dialogs.messages()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(fs::exists(path("close.mdb")), c.saveSucceeds);
    fs::remove(path("close.mdb"));
  }
  Session fresh;  // nothing entered: nothing to lose
  EXPECT_TRUE(fresh.model.queryUnsavedChanges([] { FAIL() << "no save when nothing changed"; }));
  EXPECT_TRUE(fresh.dialogs.messages().empty());
}

TEST_F(FileCommands, ASaveThatFailsWithAnErrorKeepsTheWindowAndSaysWhy) {
  Session s;
  DesignFirstRecord(s);
  s.dialogs.answer(MsgAnswer::Yes);
  EXPECT_FALSE(s.model.queryUnsavedChanges([] { throw std::runtime_error("the disk went away"); }));
  ASSERT_EQ(s.dialogs.messages().size(), 2u);
  EXPECT_EQ(s.dialogs.messages()[1].title, "Error");
  EXPECT_EQ(s.dialogs.messages()[1].text, "The file was not saved: the disk went away.");
  EXPECT_TRUE(s.model.set().LastSaveFailed);
  EXPECT_TRUE(s.model.unsavedChanges());
}

// Every command that replaces the set asks first when a design would be
// lost, and goes on only after "No" or a save.
TEST_F(FileCommands, CommandsThatReplaceTheSetAskTheSaveQuestionFirst) {
  {
    Session other;  // a set whose first record holds another pressure
    other.type("Pressure", "7");
    other.design();
    other.dialogs.file(path("other.mdb").string());
    ASSERT_TRUE(SaveFileCommand(other.model, folder_));
  }
  using Command = std::function<bool(Session&, FileSession&)>;
  struct Case {
    const char* what;
    Command command;
    int fileDialogs;  // after the question, when the command goes on
  };
  const Case commands[] = {
      {"New File", [](Session& s, FileSession& f) { return NewSetCommand(s.model, f); }, 0},
      {"Open File", [](Session& s, FileSession& f) { return OpenFileCommand(s.model, f); }, 1},
      {"a recent file",
       [this](Session& s, FileSession& f) { return OpenRecentFile(s.model, f, path("other.mdb")); }, 0},
  };
  struct Answer {
    MsgAnswer answer;
    bool saveSucceeds;
    bool goesOn;
  };
  const Answer answers[] = {{MsgAnswer::Cancel, false, false},
                            {MsgAnswer::No, false, true},
                            {MsgAnswer::Yes, false, false},
                            {MsgAnswer::Yes, true, true}};
  for (const Case& c : commands) {
    for (const Answer& a : answers) {
      SCOPED_TRACE(std::string(c.what) + " answered " + std::to_string(static_cast<int>(a.answer)) +
                   (a.saveSucceeds ? ", saved" : ""));
      FileSession files(folder_, folder_);
      Session s;
      DesignFirstRecord(s);
      const float pressure = s.model.set().at(0).STEAMPRS;
      s.dialogs.answer(a.answer);
      if (a.answer == MsgAnswer::Yes)
        s.dialogs.file(a.saveSucceeds ? std::optional<std::string>(path("kept.mdb").string()) : std::nullopt);
      if (a.goesOn) {
        for (int i = 0; i < c.fileDialogs; ++i) s.dialogs.file(path("other.mdb").string());
      }

      EXPECT_EQ(c.command(s, files), a.goesOn);
      ASSERT_FALSE(s.dialogs.messages().empty());
      EXPECT_EQ(s.dialogs.messages()[0].text, "Do you want to save your current design?");
      EXPECT_EQ(s.model.set().at(0).STEAMPRS == pressure, !a.goesOn);  // replaced only when it goes on
      EXPECT_EQ(fs::exists(path("kept.mdb")), a.saveSucceeds);
      EXPECT_TRUE(s.dialogs.allAnswersUsed());
      if (a.goesOn) {
        EXPECT_FALSE(s.model.unsavedChanges());
      }
      fs::remove(path("kept.mdb"));
    }
  }
}

TEST_F(FileCommands, SaveWritesToTheSetsOwnFileAndSaveAsProposesItsName) {
  FileSession files(folder_, folder_);
  Session s;
  DesignFirstRecord(s);
  s.dialogs.file(path("own.mdb").string());
  ASSERT_TRUE(SaveFileCommand(s.model, files));  // no file yet: the dialog
  EXPECT_EQ(s.dialogs.fileDialogs().at(0).spec.fileName, "");

  s.type("Pressure", "4");
  s.design();
  EXPECT_TRUE(s.model.unsavedChanges());
  ASSERT_TRUE(SaveFileCommand(s.model, files));  // into own.mdb, no dialog
  EXPECT_EQ(s.dialogs.fileDialogs().size(), 1u);
  EXPECT_FALSE(s.model.unsavedChanges());
  EXPECT_EQ(ReadDesignFile(path("own.mdb"), {}).records[0].STEAMPRS, 4.0f);

  s.dialogs.file(std::nullopt);
  EXPECT_FALSE(SaveFileAsCommand(s.model, files));
  ASSERT_EQ(s.dialogs.fileDialogs().size(), 2u);
  EXPECT_EQ(s.dialogs.fileDialogs()[1].spec.fileName, "own.mdb");
  EXPECT_EQ(s.dialogs.fileDialogs()[1].spec.startFolder, folder_.string());

  // The same checks as Save As: a file that can no longer be written says why.
  fs::remove(TemplatePath(folder_));
  s.type("Pressure", "5");
  s.design();
  s.dialogs.clearRecords();
  EXPECT_FALSE(SaveFileCommand(s.model, files));
  ASSERT_EQ(s.dialogs.messages().size(), 1u);
  EXPECT_EQ(s.dialogs.messages()[0].text.rfind("The file was not saved", 0), 0u);
  EXPECT_TRUE(s.model.unsavedChanges());
}

TEST_F(FileCommands, ANewSetIsEmptyComesFromNoFileAndLetsTheModeChangeAgain) {
  FileSession files(folder_, folder_);
  Session s(UnitSystem::Metric);
  const std::string pressure = s.text("Pressure");
  DesignFirstRecord(s);
  s.dialogs.file(path("set.mdb").string());
  ASSERT_TRUE(SaveFileCommand(s.model, files));
  s.type("Pressure", "9");  // discards the saved design: the question comes
  s.dialogs.answer(MsgAnswer::No);

  ASSERT_TRUE(NewSetCommand(s.model, files));
  EXPECT_EQ(s.dialogs.messageTexts(), std::vector<std::string>{"Do you want to save your current design?"});
  EXPECT_EQ(s.model.set().records, Session(UnitSystem::Metric).model.set().records);
  EXPECT_TRUE(files.currentFile().empty());
  EXPECT_EQ(s.text("Pressure"), pressure);
  EXPECT_EQ(s.text("Max_Maint_Temp"), "");
  EXPECT_FALSE(s.model.unsavedChanges());
  s.model.toggleProgramMode();
  EXPECT_TRUE(s.model.internalMode());
}

TEST_F(FileCommands, AReopenedRecordDesignsAsItWasDesigned) {
  Session s;
  s.model.setDesignRunner({});
  // 12 in and 18 in shoes: 8 x (0.5 + 2) + 2 x (0.5 + 3) = 27 ft of allowance.
  s.dialogs.pipe({kAllowanceIncludedNo}).shoes({.sizes = {{"12", "8"}, {"18", "2"}}});
  s.design();
  const float length = s.model.set().at(0).TLEN;
  s.dialogs.file(path("shoes.mdb").string());
  ASSERT_TRUE(SaveFileCommand(s.model, folder_));

  Session later;
  later.model.setDesignRunner({});
  later.dialogs.file(path("shoes.mdb").string());
  OpenFileCommand(later.model, folder_);
  // "&Next" and "&Done" accept what the dialogs show.
  later.dialogs.pipe({kAllowanceIncludedNo}).shoes({});
  later.design();
  ASSERT_EQ(later.dialogs.pipeForms().size(), 1u);
  EXPECT_EQ(later.dialogs.pipeForms()[0].combo, kAllowanceIncludedNo);
  ASSERT_EQ(later.dialogs.shoeForms().size(), 1u);
  EXPECT_EQ(later.dialogs.shoeForms()[0].total, "27");
  EXPECT_EQ(later.model.set().at(0).TLEN, length);
}

}  // namespace
}  // namespace vst
