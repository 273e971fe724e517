#include "ContactTree.h"

#include "ControlIds.h"
#include "UiText.h"

#include "contacts/AddressBookTree.h"
#include "contacts/RecentList.h"
#include "store/SmsStore.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

#include <map>
#include <set>

namespace ui {

ContactTree::ContactTree(store::SmsStore *store, contacts::RecentList *recent, QWidget *parent)
    : QTreeWidget(parent), store_(store), recent_(recent) {
  setObjectName(QString::number(ids::kSmsContactTree));
  setAccessibleName("Contacts");
  setHeaderHidden(true);
  setColumnCount(1);
  setIndentation(14);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  for (int id : {1321, 1322, 1323})
    addTopLevelItem(MakeNode(Text(id)));
  connect(this, &QTreeWidget::itemChanged, this, &ContactTree::ItemChanged);
  FillOwnNode();
  FillRecentNode();
  OwnNode()->setExpanded(true);
  RecentNode()->setExpanded(true);
}

QTreeWidgetItem *ContactTree::MakeNode(const QString &text) {
  auto *node = new QTreeWidgetItem(QStringList{text});
  node->setData(0, KindRole, Node);
  node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  QFont bold = font();
  bold.setBold(true);
  node->setFont(0, bold);
  return node;
}

template <class F> void ContactTree::ForEachItem(F visit) const {
  for (QTreeWidgetItemIterator it(const_cast<ContactTree *>(this)); *it; ++it)
    visit(*it);
}

QTreeWidgetItem *ContactTree::ContactItem(QTreeWidgetItem *parent, int cid, const QString &text) {
  auto *item = new QTreeWidgetItem(parent, QStringList{text});
  item->setData(0, KindRole, Contact);
  item->setData(0, IdRole, cid);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(0, Qt::Unchecked);
  contactItems_.insert(cid, item);
  return item;
}

void ContactTree::FillOwnNode() {
  const std::vector<int> keep = CheckedContacts();
  ++updating_;
  contactItems_.clear();
  qDeleteAll(OwnNode()->takeChildren());
  if (store_) {
    std::map<int, QString> texts;
    for (const store::ContactRow &c : store_->Contacts())
      texts[c.CID] = FromAnsi(contacts::RecentList::MakeDisplayText(c.Name, c.Surname, c.Mobile));
    std::set<int> grouped;
    const std::vector<store::GroupRow> groups = store_->Groups();
    // The first group is "All Contacts": its members are shown by their own
    // groups, or directly below the node.
    for (std::size_t g = 1; g < groups.size(); ++g) {
      const std::vector<int> members = store_->GroupMembers(groups[g].GID);
      auto *group = new QTreeWidgetItem(
          OwnNode(),
          QStringList{QString("%1 (%2)").arg(FromAnsi(groups[g].Name)).arg(members.size())});
      group->setData(0, KindRole, Group);
      group->setData(0, IdRole, groups[g].GID);
      group->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                      Qt::ItemIsAutoTristate);
      group->setCheckState(0, Qt::Unchecked);
      for (int cid : members) {
        auto text = texts.find(cid);
        if (text == texts.end()) continue;
        ContactItem(group, cid, text->second);
        grouped.insert(cid);
      }
    }
    for (const auto &[cid, text] : texts)
      if (!grouped.count(cid)) ContactItem(OwnNode(), cid, text);
  }
  --updating_;
  CheckContacts(keep);
}

void ContactTree::FillRecentNode() {
  ++updating_;
  qDeleteAll(RecentNode()->takeChildren());
  if (recent_) {
    for (int i = 0; i < recent_->Count(); ++i) {
      auto *item =
          new QTreeWidgetItem(RecentNode(), QStringList{FromAnsi(recent_->DisplayText(i))});
      item->setData(0, KindRole, Recent);
      item->setData(0, IdRole, i);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      item->setCheckState(0, Qt::Unchecked);
    }
  }
  --updating_;
  emit SelectionChanged();
}

void ContactTree::SetAddressBookFiller(AddressBookFiller filler) {
  filler_ = std::move(filler);
  if (addressBookFilled_) FillAddressBook(false);
}

void ContactTree::FillAddressBook(bool force) {
  ++updating_;
  qDeleteAll(AddressBookNode()->takeChildren());
  addressBookFilled_ = true;
  if (filler_) filler_(*this, force);
  --updating_;
  emit SelectionChanged();
}

QTreeWidgetItem *ContactTree::MakeAddressContainer(const QString &name) {
  auto *item = new QTreeWidgetItem(QStringList{name});
  item->setData(0, KindRole, AddressContainer);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                 Qt::ItemIsAutoTristate);
  item->setCheckState(0, Qt::Unchecked);
  return item;
}

QTreeWidgetItem *ContactTree::MakeAddressEntry(const QString &name, const std::string &number) {
  auto *item = new QTreeWidgetItem(QStringList{QString("%1 (%2)").arg(name, FromAnsi(number))});
  item->setData(0, KindRole, AddressEntryKind);
  item->setData(0, IdRole, name);
  item->setData(0, NumberRole, QByteArray::fromStdString(number));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(0, Qt::Unchecked);
  return item;
}

QTreeWidgetItem *ContactTree::AddAddressBookNode(const QString &name, QTreeWidgetItem *parent) {
  QTreeWidgetItem *item = MakeAddressContainer(name);
  (parent ? parent : AddressBookNode())->addChild(item);
  return item;
}

QTreeWidgetItem *ContactTree::AddAddressBookEntry(const QString &name, const std::string &number,
                                                  QTreeWidgetItem *parent) {
  QTreeWidgetItem *item = MakeAddressEntry(name, number);
  (parent ? parent : AddressBookNode())->addChild(item);
  return item;
}

QTreeWidgetItem *ContactTree::MakeAddressItem(const contacts::AddressBookNode &node) {
  if (node.IsEntry()) return MakeAddressEntry(FromAnsi(node.name), node.mobile);
  // Built before it joins the tree: no signal per member.
  QTreeWidgetItem *item = MakeAddressContainer(FromAnsi(node.name));
  QList<QTreeWidgetItem *> children;
  children.reserve(static_cast<qsizetype>(node.children.size()));
  for (const contacts::AddressBookNode &child : node.children)
    children.push_back(MakeAddressItem(child));
  item->addChildren(children);
  return item;
}

void ContactTree::ShowAddressBook(const contacts::AddressBookNode &root) {
  ++updating_;
  qDeleteAll(AddressBookNode()->takeChildren());
  QList<QTreeWidgetItem *> children;
  for (const contacts::AddressBookNode &child : root.children)
    children.push_back(MakeAddressItem(child));
  AddressBookNode()->addChildren(children);
  AddressBookNode()->setExpanded(true);
  --updating_;
  emit SelectionChanged();
}

std::vector<int> ContactTree::CheckedContacts() const {
  std::vector<int> cids;
  std::set<int> seen;
  ForEachItem([&](QTreeWidgetItem *item) {
    if (item->data(0, KindRole).toInt() != Contact || item->checkState(0) != Qt::Checked) return;
    const int cid = item->data(0, IdRole).toInt();
    if (seen.insert(cid).second) cids.push_back(cid);
  });
  return cids;
}

std::vector<int> ContactTree::CheckedRecent() const {
  std::vector<int> positions;
  for (int i = 0; i < RecentNode()->childCount(); ++i) {
    QTreeWidgetItem *item = RecentNode()->child(i);
    if (item->checkState(0) == Qt::Checked) positions.push_back(item->data(0, IdRole).toInt());
  }
  return positions;
}

std::vector<ContactTree::AddressEntry> ContactTree::CheckedAddressEntries() const {
  std::vector<AddressEntry> entries;
  std::set<std::string> seen;
  ForEachItem([&](QTreeWidgetItem *item) {
    if (item->data(0, KindRole).toInt() != AddressEntryKind || item->checkState(0) != Qt::Checked)
      return;
    std::string number = item->data(0, NumberRole).toByteArray().toStdString();
    if (seen.insert(number).second)
      entries.push_back({ToAnsi(item->data(0, IdRole).toString()), std::move(number)});
  });
  return entries;
}

void ContactTree::SetContactChecked(int cid, Qt::CheckState state) {
  for (auto it = contactItems_.find(cid); it != contactItems_.end() && it.key() == cid; ++it)
    if ((*it)->checkState(0) != state) (*it)->setCheckState(0, state);
}

void ContactTree::SelectionChangedLater() {
  if (changePending_) return;
  changePending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        changePending_ = false;
        emit SelectionChanged();
      },
      Qt::QueuedConnection);
}

void ContactTree::CheckContacts(const std::vector<int> &cids) {
  const std::set<int> wanted(cids.begin(), cids.end());
  ++updating_;
  for (auto it = contactItems_.begin(); it != contactItems_.end(); ++it) {
    const Qt::CheckState state = wanted.count(it.key()) ? Qt::Checked : Qt::Unchecked;
    if ((*it)->checkState(0) != state) (*it)->setCheckState(0, state);
  }
  --updating_;
  emit SelectionChanged();
}

void ContactTree::ClearChecks() {
  ++updating_;
  ForEachItem([](QTreeWidgetItem *item) {
    const int kind = item->data(0, KindRole).toInt();
    if ((kind == Contact || kind == Recent || kind == AddressEntryKind) &&
        item->checkState(0) != Qt::Unchecked)
      item->setCheckState(0, Qt::Unchecked);
  });
  --updating_;
  emit SelectionChanged();
}

void ContactTree::ItemChanged(QTreeWidgetItem *item, int) {
  if (updating_) return;
  if (item->data(0, KindRole).toInt() == Contact) {
    // The same contact under another group follows.
    ++updating_;
    SetContactChecked(item->data(0, IdRole).toInt(), item->checkState(0));
    --updating_;
  }
  SelectionChangedLater();
}

void ContactTree::Rebuild() {
  FillAddressBook(true);
}

void ContactTree::ClearRecent() {
  if (recent_) recent_->Reset();
  FillRecentNode();
  emit RecentCleared();
}

void ContactTree::contextMenuEvent(QContextMenuEvent *event) {
  // A click reaches the tree through its viewport, in the viewport's
  // coordinates; the menu key comes to the tree itself.
  const QPoint at = event->reason() == QContextMenuEvent::Mouse
                        ? event->pos()
                        : viewport()->mapFrom(this, event->pos());
  QTreeWidgetItem *item = itemAt(at);
  while (item && item->parent())
    item = item->parent();
  QMenu menu("Tree", this);
  QAction *rebuild = menu.addAction("Rebuild", this, &ContactTree::Rebuild);
  QAction *clear = menu.addAction("Clear", this, &ContactTree::ClearRecent);
  rebuild->setEnabled(item && item == AddressBookNode());
  clear->setEnabled(item && item == RecentNode());
  menu.exec(event->globalPos());
}

} // namespace ui
