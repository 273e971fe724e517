#include "DialogParts.h"

#include "ControlIds.h"
#include "ListLook.h"
#include "Theme.h"
#include "UiText.h"

#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace ui::DialogParts {

void Prepare(QDialog &dialog, const QString &title, int minimumWidth) {
  dialog.setWindowTitle(title);
  dialog.setAccessibleName(title);
  dialog.setStyleSheet(theme::StyleSheet() + ListLook::StyleSheet() +
                       "QCheckBox:disabled, QRadioButton:disabled { color: #94A3B8; }");
  dialog.setMinimumWidth(minimumWidth);
}

QPushButton *OkButton(QDialog &dialog, const QString &text) {
  auto *ok = new QPushButton(text, &dialog);
  ok->setObjectName(QString::number(ids::kOk));
  ok->setAccessibleName(text);
  ok->setProperty("role", "primary");
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  return ok;
}

QPushButton *AddOkCancel(QDialog &dialog, QBoxLayout &layout, const QString &okText) {
  QPushButton *ok = OkButton(dialog, okText);
  auto *cancel = new QPushButton("Cancel", &dialog);
  cancel->setObjectName(QString::number(ids::kCancel));
  cancel->setAccessibleName("Cancel");
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  auto *row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(cancel);
  row->addWidget(ok);
  layout.addLayout(row);
  return ok;
}

QLineEdit *Field(int id, const QString &accessibleName, std::size_t maxChars, QWidget *parent) {
  auto *field = new QLineEdit(parent);
  field->setObjectName(QString::number(id));
  field->setAccessibleName(accessibleName);
  field->setMaxLength(static_cast<int>(maxChars));
  return field;
}

std::string FieldText(const QLineEdit &field, std::size_t maxBytes) {
  std::string text = ToAnsi(field.text());
  if (text.size() > maxBytes) text.resize(maxBytes);
  return text;
}

} // namespace ui::DialogParts
