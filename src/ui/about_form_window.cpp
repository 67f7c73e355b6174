#include "ui/about_form_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "core/units.h"
#include "ui/binder.h"
#include "ui/qt_text.h"
#include "ui/small_window_pictures.h"

namespace vst::ui {

About_Form::About_Form(QWidget* parent)
    : QDialog(parent), model_(QSysInfo::prettyProductName().toStdString()) {
  // The program reads its pictures and its template from its own folder.
  QDir::setCurrent(QCoreApplication::applicationDirPath());
  setWindowTitle(QString::fromStdString(StartupModel::caption()));

  auto* picture = new QLabel(this);
  picture->setPixmap(SteamEmblem(96));
  picture->setAlignment(Qt::AlignCenter);

  auto* product = NamedLabel("lblProductName", this, Qt::AlignCenter);
  product->setFont(Scaled(font(), 2.2, true));
  auto* subtitle = NamedLabel("lblSubtitle", this, Qt::AlignCenter);
  subtitle->setFont(Scaled(font(), 1.2, true));
  auto* version = NamedLabel("lblVersion", this, Qt::AlignCenter);
  auto* platform = NamedLabel("lblPlatform", this, Qt::AlignCenter);
  auto* company = NamedLabel("lblCompany", this, Qt::AlignCenter);
  company->setFont(Scaled(font(), 1.1, true));
  auto* warning = NamedLabel("lblWarning", this, Qt::AlignCenter);
  warning->setWordWrap(true);
  warning->setFont(Scaled(font(), 0.9, false));

  auto* english = new QPushButton(this);
  english->setObjectName(QStringLiteral("English"));
  english->setDefault(true);
  auto* metric = new QPushButton(this);
  metric->setObjectName(QStringLiteral("Metric"));

  auto* titles = new QVBoxLayout;
  titles->addWidget(product);
  titles->addWidget(subtitle);
  titles->addWidget(version);
  auto* head = new QHBoxLayout;
  head->addWidget(picture);
  head->addSpacing(12);
  head->addLayout(titles, 1);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(english);
  buttons->addWidget(metric);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 18, 18, 14);
  layout->addLayout(head);
  layout->addSpacing(6);
  layout->addWidget(company);
  layout->addWidget(platform);
  layout->addWidget(line);
  layout->addWidget(warning);
  layout->addSpacing(8);
  layout->addLayout(buttons);

  BinderEvents events;
  events.clicked = [this](const std::string& name) {
    if (const auto choice = model_.clicked(name)) {
      emit unitSystemChosen(choice->units == UnitSystem::Metric ? 1 : 0, StoredNumber(choice->pressureUnit));
      close();
    }
  };
  binder_ =
      new Binder([this]() -> const ControlSet& { return model_.controls(); }, this, std::move(events), this);
  binder_->redraw();
  setMinimumWidth(420);
}

About_Form::~About_Form() = default;

}  // namespace vst::ui
