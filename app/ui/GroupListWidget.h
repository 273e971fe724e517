#pragma once
// The group list of the Addresses page: one row per group ("%s (%d)"),
// several rows selectable. It asks for its context menu with the row under
// the cursor (-1 for none) and takes drops of contacts dragged out of the
// member list: plain text beginning with "CID:", dropped on a row, with the
// copy or the move effect (the desktop's convention: Ctrl copies, Shift
// moves, a plain drag moves).

#include <QListWidget>

#include <functional>

namespace ui {

class GroupListWidget : public QListWidget {
  Q_OBJECT
public:
  explicit GroupListWidget(QWidget *parent = nullptr);

  // Rows of the selected groups, ascending.
  QList<int> SelectedRows() const;

  // Takes a contact payload dropped on a row (copy: the copy effect, else
  // move); false when it did nothing with it, and the drop is refused.
  using DropHandler = std::function<bool(const QString &payload, int row, bool copy)>;
  void SetDropHandler(DropHandler handler) { drop_ = std::move(handler); }

signals:
  void MenuRequested(int row, QPoint globalPos);

protected:
  void contextMenuEvent(QContextMenuEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dragMoveEvent(QDragMoveEvent *event) override;
  void dropEvent(QDropEvent *event) override;

private:
  // The row a drop at `pos` would go to, or -1 when the payload is refused.
  int DropRow(const QMimeData *data, QPoint pos) const;

  DropHandler drop_;
};

} // namespace ui
