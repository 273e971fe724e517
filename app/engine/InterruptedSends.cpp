#include "InterruptedSends.h"

#include "ClientMessageId.h"
#include "DestinationResolver.h"
#include "SendNotes.h"
#include "TextFormat.h"

#include <algorithm>
#include <mutex>

namespace engine {

int InterruptedSends::Run() {
  store::SmsStore &store = *services_.store;
  int repaired = 0;
  for (const store::SendRecord &record : store.OpenExpansions()) {
    RecoverExpansion(record);
    ++repaired;
  }
  store::MessageSelection processing;
  processing.Stat = store::IntRange{store::StatProcessing, store::StatProcessing};
  std::lock_guard table(store.MessageLock());
  for (int id : store.SelectIds(processing)) {
    store.SetSmsStatus(id, store::StatFailed);
    ++repaired;
  }
  if (repaired > 0) store.Commit();
  return repaired;
}

void InterruptedSends::RecoverExpansion(store::SendRecord record) {
  store::SmsStore &store = *services_.store;
  std::optional<store::MessageRow> row = store.FindMessage(record.ID);
  if (!row) {
    store.DeleteSendRecord(record.ID);
    return;
  }
  // The destinations in the order the pass walked them.
  DestinationList destinations;
  DestinationResolver::Resolve(row->To, services_.settings->prefix, *services_.contacts,
                               destinations);
  const int total = static_cast<int>(destinations.size());
  const int done = std::clamp(record.ExpandDone, 0, total);
  const int inFlight = std::clamp(record.ExpandInFlight, 0, total - done);

  std::vector<store::ExpandedChild> children;
  for (int k = done; k < total; ++k) {
    store::ExpandedChild child;
    child.To = std::string(destinations[static_cast<std::size_t>(k)].ToToken());
    if (row->Delay > 0) child.Time = row->Time;
    if (k < done + inFlight) {
      child.Stat = store::StatFailed;
      if (record.ExpandBatch || record.CliMsgID.empty()) {
        child.Note = SendNotes::kBatchInterrupted;
      } else {
        child.CliMsgID = ClientMessageId::ForDestination(record.CliMsgID, k + 1);
        child.OutcomeUnknown = true;
        child.Note = SendNotes::kInFlight;
      }
    } else {
      child.Stat = store::StatPending;
    }
    children.push_back(std::move(child));
  }
  std::vector<int> ids = store.ExpandSmsMany(row->ID, children);
  for (std::size_t i = 0; i < ids.size() && static_cast<int>(i) < inFlight; ++i) {
    out_.Log(
        Format("SMS outcome unknown after interruption: SMS_ID (%d) Mobile:%s", ids[i],
               std::string(destinations[static_cast<std::size_t>(done) + i].Number()).c_str()));
  }
  std::lock_guard table(store.MessageLock());
  store.SetSmsStatus(row->ID, store::StatExpanded);
  store.DeleteSendRecord(row->ID);
}

} // namespace engine
