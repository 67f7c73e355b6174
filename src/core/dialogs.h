// Everything that waits for the user goes through this interface: message
// boxes, the fittings and pipe-shoe dialogs of a design, file dialogs. The
// desktop program implements it with real Qt dialogs; tests and the batch
// command implement it with a script that records every message in order and
// answers from a queue.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/design_record.h"

namespace vst {

enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgButtons { Ok, YesNoCancel, YesNo };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct Message {
  std::string text;
  std::string title;  // empty: the box carries no title of its own
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  bool systemModal = false;
};

struct FileDialogSpec {
  std::string title;                 // "OPEN FILE", "SAVE FILE"
  std::string startFolder;           // the program's folder
  std::vector<std::string> filters;  // "Design files (*.mdb)", "All files (*)"
};

// Positions of the PipeForm answer list Combo2.
inline constexpr int kAllowanceIncludedYes = 0;
inline constexpr int kAllowanceIncludedNo = 1;

// What PipeForm is opened with.
struct PipeFormSetup {
  UnitSystem units = UnitSystem::English;
  std::string pipeLengthText;  // Pipe_Len_In as the main window shows it
  // The record's counts and pre-insulated tubing length (user's length unit).
  float VALN = 0;
  float FLNO = 0;
  float NOPX = 0;
  float WCTB = 0;
  int allowanceIncluded = kAllowanceIncludedYes;  // the record's AllowanceIncluded
  bool showRecordedAnswer = false;                // see ShowsRecordedAnswer
  char decimalMark = '.';                         // the locale's decimal separator
};

// What PipeForm's "&Next" accepted.
struct PipeFormAnswer {
  int allowanceIncluded = kAllowanceIncludedNo;  // 0 "Yes", 1 "No"
  float valves = 0;
  float flanges = 0;
  float pumps = 0;
  float wrapcore = 0;  // total pre-insulated tubing, user's length unit
};

// What ShoeForm is opened with.
struct ShoeFormSetup {
  UnitSystem units = UnitSystem::English;
  float shoeAllowance = 0;  // the record's running ShoeAllowance, user's length unit
  char decimalMark = '.';
};

// What ShoeForm's "&Done" accepted: the shoe total in the user's length unit
// (the record's new ShoeAllowance) and in feet (the run's shoe total).
struct ShoeFormAnswer {
  float total = 0;
  double totalFt = 0;
};

// The title messages get when a rule says "the program's title".
inline constexpr const char* kProgramTitle = "Vantrel ST";

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows a message box and returns the button pressed (Ok for an OK box).
  virtual MsgAnswer message(const Message& message) = 0;

  // Shows the fittings dialog opened with `setup`; the answer its "&Next"
  // accepted, or nothing when the dialog was closed without one.
  virtual std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) = 0;

  // Shows the pipe-shoe dialog; the total its "&Done" accepted, or nothing.
  virtual std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup& setup) = 0;

  // File dialogs: the chosen full path, or nothing when cancelled.
  virtual std::optional<std::string> openFileName(const FileDialogSpec& spec) = 0;
  virtual std::optional<std::string> saveFileName(const FileDialogSpec& spec) = 0;
};

}  // namespace vst
