#include "MessageDialog.h"
#include "DialogParts.h"

#include "MessageBoxes.h"
#include "Theme.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

namespace ui {

MessageDialog::MessageDialog(QWidget *owner, const QString &caption, const QString &text,
                             const QString &address, bool withDontShowAgain, unsigned icon)
    : QDialog(owner), address_(address) {
  setWindowTitle(caption);
  setStyleSheet(theme::StyleSheet());
  setMinimumWidth(420);

  auto *iconLabel = new QLabel(this);
  const bool error = (icon & 0xF0) == engine::kBoxIconError;
  iconLabel->setPixmap(
      style()
          ->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxInformation)
          .pixmap(40, 40));
  iconLabel->setAlignment(Qt::AlignTop);

  auto *message = new QLabel(QString(text).replace("\r\n", "\n"), this);
  message->setObjectName("text");
  message->setTextFormat(Qt::PlainText);
  message->setWordWrap(true);
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto *link = new QLabel(this);
  link->setObjectName("address");
  link->setTextFormat(Qt::RichText);
  link->setText(
      QString("<a href=\"#\" style=\"color:#2563EB\">%1</a>").arg(address.toHtmlEscaped()));
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  link->setCursor(Qt::PointingHandCursor);
  link->setVisible(!address.isEmpty());
  connect(link, &QLabel::linkActivated, this, [this] { OpenAddress(); });

  auto *textColumn = new QVBoxLayout;
  textColumn->addWidget(message);
  textColumn->addSpacing(6);
  textColumn->addWidget(link);
  auto *top = new QHBoxLayout;
  top->addWidget(iconLabel);
  top->addSpacing(10);
  top->addLayout(textColumn, 1);

  QPushButton *ok = DialogParts::OkButton(*this);
  auto *buttons = new QHBoxLayout;
  if (withDontShowAgain) {
    dontShow_ = new QCheckBox("Don't show again", this);
    buttons->addWidget(dontShow_);
  }
  buttons->addStretch(1);
  buttons->addWidget(ok);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addLayout(top);
  layout->addSpacing(14);
  layout->addLayout(buttons);
}

bool MessageDialog::DontShowAgain() const {
  return dontShow_ && dontShow_->isChecked();
}

void MessageDialog::OpenAddress() {
  if (address_.isEmpty()) return;
  QDesktopServices::openUrl(QUrl::fromUserInput(address_));
  emit AddressOpened(address_);
}

void MessageDialog::Show(QWidget *owner, const QString &caption, const QString &text,
                         const QString &address, bool *dontShowAgain, unsigned icon) {
  if (MessageBoxes::Intercept({caption, text, address, icon})) return;
  MessageDialog dialog(owner, caption, text, address, dontShowAgain != nullptr, icon);
  dialog.exec();
  if (dontShowAgain) *dontShowAgain = dialog.DontShowAgain();
}

} // namespace ui
