// The ratings table of the heat transfer products and tracer tubes (window
// Ratings, grid RatingGrid): exposure and application temperature limits
// and water solubility on the first page; packaging, shelf life and sizes on
// the second. The table does not depend on the design set; the program mode
// hides the YJ-0 row and the unit system changes the second page.
#pragma once

#include <array>
#include <string>

#include "core/design_record.h"

namespace vst {

inline constexpr int kRatingRows = 14;  // the column titles, then 13 products
inline constexpr int kRatingColumns = 5;
inline constexpr int kRatingYj0Row = 8;  // shown in InternalMode only

enum class RatingsPageNumber { First, Second };

// One page of the grid with its layout, in twips.
struct RatingsPage {
  std::array<std::array<std::string, kRatingColumns>, kRatingRows> cells;
  std::array<bool, kRatingRows> rowVisible{};
  std::array<int, kRatingColumns> columnTwips{};
  int gridWidthTwips = 0;
  int gridHeightTwips = 0;
};

// The page as shown in the unit system and mode. Every text is exact,
// leading and trailing blanks included; row 0 holds the column titles
// (centred), column 0 the product names. On the second page column 4 is
// empty and 1 twip wide.
RatingsPage RatingsTable(RatingsPageNumber page, UnitSystem units, bool internalMode);

// The top of the " &Back" button on the second page, in twips.
inline constexpr int kRatingsBackTopTwips = 3960;

// The state of the window Ratings: the page shown and which of " &More"
// and " &Back" is offered.
class RatingsModel {
 public:
  RatingsModel(UnitSystem units, bool internalMode);

  const RatingsPage& page() const { return page_; }
  RatingsPageNumber pageNumber() const { return number_; }
  bool moreVisible() const { return number_ == RatingsPageNumber::First; }
  bool backVisible() const { return number_ == RatingsPageNumber::Second; }
  void more() { show(RatingsPageNumber::Second); }
  void back() { show(RatingsPageNumber::First); }

 private:
  void show(RatingsPageNumber number);

  UnitSystem units_;
  bool internalMode_;
  RatingsPageNumber number_ = RatingsPageNumber::First;
  RatingsPage page_;
};

}  // namespace vst
