// The design button of the main window: its precondition, the circuit the
// window holds, and the design shown as it runs: its messages, the fallbacks
// in the installation list, the fittings and shoe dialogs, the results.
#include <array>

#include "core/legacy_math.h"
#include "core/message_titles.h"
#include "core/units.h"
#include "workspace/stmain_model.h"

namespace vst {

namespace {

// The fields the design button requires, in the order it reads them.
constexpr std::array<StId, 7> kRequiredFields{StId::Pipe_Len_In, StId::MT_In,   StId::Max_Exp_Temp,
                                              StId::Min_Amb,     StId::Max_Amb, StId::txtIntExpTemp,
                                              StId::Pressure};

constexpr const char* kMissingInputs = "All Circuit Design Input Data must have values.";

}  // namespace

// The window's side of a design: its dialogs answer the questions, and what
// the design tells is shown at once. Every message of a design is a
// system-modal information box.
class STmainModel::RunQuestions : public DesignQuestions {
 public:
  explicit RunQuestions(STmainModel& window) : window_(window) {}
  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) override {
    return window_.dialogs_.pipeForm(setup);
  }
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup& setup) override {
    return window_.dialogs_.shoeForm(setup);
  }
  void told(const ShownMessage& m) override {
    window_.dialogs_.message(Message{m.text, m.title, MsgIcon::Information, MsgButtons::Ok, true});
  }
  void installationChosen(int position) override { window_.selectInstallation(position); }
  void statusShown(const std::string& caption) override { window_.setStatus(caption); }
  void resultsShown(const DesignDisplay& display) override { window_.showResults(display); }

 private:
  STmainModel& window_;
};

void STmainModel::setDesignRunner(DesignRunner runner) {
  if (!runner) runner = DesignCircuit;
  runner_ = std::move(runner);
}

CircuitContext STmainModel::context() const {
  return {set_.Units, internalMode_, set_.PressureUnit, set_.InsulationSizing, decimalMark_};
}

CircuitEntry STmainModel::entryWithAllowances() const {
  const DesignRecord& r = set_.current();
  CircuitEntry e = entry_;
  e.fittings = {r.AllowanceIncluded, r.VALN, r.FLNO, r.NOPX, r.WCTB};
  e.shoeAllowance = r.ShoeAllowance;
  e.rise = c(StId::Rise).text;
  return e;
}

// The design button: every input must have a value; then the record's
// outputs are reset, the circuit the window holds is designed, and the
// record takes the design.
void STmainModel::designCommand() {
  // The allowance dialogs let the window's events through while the design
  // waits for them; a second design of the same record is not started.
  if (designRunning_) return;
  for (StId field : kRequiredFields) {
    if (Trim(c(field).text).empty()) {
      dialogs_.message(Message{kMissingInputs, kInputErrorTitle, MsgIcon::Information, MsgButtons::Ok, true});
      return;
    }
  }
  c(StId::TraceLb).visible = false;
  c(StId::TraceTp).visible = false;
  const CircuitContext circuit = context();
  ResetOutputs(set_.current(), circuit);
  // The record changes from here on, whatever the design's outcome.
  set_.DesignSaved = false;

  CircuitDesign design;
  {
    designRunning_ = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{designRunning_};
    RunQuestions questions(*this);
    design = runner_(entryWithAllowances(), circuit, questions);
  }
  set_.DesignLock = true;
  // The window takes events while the shoe dialog waits: the record keeps
  // the inputs as the window holds them now.
  design.entry = entryWithAllowances();
  StoreDesign(design, circuit, set_.current());
  noteSavedState();
}

}  // namespace vst
