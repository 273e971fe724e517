#include "ExpandedChildren.h"

#include "store/DestinationList.h"
#include "store/SmsStore.h"

#include <mutex>
#include <set>
#include <string>
#include <unordered_set>

namespace ui {

bool ExpandedChildren::IsFailure(int status) {
  return status == store::StatFailed ||
         (status >= store::StatErrorWithMessage && status <= store::StatExpired);
}

std::vector<store::MessageRow> ExpandedChildren::Of(store::SmsStore &store, int parentId) {
  std::vector<store::MessageRow> family;
  {
    std::lock_guard table(store.MessageLock());
    std::optional<store::MessageRow> parent = store.FindMessage(parentId);
    if (!parent || parent->Stat != store::StatExpanded) return {};
    store::MessageSelection same;
    same.RefID = store::IntRange{parent->RefID, parent->RefID};
    family = store.SelectRows(same);
  }

  std::unordered_set<int> claimed;
  for (const store::MessageRow &expanded : family) {
    if (expanded.Stat != store::StatExpanded) continue;
    std::multiset<std::string> wanted;
    for (std::string_view token : store::DestinationList::Split(expanded.To))
      wanted.emplace(token.substr(0, kTokenMax));
    std::vector<store::MessageRow> children;
    for (const store::MessageRow &row : family) {
      if (wanted.empty()) break;
      if (row.ID <= expanded.ID || row.Stat == store::StatExpanded || claimed.count(row.ID) ||
          row.Type != expanded.Type || row.Msg != expanded.Msg)
        continue;
      auto token = wanted.find(row.To);
      if (token == wanted.end()) continue;
      wanted.erase(token);
      claimed.insert(row.ID);
      if (expanded.ID == parentId) children.push_back(row);
    }
    if (expanded.ID == parentId) return children;
  }
  return {};
}

} // namespace ui
