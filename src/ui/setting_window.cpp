#include "ui/setting_window.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/binder.h"

namespace vst::ui {

namespace {

template <typename W>
W* Named(const char* name, QWidget* parent) {
  auto* w = new W(parent);
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

}  // namespace

Setting::Setting(PreferencesModel& model, QWidget* parent) : QDialog(parent), model_(model) {
  setWindowTitle(QString::fromLatin1(PreferencesModel::kCaption));
  setModal(true);

  auto* menuBar = new QMenuBar(this);
  QMenu* notes = menuBar->addMenu(QString());
  // The menu's action carries the control name; the menu widget itself stays
  // unnamed so that drawing never pops it up.
  notes->menuAction()->setObjectName(QStringLiteral("Note"));
  QAction* sizingNote = notes->addAction(QString());
  sizingNote->setObjectName(QStringLiteral("InsulationSize"));

  auto* sizingLabel = Named<QLabel>("Label2", this);
  auto* sizing = Named<QComboBox>("Combo2", this);
  auto* standard = Named<QLabel>("Label3", this);
  auto* minimal = Named<QLabel>("Label4", this);
  auto* unitLabel = Named<QLabel>("Label1", this);
  auto* unit = Named<QComboBox>("Combo1", this);
  auto* done = Named<QPushButton>("Command1", this);
  done->setDefault(true);
  sizingLabel->setBuddy(sizing);
  unitLabel->setBuddy(unit);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(8);
  grid->addWidget(sizingLabel, 0, 0, Qt::AlignRight);
  grid->addWidget(sizing, 0, 1);
  auto* legend = new QVBoxLayout;
  legend->setSpacing(0);
  legend->addWidget(standard);
  legend->addWidget(minimal);
  grid->addLayout(legend, 0, 2);
  grid->addWidget(unitLabel, 1, 0, Qt::AlignRight);
  grid->addWidget(unit, 1, 1);
  grid->setColumnStretch(2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addWidget(done, 0, Qt::AlignHCenter);

  BinderEvents events;
  events.listClicked = [this](const std::string& name, int index) { model_.listClicked(name, index); };
  events.clicked = [this](const std::string& name) {
    if (name != "Command1") {
      model_.clicked(name);
      return;
    }
    if (auto result = model_.done()) {
      outcome_ = std::move(result);
      accept();
    }
  };
  binder_ =
      new Binder([this]() -> const ControlSet& { return model_.controls(); }, this, std::move(events), this);
  binder_->redraw();
  adjustSize();
  setFixedSize(sizeHint());
}

Setting::~Setting() = default;

}  // namespace vst::ui
