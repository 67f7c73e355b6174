#include "docs/help_source.h"

#include <gtest/gtest.h>

#include "docs/chm_book.h"
#include "docs/help_book.h"
#include "support/test_paths.h"

namespace vst {
namespace {

TEST(HelpSource, EachBookKeepsItsOwnPassagesAndDropsTheMarkers) {
  const std::string page =
      "<p>both</p>\n<!--internal-->\n<p>inner</p>\n<!--/internal-->\n  <!--standard-->\n<p>outer</p>\n"
      "<!--/standard-->\n<p>end</p>\n";
  EXPECT_EQ(BookPage(page, HelpBookKind::Internal), "<p>both</p>\n<p>inner</p>\n<p>end</p>\n");
  EXPECT_EQ(BookPage(page, HelpBookKind::Standard), "<p>both</p>\n<p>outer</p>\n<p>end</p>\n");
}

TEST(HelpSource, UnbalancedMarkersMakeThePageUnusable) {
  for (const char* page : {"<!--internal-->\nx\n", "x\n<!--/internal-->\n",
                           "<!--internal-->\n<!--standard-->\n", "<!--internal-->\n<!--/standard-->\n"}) {
    SCOPED_TRACE(page);
    std::string error;
    EXPECT_FALSE(BookPage(page, HelpBookKind::Standard, &error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(HelpSource, InternalOnlyPagesAreMarkedInTheirHead) {
  EXPECT_TRUE(InternalOnlyPage("<head><title>T</title>\n<meta name=\"book\" content=\"internal\">\n</head>"));
  EXPECT_FALSE(InternalOnlyPage("<head></head><body><meta name=\"book\" content=\"internal\"></body>"));
  EXPECT_EQ(PageTitle("<html><head><TITLE> Pipe Size </TITLE></head>"), "Pipe Size");
}

TEST(HelpSource, ContentsTreeReadsBackAsWritten) {
  const std::vector<ContentsItem> items{{"Inputs", "", 0},
                                        {"Pipe Size", "7.htm", 1},
                                        {"A & B \"x\"", "8.htm", 1},
                                        {"Files", "", 0},
                                        {"End", "30.htm", 1}};
  const std::vector<ContentsItem> back = ParseSitemap(SitemapText(items));
  ASSERT_EQ(back.size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(back[i].title, items[i].title);
    EXPECT_EQ(back[i].page, items[i].page);
    EXPECT_EQ(back[i].level, items[i].level);
  }
  EXPECT_TRUE(ParseSitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name").empty());
}

TEST(HelpBook, ModeChoosesTheBookAndContextThePage) {
  EXPECT_STREQ(HelpFileName(true), "STHelp.chm");
  EXPECT_STREQ(HelpFileName(false), "STHelp2.chm");
  EXPECT_EQ(HelpTopicPage(12), "12.htm");
  EXPECT_EQ(HelpTopicPage(0), "index.htm");
  EXPECT_EQ(HelpTopicPage(-3), "index.htm");
  EXPECT_EQ(LocateHelp("/opt/vst", false, 7).book, std::filesystem::path("/opt/vst/STHelp2.chm"));
}

// The books the build compiled beside the program.
TEST(BuiltHelpBooks, ChmlibReadsATopicAndThePicturesOutOfEachBook) {
  for (bool internal : {true, false}) {
    SCOPED_TRACE(HelpFileName(internal));
    auto book = ChmBook::open(std::filesystem::path(vst::test::BinDir()) / HelpFileName(internal));
    ASSERT_TRUE(book);
    const auto page = book->read("/1.htm");
    ASSERT_TRUE(page);
    EXPECT_NE(page->find("<h1>Max. Ambient</h1>"), std::string::npos);
    EXPECT_TRUE(book->read("index.htm"));
    EXPECT_TRUE(book->read("/contents.hhc"));
    const auto picture = book->read("/CHANNEL.PNG");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->substr(0, 8), "\x89PNG\r\n\x1a\n");
    // The trap distance topic is the InternalMode book's only.
    EXPECT_EQ(book->has("/19.htm"), internal);
    const auto contents = book->read("/index.htm");
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->find("19.htm") != std::string::npos, internal);
    EXPECT_EQ(contents->find("Engineering Services") != std::string::npos, !internal);
  }
}

TEST(ChmBookFile, MissingOrForeignFilesDoNotOpen) {
  EXPECT_FALSE(ChmBook::open(std::filesystem::path(vst::test::BinDir()) / "no such book.chm"));
  EXPECT_FALSE(ChmBook::open(std::filesystem::path(vst::test::TestDataDir()) / "help" / "book.txt"));
}

}  // namespace
}  // namespace vst
