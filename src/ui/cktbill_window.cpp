#include "ui/cktbill_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <ctime>

#include "ui/bill_grid.h"
#include "ui/page_painter.h"
#include "ui/printing.h"

namespace vst::ui {

namespace {

QLabel* ModelLabel(const ControlSet& controls, const char* name, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(controls[name].text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

CktBill::CktBill(CktBillModel& model, Dialogs& dialogs, UnitSystem units, QWidget* parent)
    : QDialog(parent), model_(model), dialogs_(dialogs), units_(units) {
  setObjectName(QStringLiteral("CktBill"));
  setWindowTitle(QString::fromStdString(model.caption()));
  setModal(true);
  const ControlSet& c = model.controls();

  auto* product = ModelLabel(c, "Label6", this);
  QFont big = product->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  product->setFont(big);
  auto* maker = ModelLabel(c, "lblMaker", this);
  auto* title = ModelLabel(c, "Label3", this);
  QFont titleFont = title->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
  title->setFont(titleFont);
  time_ = ModelLabel(c, "Time_display", this);
  date_ = ModelLabel(c, "Date_Display", this);
  time_->setAlignment(Qt::AlignRight);
  date_->setAlignment(Qt::AlignRight);

  auto* header = new QGridLayout;
  header->addWidget(product, 0, 0);
  header->addWidget(date_, 0, 1);
  header->addWidget(maker, 1, 0);
  header->addWidget(time_, 1, 1, Qt::AlignTop);
  header->addWidget(title, 2, 0, 1, 2, Qt::AlignHCenter);
  header->addWidget(ModelLabel(c, "Label1", this), 3, 0, 1, 2);
  header->addWidget(ModelLabel(c, "Label2", this), 4, 0, 1, 2);
  header->setColumnStretch(0, 1);

  auto* report = NewBillGrid("CktRptGrid", {4170, 5015}, this);
  FillBillGrid(*report, model.reportRows());
  report->setAccessibleName(QStringLiteral("Circuit report"));
  report->setFixedHeight(FullGridHeight(*report));
  auto* bill = NewBillGrid("CktBillGrid", {2000, 2000, 5190}, this);
  FillBillGrid(*bill, model.billRows());
  bill->setAccessibleName(QStringLiteral("Bill of materials"));
  bill->setMinimumHeight(FullGridHeight(*bill));

  auto* print = new QPushButton(QString::fromStdString(c["print"].text), this);
  print->setObjectName(QStringLiteral("print"));
  auto* back = new QPushButton(QString::fromStdString(c["return"].text), this);
  back->setObjectName(QStringLiteral("return"));
  connect(print, &QPushButton::clicked, this, &CktBill::printReport);
  connect(back, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(print);
  buttons->addWidget(back);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(header);
  layout->addWidget(report);
  layout->addWidget(bill, 1);
  layout->addLayout(buttons);

  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, [this] {
    model_.tick(std::time(nullptr));
    redrawClock();
  });
  timer_.start();
}

void CktBill::redrawClock() {
  time_->setText(QString::fromStdString(model_.controls()["Time_display"].text));
  date_->setText(QString::fromStdString(model_.controls()["Date_Display"].text));
}

void CktBill::printReport() {
  PrintWithDialog(this, dialogs_, units_, [this](QPrinter& printer) {
    const PageDescription page = model_.printout(std::time(nullptr));
    printer.setDocName(QString::fromStdString(page.title));
    return PaintPages(page, printer);
  });
}

}  // namespace vst::ui
