#include "support/script_dialogs.h"

#include <utility>

namespace vst::test {

ScriptDialogs& ScriptDialogs::answer(MsgAnswer answer) {
  answers_.push_back(answer);
  return *this;
}

ScriptDialogs& ScriptDialogs::pipe(PipeAnswer answer) {
  pipeAnswers_.push_back(std::move(answer));
  return *this;
}

ScriptDialogs& ScriptDialogs::shoes(ShoeAnswer answer) {
  shoeAnswers_.push_back(std::move(answer));
  return *this;
}

ScriptDialogs& ScriptDialogs::file(std::optional<std::string> path) {
  fileAnswers_.push_back(std::move(path));
  return *this;
}

std::vector<std::string> ScriptDialogs::messageTexts() const {
  std::vector<std::string> texts;
  texts.reserve(messages_.size());
  for (const auto& m : messages_) texts.push_back(m.text);
  return texts;
}

bool ScriptDialogs::allAnswersUsed() const {
  return answers_.empty() && pipeAnswers_.empty() && shoeAnswers_.empty() && fileAnswers_.empty();
}

void ScriptDialogs::clearRecords() {
  messages_.clear();
  log_.clear();
  pipeForms_.clear();
  shoeForms_.clear();
  fileDialogs_.clear();
}

MsgAnswer ScriptDialogs::message(const Message& message) {
  messages_.push_back(message);
  log_.push_back("Message [" + message.title + "]: " + message.text);
  if (message.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (answers_.empty()) return defaultAnswer_;
  const MsgAnswer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::optional<PipeFormAnswer> ScriptDialogs::pipeForm(const PipeFormSetup& setup) {
  PipeFormModel model(setup, *this);
  runPipeForm(model);
  return model.result();
}

std::optional<ShoeFormAnswer> ScriptDialogs::shoeForm(const ShoeFormSetup& setup) {
  ShoeFormModel model(setup, *this);
  runShoeForm(model);
  return model.result();
}

void ScriptDialogs::runPipeForm(PipeFormModel& model) {
  log_.push_back("PipeForm: " + model.caption());
  model.activate();
  pipeForms_.push_back({model.caption(), model.selectedAnswer(), model.text("numvalves"),
                        model.text("numflanges"), model.text("numpumps"), model.text("Text1"),
                        model.control("Label6").text});
  while (!model.closed()) {
    if (pipeAnswers_.empty()) {
      throw ScriptError("PipeForm \"" + model.caption() + "\" is open and no scripted answer is left");
    }
    PipeAnswer a = std::move(pipeAnswers_.front());
    pipeAnswers_.pop_front();
    if (a.dismiss) return;
    model.selectAnswer(a.combo);
    model.setText("numvalves", a.valves);
    model.setText("numflanges", a.flanges);
    model.setText("numpumps", a.pumps);
    model.setText("Text1", a.wrapcore);
    if (!model.next()) model.activate();  // the form is active again once its message closes
  }
}

void ScriptDialogs::runShoeForm(ShoeFormModel& model) {
  log_.push_back("ShoeForm: " + model.caption());
  shoeForms_.push_back(
      {model.caption(), model.text("shoetot"), model.control("Label1").text, model.control("Label3").text});
  while (!model.closed()) {
    if (shoeAnswers_.empty()) {
      throw ScriptError("ShoeForm is open and no scripted answer is left");
    }
    ShoeAnswer a = std::move(shoeAnswers_.front());
    shoeAnswers_.pop_front();
    if (a.dismiss) return;
    if (a.clearFirst) model.clear();
    if (a.total) model.setText("shoetot", *a.total);
    bool refused = false;
    for (const auto& size : a.sizes) {
      model.setText("shoeln", size.length);
      model.setText("shoenum", size.count);
      if (!model.nextSize()) {
        refused = true;
        break;
      }
    }
    if (!refused) model.done();
  }
}

std::optional<std::string> ScriptDialogs::fileDialog(FileDialogKind kind, const FileDialogSpec& spec) {
  fileDialogs_.push_back({kind, spec});
  log_.push_back(std::string(kind == FileDialogKind::Open ? "Open: " : "Save: ") + spec.title);
  if (fileAnswers_.empty()) {
    throw ScriptError("file dialog \"" + spec.title + "\" shown and no scripted answer is left");
  }
  auto a = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  return a;
}

std::optional<std::string> ScriptDialogs::openFileName(const FileDialogSpec& spec) {
  return fileDialog(FileDialogKind::Open, spec);
}

std::optional<std::string> ScriptDialogs::saveFileName(const FileDialogSpec& spec) {
  return fileDialog(FileDialogKind::Save, spec);
}

}  // namespace vst::test
