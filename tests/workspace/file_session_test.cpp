// The Files commands as an installed program needs them: dialogs start in
// the folder last used (else Documents), never offer the template, a saved
// name gets ".mdb", and the recent files follow what was opened and saved.
#include "workspace/file_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "designfile/design_file.h"
#include "stmain_test_support.h"
#include "workspace/file_commands.h"

namespace vst {
namespace {

namespace fs = std::filesystem;
using test::Session;

class FileSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("vst-session-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    for (const char* dir : {"program", "Documents", "work"}) fs::create_directories(root_ / dir);
    ASSERT_TRUE(CreateDesignTemplate(TemplatePath(root_ / "program")).ok());
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(FileSessionTest, SaveAddsTheSuffixAndTheNextDialogStartsInItsFolder) {
  FileSession files(root_ / "program", root_ / "Documents");
  Session s;
  s.design();
  s.dialogs.file((root_ / "work" / "set1").string());
  ASSERT_TRUE(SaveFileCommand(s.model, files));
  const auto& spec = s.dialogs.fileDialogs().at(0).spec;
  EXPECT_EQ(spec.startFolder, (root_ / "Documents").string());
  EXPECT_EQ(spec.defaultSuffix, "mdb");
  EXPECT_EQ(spec.refusedFile, TemplatePath(root_ / "program").string());
  EXPECT_TRUE(fs::exists(root_ / "work" / "set1.mdb"));
  EXPECT_EQ(files.currentFile(), root_ / "work" / "set1.mdb");
  EXPECT_EQ(OpenFileDialogSpec(files).startFolder, (root_ / "work").string());

  // Kept between runs: the next session starts where this one ended.
  FileSession next(root_ / "program", root_ / "Documents", files.history());
  EXPECT_EQ(next.startFolder(), root_ / "work");
  fs::remove_all(root_ / "work");
  EXPECT_EQ(next.startFolder(), root_ / "Documents");  // a folder that is gone
}

TEST_F(FileSessionTest, RecentFilesHoldEachFileOnceMostRecentFirstAndForgetWhatIsGone) {
  FileSession files(root_ / "program", root_ / "Documents", {"", {"/a.mdb", "/a.mdb", "", "/b.mdb"}});
  EXPECT_EQ(files.history().recent, (std::vector<std::string>{"/a.mdb", "/b.mdb"}));
  for (int i = 0; i < 10; ++i) files.noteUsed("/f" + std::to_string(i) + ".mdb");
  files.noteUsed("/f3.mdb");
  ASSERT_EQ(files.history().recent.size(), kRecentFileLimit);
  EXPECT_EQ(files.history().recent.front(), "/f3.mdb");
  EXPECT_EQ(std::count(files.history().recent.begin(), files.history().recent.end(), "/f3.mdb"), 1);

  Session s;
  EXPECT_FALSE(OpenFilePath(s.model, files, "/f9.mdb"));  // gone: said why, and off the list
  EXPECT_EQ(s.dialogs.messages().size(), 1u);
  EXPECT_EQ(std::count(files.history().recent.begin(), files.history().recent.end(), "/f9.mdb"), 0);
}

TEST_F(FileSessionTest, WithoutDocumentsTheDialogsStartInTheHomeFolderWithTheSetsOwnName) {
  FileSession files(root_ / "program", root_ / "Documents", {}, root_);
  fs::remove_all(root_ / "Documents");
  EXPECT_EQ(files.startFolder(), root_);
  EXPECT_EQ(SaveFileDialogSpec(files).fileName, "");  // never "Documents"
  files.noteUsed(root_ / "work" / "plant-2.mdb");
  EXPECT_EQ(SaveFileDialogSpec(files).fileName, "plant-2.mdb");
  EXPECT_EQ(SaveFileDialogSpec(files).startFolder, (root_ / "work").string());
}

TEST(CommandLineFile, ARelativeNameIsTakenFromTheFolderTheProgramStartedIn) {
  const std::pair<const char*, const char*> cases[] = {
      {"set.mdb", "/home/eng/plant/set.mdb"},
      {"../old/set.mdb", "/home/eng/old/set.mdb"},
      {"/data/set.mdb", "/data/set.mdb"},
      {"", ""},
  };
  for (const auto& [argument, file] : cases)
    EXPECT_EQ(CommandLineFile(argument, "/home/eng/plant"), fs::path(file)) << argument;
}

TEST(DesignSuffix, IsAddedOnlyToANameWithoutOne) {
  const std::pair<const char*, const char*> cases[] = {
      {"set1", "set1.mdb"}, {"/d/set1", "/d/set1.mdb"}, {"set1.mdb", "set1.mdb"}, {"set.v2", "set.v2"}};
  for (const auto& [chosen, saved] : cases) EXPECT_EQ(WithDesignSuffix(chosen), fs::path(saved)) << chosen;
}

}  // namespace
}  // namespace vst
