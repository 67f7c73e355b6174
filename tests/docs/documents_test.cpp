#include "docs/documents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vst {
namespace {

TEST(HelpMenu, EveryDocumentCommandSitsInItsMenuAndEveryParentComesFirst) {
  const std::vector<MenuEntry>& tree = HelpMenuTree();
  std::vector<std::string> seen;
  for (const MenuEntry& e : tree) {
    SCOPED_TRACE(e.name);
    if (!e.parent.empty()) {
      EXPECT_NE(std::find(seen.begin(), seen.end(), e.parent), seen.end());
    }
    seen.push_back(e.name);
  }
  EXPECT_EQ(ProductDocuments().size(), 29u);
  for (const ProductDocument& d : ProductDocuments()) {
    auto it = std::find_if(tree.begin(), tree.end(),
                           [&](const MenuEntry& e) { return e.name == std::string(d.menuItem); });
    ASSERT_NE(it, tree.end()) << d.menuItem;
    EXPECT_EQ(it->caption, d.caption);
  }
  // "Design Information": its three documents, then the quick-quote submenu.
  auto at = std::find_if(tree.begin(), tree.end(),
                         [](const MenuEntry& e) { return e.name == std::string("mniDesignInfo"); });
  ASSERT_NE(at, tree.end());
  std::vector<std::string> next;
  for (auto it = at + 1; it != tree.end() && next.size() < 4; ++it) next.push_back(it->name);
  EXPECT_EQ(next, (std::vector<std::string>{"mnuDsgnSpec", "mnuDesignGuide", "mnuEstBOMs", "mnuQQForms"}));
}

}  // namespace
}  // namespace vst
