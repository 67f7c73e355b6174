#include "docs/help_book.h"

namespace vst {

const char* HelpFileName(bool internalMode) { return internalMode ? kInternalHelpFile : kStandardHelpFile; }

std::string HelpTopicPage(int context) {
  if (context < 1) return kHelpContentsPage;
  return std::to_string(context) + ".htm";
}

HelpLocation LocateHelp(const std::filesystem::path& programFolder, bool internalMode, int context) {
  return {programFolder / HelpFileName(internalMode), HelpTopicPage(context)};
}

std::string HelpFileProblemText(HelpFileProblem problem, const std::filesystem::path& book) {
  const std::string name = book.string();
  return problem == HelpFileProblem::Missing
             ? "The help file \"" + name +
                   "\" was not found. It must be located in the application directory."
             : "The help file \"" + name + "\" could not be read. It is damaged or not a compiled help file.";
}

std::string MissingTopicText(std::string_view page, std::string_view bookName) {
  return "The help file " + std::string(bookName) + " holds no topic " + std::string(page) + ".";
}

}  // namespace vst
