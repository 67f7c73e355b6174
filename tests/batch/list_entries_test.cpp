#include "batch/list_entries.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "batch/batch_design.h"
#include "circuit/lists.h"

namespace vst {
namespace {

// Every entry the listing offers is one a row may name: a row built from
// each installation, tube, material, wall and pipe size it lists is taken by
// the designer without a list refusal, in both unit systems and modes; an
// entry it leaves out for an installation is refused.
TEST(AcceptedLists, EveryListedCombinationIsTakenByTheDesigner) {
  const std::string header =
      "MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,TRACETUB,"
      "TUBEMAT,"
      "TUBEWALL\n";
  for (const UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    for (const bool internal : {false, true}) {
      const AcceptedLists lists = AcceptedListsOf(units, internal);
      SCOPED_TRACE(std::string(units == UnitSystem::Metric ? "metric" : "english") +
                   (internal ? " internal" : " standard"));
      ASSERT_EQ(lists.installations.size(), internal ? 5u : 4u);
      const bool metric = units == UnitSystem::Metric;
      std::string text = header;
      int rows = 0;
      for (const auto& inst : lists.installations) {
        for (const auto& tube : inst.tubes) {
          for (std::size_t m = 0; m < lists.materials.size(); ++m) {
            for (const std::string& wall : tube.walls[m]) {
              for (const std::string& pipe : {tube.pipes.front(), tube.pipes.back()}) {
                text += std::string(metric ? "38,-18,38,190," : "100,0,100,375,") +
                        lists.insulationTypes.back() + "," + lists.thicknesses.back() + "," + pipe + ",30," +
                        lists.passes.front() + (metric ? ",3.45," : ",50,") +
                        (inst.shortName.empty() ? inst.name : inst.shortName) + "," + tube.tube + "," +
                        lists.materials[m] + "," + wall + "\n";
                ++rows;
              }
            }
          }
        }
      }
      CsvError error;
      const auto table = ParseCsv(text, error);
      ASSERT_TRUE(table) << error.message;
      BatchOptions options;
      options.units = units;
      options.internalMode = internal;
      options.pressureUnit = metric ? PressureUnit::BarG : PressureUnit::Psig;
      const BatchResult result = DesignLineList(*table, options);
      ASSERT_EQ(result.circuits.size(), static_cast<std::size_t>(rows));
      for (const CircuitResult& c : result.circuits) {
        for (const ShownMessage& m : c.messages)
          EXPECT_EQ(m.text.find("is not in the"), std::string::npos) << "row " << c.row << ": " << m.text;
      }
      // The jacketed tracers of the standard mode take the smallest tube only.
      const auto& yj1 = lists.installations[internal ? 3 : 2];
      EXPECT_EQ(yj1.shortName, "YJ-1");
      ASSERT_EQ(yj1.tubes.size(), 1u);
      const std::string bigTube = lists.installations[0].tubes.back().tube;
      const auto refused = DesignLineList(
          *ParseCsv(header + (metric ? "38,-18,38,190," : "100,0,100,375,") + "Fiberglass," +
                        lists.thicknesses[0] + "," + lists.installations[0].tubes[0].pipes.back() + ",30,1," +
                        (metric ? "3.45" : "50") + ",YJ-1," + bigTube + ",Copper,\n",
                    error),
          options);
      EXPECT_NE(refused.circuits.at(0).messages.back().text.find("is not in the tracer tubing list"),
                std::string::npos);
    }
  }
}

// The listing offers exactly the pipe sizes and passes the design takes: a
// row with each installation and tube on every pipe size of the list, with
// the most passes listed for it, designs without a size or pass refusal
// when the size is listed and is refused when it is left out, in both unit
// systems and modes.
TEST(AcceptedLists, PipeSizesAndPassesOfferedAreThoseTheDesignTakes) {
  const std::vector<std::string> refusals = {"does not fit", "too small", "smaller then", "passes exceed"};
  const auto refusal = [&](const CircuitResult& c) {
    for (const ShownMessage& m : c.messages)
      for (const std::string& r : refusals)
        if (m.text.find(r) != std::string::npos) return m.text;
    return std::string();
  };
  for (const UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    for (const bool internal : {false, true}) {
      const bool metric = units == UnitSystem::Metric;
      SCOPED_TRACE(std::string(metric ? "metric" : "english") + (internal ? " internal" : " standard"));
      const AcceptedLists lists = AcceptedListsOf(units, internal);
      const TextList& allPipes = PipeSizeList(units, false);
      std::string text =
          "MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,TRACETUB,"
          "TUBEMAT,TUBEWALL\n";
      std::vector<bool> offered;
      for (const auto& inst : lists.installations) {
        for (const auto& tube : inst.tubes) {
          ASSERT_EQ(tube.mostPasses.size(), tube.pipes.size());
          for (const std::string& pipe : allPipes) {
            const auto at = std::find(tube.pipes.begin(), tube.pipes.end(), pipe);
            offered.push_back(at != tube.pipes.end());
            const int passes =
                offered.back() ? tube.mostPasses[static_cast<std::size_t>(at - tube.pipes.begin())] : 1;
            text += std::string(metric ? "38,-18,38,190," : "100,0,100,375,") + lists.insulationTypes.back() +
                    "," + lists.thicknesses.back() + "," + pipe + ",30," + std::to_string(passes) +
                    (metric ? ",3.45," : ",50,") + (inst.shortName.empty() ? inst.name : inst.shortName) +
                    "," + tube.tube + ",Copper,\n";
          }
        }
      }
      CsvError error;
      BatchOptions options;
      options.units = units;
      options.internalMode = internal;
      options.pressureUnit = metric ? PressureUnit::BarG : PressureUnit::Psig;
      const BatchResult result = DesignLineList(*ParseCsv(text, error), options);
      ASSERT_EQ(result.circuits.size(), offered.size()) << result.error;
      for (std::size_t r = 0; r < offered.size(); ++r) {
        const CircuitResult& c = result.circuits[r];
        if (offered[r]) {
          EXPECT_EQ(refusal(c), "") << "row " << c.row;
          EXPECT_TRUE(c.ok) << "row " << c.row;
        } else {
          EXPECT_NE(refusal(c), "") << "row " << c.row << " is left out but designs";
        }
      }
    }
  }
}

}  // namespace
}  // namespace vst
