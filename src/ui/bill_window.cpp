#include "ui/bill_window.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>
#include <utility>

#include "ui/bill_grid.h"
#include "ui/page_painter.h"
#include "ui/printing.h"

namespace vst::ui {

namespace {

FileOpener& Opener() {
  static FileOpener opener;
  return opener;
}

// Where exports go during this run of the program: the last folder used.
ExportPlace& Place() {
  static ExportPlace place;
  return place;
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

}  // namespace

void SetFileOpener(FileOpener opener) { Opener() = std::move(opener); }

Bill::Bill(BillModel& model, Dialogs& dialogs, UnitSystem units, QWidget* parent)
    : QDialog(parent), model_(model), dialogs_(dialogs), units_(units) {
  setObjectName(QStringLiteral("Bill"));
  setWindowTitle(QString::fromLatin1(BillModel::kCaption));
  setModal(true);

  auto* grid = NewBillGrid("BillGrid", {1200, 2600, 4600}, this);
  FillBillGrid(*grid, model.rows());
  grid->setAccessibleName(QStringLiteral("Summary bill of materials"));
  const int rowHeight = grid->verticalHeader()->defaultSectionSize();
  grid->setMinimumHeight(std::min(FullGridHeight(*grid), 24 * rowHeight));

  auto* print = Button("print", "&Print", this);
  auto* exportButton = Button("Export", "&Export", this);
  auto* back = Button("return", "&Return", this);
  connect(print, &QPushButton::clicked, this, &Bill::printBill);
  connect(exportButton, &QPushButton::clicked, this, &Bill::exportBill);
  connect(back, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(print);
  buttons->addWidget(exportButton);
  buttons->addWidget(back);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid, 1);
  layout->addLayout(buttons);
}

void Bill::printBill() {
  PrintWithDialog(this, dialogs_, units_, [this](QPrinter& printer) {
    const PageDescription page = model_.printout(std::time(nullptr));
    printer.setDocName(QString::fromStdString(page.title));
    return PaintPages(page, printer);
  });
}

void Bill::exportBill() {
  ExportPlace& place = Place();
  if (place.documentsFolder.empty()) {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QDir(documents).exists()) documents = QDir::homePath();
    place.documentsFolder = documents.toStdString();
  }
  const auto path = model_.exportCommand(dialogs_, place);
  if (!path) return;
  const QString file = QString::fromStdString(*path);
  const bool opened = Opener() ? Opener()(file) : QDesktopServices::openUrl(QUrl::fromLocalFile(file));
  if (!opened) dialogs_.message(BillModel::NoSpreadsheetProgramMessage(*path));
}

}  // namespace vst::ui
