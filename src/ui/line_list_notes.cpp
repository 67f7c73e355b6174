// The Line List window's note bar above the table: the columns of the list
// that are not read, each with a button that reads it as the column it
// probably means.
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "ui/line_list_window.h"
#include "ui/note_bar.h"
#include "ui/qt_text.h"

namespace vst::ui {

namespace {

// readIgnoredAs: every column that has a suggestion.
constexpr std::size_t kAllSuggested = static_cast<std::size_t>(-1);

}  // namespace

QWidget* LineList::makeIgnoredBar() {
  QFrame* bar = MakeNoteBar(QStringLiteral("ignoredColumnsBar"));
  auto* layout = new QVBoxLayout(bar);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->addWidget(MakeNoteLabel(QStringLiteral("ignoredColumnsNote")));
  auto* buttons = new QHBoxLayout;
  buttons->setObjectName(QStringLiteral("ignoredColumnsButtons"));
  layout->addLayout(buttons);
  ignoredBar_ = bar;
  refreshIgnoredBar();
  return bar;
}

void LineList::refreshIgnoredBar() {
  const std::string note = model_->ignoredColumnsNote();
  ignoredBar_->setVisible(!note.empty());
  ignoredBar_->findChild<QLabel*>(QStringLiteral("ignoredColumnsNote"))->setText(Q(note));
  auto* buttons = ignoredBar_->findChild<QHBoxLayout*>(QStringLiteral("ignoredColumnsButtons"));
  while (QLayoutItem* item = buttons->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  const auto& ignored = model_->ignoredColumns();
  const auto suggested = std::count_if(ignored.begin(), ignored.end(),
                                       [](const IgnoredColumn& c) { return !c.suggestion.empty(); });
  if (suggested > 1) {
    auto* all = new QPushButton(QStringLiteral("Read All &as Suggested"));
    all->setObjectName(QStringLiteral("readAllAsSuggested"));
    connect(all, &QPushButton::clicked, this, [this] { readIgnoredAs(kAllSuggested); });
    buttons->addWidget(all);
  }
  for (std::size_t i = 0; i < ignored.size() && i < kNamedColumns; ++i) {
    if (ignored[i].suggestion.empty()) continue;
    // Alt+A reads every suggestion: this button when it is the only one.
    const QString name = Q(ignored[i].name).replace(QLatin1Char('&'), QStringLiteral("&&"));
    const QString caption =
        suggested == 1 ? QStringLiteral("Read %1 &as %2") : QStringLiteral("Read %1 as %2");
    auto* read = new QPushButton(caption.arg(name, Q(ignored[i].suggestion)));
    read->setObjectName(QStringLiteral("readAs%1").arg(Q(ignored[i].suggestion)));
    read->setToolTip(QStringLiteral("Read the list's column %1 as %2 and design every row again")
                         .arg(Q(ignored[i].name), Q(ignored[i].suggestion)));
    connect(read, &QPushButton::clicked, this, [this, i] { readIgnoredAs(i); });
    buttons->addWidget(read);
  }
  buttons->addStretch(1);
  auto* dismiss = new QPushButton(QStringLiteral("Dismiss"));
  dismiss->setObjectName(QStringLiteral("dismissIgnored"));
  connect(dismiss, &QPushButton::clicked, ignoredBar_, &QWidget::hide);
  buttons->addWidget(dismiss);
}

void LineList::readIgnoredAs(std::size_t index) {
  if (model_->running()) return;
  bool read = false;
  // Drawn anew: a column read may bring more (a heat-up column brings the
  // heat-up columns and time).
  table_->changeAll(
      [&] { read = index == kAllSuggested ? model_->readAllAsSuggested() : model_->readIgnoredAs(index); });
  if (!read) return;
  // Buttons go with the bar's redraw; this one's click is still being handled.
  QMetaObject::invokeMethod(
      this, [this] { refreshIgnoredBar(); }, Qt::QueuedConnection);
  updateTitle();
  updateCounts();
  showDetails();
  designAll();
}

}  // namespace vst::ui
