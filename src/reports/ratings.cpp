#include "reports/ratings.h"

#include <cstddef>

namespace vst {
namespace {

constexpr std::array<const char*, kRatingRows - 1> kProducts = {"Clipstrip",
                                                                "E-55",
                                                                "E-50",
                                                                "E-72",
                                                                "K-30",
                                                                "K-90",
                                                                "NS(Non-Hardening)",
                                                                "YJ-0",
                                                                "YJ-1",
                                                                "YJ-2",
                                                                "Wrapcore Type RA",
                                                                "Hi-Temp Wrapcore Type RB",
                                                                "Hi-Temp Wrapcore Type RC"};

// A temperature limit as written in the table: the Fahrenheit and Celsius
// texts, each with the blanks that align the column.
struct Limit {
  const char* fahrenheit;
  const char* celsius;
};

struct FirstPageRow {
  Limit maxExposure;
  Limit minExposure;
  Limit minApplication;
  const char* waterSoluble;
};

constexpr Limit kColdestExposure = {" -320", "-196"};
constexpr Limit kFreezing = {" 32", "   0"};
constexpr Limit kJacketMinimum = {" -40", "-40"};

constexpr std::array<FirstPageRow, kRatingRows - 1> kFirstPage = {{
    {{"  406", "207"}, {" -100", "  -73"}, {" 10", "-12"}, " No"},
    {{"  375", "191"}, kColdestExposure, kFreezing, " No"},
    {{"  325", "163"}, kColdestExposure, {"   0", "-18"}, " No"},
    {{"  275", "135"}, kColdestExposure, kFreezing, " No"},
    {{"  700", "371"}, kColdestExposure, kFreezing, " Yes"},
    {{" 1832", "1000"}, kColdestExposure, kFreezing, " Yes"},
    {{"  375", "191"}, kColdestExposure, kFreezing, " No"},
    {{"  406", "207"}, kColdestExposure, kJacketMinimum, " No"},
    {{"  406", "207"}, kColdestExposure, kJacketMinimum, " No"},
    {{"  406", "207"}, kColdestExposure, kJacketMinimum, " No"},
    {{"  400", "204"}, kColdestExposure, kJacketMinimum, " No"},
    {{"  750", "399"}, kColdestExposure, kJacketMinimum, " "},
    {{"  1100", "593"}, kColdestExposure, kJacketMinimum, " "},
}};

struct SecondPageRow {
  const char* packagingMetric;
  const char* packagingEnglish;
  const char* shelfLife;
  const char* sizesMetric;
  const char* sizesEnglish;
};

constexpr const char* kPails = " 1/10 (cartridge), 1 and 5 gallon pails";
constexpr const char* kNoSizes = " ------------------";
constexpr const char* kUnrefrigerated = " 30 days (unrefrigerated)";
constexpr const char* kReelMetric = " Continuous Reel lengths to 150m";
constexpr const char* kReelEnglish = " Continuous Reel lengths to 500 ft.";
constexpr const char* kWrapcoreReelMetric = " Continuous Reel lengths to 150/75m";
constexpr const char* kWrapcoreReelEnglish = " Continuous Reel lengths to 500/250 ft.";

constexpr std::array<SecondPageRow, kRatingRows - 1> kSecondPage = {{
    {" 1.2 Meter Strip (Includes MCX)", " 4 Feet Strip (Includes MCX)", " 1 year", " 10, 12, 20 ",
     " 3/8, 1/2, 3/4 "},
    {kPails, kPails, kUnrefrigerated, kNoSizes, kNoSizes},
    {kPails, kPails, kUnrefrigerated, kNoSizes, kNoSizes},
    {" 1 quart, 1 gallon pails", " 1 quart, 1 gallon pails", " 1 year (In unmixed state)", kNoSizes,
     kNoSizes},
    {" 1 and 5 gallon pails ", " 1 and 5 gallon pails ", " 1 year", kNoSizes, kNoSizes},
    {" 1 and 5 gallon pails", " 1 and 5 gallon pails", " 1 year", kNoSizes, kNoSizes},
    {" 1 and 5 gallon pails", " 1 and 5 gallon pails", " 1 year", kNoSizes, kNoSizes},
    {kReelMetric, kReelEnglish, " Indefinite", " 10, 12", " 3/8, 1/2"},
    {kReelMetric, kReelEnglish, " Indefinite", " 10", " 3/8"},
    {kReelMetric, kReelEnglish, " Indefinite", " 10", " 3/8"},
    {kWrapcoreReelMetric, kWrapcoreReelEnglish, " Indefinite", " 10, 12, 20", " 3/8, 1/2, 3/4"},
    {kWrapcoreReelMetric, kWrapcoreReelEnglish, " Indefinite", " 10, 12, 20", " 3/8, 1/2, 3/4"},
    {kWrapcoreReelMetric, kWrapcoreReelEnglish, " Indefinite", " 10, 12, 20", " 3/8, 1/2, 3/4"},
}};

// Column widths and grid widths (twips) of the two pages.
constexpr std::array<int, kRatingColumns> kFirstPageTwips = {2900, 2000, 2000, 2050, 1500};
constexpr std::array<int, kRatingColumns> kSecondPageTwips = {2900, 3500, 2300, 1950, 1};
constexpr int kFirstPageWidthTwips = 10620;
constexpr int kSecondPageWidthTwips = 10820;
constexpr int kInternalHeightTwips = 3450;
constexpr int kStandardHeightTwips = 3200;  // without the YJ-0 row

// "  406°F   (207°C)": both units, whatever the unit system.
std::string TemperatureCell(const Limit& limit) {
  return std::string(limit.fahrenheit) + "\u00B0F   (" + limit.celsius + "\u00B0C)";
}

}  // namespace

RatingsPage RatingsTable(RatingsPageNumber number, UnitSystem units, bool internalMode) {
  const bool first = number == RatingsPageNumber::First;
  const bool metric = units == UnitSystem::Metric;
  RatingsPage page;
  auto& titles = page.cells[0];
  if (first) {
    titles = {"", "Max. Exposure. Temp.", "Min. Exposure Temp.", "Min. Application Temp.",
              "Water Solubility"};
  } else {
    titles = {"", "Packaging", "Shelf Life", metric ? "Sizes Available (mm)" : "Sizes Available (Inch)", ""};
  }
  for (std::size_t i = 0; i < kProducts.size(); ++i) {
    auto& row = page.cells[i + 1];
    row[0] = kProducts[i];
    if (first) {
      const FirstPageRow& p = kFirstPage[i];
      row[1] = TemperatureCell(p.maxExposure);
      row[2] = TemperatureCell(p.minExposure);
      row[3] = TemperatureCell(p.minApplication);
      row[4] = p.waterSoluble;
    } else {
      const SecondPageRow& p = kSecondPage[i];
      row[1] = metric ? p.packagingMetric : p.packagingEnglish;
      row[2] = p.shelfLife;
      row[3] = metric ? p.sizesMetric : p.sizesEnglish;
      row[4] = "";
    }
  }
  page.rowVisible.fill(true);
  page.rowVisible[kRatingYj0Row] = internalMode;
  if (!internalMode) page.cells[kRatingYj0Row].fill(std::string());
  page.columnTwips = first ? kFirstPageTwips : kSecondPageTwips;
  page.gridWidthTwips = first ? kFirstPageWidthTwips : kSecondPageWidthTwips;
  page.gridHeightTwips = internalMode ? kInternalHeightTwips : kStandardHeightTwips;
  return page;
}

RatingsModel::RatingsModel(UnitSystem units, bool internalMode)
    : units_(units), internalMode_(internalMode), page_(RatingsTable(number_, units, internalMode)) {}

void RatingsModel::show(RatingsPageNumber number) {
  number_ = number;
  page_ = RatingsTable(number, units_, internalMode_);
}

}  // namespace vst
