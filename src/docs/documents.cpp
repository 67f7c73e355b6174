#include "docs/documents.h"

#include "core/legacy_math.h"
#include "core/message_titles.h"

namespace vst {

const std::vector<ProductDocument>& ProductDocuments() {
  static const std::vector<ProductDocument> table{
      {"mnuHTCSummary", "HTC Summary/Selection Chart", "PDS0027.pdf", "mnuHTCompounds"},
      {"mnuK30Info", "K30", "PDS0015.pdf", "mnuHTCompounds"},
      {"mnuK90Info", "K90", "PDS0033.pdf", "mnuHTCompounds"},
      {"mnuClipstripInfo", "Clipstrip", "PDS0018.pdf", "mnuHTCompounds"},
      {"mnuQFInfo", "QF-1", "PDS0019.pdf", "mnuHTCompounds"},
      {"mnuE55Info", "E-50/E-55", "PDS0016.pdf", "mnuHTCompounds"},
      {"mnuE72Info", "E-72", "PDS0017.pdf", "mnuHTCompounds"},
      {"mnuNSInfo", "NS (Nonhardening)", "PDS0020.pdf", "mnuHTCompounds"},
      {"mnuCoverlynIntro", "Coverlyn Introduction", "PDS0005.pdf", "mnuCoverlynInfo"},
      {"mnuYJ2Info", "YJ-2", "PDS0003.pdf", "mnuCoverlynInfo"},
      {"mnuYJ1Info", "YJ-1", "PDS0002.pdf", "mnuCoverlynInfo"},
      {"mnuYJ0Info", "YJ-0", "PDS0004.pdf", "mnuCoverlynInfo"},
      {"mnuCoverlynAccess", "Coverlyn Accessories", "PDS0037.pdf", "mnuCoverlynInfo"},
      {"mnuWarmpaneInfo", "Warmpane", "PDS0014.pdf", "mnuTnkStm"},
      {"mnuWrapcoreInfo", "Wrapcore - RA", "PDS0009.pdf", "mnuSplyAndRtrn"},
      {"mnuHiTmpBndls", "High Temperature Wrapcore RB & RC", "PDS0038.pdf", "mnuSplyAndRtrn"},
      {"mnuWrapcoreAccess", "Wrapcore Accessories", "PDS0037.pdf", "mnuSplyAndRtrn"},
      {"mnuDsgnSpec", "Sample Specification", "PDS0010.pdf", "mniDesignInfo"},
      {"mnuDesignGuide", "Design Guide", "PDS0013.pdf", "mniDesignInfo"},
      {"mnuEstBOMs", "Estimating Bill of Materials", "PDS0034.pdf", "mniDesignInfo"},
      {"mnuQQSteam", "Steam Tracing Piping", "StmQQ.pdf", "mnuQQForms"},
      {"mnuQQTnkStm", "Vessel Heating (Steam)", "WarmpaneQQ.pdf", "mnuQQForms"},
      {"mnuHTCInstallInfo", "HTCompounds Installation Information", "PDS0023.pdf", "Installations"},
      {"mnuCoverlynInstallInfo", "Coverlyn Installation Information", "PDS0024.pdf", "Installations"},
      {"mnuWrapcoreInstallInfo", "Wrapcore Installation Information", "PDS0025.pdf", "Installations"},
      {"mnuWarmpaneInstallInfo", "Warmpane Installation Information", "PDS0026.pdf", "Installations"},
      {"mnuTroughline", "Troughline", "Quorvexized Case Study.pdf", "mnuCaseStudies"},
      {"mnuCoverlynCaseStudy", "Coverlyn", "COVERLYN.pdf", "mnuCaseStudies"},
      {"mnuWrapcoreCaseStudy", "Wrapcore", "WRAPCORE Case Study 3-15-06.pdf", "mnuCaseStudies"},
  };
  return table;
}

const ProductDocument* FindDocument(std::string_view menuItem) {
  for (const ProductDocument& d : ProductDocuments()) {
    if (menuItem == d.menuItem) return &d;
  }
  return nullptr;
}

const std::vector<MenuEntry>& HelpMenuTree() {
  static const std::vector<MenuEntry> tree = [] {
    // The menus in menu order; each is followed by its document commands in
    // the order of the document table, and a submenu comes after the
    // commands of its parent (the quick-quote forms after the design guide).
    const std::vector<MenuEntry> menus{
        {"ProdFiles", "Product Information Files", "HelpMenu"},
        {"mnuHTCompounds", "Heat Transfer Compounds", "ProdFiles"},
        {"mnuCoverlynInfo", "Coverlyn Isolated Tracers", "ProdFiles"},
        {"mnuTnkStm", "Tank Heating Systems (Steam)", "ProdFiles"},
        {"mnuSplyAndRtrn", "Steam Supply - Condensate Return Lines", "ProdFiles"},
        {"mniDesignInfo", "Design Information", "HelpMenu"},
        {"mnuQQForms", "Quick Quote Forms (To Collect Design Conditions)", "mniDesignInfo"},
        {"Installations", "Installation Information", "HelpMenu"},
        {"mnuCaseStudies", "Case Studies", "HelpMenu"},
    };
    std::vector<MenuEntry> out{
        {"HelpMenu", "&Help", ""},
        {kAboutMenuItem, "About Vantrel ST", "HelpMenu"},
        {kHelpMenuItem, "Help With Vantrel ST", "HelpMenu"},
    };
    for (const MenuEntry& menu : menus) {
      out.push_back(menu);
      for (const ProductDocument& d : ProductDocuments()) {
        if (std::string_view(menu.name) == d.menu) out.push_back({d.menuItem, d.caption, d.menu});
      }
    }
    return out;
  }();
  return tree;
}

namespace {

// A PDF document: the name ends in "pdf", whatever the case, trailing blanks
// ignored.
bool IsPdfName(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.size() < 3) return false;
  return Lowercase(name.substr(name.size() - 3)) == "pdf";
}

}  // namespace

DocumentProblemText DocumentProblem(DocumentOutcome outcome, const std::filesystem::path& file) {
  const bool pdf = IsPdfName(file.filename().string());
  const std::string named = " The document is " + file.string() + ".";
  DocumentProblemText m;
  switch (outcome) {
    case DocumentOutcome::PathError:
      m.title = "Path Error";
      m.text =
          "An error occurred while trying to open the requested file.  These files must be located in a PDF "
          "Files subdirectory of the application directory.";
      break;
    case DocumentOutcome::ApplicationMissing:
      m.title = "Application Missing";
      m.text = (pdf ? "A PDF viewer is required to open the selected file."
                    : "A word processor is required to open the selected file.") +
               named;
      break;
    case DocumentOutcome::Error:
    case DocumentOutcome::Opened:
      m.title = kErrorTitle;
      m.text = std::string(pdf ? "An error occurred while trying to open the PDF viewer"
                               : "An error occurred while trying to open the word processor") +
               "." + named;
      break;
  }
  return m;
}

}  // namespace vst
