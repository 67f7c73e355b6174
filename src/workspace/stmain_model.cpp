// The main window model: its controls, form loading, the program-mode
// refresh, the commands that open other windows, focus prompts and the clock.
#include "workspace/stmain_model.h"

#include <algorithm>
#include <array>
#include <utility>

#include "circuit/lists.h"
#include "core/clock_text.h"
#include "core/legacy_math.h"
#include "core/units.h"
#include "docs/app_panels.h"
#include "docs/version.h"
#include "workspace/stmain_controls.h"

namespace vst {

namespace {

constexpr const char* kToggleRefused = "Program mode cannot be changed after performing a design";
constexpr const char* kInternalCaption = " **INTERNAL MODE**";

// Outputs that exist only in InternalMode, with their captions and units.
constexpr std::array<const char*, 9> kInternalOutputs{
    "Label9", "Cond_Load", "lblCondUnit", "Label7", "Trap_Dist", "feet3", "Label8", "Rise", "feet4"};

template <std::size_t N>
bool OneOf(std::string_view name, const std::array<const char*, N>& names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

}  // namespace

const std::vector<MenuEntry>& MainMenuTree() {
  static const std::vector<MenuEntry> tree = [] {
    std::vector<MenuEntry> tree{
        {"Files", "&Files", ""},
        {"Openfile", "Open File", "Files"},
        {"Savefile", "Save File", "Files"},
        {"exit", "E&xit", "Files"},
        {"Reports", "&Reports", ""},
        {"sp_circrp_bom", "Circuit Report and &Bill of Materials...", "Reports"},
        {"bill_of_mat", "&Summary Bill of Materials...", "Reports"},
        {"sp_circ", "Circuit List...", "Reports"},
        {"rating", "Ra&tings", "Reports"},
        {"settings", "&Preferences", ""},
        {"Applications", "&Applications", ""},
    };
    // The Applications menu: one submenu per kind of installation, one item per
    // panel, from the panels' own table.
    for (const AppSubmenu& sub : AppSubmenus()) {
      tree.push_back({std::string(sub.name), std::string(sub.caption), "Applications"});
      for (const AppPanel& panel : AppPanels()) {
        if (panel.submenu == sub.name) {
          tree.push_back(
              {std::string(panel.menuItem), std::string(panel.menuCaption), std::string(sub.name)});
        }
      }
    }
    for (const AppPanel& panel : AppPanels()) {
      if (panel.submenu.empty()) {
        tree.push_back({std::string(panel.menuItem), std::string(panel.menuCaption), "Applications"});
      }
    }
    // The "&Help" menu with the product documents, from their table.
    tree.insert(tree.end(), HelpMenuTree().begin(), HelpMenuTree().end());
    return tree;
  }();
  return tree;
}

STmainModel::STmainModel(UnitSystem units, PressureUnit pressureUnit, Dialogs& dialogs, char decimalMark)
    : dialogs_(dialogs), decimalMark_(decimalMark == 0 ? '.' : decimalMark) {
  set_.Units = units;
  setDesignRunner({});
  buildControls();
  std::size_t i = 0;
  for (const char* name : kDiscardedControls) discardedControls_[i++] = controls_.positionOf(name);
  formLoad(pressureUnit);
}

void STmainModel::buildControls() {
  ControlSet& s = controls_;
  Control& tabs = s.add("SSTab1", ControlKind::Tab);
  tabs.items = {"Circuit Design Input Data", "Heat Up Data"};
  tabs.index = 0;
  s.add("SSTab1Tab0", ControlKind::Tab, "Circuit Design Input Data");
  s.add("SSTab1Tab1", ControlKind::Tab, "Heat Up Data");
  s.add("fraOutput", ControlKind::Frame,
        "Circuit Design Output Data - Valid only for products manufactured by Quorvex");

  for (const ControlRow& row : STmainControlRows()) {
    if (row.captionName) s.add(row.captionName, ControlKind::Label, row.caption);
    Control& control = s.add(row.name, row.kind, row.text);
    if (row.kind == ControlKind::Spinner) control.index = 0;
    if (row.unitName) s.add(row.unitName, ControlKind::Label, row.fixedUnit ? row.fixedUnit : "");
  }

  s.add("lblAddResultLabel", ControlKind::Label, kAddResultNote);
  s.add("MessagePanel", ControlKind::Label);
  s.add("Time_display", ControlKind::Label);
  s.add("Date_Display", ControlKind::Label);
  for (const MenuEntry& m : MainMenuTree()) s.add(m.name, ControlKind::MenuItem, m.caption);
}

void STmainModel::formLoad(PressureUnit pressureUnit) {
  const UnitSystem units = set_.Units;
  const bool metric = units == UnitSystem::Metric;

  // Status panel and caption (the decimal mark is fixed by the constructor).
  c("MessagePanel").text = kStartPrompt;
  c("SSTab1Tab1").enabled = false;
  caption_ = std::string("Vantrel-ST ") + kVersionLabel;
  set_.RecordLoading = false;
  set_.PressureUnit = pressureUnit;

  // The unit captions of the unit system; the phase-change box starts clear.
  for (const ControlRow& row : STmainControlRows()) {
    if (row.unitName && row.unit) c(row.unitName).text = UnitCaption(*row.unit, units);
  }
  setChecked("chbPhaseChange", false);

  // Defaults and the lists of the unit system.
  if (metric) {
    for (const FieldDefault& d : FieldDefaults()) setText(d.name, d.metric);
  } else {
    for (const char* name : {"txtPCTemp", "txtProdCp", "txtProdDensity", "txtLatentHeat", "Pipe_Len_In"}) {
      setText(name, *DefaultText(name, units));
    }
  }
  c("Insul_Th_In").items = InsulationThicknessList(units);
  selectList("Insul_Th_In", 0);
  offeredPipeSizes_ = &PipeSizeFirstFill(units);
  c("Pipe_Dia_In").items = *offeredPipeSizes_;
  selectList("Pipe_Dia_In", kPipeSizeStart);
  offeredTubes_ = &TubeSizeFirstFill(units);
  c("Cab_Sel").items = *offeredTubes_;
  selectList("Cab_Sel", 0);

  // The lists that are the same in both unit systems.
  c("cboTracerMaterial").items = TracerMaterialList();
  selectList("cboTracerMaterial", kMaterialCopper);
  c("cboApplication").items = ApplicationList();
  selectList("cboApplication", kApplicationMaintenance);
  c("cboProduct").items = ProductList();
  selectList("cboProduct", 0);
  c("Pass").items = PassList();
  selectList("Pass", 0);
  c("Insul_Typ_In").items = InsulationTypeList();
  selectList("Insul_Typ_In", kInsulationFiberglass);

  // Record 1 and the clock.
  set_.CurrentRecord = 0;
  showRecordNumber();
  tick(std::time(nullptr));

  // The layout of the program mode; its installation list selects its
  // last entry, which rebuilds the tube size and pipe size lists.
  programModeRefresh();

  // A new window: the mode may still change; the input tab shows.
  set_.DesignLock = false;
  c("SSTab1").index = 0;
}

void STmainModel::setText(std::string_view name, std::string text) {
  c(name).text = std::move(text);
  textChangeHandling(name);
}

void STmainModel::selectList(std::string_view name, int index) {
  Control& list = c(name);
  // A position the list does not hold (a stored value of another list or
  // mode) leaves the list without a selection.
  if (index < -1 || index >= static_cast<int>(list.items.size())) index = -1;
  list.index = index;
  listClickHandling(name);
}

void STmainModel::setChecked(std::string_view name, bool checked) {
  c(name).checked = checked;
  if (name == "chbPhaseChange") phaseChangeHandling();
}

void STmainModel::textChangeHandling(std::string_view name) {
  if (name == "Min_Amb") setText("txtInitalTemp", c("Min_Amb").text);
  if (name == "MT_In") setText("txtFinalTemp", c("MT_In").text);
}

void STmainModel::textChanged(std::string_view name, const std::string& text) {
  if (!controls_.has(name) || c(name).kind != ControlKind::TextBox) return;
  setText(name, text);
}

void STmainModel::listClicked(std::string_view name, int index) {
  if (!controls_.has(name)) return;
  Control& list = c(name);
  if (list.kind != ControlKind::List || index < 0 || index >= static_cast<int>(list.items.size())) return;
  list.index = index;
  listClickHandling(name);
}

void STmainModel::checkClicked(std::string_view name, bool checked) {
  if (!controls_.has(name) || c(name).kind != ControlKind::CheckBox) return;
  setChecked(name, checked);
}

void STmainModel::gotFocus(std::string_view name) {
  if (auto prompt = StatusPrompt(name)) c("MessagePanel").text = *prompt;
}

void STmainModel::windowKeyPress() { set_.DesignSaved = false; }

void STmainModel::tabChanged(int tab) {
  Control& tabs = c("SSTab1");
  if (tab < 0 || tab >= static_cast<int>(tabs.items.size())) return;
  if (tab == 1 && !c("SSTab1Tab1").enabled) return;
  tabs.index = tab;
  set_.DesignSaved = false;
}

void STmainModel::tick(std::time_t now) {
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return;
  c("Time_display").text = ClockTime(local);
  c("Date_Display").text = MediumDate(local);
}

std::string STmainModel::takeFocusRequest() { return std::exchange(focusRequest_, std::string()); }

std::optional<WindowRequest> STmainModel::takeWindowRequest() {
  return std::exchange(windowRequest_, std::nullopt);
}

void STmainModel::request(WindowRequest::Kind kind, std::string panel, int helpContext) {
  windowRequest_ = WindowRequest{kind, std::move(panel), helpContext};
}

void STmainModel::clicked(std::string_view name) {
  if (!controls_.has(name)) return;
  using K = WindowRequest::Kind;
  const bool designShown = !c("Max_Maint_Temp").text.empty();
  const bool firstDesigned = set_.at(0).TP2 != 0.0f;
  if (name == "Des_But") {
    designCommand();
  } else if (name == "Cir_BOM_But") {
    // A record whose design was discarded would show a bill of zeros.
    if (designShown && set_.current().HoldsDesign()) request(K::CircuitBill);
  } else if (name == "Sum_BOM_But") {
    if (designShown) request(K::SummaryBill);
  } else if (name == "sp_circrp_bom") {
    // The first record's test, and (as the button) a design in the current record.
    if (firstDesigned && set_.current().HoldsDesign()) request(K::CircuitBill);
  } else if (name == "bill_of_mat") {
    if (firstDesigned) request(K::SummaryBill);
  } else if (name == "sp_circ") {
    if (firstDesigned) request(K::CircuitList);
  } else if (name == "rating") {
    request(K::Ratings);
  } else if (name == "settings") {
    request(K::Preferences);
  } else if (name == "Aboutmnu") {
    request(K::AboutBox);
  } else if (name == "Print_But") {
    request(K::Print);
  } else if (name == "exit") {
    request(K::Exit);
  } else if (name == "Openfile") {
    request(K::OpenFile);
  } else if (name == "Savefile") {
    request(K::SaveFile);
  } else if (name == "ctfwHelp") {
    request(K::Help, {}, 0);
  } else if (FindAppPanel(name)) {
    if (c(name).visible) request(K::AppPanel, std::string(name));
  } else if (const ControlRow* row = FindControlRow(name); row && row->output && row->helpContext > 0) {
    request(K::Help, {}, row->helpContext);  // a click on an output field
  } else if (FindDocument(name)) {
    request(K::Document, std::string(name));
  }
}

void STmainModel::helpKey(std::string_view name) {
  const ControlRow* row = FindControlRow(name);
  if (row && !row->output && row->helpContext > 0) request(WindowRequest::Kind::Help, {}, row->helpContext);
}

void STmainModel::helpShortcut(std::string_view focus) {
  const ControlRow* row = FindControlRow(focus);
  if (row && row->helpContext > 0) {
    if (row->output) clicked(row->name);  // an input's own F1 is helpKey
    return;
  }
  if (c("ctfwHelp").enabled) clicked("ctfwHelp");
}

// The window refresh for the program mode in force: the outputs and menu item
// of InternalMode, the note of the standard mode, and the installation list.
void STmainModel::programModeRefresh() {
  for (const char* name : kInternalOutputs) c(name).visible = internalMode_;
  for (const AppPanel& panel : AppPanels()) {
    if (panel.internalModeOnly) c(panel.menuItem).visible = internalMode_;
  }
  c("lblAddResultLabel").visible = !internalMode_;
  for (const char* name : {"Label17", "txtIntExpTemp", "Unit7"}) c(name).visible = false;
  rebuildInstallationList();
}

void STmainModel::rebuildInstallationList() {
  Control& list = c("Cab_In");
  list.items = InstallationList(internalMode_);
  list.index = -1;
  const int selection =
      set_.RecordLoading ? set_.current().TRACEINS : static_cast<int>(list.items.size()) - 1;
  selectList("Cab_In", selection);
}

void STmainModel::toggleProgramMode() {
  if (set_.DesignLock || designRunning_) {
    dialogs_.message(Message{kToggleRefused, "Error", MsgIcon::None, MsgButtons::Ok, false});
    return;
  }
  internalMode_ = !internalMode_;
  caption_ = std::string("Vantrel-ST ") + kVersionLabel + (internalMode_ ? kInternalCaption : "");
  programModeRefresh();
}

PreferencesInput STmainModel::preferencesInput() const {
  PreferencesInput input;
  input.units = set_.Units;
  input.pressureUnit = set_.PressureUnit;
  input.recordUnder = set_.current().UNDER;
  input.pressureText = c("Pressure").text;
  input.decimalMark = decimalMark_;
  return input;
}

void STmainModel::applyPreferences(const PreferencesOutcome& outcome) {
  set_.InsulationSizing = outcome.insulationSizing;
  set_.PressureUnit = outcome.pressureUnit;
  if (outcome.pressureText) setText("Pressure", *outcome.pressureText);
  if (outcome.pressureCaption) c("Label6").text = *outcome.pressureCaption;
}

float STmainModel::number(std::string_view field) const {
  return ParseSingle(c(field).text, decimalMark_).value_or(0.0f);
}

}  // namespace vst
