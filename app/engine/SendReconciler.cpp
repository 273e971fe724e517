#include "SendReconciler.h"

#include "PollingSchedule.h"
#include "QueryReply.h"
#include "SendNotes.h"
#include "SendVerdict.h"
#include "TextFormat.h"

#include <algorithm>
#include <climits>
#include <mutex>

namespace engine {

int SendReconciler::Run() {
  store::SmsStore &store = *services_.store;
  GatewayApi &gateway = *services_.gateway;
  int settled = 0;
  for (store::SendRecord record : store.UnknownOutcomes()) {
    if (out_.ExitRequested()) break;
    std::optional<store::MessageRow> row = store.FindMessage(record.ID);
    if (!row) {
      store.DeleteSendRecord(record.ID);
      continue;
    }
    if (row->Stat == store::StatProcessing) continue;
    if (record.CliMsgID.empty()) {
      // Nothing to ask by: the note stays, the mark goes.
      record.OutcomeUnknown = false;
      store.PutSendRecord(record);
      continue;
    }

    SendAnswer answer;
    {
      std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
      answer.status = gateway.QueryMsgCLIID(record.CliMsgID.c_str(), &answer.reply);
      answer.error = gateway.LastError();
      if (FAILED(answer.status) && answer.error == 0) answer.error = -1;
    }
    const std::string apiMsgId = QueryReply::ApiMsgId(answer.reply);
    if (Judge(answer, "ID:") == SendVerdict::Accepted && !apiMsgId.empty()) {
      const std::int64_t now = services_.clock->Now();
      std::lock_guard table(store.MessageLock());
      std::optional<store::MessageRow> current = store.FindMessage(record.ID);
      if (current) {
        store::MessageUpdate update;
        update.ApiMsgID = ",ID: " + apiMsgId;
        update.Stat = (current->Delay > 0 && current->Time > now) ? store::StatScheduledOnServer
                                                                  : store::StatUnknown;
        // Due at once: the status pass fetches its status and charge.
        update.QueryTime = PollingSchedule::kFirstInterval;
        update.StatQryTm = static_cast<int>(std::clamp<std::int64_t>(now, 0, INT_MAX));
        store.UpdateFields(record.ID, update);
      }
      record.OutcomeUnknown = false;
      record.Note.clear();
      store.PutSendRecord(record);
      out_.Log(Format("SMS outcome found: SMS_ID (%d) cliMsgId:%s API_ID:%s", record.ID,
                      record.CliMsgID.c_str(), apiMsgId.c_str()));
    } else if (answer.error == kErrorUnknownCliMsgId) {
      record.OutcomeUnknown = false;
      record.Note = SendNotes::kNeverReached;
      store.PutSendRecord(record);
      out_.Log(Format("SMS never reached the gateway: SMS_ID (%d) cliMsgId:%s", record.ID,
                      record.CliMsgID.c_str()));
    } else {
      out_.Log(Format("SMS outcome still unknown: SMS_ID (%d) cliMsgId:%s Error:%s", record.ID,
                      record.CliMsgID.c_str(), answer.reply.c_str()));
      break; // the gateway does not answer now: ask again on a later pass
    }
    ++settled;
    store.Commit();
  }
  return settled;
}

} // namespace engine
