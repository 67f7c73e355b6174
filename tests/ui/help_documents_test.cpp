// Help and product documents from the main window: F1 opens the topic in the
// book of the mode in force inside the help viewer, links and history work,
// a missing book is named, and document commands reach the launcher with the
// document's whole path.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <memory>

#include "docs/help_book.h"
#include "recording_dialogs.h"
#include "support/test_paths.h"
#include "ui/help_viewer.h"
#include "ui/stmain.h"

namespace vst::ui {
namespace {

namespace fs = std::filesystem;

struct RecordingLauncher : DocumentLauncher {
  std::vector<fs::path> opened;
  LaunchResult open(const fs::path& file) override {
    opened.push_back(file);
    return LaunchResult::Opened;
  }
};

class HelpWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<STmain>(UnitSystem::English, PressureUnit::Psig, '.', &dialogs);
    window->setProgramFolder(vst::test::BinDir());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void pressF1(const char* field) {
    auto* edit = window->findChild<QWidget*>(QString::fromLatin1(field));
    ASSERT_NE(edit, nullptr) << field;
    edit->setFocus();
    QTest::keyRelease(edit, Qt::Key_F1);
  }
  QAction* action(const char* name) const {
    for (QAction* a : window->findChildren<QAction*>()) {
      if (a->objectName() == QLatin1String(name)) return a;
    }
    return nullptr;
  }

  test::RecordingDialogs dialogs;
  std::unique_ptr<STmain> window;
};

TEST_F(HelpWindow, F1OpensTheTopicInTheBookOfTheModeAndLinksAndHistoryWork) {
  pressF1("Max_Amb");
  HelpViewer* viewer = window->helpViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->parent(), window.get());
  EXPECT_EQ(viewer->bookFile().filename(), "STHelp2.chm");
  const int context = HelpContextOf("Max_Amb");
  EXPECT_EQ(viewer->currentPage(), HelpTopicPage(context));
  EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("Max. Ambient")));
  EXPECT_GT(viewer->findChild<QTreeWidget*>(QStringLiteral("helpTree"))->topLevelItemCount(), 0);

  // A link inside the book, then back.
  viewer->browser()->setSource(QUrl(QStringLiteral("2.htm")));
  EXPECT_EQ(viewer->currentPage(), "2.htm");
  EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("Min. Ambient")));
  viewer->browser()->backward();
  EXPECT_EQ(viewer->currentPage(), HelpTopicPage(context));

  // Pictures come out of the book too.
  const QVariant picture =
      viewer->browser()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chm:/CHANNEL.PNG")));
  EXPECT_FALSE(picture.value<QImage>().isNull());

  // "Help With Vantrel ST" opens the contents; InternalMode switches books.
  action("ctfwHelp")->trigger();
  EXPECT_EQ(viewer->currentPage(), kHelpContentsPage);
  window->run([this] { window->model().toggleProgramMode(); });
  ASSERT_TRUE(window->model().internalMode());
  pressF1("Cab_In");  // a list takes F1 as a text field does
  EXPECT_EQ(window->helpViewer(), viewer);
  EXPECT_EQ(viewer->bookFile().filename(), "STHelp.chm");
  EXPECT_EQ(viewer->currentPage(), HelpTopicPage(HelpContextOf("Cab_In")));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(HelpWindow, TheViewerLoadsOnlyItsBookAndClosesWithEscapeOrCtrlW) {
  pressF1("Max_Amb");
  HelpViewer* viewer = window->helpViewer();
  ASSERT_NE(viewer, nullptr);
  const std::string page = viewer->currentPage();
  auto* note = viewer->findChild<QLabel*>(QStringLiteral("helpNote"));
  ASSERT_NE(note, nullptr);
  std::vector<QUrl> webLinks;
  HelpViewer::SetWebLinkOpener([&](const QUrl& link) { webLinks.push_back(link); });

  // A local file is neither loaded nor followed.
  const fs::path secret = fs::temp_directory_path() / "vst_help_secret.txt";
  std::ofstream(secret) << "not for the help viewer";
  const QUrl file = QUrl::fromLocalFile(QString::fromStdString(secret.string()));
  EXPECT_FALSE(viewer->browser()->loadResource(QTextDocument::HtmlResource, file).isValid());
  EXPECT_FALSE(viewer->browser()->loadResource(QTextDocument::ImageResource, file).isValid());
  emit viewer->browser()->anchorClicked(file);
  EXPECT_EQ(viewer->currentPage(), page);
  EXPECT_FALSE(viewer->browser()->toPlainText().contains(QStringLiteral("not for the help viewer")));
  EXPECT_TRUE(note->isVisibleTo(viewer));
  EXPECT_TRUE(note->text().contains(QStringLiteral("outside the help"))) << note->text().toStdString();
  fs::remove(secret);

  // A web link goes to the desktop's browser; a page of the book is followed.
  emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("https://example.com/tracing")));
  ASSERT_EQ(webLinks.size(), 1u);
  EXPECT_EQ(webLinks[0].host(), QStringLiteral("example.com"));
  EXPECT_EQ(viewer->currentPage(), page);
  emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("2.htm")));
  EXPECT_EQ(viewer->currentPage(), "2.htm");
  EXPECT_FALSE(note->isVisibleTo(viewer));
  HelpViewer::SetWebLinkOpener({});

  // Escape and Ctrl+W close the window.
  for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::CTRL | Qt::Key_W)}) {
    pressF1("Max_Amb");
    ASSERT_TRUE(viewer->isVisible());
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == viewer; }));
    // The key goes where a person's key press goes: to the widget with the focus.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewer->isVisible(); })) << key.key();
  }
}

// The contents tree marks the topic shown, however it was reached: F1 in a
// field (the previous topic's mark goes), a link, the contents page.
TEST_F(HelpWindow, TheContentsTreeMarksTheTopicShown) {
  pressF1("Max_Amb");
  HelpViewer* viewer = window->helpViewer();
  ASSERT_NE(viewer, nullptr);
  auto* tree = viewer->findChild<QTreeWidget*>(QStringLiteral("helpTree"));
  ASSERT_NE(tree, nullptr);
  const auto marked = [tree]() -> std::string {
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    if (selected.size() != 1 || tree->currentItem() != selected[0])
      return "(" + std::to_string(selected.size()) + ")";
    return selected[0]->data(0, Qt::UserRole).toString().toStdString();
  };
  for (const char* field :
       {"Max_Amb", "cboTracerMaterial", "cboTubeWallThick", "cboApplication", "Circ_No"}) {
    pressF1(field);
    EXPECT_EQ(viewer->currentPage(), HelpTopicPage(HelpContextOf(field))) << field;
    EXPECT_EQ(marked(), viewer->currentPage()) << field;
  }
  emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("12.htm")));
  EXPECT_EQ(marked(), "12.htm");
  viewer->browser()->backward();
  EXPECT_EQ(marked(), HelpTopicPage(HelpContextOf("Circ_No")));
  action("ctfwHelp")->trigger();
  EXPECT_EQ(viewer->currentPage(), kHelpContentsPage);
  EXPECT_TRUE(tree->selectedItems().isEmpty() || marked() == kHelpContentsPage);
}

TEST_F(HelpWindow, MissingBookIsNamedAndNoViewerOpens) {
  const fs::path empty = fs::temp_directory_path() / "vst_help_missing";
  fs::create_directories(empty);
  std::ofstream(empty / "STHelp2.chm") << "not a help book";
  window->setProgramFolder(empty);
  pressF1("Pipe_Len_In");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].text.find((empty / "STHelp2.chm").string()), std::string::npos);
  EXPECT_NE(dialogs.messages[0].text.find("could not be read"), std::string::npos);
  EXPECT_FALSE(window->helpViewer() && window->helpViewer()->isVisible());
  fs::remove_all(empty);
}

TEST_F(HelpWindow, DocumentCommandsOpenTheWholePathOrSayWhyNot) {
  const fs::path folder = fs::temp_directory_path() / "vst_documents_window";
  fs::remove_all(folder);
  fs::create_directories(folder / "PDF Files");
  std::ofstream(folder / "PDF Files" / "WRAPCORE Case Study 3-15-06.pdf") << "%PDF-1.4\n";
  window->setProgramFolder(folder);
  RecordingLauncher launcher;
  window->setDocumentLauncher(&launcher);

  action("mnuWrapcoreCaseStudy")->trigger();
  ASSERT_EQ(launcher.opened.size(), 1u);
  EXPECT_EQ(launcher.opened[0], folder / "PDF Files" / "WRAPCORE Case Study 3-15-06.pdf");
  EXPECT_TRUE(dialogs.messages.empty());

  action("mnuCoverlynCaseStudy")->trigger();  // not in the folder
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Path Error");
  EXPECT_EQ(launcher.opened.size(), 1u);
  window->setDocumentLauncher(nullptr);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vst::ui
