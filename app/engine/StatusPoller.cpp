#include "StatusPoller.h"

#include "ChargeReply.h"
#include "GuardedPass.h"
#include "PollingSchedule.h"
#include "TextFormat.h"
#include "WindowMessages.h"

#include <algorithm>
#include <climits>
#include <mutex>

namespace engine {

namespace {

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

} // namespace

StatusPoller::StatusPoller(const EngineServices &services, WorkerState &state)
    : services_(services), state_(state), out_(services, state) {}

void StatusPoller::QueryMessageStatus(int id) {
  out_.PostProgress(UM_PROGRESS_QUERYING);
  if (!IsWorkingOnLine(*services_.settings)) return;
  if (GuardedPass::Run([&] { QueryPass(id); }, services_.log)) {
    out_.Log("CRITICAL ERROR: Catch in QueryMessageStatus.");
    out_.Rebuild(false);
  }
}

void StatusPoller::QueryPass(int id) {
  store::SmsStore &store = *services_.store;
  std::lock_guard<TrackedRecursiveMutex> dispatch(state_.dispatchLock);

  for (int status : PollingSchedule::kPolledStatuses) {
    if (out_.ExitRequested()) break;
    const std::int64_t now = services_.clock->Now();
    store::MessageSelection due;
    due.QueryTime = store::IntRange{1, INT_MAX};
    due.Stat = store::IntRange{status, status};
    if (id != -1)
      due.ID = id;
    else
      due.StatQryTm = store::IntRange{0, ClampToInt(now)};
    std::vector<int> ids;
    {
      std::lock_guard table(store.MessageLock());
      ids = store.SelectIds(due);
    }

    int count = 0;
    for (int j = static_cast<int>(ids.size()) - 1; j >= 0 && !out_.ExitRequested(); --j) {
      std::optional<store::MessageRow> row;
      {
        std::lock_guard table(store.MessageLock());
        row = store.FindMessage(ids[j]);
      }
      if (!row) continue;
      const int next = PollingSchedule::NextInterval(row->QueryTime);
      state_.toGo.store(j + 1);
      out_.PostProgress(UM_PROGRESS_COUNT, static_cast<std::uintptr_t>(j + 1), 0);
      count += QueryMessage(*row);

      if (id == -1) {
        std::lock_guard table(store.MessageLock());
        if (store.FindMessage(row->ID)) {
          store::MessageUpdate update;
          update.QueryTime = next;
          update.StatQryTm = ClampToInt(services_.clock->Now() + next);
          store.UpdateFields(row->ID, update);
        }
      }
    }
    if (count > 0 && !out_.ExitRequested()) out_.Rebuild(false);
  }
  store.Commit();
}

int StatusPoller::QueryMessage(const store::MessageRow &row) {
  store::SmsStore &store = *services_.store;
  GatewayApi &gateway = *services_.gateway;
  ApiMsgIdParser::Parse(row.ApiMsgID, entries_);

  int read = 0;
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    const ApiIdEntry &entry = entries_[k];
    const std::string apiId(entry.ApiMsgId());
    std::string reply;
    std::int32_t e;
    {
      std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
      HRESULT hr = gateway.GetMsgCharge(true, apiId.c_str(), &reply);
      e = gateway.LastError();
      if (FAILED(hr) && e == 0) e = -1;
    }
    if (e != 0) continue;

    ChargeReply parsed = ChargeReply::Parse(reply);
    if (parsed.hasStatus) ++read;

    int target = row.ID;
    if (k > 0) {
      // A row that still carries several gateway ids is split: this id moves
      // to a copy of the row, which becomes its target.
      target = store.CopySms(row.ID, false, 0);
      if (target == -1) continue;
      std::lock_guard table(store.MessageLock());
      std::optional<store::MessageRow> current = store.FindMessage(row.ID);
      if (current) {
        store::MessageUpdate shrink;
        shrink.ApiMsgID = ApiMsgIdParser::Remove(current->ApiMsgID, entry.text);
        store.UpdateFields(row.ID, shrink);
      }
      // The copy keeps the gateway id it stands for and the row's polling
      // state, so it can still be followed and withdrawn.
      store::MessageUpdate carry;
      carry.ApiMsgID = entry.text;
      carry.QueryTime = row.QueryTime;
      carry.StatQryTm = row.StatQryTm;
      store.UpdateFields(target, carry);
    }

    std::lock_guard table(store.MessageLock());
    if (store.FindMessage(target)) {
      store::MessageUpdate update;
      if (std::optional<int> mapped = PollingSchedule::MapGatewayStatus(parsed.status);
          mapped && parsed.hasStatus)
        update.Stat = *mapped;
      update.Charge = parsed.charge;
      store.UpdateFields(target, update);
    }
  }
  return read;
}

bool StatusPoller::DeleteSMSFromServer(int id) {
  out_.PostProgress(UM_PROGRESS_SENDING);
  if (!IsWorkingOnLine(*services_.settings)) return true;
  bool result = false;
  if (!GuardedPass::Run([&] { result = DeletePass(id); }, services_.log)) return result;
  out_.Log("CRITICAL ERROR: Catch in DeleteSMSFromServer.");
  out_.Rebuild(false);
  return false;
}

bool StatusPoller::DeletePass(int id) {
  store::SmsStore &store = *services_.store;
  GatewayApi &gateway = *services_.gateway;
  std::lock_guard<TrackedRecursiveMutex> dispatch(state_.dispatchLock);
  bool result = true;
  {
    std::lock_guard table(store.MessageLock());
    std::optional<store::MessageRow> row = store.FindMessage(id);
    ApiMsgIdParser::Parse(row ? row->ApiMsgID : std::string(), entries_);
  }
  int deleted = 0;
  for (const ApiIdEntry &entry : entries_) {
    const std::string apiId(entry.ApiMsgId());
    std::string reply;
    std::int32_t e;
    {
      std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
      HRESULT hr = gateway.StopMsgAPIID(apiId.c_str(), &reply);
      e = gateway.LastError();
      if (FAILED(hr) && e == 0) e = -1;
    }
    if (e == 0) {
      {
        std::lock_guard table(store.MessageLock());
        store.DeleteSms(id);
      }
      out_.Log(Format("SMS delete from server ok: API_ID:%s", reply.c_str()));
      ++deleted;
    } else {
      result = false;
    }
  }
  if (deleted > 0 && !out_.ExitRequested()) out_.Rebuild(false);
  store.Commit();
  return result;
}

} // namespace engine
