// The heat-up columns of a line list: read in the run's units, refused with
// the column named, carried into the outputs only by lists that have them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>

#include "batch/batch_design.h"
#include "batch/json.h"
#include "batch/list_entries.h"
#include "core/legacy_math.h"
#include "engine/heat_up.h"
#include "support/simpson.h"
#include "support/typical_circuit.h"

namespace vst {
namespace heat_up_list_test {

const std::string kHeader =
    "CIRTXT,PIPETXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
    "TRACETUB,TUBEMAT,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES";
const std::string kHeatUpHeader = kHeader + ",APPTYPE,PRODUCT,HUINIT,HUFINAL,HUDENS,HUCP,HUPCTEMP,HULATENT\n";
// A 2 in pipe, 1 in fiberglass, one 3/8 in copper Troughline tracer on 50 psig.
const std::string kEnglishCircuit =
    "A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,No,0,0,0,0,";
const std::string kMetricCircuit =
    "A,,38,-18,38,190,Fiberglass,25,50,30,1,3.45,Troughline,10,Copper,No,0,0,0,0,";

BatchResult Design(const std::string& text, UnitSystem units = UnitSystem::English) {
  CsvError error;
  const auto table = ParseCsv(text, error);
  EXPECT_TRUE(table) << error.message;
  BatchOptions options;
  options.units = units;
  if (units == UnitSystem::Metric) options.pressureUnit = PressureUnit::BarG;
  return table ? DesignLineList(*table, options) : BatchResult{};
}

std::string LastMessage(const CircuitResult& c) { return c.messages.empty() ? "" : c.messages.back().text; }

TEST(HeatUpList, AnOtherRowAgreesWithAnIndependentIntegrationOfTheModel) {
  const auto batch = Design(kHeatUpHeader + kEnglishCircuit + ",Heat Up,Other,40,90,62.4,1.0,,\n" +
                            kEnglishCircuit + ",Heat Up,Other,40,90,62.4,1.0,60,144\n");
  ASSERT_TRUE(batch.ok) << batch.error;
  // The same circuit's design pass, and the model integrated by hand: the
  // 2 in standard-weight pipe weighs 3.65 lb/ft (ASME B36.10M), its bore is
  // 2.067 in, half the fiberglass (4 lb/ft3, 0.20) between the sized diameters.
  DesignPassInput design = TypicalDesignPassInput();
  const auto line = HeatUpConditionsOf(design, RunDesignPass(design));
  ASSERT_TRUE(line);
  const double pi = std::acos(-1.0);
  const double bore = pi / 4 * 2.067 * 2.067 / 144;
  const double inner = line->insulation.innerDiameterIn, outer = line->insulation.outerDiameterIn;
  const double capacity =
      3.65 * 0.12 + bore * 62.4 + 0.5 * pi / 4 * (outer * outer - inner * inner) / 144 * 0.8;
  const double sensible =
      Simpson([&](double t) { return capacity / *NetHeatIntoPipe(*line, t); }, 40, 90, 400);
  const double latent = bore * 62.4 * 144 / *NetHeatIntoPipe(*line, 60);
  const CircuitResult& plain = batch.circuits.at(0);
  const CircuitResult& melting = batch.circuits.at(1);
  ASSERT_TRUE(plain.heatUpHours && melting.heatUpHours) << LastMessage(plain) << LastMessage(melting);
  EXPECT_NEAR(*plain.heatUpHours / sensible, 1.0, 0.01);
  EXPECT_NEAR(*melting.heatUpHours / (sensible + latent), 1.0, 0.01);
  ASSERT_TRUE(plain.heatUpProduct);
  EXPECT_EQ(plain.heatUpProduct->density, 62.4f);
  EXPECT_EQ(plain.heatUpProduct->at, 65.0f);
}

TEST(HeatUpList, ColumnsAreReadInTheRunsUnits) {
  // "Other" with water's properties over a narrow range takes the time of
  // the listed Water: a density or specific heat read in the wrong units
  // would be off by a factor of 16 or 4187.
  struct Case {
    UnitSystem units;
    std::string circuit, water, other;
    float meanTemp;
  };
  const Case cases[] = {
      {UnitSystem::English, kEnglishCircuit, ",Heat Up,Water,68,86,,,,", ",Heat Up,Other,68,86,62.25,0.998,,",
       77},
      {UnitSystem::Metric, kMetricCircuit, ",Heat Up,Water,20,30,,,,", ",Heat Up,Other,20,30,997.0,4180,,",
       25},
  };
  for (const Case& c : cases) {
    const auto batch =
        Design(kHeatUpHeader + c.circuit + c.water + "\n" + c.circuit + c.other + "\n", c.units);
    ASSERT_TRUE(batch.ok) << batch.error;
    const CircuitResult& water = batch.circuits.at(0);
    const CircuitResult& other = batch.circuits.at(1);
    ASSERT_TRUE(water.heatUpHours && other.heatUpHours) << LastMessage(water) << LastMessage(other);
    EXPECT_NEAR(*other.heatUpHours / *water.heatUpHours, 1.0, 0.005);
    ASSERT_TRUE(water.heatUpProduct);
    EXPECT_EQ(water.heatUpProduct->at, c.meanTemp);
    EXPECT_EQ(water.display.at(kMaintenanceOutputs), FixedText(*water.heatUpHours, 2));
  }
  // Empty temperatures are the minimum ambient and the temperature to maintain.
  const auto defaults = Design(kHeatUpHeader + kMetricCircuit + ",heat up,water,,,,,,\n", UnitSystem::Metric);
  EXPECT_EQ(defaults.circuits.at(0).used.at(kHUINIT), "-18");
  EXPECT_EQ(defaults.circuits[0].used.at(kHUFINAL), "38");
  EXPECT_EQ(defaults.circuits[0].used.at(kPRODUCT), "Water");
}

TEST(HeatUpList, BadHeatUpInputStopsTheRowNamingTheColumn) {
  struct Case {
    UnitSystem units;
    const char* fields;
    const char* message;
  };
  const Case cases[] = {
      {UnitSystem::English, ",Warm Up,,,,,,,",
       "Column APPTYPE: \"Warm Up\" is not in the application list "
       "(Maintenance, Heat Up)"},
      {UnitSystem::English, ",Heat Up,Tar,,,,,,", "Column PRODUCT: \"Tar\" is not in the product list"},
      {UnitSystem::English, ",Heat Up,Other,40,90,0,1,,",
       "Column HUDENS: \"0\" must be a number greater than 0"},
      {UnitSystem::English, ",Heat Up,Other,40,90,-62,1,,",
       "Column HUDENS: \"-62\" must be a number greater than 0"},
      {UnitSystem::English, ",Heat Up,Other,40,90,nan,1,,", "Column HUDENS: \"nan\" is not a number"},
      {UnitSystem::English, ",Heat Up,Other,40,90,,1,,",
       "Column HUDENS has no value: the product Other needs its density"},
      {UnitSystem::English, ",Heat Up,Other,40,90,62.4,0,,",
       "Column HUCP: \"0\" must be a number greater than 0"},
      {UnitSystem::English, ",Heat Up,Other,40,90,62.4,1,,144",
       "Column HULATENT: a latent heat needs a phase change temperature in HUPCTEMP"},
      {UnitSystem::English, ",Heat Up,Other,40,90,62.4,1,60,",
       "Column HUPCTEMP: a phase change needs its latent heat in HULATENT"},
      {UnitSystem::English, ",Heat Up,Water,-150,90,,,,",
       "Column HUINIT: \"-150\" must be between -100 and 1600 \u00B0F"},
      {UnitSystem::English, ",Heat Up,Other,40,90,62.4,1,1700,144",
       "Column HUPCTEMP: \"1700\" must be between -100 and 1600 \u00B0F"},
      {UnitSystem::Metric, ",Heat Up,Water,10,900,,,,",
       "Column HUFINAL: \"900\" must be between -73.3 and 871.1 \u00B0C"},
  };
  for (const Case& c : cases) {
    const std::string circuit = c.units == UnitSystem::Metric ? kMetricCircuit : kEnglishCircuit;
    const auto batch = Design(kHeatUpHeader + circuit + c.fields + "\n", c.units);
    ASSERT_TRUE(batch.ok) << batch.error;
    const CircuitResult& row = batch.circuits.at(0);
    EXPECT_FALSE(row.ok) << c.fields;
    EXPECT_FALSE(row.heatUpHours);
    EXPECT_EQ(LastMessage(row), c.message);
  }
}

TEST(HeatUpList, EveryEntryTheListsCommandOffersIsTaken) {
  const AcceptedLists lists = AcceptedListsOf(UnitSystem::English, false);
  std::string text = kHeatUpHeader;
  for (const std::string& application : lists.applications) {
    for (const std::string& product : lists.products) {
      text += kEnglishCircuit + "," + application + "," + product + ",40,90" +
              (product == lists.products.back() ? ",62.4,1,," : ",,,,") + "\n";
    }
  }
  const auto batch = Design(text);
  ASSERT_EQ(batch.circuits.size(), 2 * lists.products.size());
  for (const CircuitResult& c : batch.circuits) {
    EXPECT_TRUE(c.ok) << c.row << ": " << LastMessage(c);
    EXPECT_EQ(c.heatUpHours.has_value(), c.row > static_cast<int>(lists.products.size())) << c.row;
  }
}

TEST(HeatUpList, ATimeFoundBeforeServesOnlyTheSameInputs) {
  // Each row differs from the first in one input the heat-up reads. Designed
  // after the others on one thread, each row must give the time it gives
  // alone on a fresh thread, whose table of times found is empty.
  const std::string other = ",Heat Up,Other,40,90,62.4,1.0,60,144";
  const std::string rows[] = {
      kEnglishCircuit + other,
      kEnglishCircuit + ",Heat Up,Other,41,90,62.4,1.0,60,144",
      kEnglishCircuit + ",Heat Up,Other,40,91,62.4,1.0,60,144",
      kEnglishCircuit + ",Heat Up,Other,40,90,62.5,1.0,60,144",
      kEnglishCircuit + ",Heat Up,Other,40,90,62.4,1.1,60,144",
      kEnglishCircuit + ",Heat Up,Other,40,90,62.4,1.0,61,144",
      kEnglishCircuit + ",Heat Up,Other,40,90,62.4,1.0,60,145",
      kEnglishCircuit + ",Heat Up,Other,40,90,62.4,1.0,,",
      kEnglishCircuit + ",Heat Up,Water,40,90,,,,",
      "A,,100,-1,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,No,0,0,0,0," + other,
      "A,,100,0,100,375,Fiberglass,1.5,2.0,100,1,50,Troughline,3/8,Copper,No,0,0,0,0," + other,
      "A,,100,0,100,375,Mineral Fiber,1.0,2.0,100,1,50,Troughline,3/8,Copper,No,0,0,0,0," + other,
      "A,,100,0,100,375,Fiberglass,1.0,3.0,100,1,50,Troughline,3/8,Copper,No,0,0,0,0," + other,
      "A,,100,0,100,375,Fiberglass,1.0,2.0,100,2,50,Troughline,3/8,Copper,No,0,0,0,0," + other,
      "A,,100,0,100,375,Fiberglass,1.0,2.0,100,1,60,Troughline,3/8,Copper,No,0,0,0,0," + other,
  };
  std::string list = kHeatUpHeader;
  for (const std::string& row : rows) list += row + "\n";
  const auto together = Design(list);
  ASSERT_EQ(together.circuits.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    BatchResult alone;
    std::thread([&] { alone = Design(kHeatUpHeader + rows[i] + "\n"); }).join();
    const CircuitResult& c = together.circuits[i];
    ASSERT_TRUE(c.heatUpHours && alone.circuits.at(0).heatUpHours) << i << ": " << LastMessage(c);
    EXPECT_EQ(*c.heatUpHours, *alone.circuits[0].heatUpHours) << rows[i];
    if (i > 0) {
      EXPECT_NE(*c.heatUpHours, *together.circuits[0].heatUpHours) << rows[i];
    }
  }
}

TEST(HeatUpList, OnlyListsWithHeatUpColumnsCarryTheHeatUpOutputs) {
  BatchOptions options;
  const auto without = Design(kHeader + "\n" + kEnglishCircuit + "\n");
  EXPECT_EQ(BatchJson(without, options).find("heat_up"), std::string::npos);
  EXPECT_EQ(BatchCsv(without, options).find("Heat Up"), std::string::npos);
  // A maintenance row gives null, a line that cannot reach its final
  // temperature null with the reason.
  const auto with = Design(kHeatUpHeader + kEnglishCircuit + ",,,,,,,,\n" + kEnglishCircuit +
                           ",Heat Up,Water,40,300,,,,\n" + kEnglishCircuit + ",Heat Up,Water,40,80,,,,\n");
  const std::string json = BatchJson(with, options);
  EXPECT_NE(json.find("\"heat_up_hours\":null,\"heat_up_product\":null,\"record\""), std::string::npos);
  EXPECT_NE(LastMessage(with.circuits.at(1)).find("cannot reach the final temperature"), std::string::npos);
  EXPECT_TRUE(with.circuits[1].ok);
  EXPECT_EQ(with.circuits[1].display.at(kMaintenanceOutputs), "");
  EXPECT_NE(json.find("\"heat_up_hours\":" + JsonNumber(*with.circuits.at(2).heatUpHours) +
                      ",\"heat_up_product\":{\"density\":"),
            std::string::npos);
  const std::string csv = BatchCsv(with, options);
  EXPECT_NE(csv.find("HUDENS (lb/ft\u00B3),HUCP (BTU/lb-\u00B0F)"), std::string::npos);
  EXPECT_NE(csv.find("Heat Up Time (hr)"), std::string::npos);
  // The results read back as a list.
  const auto again = Design(csv.substr(3));
  ASSERT_TRUE(again.ok) << again.error;
  EXPECT_EQ(again.circuits.at(2).heatUpHours, with.circuits[2].heatUpHours);
}

}  // namespace heat_up_list_test
}  // namespace vst
