// The Line List window's own unit system: the Units menu, the label that
// names the units in force, and the bar that offers to open a list written
// in the other unit system in that system.
#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include "ui/line_list_window.h"
#include "ui/note_bar.h"
#include "ui/qt_text.h"

namespace vst::ui {

namespace {

struct UnitsEntry {
  const char* name;
  const char* caption;
  UnitSystem units;
  PressureUnit pressure;
};
constexpr UnitsEntry kUnitsEntries[] = {
    {"unitsInchPound", "&Inch Pound Units (psig)", UnitSystem::English, PressureUnit::Psig},
    {"unitsMetricBar", "&SI Metric Units (barg)", UnitSystem::Metric, PressureUnit::BarG},
    {"unitsMetricKpa", "SI Metric Units (&kPa)", UnitSystem::Metric, PressureUnit::Kpa},
};

}  // namespace

void LineListTable::changeAll(const std::function<void()>& change) {
  beginResetModel();
  change();
  endResetModel();
}

void LineList::addUnitsMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("&Units"));
  menu->menuAction()->setObjectName(QStringLiteral("lineListUnits"));
  auto* group = new QActionGroup(menu);
  for (const UnitsEntry& e : kUnitsEntries) {
    QAction* a = menu->addAction(QString::fromUtf8(e.caption));
    a->setObjectName(QLatin1String(e.name));
    a->setCheckable(true);
    group->addAction(a);
    connect(a, &QAction::triggered, this, [this, e] { openInUnits(e.units, e.pressure); });
  }
}

QWidget* LineList::makeUnitsBar() {
  QFrame* bar = MakeNoteBar(QStringLiteral("unitsOfferBar"));
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->addWidget(MakeNoteLabel(QStringLiteral("unitsOfferNote")), 1);
  auto* open = new QPushButton;
  open->setObjectName(QStringLiteral("openInOtherUnits"));
  connect(open, &QPushButton::clicked, this, [this] {
    if (unitsOffer_) openInUnits(unitsOffer_->options.units, unitsOffer_->options.pressureUnit);
  });
  layout->addWidget(open);
  auto* dismiss = new QPushButton(QStringLiteral("Dismiss"));
  dismiss->setObjectName(QStringLiteral("dismissUnits"));
  connect(dismiss, &QPushButton::clicked, bar, &QWidget::hide);
  layout->addWidget(dismiss);
  bar->hide();
  unitsBar_ = bar;
  return bar;
}

void LineList::refreshUnits() {
  const BatchOptions& o = model_->options();
  units_->setText(Q(model_->unitsText()));
  for (const UnitsEntry& e : kUnitsEntries) {
    for (QAction* a : findChildren<QAction*>(QLatin1String(e.name)))
      a->setChecked(o.units == e.units && o.pressureUnit == e.pressure);
  }
  // Looked for once here (it designs rows again); the button opens what the note offers.
  unitsOffer_ = model_->running() ? std::nullopt : model_->otherUnitsOffer();
  if (!unitsOffer_) {
    unitsBar_->hide();
    return;
  }
  unitsBar_->findChild<QLabel*>(QStringLiteral("unitsOfferNote"))->setText(Q(unitsOffer_->note));
  unitsBar_->findChild<QPushButton*>(QStringLiteral("openInOtherUnits"))
      ->setText(o.units == UnitSystem::English ? QStringLiteral("Open in SI &Metric Units")
                                               : QStringLiteral("Open in Inch &Pound Units"));
  unitsBar_->show();
}

void LineList::openInUnits(UnitSystem units, PressureUnit pressure) {
  if (model_->running()) return;
  BatchOptions options = model_->options();
  options.units = units;
  options.pressureUnit = pressure;
  table_->changeAll([&] { model_->setOptions(options); });
  unitsBar_->hide();
  refreshUnits();
  updateCounts();
  showDetails();
  designAll();
}

}  // namespace vst::ui
