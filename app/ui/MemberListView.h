#pragma once
// The member list of the Addresses page: Name, Surname and Mobile No.,
// several rows selectable, a click on a column header to sort. It asks for
// its context menu with the row under the cursor (-1 for none), and drags
// the contact under the cursor out as plain text (the payload its owner
// gives), offering the copy and the move effect with move as the default.

#include <QTreeView>

#include <functional>

namespace ui {

class MemberListView : public QTreeView {
  Q_OBJECT
public:
  explicit MemberListView(QWidget *parent = nullptr);

  // The drag payload of a row.
  void SetPayload(std::function<QString(int row)> payload) { payload_ = std::move(payload); }
  // Rows of the selected members, ascending.
  QList<int> SelectedRows() const;
  // Selects one row (only) and shows it.
  void SelectOnly(int row);

signals:
  void MenuRequested(int row, QPoint globalPos);
  void HeaderClicked(int column);

protected:
  void contextMenuEvent(QContextMenuEvent *event) override;
  void startDrag(Qt::DropActions supportedActions) override;

private:
  std::function<QString(int)> payload_;
};

} // namespace ui
