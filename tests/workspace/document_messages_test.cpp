#include "workspace/document_messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/script_dialogs.h"

namespace vst {
namespace {

namespace fs = std::filesystem;

class RecordingLauncher : public DocumentLauncher {
 public:
  explicit RecordingLauncher(LaunchResult result) : result_(result) {}
  LaunchResult open(const fs::path& file) override {
    opened.push_back(file);
    return result_;
  }
  std::vector<fs::path> opened;

 private:
  LaunchResult result_;
};

class ProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("vst_documents_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  void addDocument(const std::string& name) {
    fs::create_directories(folder_ / kDocumentFolder);
    std::ofstream(folder_ / kDocumentFolder / name) << "%PDF-1.4\n";
  }
  fs::path folder_;
};

TEST_F(ProgramFolder, EachFailureShowsTheMessageOfItsCause) {
  const std::string pathText =
      "An error occurred while trying to open the requested file.  These files must be located in a PDF "
      "Files "
      "subdirectory of the application directory.";
  struct Case {
    const char* what;
    bool folder;
    bool file;
    LaunchResult launch;
    DocumentOutcome outcome;
    std::string title;
    std::string text;
    bool launched;
  };
  const std::vector<Case> cases{
      {"folder missing", false, false, LaunchResult::Opened, DocumentOutcome::PathError, "Path Error",
       pathText, false},
      {"file missing", true, false, LaunchResult::Opened, DocumentOutcome::PathError, "Path Error", pathText,
       false},
      {"no handler", true, true, LaunchResult::NoApplication, DocumentOutcome::ApplicationMissing,
       "Application Missing", "A PDF viewer is required to open the selected file.", true},
      {"viewer fails", true, true, LaunchResult::Failed, DocumentOutcome::Error, "Error",
       "An error occurred while trying to open the PDF viewer.", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(folder_ / kDocumentFolder);
    if (c.folder) fs::create_directories(folder_ / kDocumentFolder);
    if (c.file) addDocument("PDS0015.pdf");
    if (c.folder && !c.file) addDocument("PDS0033.pdf");  // another document is there
    test::ScriptDialogs dialogs;
    RecordingLauncher launcher(c.launch);
    EXPECT_EQ(OpenDocument(folder_, "PDS0015.pdf", launcher, dialogs), c.outcome);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, c.title);
    // A viewer's message names the document the user asked for.
    const std::string named =
        " The document is " + (folder_ / kDocumentFolder / "PDS0015.pdf").string() + ".";
    EXPECT_EQ(dialogs.messages()[0].text, c.text + (c.launched ? named : ""));
    EXPECT_EQ(dialogs.messages()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(launcher.opened.size(), c.launched ? 1u : 0u);
  }
}

TEST_F(ProgramFolder, DocumentWithBlanksInItsNameOpensAsOnePath) {
  const ProductDocument* doc = FindDocument("mnuWrapcoreCaseStudy");
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(std::string(doc->file), "WRAPCORE Case Study 3-15-06.pdf");
  addDocument(doc->file);
  test::ScriptDialogs dialogs;
  RecordingLauncher launcher(LaunchResult::Opened);
  EXPECT_EQ(OpenDocument(folder_, doc->file, launcher, dialogs), DocumentOutcome::Opened);
  EXPECT_TRUE(dialogs.messages().empty());
  ASSERT_EQ(launcher.opened.size(), 1u);
  EXPECT_EQ(launcher.opened[0], folder_ / "PDF Files" / "WRAPCORE Case Study 3-15-06.pdf");
  EXPECT_TRUE(fs::is_regular_file(launcher.opened[0]));
}

TEST(DocumentMessages, OtherDocumentsNameAWordProcessorAndTrailingBlanksStillMeanPdf) {
  EXPECT_EQ(DocumentMessage(DocumentOutcome::ApplicationMissing, "/docs/notes.doc").text,
            "A word processor is required to open the selected file. The document is /docs/notes.doc.");
  EXPECT_EQ(DocumentMessage(DocumentOutcome::Error, "/docs/notes.doc").text,
            "An error occurred while trying to open the word processor. The document is /docs/notes.doc.");
  EXPECT_EQ(DocumentMessage(DocumentOutcome::ApplicationMissing, "/docs/COVERLYN.PDF  ").text,
            "A PDF viewer is required to open the selected file. The document is /docs/COVERLYN.PDF  .");
}

}  // namespace
}  // namespace vst
