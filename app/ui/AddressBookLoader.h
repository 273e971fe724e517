#pragma once
// Reads the external address book (the mail client's books or the personal
// vCards) on a background thread and hands the finished AddressBookTree to
// the user interface's thread. The window never waits for a read.
//
// How the SMS page fills its second contact-tree node with it:
//   1. remove the node's children;
//   2. call Fill(rebuild) — rebuild is true for the "Tree" menu's "Rebuild"
//      and false whenever the node is filled otherwise; the loader itself
//      forces a read when MAPI_AddressBook chose another route than the last
//      read's, and reads nothing when the tree is already read;
//   3. on TreeReady(tree), add tree->Root().children below the node:
//      containers, lists (Kind::List) with their members, and entries, each
//      with its Windows-1252 name; an entry's `mobile` is its number token
//      of the To text. TreeReady answers the latest Fill, always later
//      (never from inside Fill); a read that a newer Fill replaced is
//      cancelled and never reported, and a Fill while the same read runs
//      just waits for it.
// A failed read shows its message (strings 1504 with 1505 or 1506, or 1336
// with 1337) before TreeReady brings the empty tree.

#include "contacts/AddressBookReader.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <stop_token>
#include <thread>

namespace shell {
struct Settings;
}

namespace ui {

class AddressBookLoader : public QObject {
  Q_OBJECT
public:
  using ReadFunction =
      std::function<contacts::ReadResult(const contacts::ReadPlan &, std::stop_token)>;

  AddressBookLoader(contacts::AddressBookReader reader, const shell::Settings *settings,
                    QObject *parent = nullptr);
  // Cancels a running read and waits for it to end.
  ~AddressBookLoader() override;

  // Messages are shown over this window.
  void SetOwner(QWidget *owner) { owner_ = owner; }
  // Tests read through their own function.
  void SetReadFunction(ReadFunction read) { read_ = std::move(read); }

  void Fill(bool force);
  bool IsReading() const { return reading_; }

  std::shared_ptr<const contacts::AddressBookTree> Tree() const { return reader_.Tree(); }
  const contacts::AddressBookAccess &Access() const { return reader_.Access(); }

signals:
  void TreeReady(std::shared_ptr<const contacts::AddressBookTree> tree);

private:
  void Start(contacts::AddressBookRoute route);
  void CancelRunning();
  void Finished(unsigned generation, const contacts::ReadResult &result);
  void PostTree();

  contacts::AddressBookReader reader_;
  const shell::Settings *settings_;
  QPointer<QWidget> owner_;
  ReadFunction read_;
  unsigned generation_ = 0;
  bool reading_ = false;
  contacts::AddressBookRoute readingRoute_ = contacts::AddressBookRoute::VCards;
  std::map<unsigned, std::jthread> threads_;
};

} // namespace ui
