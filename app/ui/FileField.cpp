#include "FileField.h"

#include "addresses/AddressesIds.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

FileField::FileField(std::function<std::string()> browse, QWidget *parent) : QWidget(parent) {
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QString::number(ids::kCsvFile));
  edit_->setAccessibleName("File");
  browse_ = new QPushButton("Browse >>", this);
  browse_->setObjectName(QString::number(ids::kCsvBrowse));
  browse_->setAccessibleName("Browse");
  auto *row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(edit_, 1);
  row->addWidget(browse_);
  connect(edit_, &QLineEdit::textChanged, this, &FileField::PathChanged);
  connect(browse_, &QPushButton::clicked, this, [this, browse = std::move(browse)] {
    const std::string chosen = browse();
    if (!chosen.empty()) SetPath(chosen);
  });
}

std::string FileField::Path() const {
  const QByteArray bytes = QFile::encodeName(edit_->text());
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void FileField::SetPath(const std::string &path) {
  edit_->setText(QFile::decodeName(QByteArray::fromStdString(path)));
}

} // namespace ui
