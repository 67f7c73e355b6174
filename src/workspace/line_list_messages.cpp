// The Line List window's dialogs and messages: the save dialogs with their
// file types and proposed names, what a save or a bill says, the details
// pane and the title.
#include <filesystem>

#include "core/legacy_math.h"
#include "core/message_titles.h"
#include "core/quoted_value.h"
#include "workspace/line_list_model.h"

namespace vst {

FileDialogSpec LineListModel::saveDialog(SaveKind kind, const std::string& templatePath) const {
  const std::filesystem::path list(path_);
  // A name beside the list: its own name with another ending.
  const auto beside = [&](const char* ending) {
    return (list.parent_path() / (list.stem().string() + ending)).string();
  };
  FileDialogSpec spec;
  switch (kind) {
    case SaveKind::List:
      spec.title = "Save Line List";
      spec.startFolder = path_;
      spec.filters = {"Line lists (*.csv)", "Excel workbooks (*.xlsx)", "All files (*)"};
      spec.defaultSuffix = "csv";
      if (fromWorkbook_) {
        spec.startFolder = list.parent_path().string();
        spec.fileName = list.stem().string() + ".csv";
      }
      return spec;
    case SaveKind::Results:
      spec.title = "Save Results";
      spec.startFolder = beside(".out.csv");
      spec.filters = {"CSV results (*.csv)", "JSON results (*.json)", "Excel workbooks (*.xlsx)",
                      "All files (*)"};
      spec.defaultSuffix = "csv";
      // Refused before the dialog asks whether to replace it (saveResults
      // refuses it too, also through a hard link).
      spec.refusedFile = path_;
      spec.refusedMessage = "The results cannot replace the line list itself. Choose another name.";
      return spec;
    case SaveKind::DesignFiles:
      spec.title = "Save Design Files";
      spec.startFolder = beside(".mdb");
      spec.filters = {"Design files (*.mdb)", "All files (*)"};
      spec.defaultSuffix = "mdb";
      spec.refusedFile = templatePath;
      spec.refusedMessage = "The template cannot be overwritten.";
      return spec;
    case SaveKind::Pdf:
      spec.title = "Save as PDF";
      spec.startFolder = beside(".pdf");
      spec.filters = {"PDF documents (*.pdf)", "All files (*)"};
      spec.defaultSuffix = "pdf";
      spec.refusedFile = path_;
      spec.refusedMessage = "The printout cannot replace the line list itself. Choose another name.";
      return spec;
  }
  return spec;
}

LineListModel::ResultFormat LineListModel::ResultFormatOf(const std::string& path) {
  const std::string suffix = Lowercase(std::filesystem::path(path).extension().string());
  if (suffix == ".json") return ResultFormat::Json;
  if (suffix == ".xlsx") return ResultFormat::Xlsx;
  return ResultFormat::Csv;
}

std::string LineListModel::SavingText(SaveKind kind, const std::string& path) {
  if (kind == SaveKind::DesignFiles) return "Saving the design files " + ShownName(path) + "...";
  return "Saving the results to " + ShownName(path) + "...";
}

std::optional<Message> LineListModel::SaveFailed(SaveKind kind, const std::string& path,
                                                 const std::string& problem) {
  if (problem.empty() || problem == kSaveCancelled) return std::nullopt;
  std::string what;
  switch (kind) {
    case SaveKind::List:
      what = "The line list was not saved";
      break;
    case SaveKind::Results:
      what = "The results were not saved to " + ShownName(path);
      break;
    case SaveKind::DesignFiles:
      what = "The design files were not saved";
      break;
    case SaveKind::Pdf:
      what = "The list was not saved as " + ShownName(path);
      break;
  }
  return Message{what + ": " + problem + ".", kErrorTitle, MsgIcon::Exclamation, MsgButtons::Ok, false};
}

Message LineListModel::DesignFilesSaved(const std::vector<std::string>& written) {
  std::string names;
  for (const auto& w : written) names += "\n" + ShownName(w);
  return Message{"The designed rows were saved, ten to a file:" + names, "Save Design Files",
                 MsgIcon::Information};
}

std::optional<Message> LineListModel::circuitBillRefusal(int row) const {
  if (row < 0) return Message{"Select a row of the list first.", "Circuit BOM", MsgIcon::Information};
  if (circuitReport(row)) return std::nullopt;
  return Message{"Row " + std::to_string(row + 1) + " holds no design: " + statusText(row), "Circuit BOM",
                 MsgIcon::Information};
}

std::optional<Message> LineListModel::summaryBillRefusal() const {
  if (designedCount() > 0) return std::nullopt;
  return Message{"No row of the list is designed yet (Design all, F5).", "Summary BOM", MsgIcon::Information};
}

std::string LineListModel::detailsPane(int row) const {
  // The columns the list does not read head the pane whatever row is selected.
  std::string ignored = ignoredColumnsDetails();
  if (!ignored.empty()) ignored += "\n";
  return ignored +
         (row < 0 ? std::string("Select a row to see its corrections and messages.") : details(row));
}

std::string LineListModel::windowTitle() const {
  return "Line List - " + std::filesystem::path(path_).filename().string() + (modified() ? "*" : "");
}

}  // namespace vst
