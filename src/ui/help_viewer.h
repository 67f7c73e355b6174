// The help viewer: a window owned by the main window that shows the pages
// and pictures of a compiled help book (.chm), read with chmlib, in a
// QTextBrowser, with the book's contents tree, "Contents", "Back" and
// "Forward", and links that work inside the book. Pages are addressed as
// "chm:/<page>". Nothing but the book is ever loaded: a web link (http,
// https) opens in the desktop's browser, any other link (a local file, ...)
// is refused with a note under the page. The contents tree marks the topic
// shown. Escape and Ctrl+W close it.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "docs/help_book.h"

class QLabel;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace vst {
class ChmBook;
}

namespace vst::ui {

class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* owner);
  ~HelpViewer() override;

  // Shows `page` of `book`, opening the book when another one (or none) is
  // open. When the book is missing or cannot be read, nothing changes and the
  // problem is returned. A page the book lacks shows a note saying so.
  std::optional<HelpFileProblem> showTopic(const std::filesystem::path& book, const std::string& page);

  // The book open, and the page shown ("12.htm").
  std::filesystem::path bookFile() const;
  std::string currentPage() const;
  QTextBrowser* browser() const;

  // Opens web links; the desktop's browser unless a test replaces it.
  using WebLinkOpener = std::function<void(const QUrl& link)>;
  static void SetWebLinkOpener(WebLinkOpener opener);

 private:
  void followLink(const QUrl& link);
  void fillContents();
  void showContentsPage();
  void syncContents(const QUrl& shownPage);
  void syncTitle();

  std::unique_ptr<ChmBook> book_;
  QTextBrowser* browser_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QLabel* note_ = nullptr;  // why a link was not followed
};

}  // namespace vst::ui
