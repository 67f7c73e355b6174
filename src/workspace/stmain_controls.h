// The controls of the main window STmain, one row each: the table that the
// window model builds its controls from, that the Qt window lays out, and that
// the status prompts and help topics are read from. Nothing about one of
// these controls is written anywhere else.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

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
  const char* text;                  // its text at creation ("100", "&Design"), "" for none
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

// Every row, in the order of the window (top to bottom, left column first).
const std::vector<ControlRow>& STmainControlRows();

// The row of a control (its own name, not its labels'), or null.
const ControlRow* FindControlRow(std::string_view name);

// The help context number of a control, 0 for a control without a topic.
int HelpContextOf(std::string_view control);

// The status prompt of a control, or nothing.
std::optional<std::string_view> StatusPrompt(std::string_view control);

}  // namespace vst
