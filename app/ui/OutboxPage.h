#pragma once
// The Outbox page: the status line that shows the worker's progress, and
// the rebuild the worker asks for after it changed messages. The message
// list joins it later.

#include "PageFrame.h"
#include "UiContext.h"

#include "engine/OutboxRebuilder.h"

#include <mutex>

class QLabel;

namespace ui {

class OutboxPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 632;
  static constexpr int kHeight = 352;

  OutboxPage(const UiContext &context, QWidget *parent = nullptr);

  void SetStatusLine(const QString &text);
  QString StatusLine() const;

  // Re-reads the outbox (on the user-interface thread).
  void Rebuild(bool resortOnly);
  int RebuildCount() const { return rebuilds_; }

  bool HandleCommand(int id) override;
  void Activated() override { Rebuild(false); }

signals:
  // The outbox's messages may have changed (the tab caption follows).
  void Changed();

private:
  UiContext context_;
  QLabel *status_;
  int rebuilds_ = 0;
};

// The worker's rebuild request, carried to the Outbox page's thread. The
// page is attached once the main window exists and detached before it goes;
// requests without a page are dropped.
class QtOutboxRebuilder final : public engine::OutboxRebuilder {
public:
  void SetPage(OutboxPage *page);
  void Rebuild(bool resortOnly) override;

private:
  std::mutex lock_;
  OutboxPage *page_ = nullptr;
};

} // namespace ui
