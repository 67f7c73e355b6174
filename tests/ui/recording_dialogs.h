// A dialogs stand-in for the window tests: it records every message box,
// answers it Ok, and cancels every file dialog. The allowance forms are not
// expected in these tests and are left unanswered.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "workspace/dialogs.h"

namespace vst::test {

struct RecordingDialogs : Dialogs {
  std::vector<Message> messages;
  MsgAnswer message(const Message& m) override {
    messages.push_back(m);
    return MsgAnswer::Ok;
  }
  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup&) override { return std::nullopt; }
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup&) override { return std::nullopt; }
  std::optional<std::string> openFileName(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> saveFileName(const FileDialogSpec&) override { return std::nullopt; }
};

}  // namespace vst::test
