// The main window model: its controls, form loading, the program-mode
// refresh, the commands that open other windows, focus prompts and the clock.
#include "workspace/stmain_model.h"

#include <algorithm>
#include <array>
#include <utility>

#include "circuit/lists.h"
#include "core/clock_text.h"
#include "core/legacy_math.h"
#include "core/message_titles.h"
#include "core/units.h"
#include "docs/app_panels.h"
#include "docs/version.h"
#include "workspace/stmain_controls.h"

namespace vst {

namespace {

constexpr const char* kToggleRefused = "Program mode cannot be changed after performing a design";
constexpr const char* kInternalCaption = " **INTERNAL MODE**";

// The commands of the menus that the window carries out, by their menu items.
enum class MenuCommand {
  NewSet,
  OpenFile,
  SaveFile,
  SaveFileAs,
  Exit,
  CircuitBill,
  SummaryBill,
  CircuitList,
  Ratings,
  Preferences,
  AboutBox,
  Help
};
struct MenuCommandItem {
  std::string_view item;
  MenuCommand command;
};
constexpr std::array<MenuCommandItem, 12> kMenuCommands{{
    {kNewFileItem, MenuCommand::NewSet},
    {kOpenFileItem, MenuCommand::OpenFile},
    {kSaveFileItem, MenuCommand::SaveFile},
    {kSaveFileAsItem, MenuCommand::SaveFileAs},
    {kExitItem, MenuCommand::Exit},
    {kCircuitBillItem, MenuCommand::CircuitBill},
    {kSummaryBillItem, MenuCommand::SummaryBill},
    {kCircuitListItem, MenuCommand::CircuitList},
    {kRatingsItem, MenuCommand::Ratings},
    {kPreferencesItem, MenuCommand::Preferences},
    {kAboutMenuItem, MenuCommand::AboutBox},
    {kHelpMenuItem, MenuCommand::Help},
}};

// The text boxes that hold a typed number of the circuit, and the two that
// hold its names.
struct EntryNumber {
  StId field;
  TypedNumber CircuitEntry::*number;
};
constexpr std::array<EntryNumber, 13> kEntryNumbers{{
    {StId::Max_Amb, &CircuitEntry::maxAmbient},
    {StId::Min_Amb, &CircuitEntry::minAmbient},
    {StId::MT_In, &CircuitEntry::maintTemp},
    {StId::Max_Exp_Temp, &CircuitEntry::maxExposure},
    {StId::txtIntExpTemp, &CircuitEntry::intermittentExposure},
    {StId::Pipe_Len_In, &CircuitEntry::pipeLength},
    {StId::Pressure, &CircuitEntry::pressure},
    {StId::txtInitalTemp, &CircuitEntry::initialTemp},
    {StId::txtFinalTemp, &CircuitEntry::finalTemp},
    {StId::txtProdDensity, &CircuitEntry::density},
    {StId::txtProdCp, &CircuitEntry::specificHeat},
    {StId::txtLatentHeat, &CircuitEntry::latentHeat},
    {StId::txtPCTemp, &CircuitEntry::phaseChangeTemp},
}};
struct EntryName {
  StId field;
  std::string CircuitEntry::*text;
};
constexpr std::array<EntryName, 2> kEntryNames{{
    {StId::Circ_No, &CircuitEntry::circuit},
    {StId::Line_No, &CircuitEntry::line},
}};

std::optional<MenuCommand> FindMenuCommand(std::string_view item) {
  for (const MenuCommandItem& m : kMenuCommands) {
    if (m.item == item) return m.command;
  }
  return std::nullopt;
}

}  // namespace

const std::vector<MenuEntry>& MainMenuTree() {
  static const std::vector<MenuEntry> tree = [] {
    std::vector<MenuEntry> tree{
        {"Files", "&Files", ""},
        {kNewFileItem, "New File", "Files"},
        {kOpenFileItem, "Open File", "Files"},
        {kSaveFileItem, "Save File", "Files"},
        {kSaveFileAsItem, "Save File As...", "Files"},
        {kExitItem, "E&xit", "Files"},
        {"Reports", "&Reports", ""},
        {kCircuitBillItem, "Circuit Report and &Bill of Materials...", "Reports"},
        {kSummaryBillItem, "&Summary Bill of Materials...", "Reports"},
        {kCircuitListItem, "Circuit List...", "Reports"},
        {kRatingsItem, "Ra&tings", "Reports"},
        {kPreferencesItem, "&Preferences", ""},
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
    : dialogs_(dialogs),
      decimalMark_(decimalMark == 0 ? '.' : decimalMark),
      startPressureUnit_(pressureUnit) {
  set_.Units = units;
  setDesignRunner({});
  buildControls();
  formLoad(pressureUnit);
  // Nothing entered yet: nothing to lose.
  savedRecords_ = set_.records;
  noteSavedState();
}

bool STmainModel::startNewSet() {
  if (designRunning_) return false;
  const UnitSystem units = set_.Units;
  set_ = DesignSet{};
  set_.Units = units;
  controls_ = ControlSet{};
  entry_ = CircuitEntry{};
  focusRequest_.clear();
  buildControls();
  formLoad(startPressureUnit_);
  savedRecords_ = set_.records;
  noteSavedState();
  return true;
}

std::string STmainModel::captionForMode() const {
  return std::string("Vantrel-ST ") + kVersionLabel + (internalMode_ ? kInternalCaption : "");
}

STmainModel::Snapshot STmainModel::snapshot() const {
  return Snapshot{set_, savedRecords_, controls_, internalMode_, caption_, entry_};
}

void STmainModel::restore(const Snapshot& snapshot) {
  set_ = snapshot.set;
  savedRecords_ = snapshot.savedRecords;
  controls_ = snapshot.controls;
  internalMode_ = snapshot.internalMode;
  caption_ = snapshot.caption;
  entry_ = snapshot.entry;
  focusRequest_.clear();
  windowRequest_.reset();
}

Message STmainModel::handlerFailedMessage(std::string_view name, const std::string& reason) const {
  // The command by its caption: a menu item's or a button's own, a field's
  // caption label.
  std::string what;
  if (const ControlRow* row = FindControlRow(name); row && row->captionName) {
    what = PlainCaption(controls_[row->captionName].text);
  } else if (controls_.has(name)) {
    what = CommandCaption(controls_[name].text);
  }
  return Message{CommandFailedText(what, reason) + " The design set is as it was before.", kErrorTitle,
                 MsgIcon::Exclamation, MsgButtons::Ok, false};
}

std::string STmainModel::resultsText() const {
  std::string text;
  for (const ControlRow& row : STmainControlRows()) {
    if (!row.output || !controls_[row.name].visible) continue;
    const std::string caption = PlainCaption(row.captionName ? controls_[row.captionName].text : "");
    const std::string unit = row.unitName ? PlainCaption(controls_[row.unitName].text) : std::string();
    text += caption + '\t' + std::string(Trim(controls_[row.name].text)) + '\t' + unit + '\n';
  }
  return text;
}

namespace {

std::string Named(StId id) { return std::string(NameOf(id)); }

}  // namespace

void STmainModel::buildControls() {
  ControlSet& s = controls_;
  Control& tabs = s.add(Named(StId::SSTab1), ControlKind::Tab);
  tabs.items = {"Circuit Design Input Data", "Heat Up Data"};
  tabs.index = 0;
  s.add(Named(StId::SSTab1Tab0), ControlKind::Tab, "Circuit Design Input Data");
  s.add(Named(StId::SSTab1Tab1), ControlKind::Tab, "Heat Up Data");
  s.add(Named(StId::fraOutput), ControlKind::Frame,
        "Circuit Design Output Data - Valid only for products manufactured by Quorvex");

  for (const ControlRow& row : STmainControlRows()) {
    if (row.captionName) s.add(row.captionName, ControlKind::Label, row.caption);
    Control& control = s.add(row.name, row.kind, row.text);
    if (row.kind == ControlKind::Spinner) control.index = 0;
    if (row.unitName) s.add(row.unitName, ControlKind::Label, row.fixedUnit ? row.fixedUnit : "");
  }

  s.add(Named(StId::lblAddResultLabel), ControlKind::Label, kAddResultNote);
  s.add(Named(StId::MessagePanel), ControlKind::Label);
  s.add(Named(StId::Time_display), ControlKind::Label);
  s.add(Named(StId::Date_Display), ControlKind::Label);
  // The table and StId must name the same control at every position.
  for (std::size_t at = 0; at < kStControlCount; ++at) {
    if (s.at(at).name != NameOf(static_cast<StId>(at))) {
      throw std::logic_error("the main window's control " + s.at(at).name + " is not at its position");
    }
  }
  for (const MenuEntry& m : MainMenuTree()) s.add(m.name, ControlKind::MenuItem, m.caption);
}

void STmainModel::formLoad(PressureUnit pressureUnit) {
  const UnitSystem units = set_.Units;

  // Status panel and caption (the decimal mark is fixed by the constructor).
  c(StId::MessagePanel).text = kStartPrompt;
  c(StId::SSTab1Tab1).enabled = false;
  caption_ = captionForMode();
  set_.RecordLoading = false;
  set_.PressureUnit = pressureUnit;

  // The unit captions of the unit system; the phase-change box starts clear.
  for (const ControlRow& row : STmainControlRows()) {
    if (row.unitName && row.unit) controls_[row.unitName].text = UnitCaption(*row.unit, units);
  }
  setChecked(StId::chbPhaseChange, false);

  // The circuit a fresh window holds, in the unit system and mode: its
  // fields, then its lists. The insulation choice, unlike the record's empty
  // one, discards the record's (empty) design, as every fresh window does.
  entry_ = FreshEntry(context());
  for (const EntryNumber& n : kEntryNumbers) setText(n.field, (entry_.*n.number).text());
  for (const EntryName& n : kEntryNames) setText(n.field, entry_.*n.text);
  c(StId::Insul_Th_In).items = InsulationThicknessList(units);
  selectList(StId::Insul_Th_In, entry_.insulationThickness);
  c(StId::cboTracerMaterial).items = TracerMaterialList();
  drawChoices();
  c(StId::cboApplication).items = ApplicationList();
  selectList(StId::cboApplication, entry_.application);
  c(StId::cboProduct).items = ProductList();
  selectList(StId::cboProduct, entry_.product);
  c(StId::Pass).items = PassList();
  selectList(StId::Pass, entry_.passes);
  c(StId::Insul_Typ_In).items = InsulationTypeList();
  selectList(StId::Insul_Typ_In, entry_.insulationType);

  // Record 1 and the clock.
  set_.CurrentRecord = 0;
  showRecordNumber();
  tick(std::time(nullptr));

  // The layout of the program mode; its installation list selects its
  // last entry, which rebuilds the tube size and pipe size lists.
  programModeRefresh();

  // A new window: the mode may still change; the input tab shows.
  set_.DesignLock = false;
  c(StId::SSTab1).index = 0;
}

void STmainModel::setText(StId field, std::string text) {
  // A typed number is read here, once, as the field's text changes.
  for (const EntryNumber& n : kEntryNumbers) {
    if (n.field == field) entry_.*n.number = TypedNumber(text, decimalMark_);
  }
  for (const EntryName& n : kEntryNames) {
    if (n.field == field) entry_.*n.text = text;
  }
  c(field).text = std::move(text);
  textChangeHandling(field);
}

void STmainModel::selectList(StId list, int index) {
  Control& control = c(list);
  // A position the list does not hold (a stored value of another list or
  // mode) leaves the list without a selection.
  if (index < -1 || index >= static_cast<int>(control.items.size())) index = -1;
  control.index = index;
  listClickHandling(list);
}

void STmainModel::setChecked(StId box, bool checked) {
  c(box).checked = checked;
  if (box != StId::chbPhaseChange) return;
  entry_.phaseChange = checked;
  phaseChangeHandling();
  dropHeatUpTime();
}

void STmainModel::textChangeHandling(StId field) {
  if (field == StId::Min_Amb) setText(StId::txtInitalTemp, c(StId::Min_Amb).text);
  if (field == StId::MT_In) setText(StId::txtFinalTemp, c(StId::MT_In).text);
  if (field == StId::txtInitalTemp || field == StId::txtFinalTemp || field == StId::txtProdDensity ||
      field == StId::txtProdCp) {
    showProductProperties();
  }
  if (field == StId::txtInitalTemp || field == StId::txtFinalTemp || field == StId::txtProdDensity ||
      field == StId::txtProdCp || field == StId::txtLatentHeat || field == StId::txtPCTemp) {
    dropHeatUpTime();
  }
}

void STmainModel::textChanged(std::string_view name, const std::string& text) {
  const std::optional<StId> field = FindStId(name);
  if (!field || c(*field).kind != ControlKind::TextBox) return;
  // A listed product's density and specific heat are shown, not entered:
  // the entry keeps the values of "Other".
  if ((*field == StId::txtProdDensity || *field == StId::txtProdCp) && showsProductData()) return;
  setText(*field, text);
}

void STmainModel::listClicked(std::string_view name, int index) {
  const std::optional<StId> list = FindStId(name);
  if (!list) return;
  Control& control = c(*list);
  if (control.kind != ControlKind::List || index < 0 || index >= static_cast<int>(control.items.size()))
    return;
  control.index = index;
  listClickHandling(*list);
}

void STmainModel::checkClicked(std::string_view name, bool checked) {
  const std::optional<StId> box = FindStId(name);
  if (!box || c(*box).kind != ControlKind::CheckBox) return;
  setChecked(*box, checked);
}

void STmainModel::gotFocus(std::string_view name) {
  if (auto prompt = StatusPrompt(name)) c(StId::MessagePanel).text = *prompt;
}

void STmainModel::tabChanged(int tab) {
  Control& tabs = c(StId::SSTab1);
  if (tab < 0 || tab >= static_cast<int>(tabs.items.size())) return;
  if (tab == 1 && !c(StId::SSTab1Tab1).enabled) return;
  tabs.index = tab;
}

void STmainModel::tick(std::time_t now) {
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return;
  c(StId::Time_display).text = ClockTime(local);
  c(StId::Date_Display).text = MediumDate(local);
}

std::string STmainModel::takeFocusRequest() { return std::exchange(focusRequest_, std::string()); }

std::optional<WindowRequest> STmainModel::takeWindowRequest() {
  return std::exchange(windowRequest_, std::nullopt);
}

void STmainModel::request(WindowRequest::Kind kind, std::string panel, int helpContext) {
  windowRequest_ = WindowRequest{kind, std::move(panel), helpContext};
}

void STmainModel::clicked(std::string_view name) {
  using K = WindowRequest::Kind;
  const bool designShown = !c(StId::Max_Maint_Temp).text.empty();
  const bool firstDesigned = set_.at(0).TP2 != 0.0f;
  if (const std::optional<StId> control = FindStId(name)) {
    switch (*control) {
      case StId::Des_But:
        designCommand();
        return;
      case StId::Cir_BOM_But:
        // A record whose design was discarded would show a bill of zeros.
        if (designShown && set_.current().HoldsDesign()) request(K::CircuitBill);
        return;
      case StId::Sum_BOM_But:
        if (designShown) request(K::SummaryBill);
        return;
      case StId::Print_But:
        request(K::Print);
        return;
      default:
        break;
    }
    // A click on an output field: its help topic.
    const ControlRow* row = FindControlRow(name);
    if (row && row->output && row->helpContext > 0) request(K::Help, {}, row->helpContext);
    return;
  }
  if (const std::optional<MenuCommand> command = FindMenuCommand(name)) {
    switch (*command) {
      case MenuCommand::CircuitBill:
        // The first record's test, and (as the button) a design in the current record.
        if (firstDesigned && set_.current().HoldsDesign()) request(K::CircuitBill);
        break;
      case MenuCommand::SummaryBill:
        if (firstDesigned) request(K::SummaryBill);
        break;
      case MenuCommand::CircuitList:
        if (firstDesigned) request(K::CircuitList);
        break;
      case MenuCommand::Ratings:
        request(K::Ratings);
        break;
      case MenuCommand::Preferences:
        request(K::Preferences);
        break;
      case MenuCommand::AboutBox:
        request(K::AboutBox);
        break;
      case MenuCommand::Exit:
        request(K::Exit);
        break;
      case MenuCommand::NewSet:
        request(K::NewSet);
        break;
      case MenuCommand::OpenFile:
        request(K::OpenFile);
        break;
      case MenuCommand::SaveFile:
        request(K::SaveFile);
        break;
      case MenuCommand::SaveFileAs:
        request(K::SaveFileAs);
        break;
      case MenuCommand::Help:
        request(K::Help, {}, 0);
        break;
    }
    return;
  }
  if (FindAppPanel(name)) {
    if (controls_.has(name) && controls_[name].visible) request(K::AppPanel, std::string(name));
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
  if (controls_[kHelpMenuItem].enabled) clicked(kHelpMenuItem);
}

// The window refresh for the program mode in force: the outputs and menu item
// of InternalMode, the note of the standard mode, and the installation list.
void STmainModel::programModeRefresh() {
  // The outputs of the internal mode only, with their captions and units.
  for (const DesignOutput& output : kDesignOutputs) {
    if (!output.internalOnly) continue;
    const ControlRow& row = *FindControlRow(NameOf(OutputControl(output.text)));
    for (const char* name : {row.captionName, row.name, row.unitName})
      controls_[name].visible = internalMode_;
  }
  for (const AppPanel& panel : AppPanels()) {
    if (panel.internalModeOnly) controls_[panel.menuItem].visible = internalMode_;
  }
  c(StId::lblAddResultLabel).visible = !internalMode_;
  for (StId hidden : {StId::Label17, StId::txtIntExpTemp, StId::Unit7}) c(hidden).visible = false;
  rebuildInstallationList();
}

void STmainModel::rebuildInstallationList() {
  Control& list = c(StId::Cab_In);
  list.items = InstallationList(internalMode_);
  list.index = -1;
  const int selection =
      set_.RecordLoading ? set_.current().TRACEINS : static_cast<int>(list.items.size()) - 1;
  selectList(StId::Cab_In, selection);
}

void STmainModel::toggleProgramMode() {
  if (set_.DesignLock || designRunning_) {
    dialogs_.message(Message{kToggleRefused, kErrorTitle, MsgIcon::None, MsgButtons::Ok, false});
    return;
  }
  internalMode_ = !internalMode_;
  caption_ = captionForMode();
  programModeRefresh();
}

PreferencesInput STmainModel::preferencesInput() const {
  PreferencesInput input;
  input.units = set_.Units;
  input.pressureUnit = set_.PressureUnit;
  input.recordUnder = set_.current().UNDER;
  input.pressureText = c(StId::Pressure).text;
  input.decimalMark = decimalMark_;
  return input;
}

void STmainModel::applyPreferences(const PreferencesOutcome& outcome) {
  set_.InsulationSizing = outcome.insulationSizing;
  set_.PressureUnit = outcome.pressureUnit;
  if (outcome.pressureText) setText(StId::Pressure, *outcome.pressureText);
  if (outcome.pressureCaption) c(StId::Label6).text = *outcome.pressureCaption;
}

}  // namespace vst
