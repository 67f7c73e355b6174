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

// A design run that stands in for the engine where a test is about the window:
// it stores what the run stores from the inputs and shows fixed results.
inline DesignOutcome FixedResultRun(DesignHost& host, DesignRunState& state) {
  const DesignInputs in = host.readInputs();
  DesignRecord& r = host.record(in.recordIndex);
  r.INSTYPE = in.insulationType;
  r.MAXEXP = ParseSingle(in.maxExposure, in.decimalMark).value_or(0.0f);
  r.IntermittentExposure = ParseSingle(in.intermittentExposure, in.decimalMark).value_or(0.0f);
  r.STEAMPRS = ParseSingle(in.pressure, in.decimalMark).value_or(0.0f);
  r.NUMPASS = in.passes;
  r.TRACETUB = in.tubeSize;
  r.INSTHK = in.insulationThickness;
  r.PIPESIZE = in.pipeSizePos;
  r.TP2 = 150;
  r.TP1 = 120;
  r.LSWO = 20.5f;
  r.COND = 0.0234f;
  r.INSIZE = 3;
  r.TLEN = 110;
  r.TDX = 300;
  r.VTR = 7.5f;
  r.TSIZ = "3/8";
  r.CEM = "E-50-C";
  r.COVR = "YJ-2";
  DesignDisplay d;
  d.maxMaintTemp = "150";
  d.minMaintTemp = "120";
  d.heatLoss = "20.5";
  d.condensate = "0.023";
  d.insulationSize = "3";
  d.trapDistance = "300";
  d.rise = "7.5";
  d.totalLength = "110";
  const bool jacketed = in.installation > 1;
  d.traceLabel = in.installation == 0   ? "Troughline"
                 : in.installation == 1 ? "Fillet Trace with"
                                        : "Coverlyn Type";
  d.traceType = jacketed ? r.COVR : r.CEM;
  host.showResults(d);
  ++state.passCounter;
  return DesignOutcome::Completed;
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
    model.windowKeyPress();
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
