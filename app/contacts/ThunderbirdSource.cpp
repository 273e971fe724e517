#include "contacts/ThunderbirdSource.h"

#include "contacts/ContainerBuilder.h"
#include "contacts/FileText.h"
#include "contacts/ForeignDatabase.h"
#include "contacts/MobileNumber.h"
#include "contacts/ThunderbirdPrefs.h"
#include "contacts/ThunderbirdProfiles.h"
#include "contacts/VCardReader.h"

#include "store/SqliteStatement.h"

#include <map>
#include <unordered_map>

namespace contacts {

namespace fs = std::filesystem;

namespace {

struct StoredCard {
  std::map<std::string, std::string> properties;
};

VCardCard MakeCard(const std::string &uid, const std::map<std::string, std::string> &props) {
  auto prop = [&](const char *name) {
    auto it = props.find(name);
    return it == props.end() ? std::string() : it->second;
  };
  VCardCard card;
  std::string vcard = prop("_vCard");
  if (!vcard.empty()) {
    auto parsed = VCardReader::Read(vcard);
    if (!parsed.empty()) card = std::move(parsed.front());
  }
  card.uid = uid;
  card.isList = false;
  card.memberUids.clear();
  card.memberNumbers.clear();

  std::string display = prop("DisplayName");
  if (!display.empty()) card.name = display;
  if (card.name.empty()) {
    std::string first = prop("FirstName"), last = prop("LastName");
    card.name = first.empty() || last.empty() ? first + last : first + " " + last;
  }
  if (card.name.empty()) card.name = prop("PrimaryEmail");

  if (card.mobiles.empty())
    if (auto number = MobileNumber::Dialable(prop("CellularNumber")))
      card.mobiles.push_back(*number);
  if (card.mobiles.empty() && card.telephoneCount == 1 && card.untypedNumbers.size() == 1)
    card.mobiles = card.untypedNumbers;
  return card;
}

} // namespace

AddressBookNode ThunderbirdSource::ReadBook(const fs::path &file, const std::string &name,
                                            bool *ok) {
  AddressBookNode container = ContainerBuilder(name).Build();
  auto read = [&](sqlite3 *db) {
    ContainerBuilder builder(name);
    std::vector<std::string> order;
    std::unordered_map<std::string, std::map<std::string, std::string>> cards;
    store::SqliteStatement properties(db, "SELECT card, name, value FROM properties ORDER BY rowid");
    if (!properties.Valid()) return false;
    while (properties.Next()) {
      auto [it, added] = cards.try_emplace(properties.Text(0));
      if (added) order.push_back(it->first);
      it->second.emplace(properties.Text(1), properties.Text(2));
    }
    if (!properties.Ok()) return false;
    for (const std::string &uid : order)
      builder.Add(MakeCard(uid, cards[uid]));

    // Books from before mailing lists had tables of their own lack them.
    store::SqliteStatement lists(db, "SELECT uid, name FROM lists ORDER BY rowid");
    store::SqliteStatement members(db, "SELECT list, card FROM list_cards ORDER BY rowid");
    if (lists.Valid() && members.Valid()) {
      std::unordered_map<std::string, std::vector<std::string>> cardsOfList;
      while (members.Next())
        cardsOfList[members.Text(0)].push_back(members.Text(1));
      while (lists.Next())
        builder.AddList(lists.Text(1), std::move(cardsOfList[lists.Text(0)]));
      if (!members.Ok() || !lists.Ok()) return false;
    }
    container = builder.Build();
    return true;
  };
  bool done = ForeignDatabase::Read(file, read);
  if (ok) *ok = done;
  return container;
}

ReadOutcome ThunderbirdSource::Read(AddressBookNode &root, std::stop_token stop) {
  auto profile = ThunderbirdProfiles::Find(roots_, profileName_);
  if (!profile) return ReadOutcome::OpenFailed;
  std::string prefs = ReadFileText(profile->folder / "prefs.js", kMaxSettingsFileBytes).value_or("");
  for (const ThunderbirdBook &book : ThunderbirdPrefs::Books(prefs)) {
    if (stop.stop_requested()) return ReadOutcome::Cancelled;
    fs::path file = profile->folder / book.fileName;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) continue;
    root.Add(ReadBook(file, book.name));
  }
  return ReadOutcome::Read;
}

} // namespace contacts
