// The main window STmain without a toolkit: the state of every control, the
// design set, the program mode, and every handler of the window (form
// loading, the input checks, the installation choice, record navigation, the
// design button). The Qt window draws `controls()` and forwards each event by
// control name; it decides nothing.
//
// Setting a field or a list position from code runs that control's change or
// click handling, as a user's action would; in this model that is always an
// explicit call (setText / selectList), never a widget signal. RecordLoading
// (while a record or a file is loaded) and a design run in progress guard
// every handler that would discard the stored design. While the design
// button's run waits for its dialogs, a second design, a record step and the
// mode toggle are refused.
//
// The controls, their captions, unit labels, status prompts and help topics
// are listed once, in the table of stmain_controls.h; the menus in
// MainMenuTree().
#pragma once

#include <array>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/design.h"
#include "circuit/entry.h"
#include "circuit/lists.h"
#include "core/design_record.h"
#include "docs/documents.h"
#include "prefs/preferences.h"
#include "workspace/controls.h"
#include "workspace/dialogs.h"
#include "workspace/stmain_controls.h"

namespace vst {

// A window the main window asks its skin to open (or a command the skin
// carries out with its own dialogs: files, printing, help, documents).
struct WindowRequest {
  enum class Kind {
    Preferences,  // Setting, modal
    AboutBox,     // AboutForm, not modal
    AppPanel,     // AppForm with the panel of menu item `panel`, not modal
    CircuitBill,  // CktBill, modal
    SummaryBill,  // Bill, modal
    CircuitList,  // Circ_Form, modal
    Ratings,      // Ratings, modal
    Print,        // the printer dialog, then the print of the main window
    Exit,         // close the main window (the skin then calls queryUnsavedChanges)
    NewSet,       // the new-set command: after the save question, startNewSet()
    OpenFile,     // the file-open command: the skin reads the file, then applyOpenedSet()
    SaveFile,     // the file-save command: the set's own file, else as SaveFileAs
    SaveFileAs,   // the save command with its dialog: the skin writes the file, then fileSaved()
    Help,         // the help file at `helpContext` (0: table of contents)
    Document,     // the product document of menu item `panel`
  };
  Kind kind;
  std::string panel;    // AppPanel and Document: the menu item name, e.g. "cond1", "mnuK30Info"
  int helpContext = 0;  // Help
};

// Every menu and menu item of the main window, each parent before its items.
const std::vector<MenuEntry>& MainMenuTree();
// The menu items of the window's own commands (the Help menu's are in
// docs/documents.h).
inline constexpr const char* kNewFileItem = "Newfile";
inline constexpr const char* kOpenFileItem = "Openfile";
inline constexpr const char* kSaveFileItem = "Savefile";
inline constexpr const char* kSaveFileAsItem = "SaveAsfile";
inline constexpr const char* kExitItem = "exit";
inline constexpr const char* kCircuitBillItem = "sp_circrp_bom";
inline constexpr const char* kSummaryBillItem = "bill_of_mat";
inline constexpr const char* kCircuitListItem = "sp_circ";
inline constexpr const char* kRatingsItem = "rating";
inline constexpr const char* kPreferencesItem = "settings";

// The note shown below the outputs in the standard mode.
inline constexpr const char* kAddResultNote =
    "\"Min. Maint. Temp.\" and \"Max. Maint. Temp.\" shown are without temperature control based on the "
    "minimum and maximum ambient values entered. Quorvex's Engineering Services can also provide condensate "
    "loads, maximum trapping distances, and the maximum allowable vertical rise for each circuit.";

// Range of the record spinner's positions.
inline constexpr int kSpinnerMin = -30000;
inline constexpr int kSpinnerMax = 30000;

class STmainModel {
 public:
  using DesignRunner =
      std::function<CircuitDesign(const CircuitEntry&, const CircuitContext&, DesignQuestions&)>;

  // Runs form loading: lists, defaults and captions for the unit system, the
  // program-mode refresh, the clock. `pressureUnit` is the start-up choice
  // (0 English, 2 Metric); `decimalMark` the locale's decimal separator.
  STmainModel(UnitSystem units, PressureUnit pressureUnit, Dialogs& dialogs, char decimalMark);

  ControlSet& controls() { return controls_; }
  const ControlSet& controls() const { return controls_; }

  // "Vantrel-ST Version 3.0.1", with " **INTERNAL MODE**" after a toggle to
  // InternalMode.
  std::string caption() const { return caption_; }

  // Events of the window, by control name. Unknown names are ignored.
  void gotFocus(std::string_view name);
  void lostFocus(std::string_view name);
  void textChanged(std::string_view name, const std::string& text);
  // The character to insert for a typed key: "." becomes the locale's mark
  // in the numeric fields; 0 would drop it.
  char keyPress(std::string_view name, char key);
  void listClicked(std::string_view name, int index);
  void checkClicked(std::string_view name, bool checked);
  // Buttons, menu items, and clicks on the output fields (their help topic).
  void clicked(std::string_view name);
  // F1 released in an input field: its help topic.
  void helpKey(std::string_view name);
  // The window's F1 shortcut with the focus on `focus` (empty for none): an
  // output's topic as a click opens it; nothing for an input with a topic
  // (its own key is helpKey); anywhere else the help, when it is enabled.
  void helpShortcut(std::string_view focus);
  void tabChanged(int tab);
  void spinnerStep(int newPosition);
  // Refreshes the clock labels from the local time.
  void tick(std::time_t now);

  // The control the model wants focused, "" for none; cleared by the call.
  std::string takeFocusRequest();
  // The window or command the model wants opened; cleared by the call.
  std::optional<WindowRequest> takeWindowRequest();

  bool internalMode() const { return internalMode_; }
  // The mode toggle of the about box; refused with the "Error" message once
  // a design has run or a file was opened.
  void toggleProgramMode();

  DesignSet& set() { return set_; }
  const DesignSet& set() const { return set_; }
  UnitSystem units() const { return set_.Units; }
  char decimalMark() const { return decimalMark_; }

  // The preferences window is opened with these values; its outcome is
  // applied to the program-wide values and the pressure field.
  PreferencesInput preferencesInput() const;
  void applyPreferences(const PreferencesOutcome& outcome);

  // A design file was read: replaces the ten records, takes the program mode
  // from the file, rebuilds the window for it, steps back one record (or
  // stays at record 1) and shows it. The set then counts as saved.
  void applyOpenedSet(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode);
  // The outcome of a save command (cancelled or failed: false).
  void fileSaved(bool succeeded);
  // An empty set, shown as the window shows it right after the start-up
  // window (the unit system and the program mode stay); it counts as saved.
  // Refused (false) while a design waits for its dialogs.
  bool startNewSet();

  // Whether the set holds something a save would keep and that is not in
  // the file it was last opened from or saved to (or, before either, that
  // was not there when the window opened). DesignSaved mirrors it once each
  // command that changes the records has ended.
  bool unsavedChanges() const { return set_.records != savedRecords_; }
  // The question asked before the set is closed or replaced (by Exit, New,
  // Open, a recent file), only when there are unsaved changes. `save` runs
  // the save command, which reports through fileSaved. True when the command
  // may go on: nothing to lose, "No", or a save that succeeded. "Cancel", a
  // failed save and an error while saving (shown titled "Error") keep the
  // set and the window as they are.
  bool queryUnsavedChanges(const std::function<void()>& save);

  // Every output of the output pane that is shown, one line each: caption,
  // value and unit separated by tabs ("Max. Maint. Temp.\t150\t°F").
  std::string resultsText() const;

  // The state a window handler may change, to put back when the handler
  // fails half way.
  struct Snapshot {
    DesignSet set;
    std::array<DesignRecord, DesignSet::kRecords> savedRecords;
    ControlSet controls;
    bool internalMode = false;
    std::string caption;
    CircuitEntry entry;
  };
  Snapshot snapshot() const;
  void restore(const Snapshot& snapshot);
  // The message, titled "Error", that a handler of control `name` (a menu
  // item, a button, a field; empty when none) failed with `reason` and the
  // set is as it was before.
  Message handlerFailedMessage(std::string_view name, const std::string& reason) const;

  // Replaces the design the design button runs (tests drive the button with
  // a scripted design); an empty runner restores DesignCircuit.
  void setDesignRunner(DesignRunner runner);

  // The circuit the window holds, and what it is designed in.
  const CircuitEntry& entry() const { return entry_; }
  CircuitContext context() const;

  // The dialogs the window asks through (the Files commands ask through them too).
  Dialogs& dialogs() { return dialogs_; }

 private:
  Control& c(StId id) { return controls_[id]; }
  const Control& c(StId id) const { return controls_[id]; }

  // Construction and form loading.
  void buildControls();
  void formLoad(PressureUnit pressureUnit);

  // Code that sets a control runs its handling.
  void setText(StId field, std::string text);
  void selectList(StId list, int index);
  void setChecked(StId box, bool checked);
  void textChangeHandling(StId field);
  void listClickHandling(StId list);

  // Program mode.
  void programModeRefresh();
  void rebuildInstallationList();

  // The choices of the circuit's lists and the lists they leave on offer.
  void drawChoices();
  void discardStoredDesign();
  void discardIfChanged(int stored, int now);
  // The choices of the installation, tube and material, and the walls when
  // the choice refilled them, against the stored design.
  void discardIfChoicesChanged(bool wallsRefilled);

  // Input checks.
  void numberLostFocus(const TypedNumber& field, float stored);
  // Shows what an application check did: its warnings, the fields it
  // corrected, the focus.
  void showCheckStep(const CheckStep& step);
  void productHandling();
  void showProductProperties();
  void dropHeatUpTime();
  bool showsProductData() const;
  void phaseChangeHandling();
  void requestFocus(StId control) { focusRequest_ = std::string(NameOf(control)); }
  void warn(const std::string& text, const std::string& title);

  // Design button.
  void designCommand();
  // The held circuit with what the record answers the allowance dialogs with
  // and the rise the window shows.
  CircuitEntry entryWithAllowances() const;

  // Records.
  void nextStep();
  void previousStep();
  void loadRecordIntoWindow(bool previousStep);
  void showStoredOutputs();
  void showInstallationResult();
  void showRecordNumber();

  void request(WindowRequest::Kind kind, std::string panel = {}, int helpContext = 0);
  // DesignSaved from unsavedChanges(), after a command that changes records.
  void noteSavedState() { set_.DesignSaved = !unsavedChanges(); }
  // The caption for the program mode in force.
  std::string captionForMode() const;

  // What a design shows while it runs.
  class RunQuestions;
  void selectInstallation(int position);
  void setStatus(const std::string& caption);
  void showResults(const DesignDisplay& display);

  Dialogs& dialogs_;
  char decimalMark_;
  DesignSet set_;
  // The records as last opened or saved (empty ones at the start).
  std::array<DesignRecord, DesignSet::kRecords> savedRecords_{};
  PressureUnit startPressureUnit_;
  ControlSet controls_;
  bool internalMode_ = false;
  bool designRunning_ = false;  // the design button's run is in progress: nothing is discarded
  std::string caption_;
  std::string focusRequest_;
  std::optional<WindowRequest> windowRequest_;
  DesignRunner runner_;
  // The circuit the controls show: every choice and typed field, and the
  // lists on offer. A handler changes it through the circuit's rules and
  // draws the controls from it.
  CircuitEntry entry_;
};

}  // namespace vst
