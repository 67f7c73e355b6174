// Random line lists through the batch driver, in both unit systems and both
// program modes: every list choice and values at and beyond the limits. Each
// row ends either as a design whose outputs make physical sense or as a
// refusal that says why.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "batch/batch_design.h"
#include "circuit/design.h"
#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "core/units.h"
#include "engine/heat_transfer.h"
#include "support/script_dialogs.h"
#include "workspace/stmain_model.h"

namespace vst {
namespace {

// Rows per unit system and mode; four runs make the few thousand designs.
constexpr int kRowsPerRun = 1000;

const std::vector<std::string> kTemperatures = {
    "-150", "-100", "-73.3", "-18", "0",    "32",   "50",   "100",  "150",  "190",   "204", "250", "300",
    "375",  "401",  "650",   "700", "1250", "1251", "1832", "1900", "1e30", "-1e30", "abc", ""};
const std::vector<std::string> kLengths = {"0",      "-5",     "0.1",   "1",      "30",     "100",
                                           "2500",   "30480",  "30481", "100000", "100001", "1e30",
                                           "3.3e38", "3.5e38", "1e999", "x"};
const std::vector<std::string> kPressures = {"0",   "0.35", "3.45", "4.9", "5",    "20.68", "21",   "50",
                                             "135", "250",  "300",  "301", "2169", "2170",  "1e30", "-1"};
const std::vector<std::string> kCounts = {"", "0", "1", "3", "12", "1000000", "1000001", "-1", "two"};
const std::vector<std::string> kShoes = {"", "12x4", "6x2;18x1", "1000000x1", "12x1000001", "x", "12x-1"};

// The entries of the window's lists in one unit system and mode; the tube
// sizes and walls by installation.
struct Lists {
  std::vector<std::string> installations, materials, pipes, insulations, thicknesses, passes;
  std::vector<std::vector<std::string>> tubes, walls;  // by installation position
};

void AddItems(std::vector<std::string>& to, const std::vector<std::string>& items) {
  for (const auto& i : items) {
    if (!i.empty() && std::find(to.begin(), to.end(), i) == to.end()) to.push_back(i);
  }
}

Lists WindowLists(UnitSystem units, bool internal) {
  Lists l;
  test::ScriptDialogs dialogs;
  STmainModel m(units, units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig, dialogs, '.');
  if (internal) m.toggleProgramMode();
  const auto items = [&](const char* control) { return m.controls()[control].items; };
  for (const auto& entry : items("Cab_In")) {
    if (entry.empty()) continue;
    const int pos = static_cast<int>(l.installations.size());
    l.installations.push_back(entry);
    m.listClicked("Cab_In", pos);
    l.tubes.emplace_back();
    l.walls.emplace_back();
    AddItems(l.tubes.back(), items("Cab_Sel"));
    AddItems(l.walls.back(), items("cboTubeWallThick"));
  }
  AddItems(l.materials, items("cboTracerMaterial"));
  AddItems(l.pipes, PipeSizeList(units, false));
  AddItems(l.insulations, items("Insul_Typ_In"));
  AddItems(l.thicknesses, items("Insul_Th_In"));
  AddItems(l.passes, items("Pass"));
  return l;
}

// Every entry of both unit systems and modes, the short installation names
// and a few texts that no list holds.
Lists AnyLists() {
  Lists any;
  any.tubes.emplace_back();
  any.walls.emplace_back();
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    for (bool internal : {false, true}) {
      const Lists l = WindowLists(units, internal);
      AddItems(any.installations, l.installations);
      for (const auto& t : l.tubes) AddItems(any.tubes[0], t);
      for (const auto& w : l.walls) AddItems(any.walls[0], w);
      AddItems(any.materials, l.materials);
      AddItems(any.pipes, l.pipes);
      AddItems(any.insulations, l.insulations);
      AddItems(any.thicknesses, l.thicknesses);
      AddItems(any.passes, l.passes);
    }
  }
  AddItems(any.installations, {"Troughline", "Fillet Trace", "YJ-0", "YJ-1", "YJ-2"});
  for (auto* list : {&any.installations, &any.tubes[0], &any.materials, &any.pipes, &any.insulations,
                     &any.thicknesses, &any.passes, &any.walls[0]})
    list->push_back("none such");
  any.walls[0].push_back("");
  return any;
}

// Half of the rows are entered as a user would, from the lists of the
// window in this unit system and mode with ordinary values (most become
// designs); the others take any list entry and values at and beyond every
// limit.
std::string CsvText(const Lists& window, const Lists& any, std::mt19937& random) {
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  std::string text =
      "MAXAMB,MINAMB,MAINTEMP,MAXEXP,INTEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,TRACETUB,"
      "TUBEMAT,TUBEWALL,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES\n";
  for (int r = 0; r < kRowsPerRun; ++r) {
    std::vector<std::string> fields;
    if (r % 2 == 0) {
      const std::size_t install =
          std::uniform_int_distribution<std::size_t>(0, window.installations.size() - 1)(random);
      const std::vector<std::string> counts = {"", "0", "1", "3", "12"};
      fields = {pick({"80", "100", "120"}),
                pick({"-40", "0", "20"}),
                pick({"40", "50", "100", "150", "200", "250"}),
                pick({"250", "300", "375"}),
                "",
                pick(window.insulations),
                pick(window.thicknesses),
                pick(window.pipes),
                pick({"1", "100", "2500", "30480", "100000"}),
                pick({window.passes[0], window.passes[0], window.passes[1]}),
                pick({"3.45", "50", "250"}),
                window.installations[install],
                pick(window.tubes[install]),
                pick(window.materials),
                pick(window.walls[install]),
                pick({"Yes", "No", ""}),
                pick(counts),
                pick(counts),
                pick(counts),
                pick(counts),
                pick({"", "12x4", "6x2;18x1"})};
    } else {
      fields = {
          pick(kTemperatures), pick(kTemperatures),   pick(kTemperatures),   pick(kTemperatures),
          pick(kTemperatures), pick(any.insulations), pick(any.thicknesses), pick(any.pipes),
          pick(kLengths),      pick(any.passes),      pick(kPressures),      pick(any.installations),
          pick(any.tubes[0]),  pick(any.materials),   pick(any.walls[0]),    pick({"Yes", "No", "", "maybe"}),
          pick(kCounts),       pick(kCounts),         pick(kCounts),         pick(kCounts),
          pick(kShoes)};
    }
    text += CsvLine(fields) + "\n";
  }
  return text;
}

// The steam temperature of the row's pressure in the record's units.
double SteamTemperature(const DesignRecord& r, UnitSystem units) {
  const double steamF = SteamSaturationTemp(PsigFrom(r.STEAMPRS, PressureUnitFromStored(r.PRESSURE)));
  return units == UnitSystem::Metric ? (steamF - 32) * 5 / 9 : steamF;
}

TEST(DesignProperties, RandomRowsEndAsSoundDesignsOrAsRefusalsThatSayWhy) {
  const Lists any = AnyLists();
  std::mt19937 random(20240515);
  int designs = 0;
  int refusals = 0;
  for (UnitSystem units : {UnitSystem::English, UnitSystem::Metric}) {
    for (bool internal : {false, true}) {
      BatchOptions options;
      options.units = units;
      options.internalMode = internal;
      options.pressureUnit = units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig;
      CsvError error;
      const auto table = ParseCsv(CsvText(WindowLists(units, internal), any, random), error);
      ASSERT_TRUE(table) << error.message;
      const BatchResult result = DesignLineList(*table, options);
      ASSERT_TRUE(result.ok) << result.error;
      for (const CircuitResult& c : result.circuits) {
        const DesignRecord& r = c.record;
        const std::string row = (units == UnitSystem::Metric ? "Metric" : "English") +
                                std::string(internal ? " internal" : " standard") + " row " +
                                std::to_string(c.row) + ": " + CsvLine(c.inputs);
        if (!c.ok) {
          ++refusals;
          EXPECT_FALSE(c.messages.empty()) << row;
          continue;
        }
        ++designs;
        for (const auto& m : c.messages) EXPECT_NE(m.title, "Error") << row << ": " << m.text;
        for (const FieldInfo& f : RecordFields()) {
          if (f.kind == FieldKind::Real) {
            EXPECT_TRUE(std::isfinite(FieldNumber(r, f))) << row << " " << f.name;
          }
        }
        for (int d = 0; d + 1 < static_cast<int>(kMaintenanceOutputs);
             ++d) {  // the last one is the compound's name
          const auto shown = ParseNumber(c.display[static_cast<std::size_t>(d)]);
          EXPECT_TRUE(shown && std::isfinite(*shown))
              << row << " " << kDesignOutputs[static_cast<std::size_t>(d)].caption << " shows \""
              << c.display[static_cast<std::size_t>(d)] << "\"";
        }
        EXPECT_LE(r.TP2, SteamTemperature(r, units) + 1e-3) << row;
        EXPECT_GE(r.TP2, r.TP1) << row;
        EXPECT_GE(r.TLEN, r.PIPELN) << row;
      }
    }
  }
  // Enough of both kinds that every invariant was exercised.
  EXPECT_GT(designs, 400);
  EXPECT_GT(refusals, 400);
  std::printf("designed %d rows, refused %d rows\n", designs, refusals);
}

}  // namespace
}  // namespace vst
