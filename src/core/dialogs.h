// Everything that waits for the user goes through this interface: message
// boxes, the fittings and pipe-shoe dialogs of a design, file dialogs. The
// desktop program implements it with real Qt dialogs; tests and the batch
// command implement it with a script that records every message in order and
// answers from a queue.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vst {

class PipeFormModel;
class ShoeFormModel;

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

// The title messages get when a rule says "the program's title".
inline constexpr const char* kProgramTitle = "Vantrel ST";

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows a message box and returns the button pressed (Ok for an OK box).
  virtual MsgAnswer message(const Message& message) = 0;

  // Shows the fittings dialog for the model and returns when the model is
  // closed (its "&Next" command succeeded).
  virtual void pipeForm(PipeFormModel& model) = 0;

  // Shows the pipe-shoe dialog and returns when the model is closed.
  virtual void shoeForm(ShoeFormModel& model) = 0;

  // File dialogs: the chosen full path, or nothing when cancelled.
  virtual std::optional<std::string> openFileName(const FileDialogSpec& spec) = 0;
  virtual std::optional<std::string> saveFileName(const FileDialogSpec& spec) = 0;
};

}  // namespace vst
