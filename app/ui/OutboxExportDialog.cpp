#include "OutboxExportDialog.h"

#include "ControlIds.h"
#include "Theme.h"

#include "contacts/OutboxExportDialogModel.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

namespace {
template <class W> W *Named(W *widget, int id, const QString &accessible) {
  widget->setObjectName(QString::number(id));
  widget->setAccessibleName(accessible);
  return widget;
}
} // namespace

OutboxExportDialog::OutboxExportDialog(contacts::OutboxExportDialogModel &model, QWidget *parent)
    : QDialog(parent), model_(model) {
  setObjectName(QString::number(ids::kDialogExportOutbox));
  setWindowTitle("EXPORT OUTBOX");
  setAccessibleName("EXPORT OUTBOX");
  setStyleSheet(theme::StyleSheet());
  setMinimumWidth(440);

  auto *fileLabel = new QLabel("File:", this);
  file_ = Named(new QLineEdit(this), ids::kExportOutboxFile, "File");
  file_->setMaxLength(static_cast<int>(contacts::kMaxPathLength));
  fileLabel->setBuddy(file_);
  auto *browse = Named(new QPushButton("Browse >>", this), ids::kExportOutboxBrowse, "Browse");
  selected_ = Named(new QRadioButton("Export selected Outbox items", this),
                    ids::kExportOutboxSelected, "Export selected Outbox items");
  all_ = Named(new QRadioButton("Export all Outbox items", this), ids::kExportOutboxAll,
               "Export all Outbox items");
  (model_.ExportAll() ? all_ : selected_)->setChecked(true);
  ok_ = Named(new QPushButton("OK", this), ids::kOk, "OK");
  ok_->setProperty("role", "primary");
  ok_->setDefault(true);
  auto *cancel = Named(new QPushButton("Cancel", this), ids::kCancel, "Cancel");

  auto *fileRow = new QHBoxLayout;
  fileRow->addWidget(fileLabel);
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(ok_);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 16, 18, 14);
  layout->setSpacing(10);
  layout->addLayout(fileRow);
  layout->addWidget(selected_);
  layout->addWidget(all_);
  layout->addSpacing(4);
  layout->addLayout(buttons);

  connect(browse, &QPushButton::clicked, this, &OutboxExportDialog::Browse);
  connect(file_, &QLineEdit::textChanged, this, &OutboxExportDialog::FileEdited);
  connect(all_, &QRadioButton::toggled, this, [this](bool on) { model_.SetExportAll(on); });
  connect(ok_, &QPushButton::clicked, this, &OutboxExportDialog::Export);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  FileEdited();
}

void OutboxExportDialog::Browse() {
  model_.Browse();
  file_->setText(QFile::decodeName(QByteArray::fromStdString(model_.FilePath())));
}

void OutboxExportDialog::FileEdited() {
  // A path longer than the field holds is refused by the model: OK stays
  // disabled rather than writing to a cut path.
  const bool taken = model_.SetFilePath(QFile::encodeName(file_->text()).toStdString());
  ok_->setEnabled(taken && model_.OkEnabled());
}

void OutboxExportDialog::Export() {
  if (!ok_->isEnabled()) return;
  model_.Ok();
  accept();
}

} // namespace ui
