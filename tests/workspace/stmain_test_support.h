// A main window model driven like a user's session: type into a field and
// leave it, pick a list entry by its text, answer dialogs from a script.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/legacy_math.h"
#include "core/units.h"
#include "support/script_dialogs.h"
#include "workspace/stmain_model.h"

namespace vst::test {

// A design that stands in for the engine where a test is about the window:
// it keeps what a design keeps of the inputs and shows fixed results.
inline CircuitDesign FixedResultRun(const CircuitEntry& entry, const CircuitContext& context,
                                    DesignQuestions& questions) {
  CircuitDesign d;
  d.entry = entry;
  d.outcome = DesignOutcome::Completed;
  const char mark = context.decimalMark;
  d.readings.maxExposure = entry.maxExposure.single(mark).value_or(0.0f);
  d.readings.intermittentExposure = entry.intermittentExposure.single(mark).value_or(0.0f);
  d.readings.steamPressure = entry.pressure.single(mark).value_or(0.0f);
  d.readings.passes = entry.passes;
  AllowanceStep& a = d.allowance.emplace();
  a.fittings = entry.fittings;
  a.tubeSize = entry.tubeSize;
  a.insulationThickness = entry.insulationThickness;
  a.pipeSize = entry.pipeSize;
  a.passes = entry.passes;
  DesignFinish& f = d.finish.emplace();
  f.TP2 = 150;
  f.TP1 = 120;
  f.LSWO = 20.5f;
  f.COND = 0.0234f;
  f.INSIZE = 3;
  f.TDX = 300;
  f.VTR = 7.5f;
  f.compound = {"E-50-C", "E-50-C", "YJ-2"};
  Takeoff& t = f.takeoff.emplace();
  t.TLEN = 110;
  t.TSIZ = "3/8";
  t.CEM1 = "E-50-C";
  DesignDisplay& shown = d.display;
  shown.maxMaintTemp = "150";
  shown.minMaintTemp = "120";
  shown.heatLoss = "20.5";
  shown.condensate = "0.023";
  shown.insulationSize = "3";
  shown.trapDistance = "300";
  shown.rise = "7.5";
  shown.totalLength = "110";
  const bool jacketed = entry.installation > 1;
  shown.traceLabel = entry.installation == 0   ? "Troughline"
                     : entry.installation == 1 ? "Fillet Trace with"
                                               : "Coverlyn Type";
  shown.traceType = jacketed ? f.compound.COVR : f.compound.CEM;
  questions.resultsShown(shown);
  return d;
}

class Session {
 public:
  explicit Session(UnitSystem units = UnitSystem::English, char decimalMark = '.')
      : model(units, units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig, dialogs,
              decimalMark) {
    model.setDesignRunner(FixedResultRun);
  }

  const Control& c(const std::string& name) const { return model.controls()[name]; }
  const std::string& text(const std::string& name) const { return c(name).text; }
  std::string selected(const std::string& name) const { return c(name).selectedText(); }

  // Focus the field, replace its text as the user would, leave it.
  void type(const std::string& name, const std::string& text) {
    model.gotFocus(name);
    model.textChanged(name, text);
    model.lostFocus(name);
  }
  // Picks the entry with this text; fails the test when the list lacks it.
  void pick(const std::string& name, const std::string& entry) {
    const auto& items = c(name).items;
    const auto it = std::find(items.begin(), items.end(), entry);
    ASSERT_NE(it, items.end()) << name << " has no entry \"" << entry << "\"";
    model.gotFocus(name);
    model.listClicked(name, static_cast<int>(it - items.begin()));
  }
  void design() {
    model.gotFocus("Des_But");
    model.clicked("Des_But");
  }
  void internalMode() {
    if (!model.internalMode()) model.toggleProgramMode();
  }

  ScriptDialogs dialogs;  // declared first: the model shows messages while it loads
  STmainModel model;
};

}  // namespace vst::test
