#pragma once
// The Outbox page: every message of the store in one sortable list, with
// "Send Now", "Export CSV", "Help" (the status legend), the status line that
// shows the worker's progress, and the list's context menu: edit, copy,
// delete, send now, select all, resend, refresh the status and, on an
// Expanded message, resend to the destinations that failed.
//
// The list holds only the order of the messages (OutboxTableModel). The
// worker asks for a rebuild from its own thread (RequestRebuild); the
// request travels as a posted event and the model changes on this thread
// alone. Requests that arrive before the page got to the last one are
// folded into one.
//
// Commands act on message IDs taken when they were given (the row under
// the cursor, the selection when the menu opened), so a rebuild while a
// menu or a question is open cannot turn them onto other messages.

#include "PageFrame.h"
#include "SmsPage.h"
#include "UiContext.h"

#include "engine/OutboxRebuilder.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QTableView;

namespace ui {

class OutboxTableModel;

class OutboxPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 632;
  static constexpr int kHeight = 352;
  static constexpr int kRowHeight = 20;

  // The SMS page's entry points the commands open messages with; the main
  // window wires them to its SMS page.
  struct Composer {
    std::function<bool(int)> openForEditing;
    std::function<bool(int)> newMessageFrom;
    std::function<void(const SmsPage::Recipients &)> newMessageTo;
    static Composer Of(SmsPage *page);
  };

  OutboxPage(const UiContext &context, QWidget *parent = nullptr);
  ~OutboxPage() override;

  void SetComposer(Composer composer) { composer_ = std::move(composer); }

  void SetStatusLine(const QString &text);
  QString StatusLine() const;

  // Re-reads the outbox. A full rebuild resets the list (the selection
  // goes, the sort and the scroll position stay); `resortOnly` only
  // re-sorts when the list is sorted by status, and repaints. While the
  // page is hidden only the tab caption follows; showing it rebuilds.
  void Rebuild(bool resortOnly);
  int RebuildCount() const { return rebuilds_; }
  // From any thread: a rebuild on this page's thread, soon.
  void RequestRebuild(bool resortOnly);

  // Every row selected, the list at its top, the anchor on the last row;
  // nothing on an empty list.
  void SelectAll();

  bool HandleCommand(int id) override;
  void Activated() override { Rebuild(false); }

  // ---- Commands
  // The "Send Now" button: every queued message.
  void SendAllNow();
  void ExportCsv();
  void ShowLegend();
  // The context menu for a list position (-1: no row there), its items
  // enabled by the rules and bound to that row and the current selection.
  std::unique_ptr<QMenu> ContextMenu(int position);
  void EditMessage(int id);
  void ResendMessage(int id);
  bool CopyDetails(int id);
  void DeleteMessages(const std::vector<int> &ids);
  void SendNow(const std::vector<int> &ids);
  void RefreshStatus(const std::vector<int> &ids);
  void ResendToUndelivered(int id);

  // IDs of the selected rows, in list order.
  std::vector<int> SelectedIds() const;

  QTableView *List() const { return list_; }
  OutboxTableModel *Model() const { return model_; }
  QPushButton *SendNowButton() const { return sendNow_; }
  QPushButton *ExportButton() const { return export_; }
  QPushButton *HelpButton() const { return help_; }

signals:
  // The outbox's messages may have changed (the tab caption follows).
  void Changed();

protected:
  bool event(QEvent *event) override;

private:
  void ShowContextMenu(const QPoint &at);
  void HeaderClicked(int column);
  void ShowSortIndicator();
  bool Online() const;
  // Logs in when the program works offline. False (after the box with
  // these strings) when that failed; `switched` tells whether this call
  // took the program online.
  bool GoOnlineIfNeeded(int captionId, int textId, bool &switched);
  // Goes online if needed (failing with these strings), then posts.
  void PostOnline(engine::JobKind kind, std::vector<int> ids, int captionId, int textId);
  void PostList(engine::JobKind kind, std::vector<int> ids, bool goOfflineAfter);
  void SelectSmsTab();

  UiContext context_;
  Composer composer_;
  OutboxTableModel *model_;
  QTableView *list_;
  QPushButton *sendNow_;
  QPushButton *export_;
  QPushButton *help_;
  QLabel *status_;
  int rebuilds_ = 0;
  bool stale_ = true;
  bool busy_ = false;
  // 0 none, 1 re-sort, 2 full rebuild (the larger request wins).
  std::atomic<int> pending_{0};
};

// The worker's rebuild request, carried to the Outbox page. The page is
// attached once the main window exists and detached before it goes;
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
