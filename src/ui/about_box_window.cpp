#include "ui/about_box_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/binder.h"
#include "ui/qt_text.h"
#include "ui/small_window_pictures.h"

namespace vst::ui {

AboutForm::AboutForm(std::function<void()> toggle, QWidget* parent)
    : QDialog(parent), model_(std::move(toggle)) {
  QDir::setCurrent(QCoreApplication::applicationDirPath());
  setWindowTitle(QString::fromLatin1(AboutBoxModel::kCaption));
  setModal(false);

  auto* emblem = new QLabel(this);
  emblem->setPixmap(SteamEmblem(72));
  auto* product = NamedLabel("lblProductName", this);
  product->setFont(Scaled(font(), 2.0, true));
  auto* brand = NamedLabel("lblBrand", this);
  brand->setFont(Scaled(font(), 1.3, true));
  auto* version = NamedLabel("lblVersion", this);
  auto* company = NamedLabel("lblCompany", this);
  company->setFont(Scaled(font(), 1.1, true));
  auto* disclaimer = NamedLabel("lblDisclaimer", this);
  disclaimer->setWordWrap(true);
  disclaimer->setFont(Scaled(font(), 0.9, false));

  auto* picture = NamedLabel("imgISO", this);
  picture->setPixmap(CertificationBadge(84));
  picture->setFocusPolicy(Qt::StrongFocus);
  picture->setStyleSheet(
      QStringLiteral("QLabel#imgISO { border: 1px solid transparent; }"
                     "QLabel#imgISO:focus { border: 1px dotted palette(text); }"));
  picture->installEventFilter(this);
  picture_ = picture;

  auto* ok = new QPushButton(this);
  ok->setObjectName(QStringLiteral("SSCommand1"));
  ok->setDefault(true);

  auto* titles = new QVBoxLayout;
  titles->setSpacing(2);
  titles->addWidget(product);
  titles->addWidget(brand);
  titles->addWidget(version);
  titles->addSpacing(6);
  titles->addWidget(company);
  auto* head = new QHBoxLayout;
  head->addWidget(emblem, 0, Qt::AlignTop);
  head->addSpacing(12);
  head->addLayout(titles, 1);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* foot = new QHBoxLayout;
  foot->addWidget(picture, 0, Qt::AlignBottom);
  foot->addStretch();
  foot->addWidget(ok, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addLayout(head);
  layout->addWidget(line);
  layout->addWidget(disclaimer);
  layout->addSpacing(6);
  layout->addLayout(foot);

  BinderEvents events;
  events.clicked = [this](const std::string& name) {
    if (name == "SSCommand1") close();
  };
  binder_ =
      new Binder([this]() -> const ControlSet& { return model_.controls(); }, this, std::move(events), this);
  binder_->redraw();  // imgISO has no text, so drawing keeps its picture
  setFixedWidth(440);
}

AboutForm::~AboutForm() = default;

bool AboutForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture_) {
    if (event->type() == QEvent::KeyPress) {
      const Qt::KeyboardModifiers held = static_cast<QKeyEvent*>(event)->modifiers();
      KeyModifiers modifiers;
      modifiers.shift = held.testFlag(Qt::ShiftModifier);
      modifiers.ctrl = held.testFlag(Qt::ControlModifier);
      modifiers.alt = held.testFlag(Qt::AltModifier);
      binder_->dispatch([&] { model_.keyPress("imgISO", modifiers); });
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      binder_->dispatch([&] { model_.doubleClick("imgISO"); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vst::ui
