#include "reports/ratings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vst {
namespace {

using Units = UnitSystem;
using Page = RatingsPageNumber;

TEST(Ratings, TextsOfBothPagesInBothUnitSystems) {
  struct Case {
    Page page;
    Units units;
    int row;
    int column;
    std::string text;
  };
  const std::vector<Case> cases = {
      {Page::First, Units::English, 0, 1, "Max. Exposure. Temp."},
      {Page::First, Units::Metric, 0, 4, "Water Solubility"},
      {Page::First, Units::English, 1, 0, "Clipstrip"},
      {Page::First, Units::English, 1, 1, "  406\u00B0F   (207\u00B0C)"},
      {Page::First, Units::Metric, 1, 2, " -100\u00B0F   (  -73\u00B0C)"},
      {Page::First, Units::English, 2, 3, " 32\u00B0F   (   0\u00B0C)"},
      {Page::First, Units::English, 3, 3, "   0\u00B0F   (-18\u00B0C)"},
      {Page::First, Units::Metric, 6, 1, " 1832\u00B0F   (1000\u00B0C)"},
      {Page::First, Units::English, 6, 4, " Yes"},
      {Page::First, Units::English, 10, 3, " -40\u00B0F   (-40\u00B0C)"},
      {Page::First, Units::English, 12, 4, " "},
      {Page::First, Units::English, 13, 0, "Hi-Temp Wrapcore Type RC"},
      {Page::First, Units::English, 13, 1, "  1100\u00B0F   (593\u00B0C)"},
      {Page::Second, Units::English, 0, 3, "Sizes Available (Inch)"},
      {Page::Second, Units::Metric, 0, 3, "Sizes Available (mm)"},
      {Page::Second, Units::Metric, 1, 1, " 1.2 Meter Strip (Includes MCX)"},
      {Page::Second, Units::English, 1, 1, " 4 Feet Strip (Includes MCX)"},
      {Page::Second, Units::Metric, 1, 3, " 10, 12, 20 "},
      {Page::Second, Units::English, 1, 3, " 3/8, 1/2, 3/4 "},
      {Page::Second, Units::Metric, 5, 1, " 1 and 5 gallon pails "},
      {Page::Second, Units::English, 4, 2, " 1 year (In unmixed state)"},
      {Page::Second, Units::English, 3, 3, " ------------------"},
      {Page::Second, Units::Metric, 9, 1, " Continuous Reel lengths to 150m"},
      {Page::Second, Units::English, 9, 3, " 3/8"},
      {Page::Second, Units::English, 12, 1, " Continuous Reel lengths to 500/250 ft."},
      {Page::Second, Units::English, 13, 2, " Indefinite"},
      {Page::Second, Units::English, 6, 0, "K-90"},
      {Page::Second, Units::Metric, 6, 4, ""},
  };
  for (const Case& c : cases) {
    for (bool internal : {false, true}) {
      const auto page = RatingsTable(c.page, c.units, internal);
      EXPECT_EQ(page.cells[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.column)], c.text)
          << "row " << c.row << " column " << c.column << (internal ? " internal" : " standard");
    }
  }
}

TEST(Ratings, YjZeroRowAndLayoutByModeAndPage) {
  for (Page number : {Page::First, Page::Second}) {
    for (bool internal : {false, true}) {
      const auto page = RatingsTable(number, Units::Metric, internal);
      EXPECT_EQ(page.rowVisible[kRatingYj0Row], internal);
      EXPECT_EQ(page.cells[kRatingYj0Row][0], internal ? "YJ-0" : "");
      EXPECT_TRUE(page.rowVisible[kRatingYj0Row + 1]);
      EXPECT_EQ(page.gridHeightTwips, internal ? 3450 : 3200);
      EXPECT_EQ(page.gridWidthTwips, number == Page::First ? 10620 : 10820);
      EXPECT_EQ(page.columnTwips[4], number == Page::First ? 1500 : 1);
    }
  }
}

TEST(Ratings, SwitchingPagesBackAndForthShowsTheSameTexts) {
  RatingsModel ratings(Units::English, false);
  const auto first = ratings.page().cells;
  EXPECT_TRUE(ratings.moreVisible() && !ratings.backVisible());
  ratings.more();
  EXPECT_TRUE(ratings.backVisible() && !ratings.moreVisible());
  const auto second = ratings.page().cells;
  EXPECT_NE(first, second);
  ratings.back();
  EXPECT_EQ(ratings.page().cells, first);
  ratings.more();
  EXPECT_EQ(ratings.page().cells, second);
}

}  // namespace
}  // namespace vst
