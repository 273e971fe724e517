#pragma once
// The SMS page's contact tree, with three nodes:
//   - "ADDRESS BOOK": the program's own groups (all but "All Contacts"),
//     each with its member count and its contacts ("Name Surname (Mobile)"),
//     then the contacts that belong to none of them;
//   - "MAIL CLIENT": the desktop address book (the mail client's books or
//     the personal vCards), filled by a filler the program sets (empty
//     without one): books, lists with their members, and entries;
//   - "RECENT": the recent recipients, most recent first.
// Every contact and entry has a check box; checking a group checks all its
// members, and a contact shown under several groups is checked everywhere
// at once. The checked entries are the page's selections. The context menu
// ("Tree") offers "Rebuild" on the address-book node and "Clear" on the
// recent node.

#include <QMultiHash>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

namespace contacts {
struct AddressBookNode;
class RecentList;
} // namespace contacts
namespace store {
class SmsStore;
}

namespace ui {

class ContactTree : public QTreeWidget {
  Q_OBJECT
public:
  // An entry of the desktop address book chosen as a recipient.
  struct AddressEntry {
    std::string name;
    std::string number;
  };
  // Fills the "MAIL CLIENT" node (through ShowAddressBook, or
  // AddAddressBookNode and AddAddressBookEntry); `force` asks for a new read
  // of the source.
  using AddressBookFiller = std::function<void(ContactTree &tree, bool force)>;

  ContactTree(store::SmsStore *store, contacts::RecentList *recent, QWidget *parent = nullptr);

  QTreeWidgetItem *OwnNode() const { return topLevelItem(0); }
  QTreeWidgetItem *AddressBookNode() const { return topLevelItem(1); }
  QTreeWidgetItem *RecentNode() const { return topLevelItem(2); }

  // Rebuilds the "ADDRESS BOOK" node from the store (the checks of contacts
  // still present are kept).
  void FillOwnNode();
  // Rebuilds the "RECENT" node from the recent list (nothing checked).
  void FillRecentNode();

  // The address-book hook: the filler runs now (without force) when the
  // node has been filled before, else at the first FillAddressBook.
  void SetAddressBookFiller(AddressBookFiller filler);
  // Removes the node's children and runs the filler.
  void FillAddressBook(bool force);
  bool AddressBookFilled() const { return addressBookFilled_; }
  // A container below `parent` (null: the node itself), and an entry with a
  // check box whose number becomes a recipient.
  QTreeWidgetItem *AddAddressBookNode(const QString &name, QTreeWidgetItem *parent = nullptr);
  QTreeWidgetItem *AddAddressBookEntry(const QString &name, const std::string &number,
                                       QTreeWidgetItem *parent = nullptr);
  // Replaces the node's children with the children of `root`: books and
  // lists (Windows-1252 names) with their members, and entries.
  void ShowAddressBook(const contacts::AddressBookNode &root);

  // ---- Selections (tree order; a contact counts once).
  std::vector<int> CheckedContacts() const;
  std::vector<int> CheckedRecent() const; // positions in the recent list
  // A number checked in several places (a book and a list of it) counts
  // once: it is one destination.
  std::vector<AddressEntry> CheckedAddressEntries() const;

  // Checks these contacts (and nothing else of the own address book).
  void CheckContacts(const std::vector<int> &cids);
  // Unchecks everything.
  void ClearChecks();

  // "Tree" menu actions.
  void Rebuild();
  void ClearRecent();

signals:
  // The checked entries changed: at once after a rebuild or a change made
  // through the members above; once the events of a user's check have been
  // handled (a group checks all its members one by one).
  void SelectionChanged();
  // The recent list was emptied ("Clear").
  void RecentCleared();

protected:
  void contextMenuEvent(QContextMenuEvent *event) override;

private:
  enum Role { KindRole = Qt::UserRole + 1, IdRole, NumberRole };
  enum Kind { Node, Group, Contact, Recent, AddressEntryKind, AddressContainer };

  QTreeWidgetItem *MakeNode(const QString &text);
  static QTreeWidgetItem *MakeAddressContainer(const QString &name);
  static QTreeWidgetItem *MakeAddressEntry(const QString &name, const std::string &number);
  static QTreeWidgetItem *MakeAddressItem(const contacts::AddressBookNode &node);
  QTreeWidgetItem *ContactItem(QTreeWidgetItem *parent, int cid, const QString &text);
  void ItemChanged(QTreeWidgetItem *item, int column);
  void SetContactChecked(int cid, Qt::CheckState state);
  template <class F> void ForEachItem(F visit) const;
  void SelectionChangedLater();

  store::SmsStore *store_;
  contacts::RecentList *recent_;
  AddressBookFiller filler_;
  bool addressBookFilled_ = false;
  int updating_ = 0;
  bool changePending_ = false;
  // The items of each contact of the own address book.
  QMultiHash<int, QTreeWidgetItem *> contactItems_;
};

} // namespace ui
