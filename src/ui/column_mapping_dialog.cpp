#include "ui/column_mapping_dialog.h"

#include <QBrush>
#include <QColor>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/output_file.h"
#include "ui/qt_text.h"
#include "workspace/column_mapping.h"
#include "workspace/dialogs.h"

namespace vst::ui {
namespace {

// The table's columns: heading, column, how it was read, then the preview.
constexpr int kReadAs = 2;
constexpr int kPreview = 3;

}  // namespace

ColumnMappingDialog::ColumnMappingDialog(ColumnMappingModel& model, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), model_(model), dialogs_(dialogs) {
  setObjectName(QStringLiteral("ColumnMapping"));
  setWindowTitle(QStringLiteral("Column Mapping"));
  auto* intro = new QLabel(QStringLiteral(
      "Choose the column each heading of the list gives. Headings the program guessed or did not read are "
      "marked; headings read by their field code are fixed."));
  intro->setWordWrap(true);
  table_ = new QTableWidget(model_.headingCount(), kPreview + model_.previewRows(), this);
  table_->setObjectName(QStringLiteral("mappingTable"));
  QStringList captions = {QStringLiteral("Heading"), QStringLiteral("Column"), QStringLiteral("Read as")};
  for (int r = 0; r < model_.previewRows(); ++r) captions << QStringLiteral("Row %1").arg(r + 1);
  table_->setHorizontalHeaderLabels(captions);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QStringList choices;
  for (const auto& c : model_.choices()) choices << Q(c);
  for (int i = 0; i < model_.headingCount(); ++i) {
    table_->setItem(i, 0, new QTableWidgetItem(Q(model_.heading(i))));
    auto* box = new QComboBox;
    box->setObjectName(QStringLiteral("column%1").arg(i));
    box->addItems(choices);
    box->setEnabled(!model_.fixed(i));
    connect(box, &QComboBox::currentIndexChanged, this, [this, i](int choice) {
      model_.choose(i, choice);
      redraw();
    });
    table_->setCellWidget(i, 1, box);
    for (int r = 0; r < model_.previewRows(); ++r)
      table_->setItem(i, kPreview + r, new QTableWidgetItem(Q(model_.preview(r, i))));
  }
  table_->resizeColumnsToContents();
  problem_ = new QLabel;
  problem_->setObjectName(QStringLiteral("mappingProblem"));
  problem_->setWordWrap(true);
  problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  auto* save = buttons->addButton(QStringLiteral("&Save Map..."), QDialogButtonBox::ActionRole);
  save->setObjectName(QStringLiteral("saveMap"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(save, &QPushButton::clicked, this, [this] { saveMap(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(table_, 1);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
  table_->resizeColumnsToContents();
  resize(1040, 520);
  redraw();
}

// The choices and what keeps the mapping from being taken, from the model.
void ColumnMappingDialog::redraw() {
  for (int i = 0; i < model_.headingCount(); ++i) {
    auto* box = static_cast<QComboBox*>(table_->cellWidget(i, 1));
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(model_.choice(i));
    auto* how = new QTableWidgetItem(Q(model_.howRead(i)));
    table_->setItem(i, kReadAs, how);
    // A heading a person should look at: a guess, or nothing read.
    const QBrush mark = model_.toCheck(i) ? QBrush(QColor(255, 243, 191)) : QBrush();
    table_->item(i, 0)->setBackground(mark);
    how->setBackground(mark);
  }
  const std::string problem = model_.problem();
  problem_->setText(problem.empty() ? QString() : Q("Not yet: " + problem + "."));
  ok_->setEnabled(problem.empty());
}

void ColumnMappingDialog::saveMap() {
  FileDialogSpec spec;
  spec.title = "Save Column Map";
  spec.filters = {"Column maps (*.csv)", "All files (*)"};
  spec.defaultSuffix = "csv";
  const auto name = dialogs_.saveFileName(spec);
  if (!name || name->empty()) return;
  const std::string problem = WriteText(*name, model_.mapText());
  if (!problem.empty())
    dialogs_.message(Message{"The column map was not saved: " + problem + ".", "Column Mapping",
                             MsgIcon::Exclamation, MsgButtons::Ok, false});
}

}  // namespace vst::ui
