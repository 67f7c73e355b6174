// The controls of the main window STmain, one row each: the table that the
// window model builds its controls from, that the Qt window lays out, and that
// the status prompts and help topics are read from. Nothing about one of
// these controls is written anywhere else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/design.h"
#include "core/units.h"
#include "workspace/controls.h"

namespace vst {

// Where a row sits in the window. The input tab and the heat-up tab hold two
// columns of rows each, the output frame two columns; the record bar and the
// command bar run across the window below.
enum class Pane {
  InputsLeft,
  InputsRight,
  HeatUpLeft,
  HeatUpRight,
  OutputsLeft,
  OutputsRight,
  RecordBar,
  CommandBar,
};

// One control with its caption label and its unit label. An output is a
// read-only text box. Texts are those of the window when it is designed in
// inch-pound units; the defaults of the unit system in force are written at
// form loading.
struct ControlRow {
  const char* name;                  // the control: "Max_Amb"
  ControlKind kind;                  // TextBox, List, CheckBox, Label, Spinner or Button
  const char* text;                  // its text at creation ("&Design"), "" for none
  const char* captionName;           // the caption label before it, or nullptr
  const char* caption;               // the caption's text; "&" marks its keyboard mnemonic
  const char* unitName;              // the unit label after it, or nullptr
  std::optional<UnitQuantity> unit;  // what the unit label shows in each unit system
  const char* fixedUnit;             // or its text in both systems ("hr"), or nullptr
  const char* prompt;                // the status prompt when it gets the focus, or nullptr
  int helpContext;                   // its help topic (F1 on an input, a click on an output); 0 none
  Pane pane;
  bool output;  // a computed output
};

// Every control the table makes, in the order the window creates them: the
// tabs and the output frame, each row's caption label, control and unit
// label, then the note, the status panel and the clock. StId names each by
// its position; the window checks the two agree as it builds its controls.
// (The menu items follow them, made from the menu tables.)
// clang-format off
#define VST_STMAIN_CONTROLS(X) \
  X(SSTab1) X(SSTab1Tab0) X(SSTab1Tab1) X(fraOutput) X(lblMax_Amb) X(Max_Amb) X(Unit1) \
  X(lblMin_Amb) X(Min_Amb) X(Unit2) X(lblMT_In) X(MT_In) X(Unit3) X(lblMax_Exp_Temp) \
  X(Max_Exp_Temp) X(Unit4) X(Label17) X(txtIntExpTemp) X(Unit7) X(lblInsul_Typ_In) X(Insul_Typ_In) \
  X(lblInsul_Th_In) X(Insul_Th_In) X(lblInsThickUnit) X(lblPipe_Dia_In) X(Pipe_Dia_In) \
  X(lblPipeUnit) X(lblPipe_Len_In) X(Pipe_Len_In) X(feet1) X(lblPressure) X(Pressure) X(Label6) \
  X(lblPass) X(Pass) X(lblCab_In) X(Cab_In) X(lblCab_Sel) X(Cab_Sel) X(lblTraceTubeUnit) \
  X(lblTracerMaterial) X(cboTracerMaterial) X(lblTubeWallThick) X(cboTubeWallThick) \
  X(lblTraceTubeUnit2) X(lblApplication) X(cboApplication) X(lblProduct) X(cboProduct) \
  X(lblInitalTemp) X(txtInitalTemp) X(lblInitTempUnit) X(lblFinalTemp) X(txtFinalTemp) \
  X(lblFinalTempUnit) X(lblProdDensity) X(txtProdDensity) X(lblProdDensUnit) X(lblProdCp) \
  X(txtProdCp) X(lblProdCpUnit) X(chbPhaseChange) X(lblPCTemp) X(txtPCTemp) X(lblPCTempUnit) \
  X(lblLatentHeat) X(txtLatentHeat) X(lblLatentHeatUnit) X(lblMax_Maint_Temp) X(Max_Maint_Temp) \
  X(Unit5) X(lblMin_Maint_Temp) X(Min_Maint_Temp) X(Unit6) X(lblHt_Lswo_Out) X(Ht_Lswo_Out) \
  X(W_Ft1) X(Label9) X(Cond_Load) X(lblCondUnit) X(lblInsul_Size) X(Insul_Size) X(inch3) \
  X(lblTot_Cab_Out) X(Tot_Cab_Out) X(feet2) X(Label7) X(Trap_Dist) X(feet3) X(Label8) X(Rise) \
  X(feet4) X(lblHuTime) X(txtHuTime) X(lblHuTimeUnit) X(TraceLb) X(TraceTp) X(lblRec_Num) \
  X(Rec_Num) X(Spin1) X(lblCirc_No) X(Circ_No) X(lblLine_No) X(Line_No) X(Des_But) X(Cir_BOM_But) \
  X(Sum_BOM_But) X(Print_But) X(lblAddResultLabel) X(MessagePanel) X(Time_display) X(Date_Display)
// clang-format on

enum class StId : std::uint16_t {
#define VST_STMAIN_ID(name) name,
  VST_STMAIN_CONTROLS(VST_STMAIN_ID)
#undef VST_STMAIN_ID
};
inline constexpr std::size_t kStControlCount = 112;

// The name of a control (its objectName), and the control of a name.
std::string_view NameOf(StId id);
std::optional<StId> FindStId(std::string_view name);

// Every row, in the order of the window (top to bottom, left column first).
const std::vector<ControlRow>& STmainControlRows();

// The row of a control (its own name, not its labels'), or null.
const ControlRow* FindControlRow(std::string_view name);

// The text box that shows a design output (a member of DesignDisplay).
StId OutputControl(std::string DesignDisplay::*output);

// The help context number of a control, 0 for a control without a topic.
int HelpContextOf(std::string_view control);

// The status prompt of a control, or nothing.
std::optional<std::string_view> StatusPrompt(std::string_view control);

}  // namespace vst
