#include "ui/app_form_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>

#include "ui/binder.h"
#include "ui/printing.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_text.h"

namespace vst::ui {

namespace {

constexpr int kMargin = 12;

}  // namespace

// The panel's drawing surface: paints what the window's paintPanel draws.
class PanelCanvas : public QWidget {
 public:
  explicit PanelCanvas(const AppForm* form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("PanelCanvas"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
  }
  void setPanelSize(QSize size) {
    size_ = size;
    setFixedSize(size);
    update();
  }
  QSize sizeHint() const override { return size_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    form_->paintPanel(painter);
  }

 private:
  const AppForm* form_;
  QSize size_{480, 200};
};

AppForm::AppForm(UnitSystem units, QWidget* parent, Dialogs* dialogs)
    : QMainWindow(parent),
      units_(units),
      dialogs_(dialogs),
      pictureFolder_(QCoreApplication::applicationDirPath()) {
  if (dialogs_ == nullptr) {
    ownDialogs_ = std::make_unique<QtDialogs>(this);
    dialogs_ = ownDialogs_.get();
  }
  QAction* print = menuBar()->addAction(QString());
  print->setObjectName(QStringLiteral("mnuPrint"));
  QAction* back = menuBar()->addAction(QString());
  back->setObjectName(QStringLiteral("mnuReturn"));

  canvas_ = new PanelCanvas(this, this);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(canvas_);
  scroll->setWidgetResizable(false);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setBackgroundRole(QPalette::Base);
  setCentralWidget(scroll);

  BinderEvents events;
  events.clicked = [this](const std::string& name) {
    if (model_.clicked(name)) {
      close();
    } else if (name == "mnuPrint") {
      printWithDialog();
    }
  };
  binder_ =
      new Binder([this]() -> const ControlSet& { return model_.controls(); }, this, std::move(events), this);
  binder_->redraw();
}

AppForm::~AppForm() = default;

void AppForm::showPanel(const std::string& menuItem) {
  if (!model_.show(menuItem)) return;
  const AppPanel* panel = model_.panel();
  // A missing or unreadable picture leaves the panel without one.
  picture_ = QImage(QDir(pictureFolder_).filePath(Q(panel->picture)));
  setWindowTitle(Q(model_.caption()));

  // Size the canvas to what paintPanel draws, and the window to the canvas
  // as far as the screen allows.
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter measure(&probe);
  measure.setFont(canvas_->font());
  const QSize size = paintPanel(measure);
  measure.end();
  canvas_->setPanelSize(size);
  binder_->redraw();
  const QSize wanted = size + QSize(4, menuBar()->sizeHint().height() + 4);
  QSize available = wanted;
  if (const QScreen* s = screen()) available = available.boundedTo(s->availableGeometry().size() * 0.95);
  resize(available);
}

QSize AppForm::paintPanel(QPainter& painter) const {
  int width = 0;
  int y = 0;
  if (!picture_.isNull()) {
    painter.drawImage(QPoint(0, 0), picture_);
    width = picture_.width();
    y = picture_.height();
  }
  const AppPanel* panel = model_.panel();
  if (!panel) return {std::max(width, 1), std::max(y, 1)};

  QFont normal = painter.font();
  normal.setBold(false);
  QFont bold = normal;
  bold.setBold(true);
  const QFontMetrics normalMetrics(normal, painter.device());
  const QFontMetrics boldMetrics(bold, painter.device());
  const int lineHeight = std::max(normalMetrics.lineSpacing(), boldMetrics.lineSpacing());
  const int ascent = std::max(normalMetrics.ascent(), boldMetrics.ascent());

  painter.setPen(Qt::black);
  y += kMargin;
  for (const PanelLine& line : panel->lines) {
    int x = kMargin;
    for (const TextRun& run : line) {
      const QString text = Q(run.text);
      painter.setFont(run.bold ? bold : normal);
      painter.drawText(QPoint(x, y + ascent), text);
      x += (run.bold ? boldMetrics : normalMetrics).horizontalAdvance(text);
    }
    width = std::max(width, x + kMargin);
    y += lineHeight;
  }
  painter.setFont(normal);
  return {width, y + kMargin};
}

QString AppForm::print(QPrinter& printer) const {
  QPainter painter;
  if (!painter.begin(&printer)) return QStringLiteral("the printer could not be started");
  // Lay the panel out at the screen's resolution, then scale it to the page.
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter measure(&probe);
  measure.setFont(canvas_->font());
  const QSize size = paintPanel(measure);
  measure.end();
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double scale = std::min(page.width() / size.width(), page.height() / size.height());
  // Drawn at three times the screen's pixels so that the printed text stays
  // sharp.
  constexpr int kSharpness = 3;
  QImage image(size * kSharpness, QImage::Format_RGB32);
  image.setDevicePixelRatio(kSharpness);
  image.fill(Qt::white);
  {
    QPainter onImage(&image);
    onImage.setFont(canvas_->font());
    onImage.setRenderHint(QPainter::TextAntialiasing);
    paintPanel(onImage);
  }
  painter.scale(scale, scale);
  painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), image);
  if (!painter.end()) return QStringLiteral("the page could not be finished");
  return {};
}

void AppForm::printWithDialog() {
  PrintWithDialog(this, *dialogs_, units_, [this](QPrinter& printer) { return print(printer); });
}

}  // namespace vst::ui
