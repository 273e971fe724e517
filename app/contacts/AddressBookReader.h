#pragma once
// The read of the external address book into the AddressBookTree.
//
// `MAPI_AddressBook` chooses the route: on, the chosen mail client's books
// (Evolution Data Server or Thunderbird, profile `Outlook_Name`); off, the
// personal vCards. A read without force does nothing once the tree was read
// in this run, unless the route differs from the one of the last read.
//
// The read runs in three steps so that its slow part can leave the user
// interface's thread: Plan (on that thread: settings and registry), Run (any
// thread, with a stop token) and Accept (back on that thread).

#include "contacts/AddressBookAccess.h"
#include "contacts/AddressBookSource.h"
#include "contacts/MailClientRegistry.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace contacts {

enum class AddressBookRoute { MailClient, VCards };

struct ReadPlan {
  AddressBookRoute route = AddressBookRoute::VCards;
  // Mail-client route: the client to read (none: mail access unavailable,
  // the tree stays empty and nothing is shown).
  std::optional<MailClient> client;
  std::string profileName;
  // Thunderbird: the folders holding profiles.ini, the client's first.
  std::vector<std::filesystem::path> profileRoots;
  // vCard route: the places to read.
  std::vector<std::filesystem::path> vcardLocations;
};

struct ReadResult {
  AddressBookRoute route = AddressBookRoute::VCards;
  ReadOutcome outcome = ReadOutcome::Failed;
  std::shared_ptr<AddressBookTree> tree;
};

// A message box: caption and text string ids, error icon.
struct ReadFailureMessage {
  int captionId;
  int textId;
};

class AddressBookReader {
public:
  static constexpr int kCannotAccessCaptionId = 1504;
  static constexpr int kMailClientFailedTextId = 1505;
  static constexpr int kVCardsFailedTextId = 1506;
  static constexpr int kQueryFailedCaptionId = 1336;
  static constexpr int kQueryFailedTextId = 1337;

  explicit AddressBookReader(AddressBookAccess access,
                             MailClientRegistry registry = MailClientRegistry());

  static AddressBookRoute RouteOf(bool mapiAddressBook) {
    return mapiAddressBook ? AddressBookRoute::MailClient : AddressBookRoute::VCards;
  }

  // Whether a fill must read: forced, never read, or the route changed.
  bool NeedsRead(AddressBookRoute route, bool force) const;
  ReadPlan Plan(AddressBookRoute route, const std::string &profileName) const;

  // Reads into a new tree. Never throws: an unexpected error is Failed.
  static ReadResult Run(const ReadPlan &plan, std::stop_token stop);
  static std::unique_ptr<AddressBookSource> MakeSource(const ReadPlan &plan);

  // Keeps a finished read: a successful one becomes the tree; a failed one
  // leaves the tree empty; a cancelled one changes nothing.
  void Accept(const ReadResult &result);

  std::shared_ptr<const AddressBookTree> Tree() const { return tree_; }
  const AddressBookAccess &Access() const { return access_; }

  static std::optional<ReadFailureMessage> FailureMessage(const ReadResult &result);

private:
  AddressBookAccess access_;
  MailClientRegistry registry_;
  std::shared_ptr<AddressBookTree> tree_;
  std::optional<AddressBookRoute> lastRoute_;
};

} // namespace contacts
