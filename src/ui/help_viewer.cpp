#include "ui/help_viewer.h"

#include <QAction>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>
#include <vector>

#include "docs/chm_book.h"
#include "docs/help_source.h"

namespace vst::ui {

namespace {

constexpr const char* kScheme = "chm";

QUrl PageUrl(const std::string& page) {
  QUrl url;
  url.setScheme(QString::fromLatin1(kScheme));
  url.setPath(QLatin1Char('/') + QString::fromStdString(page));
  return url;
}

// A text browser that takes its pages and pictures out of the open book.
class ChmBrowser : public QTextBrowser {
 public:
  ChmBrowser(const std::unique_ptr<ChmBook>& book, QWidget* parent) : QTextBrowser(parent), book_(book) {}

  QVariant loadResource(int type, const QUrl& name) override {
    // Only what the book holds: never a local file or anything else.
    if (name.scheme() != QLatin1String(kScheme) || !book_) return {};
    const std::string path = name.path().toStdString();
    const std::optional<std::string> bytes = book_->read(path);
    if (type == QTextDocument::ImageResource) {
      if (!bytes) return {};
      return QImage::fromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<int>(bytes->size()));
    }
    if (type == QTextDocument::HtmlResource || type == QTextDocument::MarkdownResource) {
      if (bytes) return QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size()));
      const std::string page = path.empty() ? path : path.substr(1);
      const std::string note = MissingTopicText(page, book_->file().filename().string());
      return QStringLiteral("<html><head><title>%1</title></head><body><p>%2</p></body></html>")
          .arg(QString::fromStdString(page).toHtmlEscaped(), QString::fromStdString(note).toHtmlEscaped());
    }
    return {};
  }

 private:
  const std::unique_ptr<ChmBook>& book_;
};

HelpViewer::WebLinkOpener& Opener() {
  static HelpViewer::WebLinkOpener opener;
  return opener;
}

}  // namespace

void HelpViewer::SetWebLinkOpener(WebLinkOpener opener) { Opener() = std::move(opener); }

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("Vantrel ST Help"));

  auto* tools = new QToolBar(this);
  tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
  QAction* home = tools->addAction(QStringLiteral("&Contents"));
  home->setObjectName(QStringLiteral("helpContents"));
  QAction* back = tools->addAction(QStringLiteral("&Back"));
  back->setObjectName(QStringLiteral("helpBack"));
  back->setShortcut(QKeySequence::Back);
  back->setEnabled(false);
  QAction* forward = tools->addAction(QStringLiteral("&Forward"));
  forward->setObjectName(QStringLiteral("helpForward"));
  forward->setShortcut(QKeySequence::Forward);
  forward->setEnabled(false);

  contents_ = new QTreeWidget(this);
  contents_->setObjectName(QStringLiteral("helpTree"));
  contents_->setHeaderHidden(true);
  contents_->setColumnCount(1);
  browser_ = new ChmBrowser(book_, this);
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  // Links are followed here, so that none leaves the book unasked.
  browser_->setOpenLinks(false);
  browser_->setOpenExternalLinks(false);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("helpNote"));
  note_->setWordWrap(true);
  note_->setTextFormat(Qt::PlainText);
  note_->setContentsMargins(6, 4, 6, 4);
  note_->hide();

  auto* split = new QSplitter(this);
  split->addWidget(contents_);
  split->addWidget(browser_);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  split->setSizes({290, 610});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(tools);
  layout->addWidget(split, 1);
  layout->addWidget(note_);
  resize(960, 660);

  auto* close = new QAction(this);
  close->setObjectName(QStringLiteral("helpClose"));
  close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
  close->setShortcutContext(Qt::WindowShortcut);
  addAction(close);
  connect(close, &QAction::triggered, this, &QWidget::close);
  connect(browser_, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);

  connect(home, &QAction::triggered, this, &HelpViewer::showContentsPage);
  connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& page) {
    syncContents(page);
    syncTitle();
  });
  connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QString page = item->data(0, Qt::UserRole).toString();
    if (!page.isEmpty()) browser_->setSource(PageUrl(page.toStdString()));
  });
  connect(contents_, &QTreeWidget::itemClicked, contents_, &QTreeWidget::itemActivated);
}

HelpViewer::~HelpViewer() = default;

std::optional<HelpFileProblem> HelpViewer::showTopic(const std::filesystem::path& book,
                                                     const std::string& page) {
  if (!book_ || book_->file() != book) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(book, ec)) return HelpFileProblem::Missing;
    std::unique_ptr<ChmBook> opened = ChmBook::open(book);
    if (!opened || !opened->has(kHelpContentsPage)) return HelpFileProblem::Unreadable;
    book_ = std::move(opened);
    browser_->clearHistory();
    browser_->clear();
    fillContents();
  }
  note_->hide();
  browser_->setSource(PageUrl(page));
  return std::nullopt;
}

std::filesystem::path HelpViewer::bookFile() const { return book_ ? book_->file() : std::filesystem::path(); }

std::string HelpViewer::currentPage() const {
  const QString path = browser_->source().path();
  return path.startsWith(QLatin1Char('/')) ? path.mid(1).toStdString() : path.toStdString();
}

QTextBrowser* HelpViewer::browser() const { return browser_; }

void HelpViewer::followLink(const QUrl& link) {
  const QUrl target = browser_->source().resolved(link);
  note_->hide();
  if (target.scheme() == QLatin1String(kScheme)) {
    browser_->setSource(target);
    return;
  }
  if (target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https")) {
    if (Opener())
      Opener()(target);
    else
      QDesktopServices::openUrl(target);
    return;
  }
  note_->setText(
      QStringLiteral("The link %1 leads outside the help and is not opened.").arg(target.toDisplayString()));
  note_->show();
}

void HelpViewer::fillContents() {
  contents_->clear();
  const std::optional<std::string> sitemap = book_->read("/contents.hhc");
  if (!sitemap) return;
  QTreeWidgetItem* heading = nullptr;
  for (const ContentsItem& item : ParseSitemap(*sitemap)) {
    auto* node = item.level > 0 && heading ? new QTreeWidgetItem(heading) : new QTreeWidgetItem(contents_);
    node->setText(0, QString::fromStdString(item.title));
    node->setData(0, Qt::UserRole, QString::fromStdString(item.page));
    if (item.level == 0) heading = item.page.empty() ? node : nullptr;
  }
  contents_->expandAll();
}

void HelpViewer::showContentsPage() {
  if (book_) browser_->setSource(PageUrl(kHelpContentsPage));
}

void HelpViewer::syncContents(const QUrl& shownPage) {
  // The topic shown is the one the contents tree marks, however it was
  // reached (F1, a link, Back); a page outside the tree marks none. (The
  // browser's own source() still names the previous page while it tells
  // of the new one.)
  QString page = shownPage.path();
  if (page.startsWith(QLatin1Char('/'))) page = page.mid(1);
  QTreeWidgetItem* shown = nullptr;
  for (QTreeWidgetItemIterator it(contents_); *it && !shown; ++it) {
    if ((*it)->data(0, Qt::UserRole).toString() == page) shown = *it;
  }
  if (shown) {
    contents_->setCurrentItem(shown);
    contents_->scrollToItem(shown);
  } else {
    contents_->setCurrentItem(nullptr);
    contents_->clearSelection();
  }
}

void HelpViewer::syncTitle() {
  const QString title = browser_->documentTitle();
  const QString book = QString::fromStdString(bookFile().filename().string());
  setWindowTitle(title.isEmpty() ? QStringLiteral("Vantrel ST Help - %1").arg(book)
                                 : QStringLiteral("Vantrel ST Help - %1").arg(title));
}

}  // namespace vst::ui
