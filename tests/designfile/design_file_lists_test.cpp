// The design file's knowledge of the main window's lists (which positions a
// file may hold) agrees with the lists themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "circuit/lists.h"
#include "designfile/design_file_columns.h"

namespace vst {
namespace {

std::size_t LongestTubeSizeList() {
  std::size_t longest = 0;
  for (bool internal : {false, true}) {
    for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
      for (std::size_t i = 0; i < InstallationList(internal).size(); ++i)
        longest = std::max(longest, TubeSizeList(static_cast<int>(i), internal, units).size());
    }
  }
  return longest;
}

std::size_t LongestWallList() {
  std::size_t longest = 0;
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    for (const std::string& tube : TubeSizeList(0, false, units)) {
      for (std::size_t m = 0; m < TracerMaterialList().size(); ++m) {
        if (auto walls = WallThicknessList(units, tube, static_cast<int>(m)))
          longest = std::max(longest, walls->size());
      }
    }
  }
  return longest;
}

TEST(DesignFileLists, TheLastPositionOfEachColumnIsTheLastEntryOfItsList) {
  struct Case {
    const char* column;
    bool internalMode;
    std::size_t entries;
  };
  const Case cases[] = {
      {"INSTHK", false, InsulationThicknessList(UnitSystem::English).size()},
      {"INSTHK", false, InsulationThicknessList(UnitSystem::Metric).size()},
      {"INSTYPE", false, InsulationTypeList().size() + 1},  // stored as the position plus one
      {"PIPESIZE", false, PipeSizeList(UnitSystem::English, false).size()},
      {"PIPESIZE", false, PipeSizeList(UnitSystem::Metric, false).size()},
      {"NUMPASS", false, PassList().size()},
      {"TRACETUB", false, LongestTubeSizeList()},
      {"TRACEINS", false, InstallationList(false).size()},
      {"TRACEINS", true, InstallationList(true).size()},
      {"TUBEMAT", false, TracerMaterialList().size()},
      {"TUBEWALL", false, LongestWallList()},
      {"APPTYPE", false, ApplicationList().size()},
      {"HeatUpProduct", false, ProductList().size()},
  };
  for (const Case& c : cases) {
    const auto range = CodedColumnRange(c.column, c.internalMode);
    ASSERT_TRUE(range) << c.column;
    EXPECT_EQ(range->first, 0) << c.column;
    EXPECT_EQ(static_cast<std::size_t>(range->last), c.entries - 1) << c.column;
  }
}

}  // namespace
}  // namespace vst
