// A scripted stand-in for the dialogs interface, for tests that drive a
// window model or a design run as a user's session would. It records every
// message box, form and file dialog in the order shown and answers each from
// a queue:
//
//   vst::test::ScriptDialogs dialogs;
//   dialogs.pipe({vst::kAllowanceIncludedNo, "2", "3", "1", "0"})  // valves, flanges, pumps, wrapcore
//          .shoes({.sizes = {{"12", "4"}}})                        // 4 shoes of 12 in, then "&Done"
//          .answer(vst::MsgAnswer::Yes);                           // the next question box
//   ... run ...
//   EXPECT_EQ(dialogs.log(), (std::vector<std::string>{"PipeForm: Pipe Length = 100 Feet", ...}));
//
// Message boxes with only an OK button are answered Ok and take nothing from
// the queue; boxes that ask a question take the next queued answer, or the
// default answer when the queue is empty. A form takes the next queued
// answer; when the form refuses it (its message is recorded like any other),
// the form takes the following one. A form or file dialog shown with no
// queued answer left throws ScriptError, so a test never hangs.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "workspace/allowance_forms.h"
#include "workspace/dialogs.h"

namespace vst::test {

// A dialog was shown that the script has no answer for.
class ScriptError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// One answer to PipeForm: the Combo2 position and the texts typed into the
// four boxes, then "&Next". `dismiss` closes the window without "&Next".
struct PipeAnswer {
  int combo = kAllowanceIncludedNo;
  std::string valves = "0";
  std::string flanges = "0";
  std::string pumps = "0";
  std::string wrapcore = "0";
  bool dismiss = false;
};

// One shoe size: the texts of shoeln and shoenum.
struct ShoeSize {
  std::string length;
  std::string count;
};

// One answer to ShoeForm: optionally "&Clear" first, optionally a text typed
// into shoetot, then each size entered and added with "&Next Size", then
// "&Done" (which adds the boxes left pending, "0" after the sizes).
// `dismiss` closes the window without "&Done".
struct ShoeAnswer {
  bool clearFirst = false;
  std::vector<ShoeSize> sizes = {};
  std::optional<std::string> total = std::nullopt;
  bool dismiss = false;
};

// What a form showed when it first became active.
struct PipeFormSeen {
  std::string caption;
  int combo = -1;
  std::string valves, flanges, pumps, wrapcore;
  std::string unitLabel;  // Label6
};
struct ShoeFormSeen {
  std::string caption;
  std::string total;        // shoetot
  std::string lengthLabel;  // Label1
  std::string totalLabel;   // Label3
};

enum class FileDialogKind { Open, Save };
struct FileDialogSeen {
  FileDialogKind kind;
  FileDialogSpec spec;
};

class ScriptDialogs : public Dialogs {
 public:
  // Queue answers (each returns *this so calls can be chained).
  ScriptDialogs& answer(MsgAnswer answer);
  ScriptDialogs& pipe(PipeAnswer answer);
  ScriptDialogs& shoes(ShoeAnswer answer);
  ScriptDialogs& file(std::optional<std::string> path);  // nullopt: the user cancels
  // The answer of a question box when the queue is empty (Ok unless set).
  void setDefaultAnswer(MsgAnswer answer) { defaultAnswer_ = answer; }

  // What was shown, in order.
  const std::vector<Message>& messages() const { return messages_; }
  std::vector<std::string> messageTexts() const;
  // One line per dialog: "Message [<title>]: <text>", "PipeForm: <caption>",
  // "ShoeForm: <caption>", "Open: <title>", "Save: <title>".
  const std::vector<std::string>& log() const { return log_; }
  const std::vector<PipeFormSeen>& pipeForms() const { return pipeForms_; }
  const std::vector<ShoeFormSeen>& shoeForms() const { return shoeForms_; }
  const std::vector<FileDialogSeen>& fileDialogs() const { return fileDialogs_; }
  // True when every queued answer has been used.
  bool allAnswersUsed() const;
  // Forgets what was shown (the queues stay).
  void clearRecords();

  MsgAnswer message(const Message& message) override;
  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) override;
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup& setup) override;
  // Plays the scripted answers into an open form until it closes.
  void runPipeForm(PipeFormModel& model);
  void runShoeForm(ShoeFormModel& model);
  std::optional<std::string> openFileName(const FileDialogSpec& spec) override;
  std::optional<std::string> saveFileName(const FileDialogSpec& spec) override;

 private:
  std::optional<std::string> fileDialog(FileDialogKind kind, const FileDialogSpec& spec);

  std::deque<MsgAnswer> answers_;
  std::deque<PipeAnswer> pipeAnswers_;
  std::deque<ShoeAnswer> shoeAnswers_;
  std::deque<std::optional<std::string>> fileAnswers_;
  MsgAnswer defaultAnswer_ = MsgAnswer::Ok;

  std::vector<Message> messages_;
  std::vector<std::string> log_;
  std::vector<PipeFormSeen> pipeForms_;
  std::vector<ShoeFormSeen> shoeForms_;
  std::vector<FileDialogSeen> fileDialogs_;
};

}  // namespace vst::test
