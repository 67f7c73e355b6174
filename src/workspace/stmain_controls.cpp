#include "workspace/stmain_controls.h"

#include <iterator>
#include <stdexcept>
#include <unordered_map>

namespace vst {

namespace {

using K = ControlKind;
using Q = UnitQuantity;
constexpr auto kNoUnit = std::nullopt;

}  // namespace

const std::vector<ControlRow>& STmainControlRows() {
  // clang-format off
  static const std::vector<ControlRow> rows{
      // name, kind, text, caption label, caption, unit label, unit, fixed unit, prompt, help, pane, output
      // (a field of the circuit starts with the text of a fresh circuit: FreshEntry)
      {"Max_Amb", K::TextBox, "", "lblMax_Amb", "Ma&x. Ambient ", "Unit1", Q::Temperature, nullptr,
       "Enter the maximum ambient temperature", 1, Pane::InputsLeft, false},
      {"Min_Amb", K::TextBox, "", "lblMin_Amb", "Min. Am&bient ", "Unit2", Q::Temperature, nullptr,
       "Enter the minimum ambient temperature", 2, Pane::InputsLeft, false},
      {"MT_In", K::TextBox, "", "lblMT_In", "Maint. &Temp.", "Unit3", Q::Temperature, nullptr,
       "Enter the desired maintenance temperature", 3, Pane::InputsLeft, false},
      {"Max_Exp_Temp", K::TextBox, "", "lblMax_Exp_Temp", "Steam &Out /      Max. Process Temp.", "Unit4",
       Q::Temperature, nullptr,
       "Enter the maximum exposure temperature due to steam out or process conditions", 4, Pane::InputsLeft,
       false},
      {"txtIntExpTemp", K::TextBox, "", "Label17", "Intermittent E&xposure Temp.", "Unit7", Q::Temperature,
       nullptr, nullptr, 45, Pane::InputsLeft, false},
      {"Insul_Typ_In", K::List, "", "lblInsul_Typ_In", "InsulationT&ype", nullptr, kNoUnit, nullptr,
       "Select insulation type from the list", 5, Pane::InputsLeft, false},
      {"Insul_Th_In", K::List, "", "lblInsul_Th_In", "Insulation Thic&kness", "lblInsThickUnit", Q::Size, nullptr,
       "Select thickness of insulation from the list", 6, Pane::InputsLeft, false},
      {"Pipe_Dia_In", K::List, "", "lblPipe_Dia_In", "Pipe Si&ze", "lblPipeUnit", Q::Size, nullptr,
       "Select the size of the pipe to be traced from the list", 7, Pane::InputsLeft, false},
      {"Pipe_Len_In", K::TextBox, "", "lblPipe_Len_In", "Pipe Len&gth", "feet1", Q::Length, nullptr,
       "Enter the length of the pipe to be traced", 8, Pane::InputsLeft, false},
      {"Pressure", K::TextBox, "", "lblPressure", "St&eam Pressure", "Label6", Q::Pressure, nullptr,
       "Enter the supply pressure of the steam", 10, Pane::InputsRight, false},
      {"Pass", K::List, "", "lblPass", "&Number of Passes", nullptr, kNoUnit, nullptr,
       "Specify the number of passes of tracing to be used", 9, Pane::InputsRight, false},
      {"Cab_In", K::List, "", "lblCab_In", "Tracer &Installation", nullptr, kNoUnit, nullptr,
       "Select the type of tracer/installation from the list", 11, Pane::InputsRight, false},
      {"Cab_Sel", K::List, "", "lblCab_Sel", "Tracer T&ubing ", "lblTraceTubeUnit", Q::Size, nullptr,
       "Select size of tracer tube from the list", 12, Pane::InputsRight, false},
      {"cboTracerMaterial", K::List, "", "lblTracerMaterial", "Tracer Tubing &Material", nullptr, kNoUnit,
       nullptr, nullptr, 40, Pane::InputsRight, false},
      {"cboTubeWallThick", K::List, "", "lblTubeWallThick", "Tracer &Wall Thickness", "lblTraceTubeUnit2",
       Q::Size, nullptr, nullptr, 41, Pane::InputsRight, false},
      {"cboApplication", K::List, "", "lblApplication", "App&lication", nullptr, kNoUnit, nullptr, nullptr, 42,
       Pane::InputsRight, false},

      // Heat-up data; the temperatures start as copies of Min_Amb and MT_In.
      {"cboProduct", K::List, "", "lblProduct", "Pr&oduct", nullptr, kNoUnit, nullptr, nullptr, 0,
       Pane::HeatUpLeft, false},
      {"txtInitalTemp", K::TextBox, "", "lblInitalTemp", "&Initial Temp.", "lblInitTempUnit", Q::Temperature,
       nullptr, nullptr, 0, Pane::HeatUpLeft, false},
      {"txtFinalTemp", K::TextBox, "", "lblFinalTemp", "Fi&nal Temp.", "lblFinalTempUnit", Q::Temperature,
       nullptr, nullptr, 0, Pane::HeatUpLeft, false},
      {"txtProdDensity", K::TextBox, "", "lblProdDensity", "Densit&y", "lblProdDensUnit", Q::Density, nullptr,
       nullptr, 0, Pane::HeatUpLeft, false},
      {"txtProdCp", K::TextBox, "", "lblProdCp", "Sp&ecific Heat", "lblProdCpUnit", Q::SpecificHeat, nullptr,
       nullptr, 0, Pane::HeatUpRight, false},
      {"chbPhaseChange", K::CheckBox, "Product Chan&ges Phase", nullptr, "", nullptr, kNoUnit, nullptr, nullptr,
       0, Pane::HeatUpRight, false},
      {"txtPCTemp", K::TextBox, "", "lblPCTemp", "Phase Change Te&mp.", "lblPCTempUnit", Q::Temperature, nullptr,
       nullptr, 0, Pane::HeatUpRight, false},
      {"txtLatentHeat", K::TextBox, "", "lblLatentHeat", "&Latent Heat", "lblLatentHeatUnit", Q::LatentHeat,
       nullptr, nullptr, 0, Pane::HeatUpRight, false},

      // Outputs of the current record.
      {"Max_Maint_Temp", K::TextBox, "", "lblMax_Maint_Temp", "Max. Maint. Temp.", "Unit5", Q::Temperature,
       nullptr, nullptr, 13, Pane::OutputsLeft, true},
      {"Min_Maint_Temp", K::TextBox, "", "lblMin_Maint_Temp", "Min. Maint. Temp.", "Unit6", Q::Temperature,
       nullptr, nullptr, 14, Pane::OutputsLeft, true},
      {"Ht_Lswo_Out", K::TextBox, "", "lblHt_Lswo_Out", "Design Heat Loss", "W_Ft1", Q::HeatLoss, nullptr,
       nullptr, 15, Pane::OutputsLeft, true},
      {"Cond_Load", K::TextBox, "", "Label9", "Operating Condensate Load", "lblCondUnit", Q::Condensate,
       nullptr, nullptr, 16, Pane::OutputsLeft, true},
      {"Insul_Size", K::TextBox, "", "lblInsul_Size", "Nominal Insulation Size (Oversized I.D.)", "inch3",
       Q::InsulationSize, nullptr, nullptr, 17, Pane::OutputsLeft, true},
      {"Tot_Cab_Out", K::TextBox, "", "lblTot_Cab_Out", "Total Tracer Length with Allowances", "feet2",
       Q::Length, nullptr, nullptr, 18, Pane::OutputsRight, true},
      {"Trap_Dist", K::TextBox, "", "Label7", "Max. Trap Distance", "feet3", Q::Length, nullptr, nullptr, 19,
       Pane::OutputsRight, true},
      {"Rise", K::TextBox, "", "Label8", "Max. Vertical Rise", "feet4", Q::Length, nullptr, nullptr, 20,
       Pane::OutputsRight, true},
      {"txtHuTime", K::TextBox, "", "lblHuTime", "Heat Up Time", "lblHuTimeUnit", kNoUnit, "hr", nullptr, 47,
       Pane::OutputsRight, true},
      // The installation of the design ("Troughline", "Fillet Trace with", ...) and its compound or type.
      {"TraceTp", K::TextBox, "", "TraceLb", "", nullptr, kNoUnit, nullptr, nullptr, 21, Pane::OutputsRight,
       true},

      // Record navigation, circuit and line numbers. Spin1: a lower position is the next record.
      {"Rec_Num", K::Label, "1", "lblRec_Num", "Record", nullptr, kNoUnit, nullptr, nullptr, 0,
       Pane::RecordBar, false},
      {"Spin1", K::Spinner, "", nullptr, "", nullptr, kNoUnit, nullptr, "Change to different record", 0,
       Pane::RecordBar, false},
      {"Circ_No", K::TextBox, "", "lblCirc_No", "Circuit No&. ", nullptr, kNoUnit, nullptr,
       "Enter a Circuit Number for this design (optional)", 43, Pane::RecordBar, false},
      {"Line_No", K::TextBox, "", "lblLine_No", "Line&\\Pipe No.", nullptr, kNoUnit, nullptr,
       "Enter a Line or Pipe number for this record (optional)", 44, Pane::RecordBar, false},

      // Commands.
      {"Des_But", K::Button, "&Design", nullptr, "", nullptr, kNoUnit, nullptr, nullptr, 0, Pane::CommandBar,
       false},
      {"Cir_BOM_But", K::Button, "&Circuit BOM", nullptr, "", nullptr, kNoUnit, nullptr,
       "Generate Bill of Materials for this record", 0, Pane::CommandBar, false},
      {"Sum_BOM_But", K::Button, "&Summary BOM", nullptr, "", nullptr, kNoUnit, nullptr,
       "Generate a Summary BOM for all records", 0, Pane::CommandBar, false},
      {"Print_But", K::Button, "&Print", nullptr, "", nullptr, kNoUnit, nullptr, "Print this design", 0,
       Pane::CommandBar, false},
  };
  // clang-format on
  return rows;
}

std::string_view NameOf(StId id) {
  static constexpr std::string_view kNames[] = {
#define VST_STMAIN_NAME(name) #name,
      VST_STMAIN_CONTROLS(VST_STMAIN_NAME)
#undef VST_STMAIN_NAME
  };
  static_assert(std::size(kNames) == kStControlCount);
  return kNames[static_cast<std::size_t>(id)];
}

std::optional<StId> FindStId(std::string_view name) {
  static const std::unordered_map<std::string_view, StId> ids = [] {
    std::unordered_map<std::string_view, StId> byName;
    for (std::size_t i = 0; i < kStControlCount; ++i) {
      const auto id = static_cast<StId>(i);
      byName.emplace(NameOf(id), id);
    }
    return byName;
  }();
  const auto it = ids.find(name);
  if (it == ids.end()) return std::nullopt;
  return it->second;
}

const ControlRow* FindControlRow(std::string_view name) {
  // An index by name, built once (the first row of a name wins).
  static const std::unordered_map<std::string_view, const ControlRow*> index = [] {
    std::unordered_map<std::string_view, const ControlRow*> rows;
    for (const ControlRow& row : STmainControlRows()) rows.emplace(row.name, &row);
    return rows;
  }();
  const auto it = index.find(name);
  return it == index.end() ? nullptr : it->second;
}

int HelpContextOf(std::string_view control) {
  const ControlRow* row = FindControlRow(control);
  return row ? row->helpContext : 0;
}

std::optional<std::string_view> StatusPrompt(std::string_view control) {
  const ControlRow* row = FindControlRow(control);
  if (!row || !row->prompt) return std::nullopt;
  return std::string_view(row->prompt);
}

StId OutputControl(std::string DesignDisplay::*output) {
  struct Shown {
    std::string DesignDisplay::*output;
    StId control;
  };
  static constexpr Shown kShown[] = {
      {&DesignDisplay::maxMaintTemp, StId::Max_Maint_Temp},
      {&DesignDisplay::minMaintTemp, StId::Min_Maint_Temp},
      {&DesignDisplay::heatLoss, StId::Ht_Lswo_Out},
      {&DesignDisplay::condensate, StId::Cond_Load},
      {&DesignDisplay::insulationSize, StId::Insul_Size},
      {&DesignDisplay::totalLength, StId::Tot_Cab_Out},
      {&DesignDisplay::trapDistance, StId::Trap_Dist},
      {&DesignDisplay::rise, StId::Rise},
      {&DesignDisplay::traceType, StId::TraceTp},
      {&DesignDisplay::heatUpTime, StId::txtHuTime},
  };
  for (const Shown& s : kShown) {
    if (s.output == output) return s.control;
  }
  throw std::logic_error("a design output without a field of the main window");
}

}  // namespace vst
