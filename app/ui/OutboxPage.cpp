#include "OutboxPage.h"

#include "ControlIds.h"
#include "Theme.h"

#include <QLabel>
#include <QMetaObject>

namespace ui {

OutboxPage::OutboxPage(const UiContext &context, QWidget *parent)
    : PageFrame(ids::kPageOutbox, "Outbox", QSize(kWidth, kHeight), parent), context_(context) {
  status_ = new QLabel(this);
  status_->setObjectName(QString::number(ids::kOutboxStatus));
  status_->setProperty("role", "muted");
  status_->setFont(theme::UiFont(9));
  QRect content = ContentRect();
  status_->setGeometry(content.left(), content.bottom() - 20, content.width(), 20);
  SetPlaceholder("Every message you send appears here until the gateway reports its final "
                 "status and charge.");
}

void OutboxPage::SetStatusLine(const QString &text) {
  status_->setText(text);
}
QString OutboxPage::StatusLine() const {
  return status_->text();
}

void OutboxPage::Rebuild(bool) {
  ++rebuilds_;
  emit Changed();
}

bool OutboxPage::HandleCommand(int id) {
  return id == ids::kEditSelectAll;
}

void QtOutboxRebuilder::SetPage(OutboxPage *page) {
  std::lock_guard<std::mutex> guard(lock_);
  page_ = page;
}

void QtOutboxRebuilder::Rebuild(bool resortOnly) {
  // Queued to the page's thread under the lock, so the page cannot be
  // detached and destroyed in between; a call still queued when the page
  // goes is dropped with it.
  std::lock_guard<std::mutex> guard(lock_);
  OutboxPage *page = page_;
  if (!page) return;
  QMetaObject::invokeMethod(
      page, [page, resortOnly] { page->Rebuild(resortOnly); }, Qt::QueuedConnection);
}

} // namespace ui
