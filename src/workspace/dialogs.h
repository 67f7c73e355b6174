// Everything that waits for the user goes through this interface: message
// boxes, the fittings and pipe-shoe dialogs of a design, file dialogs. The
// desktop program implements it with real Qt dialogs; tests and the batch
// command implement it with a script that records every message in order and
// answers from a queue.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bom/allowances.h"
#include "circuit/allowance_step.h"
#include "docs/about_box.h"

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
  std::string startFolder;           // the folder last used, or the user's documents
  std::string fileName;              // the name the dialog proposes in it, empty for none
  std::vector<std::string> filters;  // "Design files (*.mdb)", "All files (*)"
  // Saving: the suffix a name without one receives ("mdb"), empty for none.
  std::string defaultSuffix;
  // A file the dialog neither lists nor accepts (the template), empty for
  // none; choosing it shows refusedMessage and the dialog stays open.
  std::string refusedFile;
  std::string refusedMessage;
};

// The fittings and pipe-shoe dialogs are the questions of the allowance step
// (pipeForm and shoeForm, circuit/allowance_step.h); PipeFormAnswer and
// ShoeFormAnswer are bom/allowances.h.
class ColumnMappingModel;

class Dialogs : public AllowanceQuestions {
 public:
  ~Dialogs() override = default;

  // Shows a message box and returns the button pressed (Ok for an OK box).
  virtual MsgAnswer message(const Message& message) = 0;

  // File dialogs: the chosen full path, or nothing when cancelled.
  virtual std::optional<std::string> openFileName(const FileDialogSpec& spec) = 0;
  virtual std::optional<std::string> saveFileName(const FileDialogSpec& spec) = 0;

  // The column mapping dialog over `model`: true when accepted (the model
  // holds the choices), false when cancelled. Without a dialog to ask: the
  // guesses, when they are complete.
  virtual bool mapColumns(ColumnMappingModel& model);

  // One of `items` (the sheets of a workbook), or nothing when cancelled.
  // Without a dialog to ask: the first.
  virtual std::optional<std::size_t> chooseItem(const std::string& title, const std::string& label,
                                                const std::vector<std::string>& items) {
    (void)title;
    (void)label;
    if (items.empty()) return std::nullopt;
    return 0;
  }
};

}  // namespace vst
