#include "OutboxDispatcher.h"

#include "BatchReplyParser.h"
#include "DestinationResolver.h"
#include "LoginOperation.h"
#include "PollingSchedule.h"
#include "TextFormat.h"
#include "WindowMessages.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <vector>

namespace engine {

namespace {

constexpr int kStatPending = 0;
constexpr int kStatFailed = 2;
constexpr int kStatScheduledOnServer = 7;
constexpr int kStatProcessing = 10;
constexpr int kStatUnknown = 11;
constexpr int kStatExpanded = 12;

// A local failure of the invocation itself (no gateway error code).
constexpr std::int32_t kInvocationFailed = -1;

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

MergeTags TagsFrom(const shell::StringTable *strings) {
  MergeTags tags;
  if (strings != nullptr) {
    tags.firstName = strings->Get(MergeTags::kFirstNameId);
    tags.surname = strings->Get(MergeTags::kSurnameId);
    tags.title = strings->Get(MergeTags::kTitleId);
    tags.custom = strings->Get(MergeTags::kCustomId);
  }
  return tags;
}

} // namespace

OutboxDispatcher::OutboxDispatcher(const EngineServices &services, WorkerState &state)
    : services_(services), state_(state), out_(services, state) {}

int OutboxDispatcher::GatewayType(int type) {
  switch (type) {
  case 0:
    return 0; // text
  case 1:
    return 1; // flash
  case 2:
    return 0; // Unicode: text with smsUNICODE
  case 3:
    return 6; // Nokia ringtone
  case 4:
    return 5; // Nokia picture message
  case 5:
    return 3; // Nokia operator logo
  case 6:
    return 8; // Nokia business card
  case 7:
    return 9; // Nokia calendar entry
  default:
    return 0; // binary and unknown types
  }
}

int OutboxDispatcher::RequiredFeatures(int flags, const std::string &senderId) {
  if ((flags & 1) == 0) return 0;
  bool digits = !senderId.empty() && std::all_of(senderId.begin(), senderId.end(),
                                                 [](char c) { return c >= '0' && c <= '9'; });
  return digits ? 32 : 16;
}

std::int32_t OutboxDispatcher::ErrorAfter(HRESULT status) {
  std::int32_t e = services_.gateway->LastError();
  if (FAILED(status) && e == 0) e = kInvocationFailed;
  return e;
}

void OutboxDispatcher::ReportCommunicationFailure() {
  // Once per pass: a pass over many destinations must not stack up a box per
  // destination while the network is down.
  if (commFailureShown_ || services_.prompt == nullptr) return;
  commFailureShown_ = true;
  const shell::StringTable &strings =
      services_.strings != nullptr ? *services_.strings : shell::StringTable::BuiltIn();
  services_.prompt->Ask(strings.Get(LoginOperation::kCommFailedTextId),
                        strings.Get(LoginOperation::kCommFailedCaptionId), kBoxOk | kBoxIconError);
}

void OutboxDispatcher::SendQueuedSMSs(int id) {
  store::SmsStore &store = *services_.store;
  std::lock_guard<TrackedRecursiveMutex> dispatch(state_.dispatchLock);
  if (FaultHook hook = faultHook_.load()) hook();
  commFailureShown_ = false;

  std::vector<int> ids;
  {
    std::lock_guard<std::recursive_mutex> table(store.MessageLock());
    store::MessageSelection pending;
    pending.Stat = store::IntRange{kStatPending, kStatPending};
    if (id != -1) pending.ID = id;
    ids = store.SelectIds(pending);
  }

  int counter = 0;
  for (int i = static_cast<int>(ids.size()) - 1; i >= 0; --i) {
    if (out_.ExitRequested()) break;

    // The user-interface thread may have deleted or opened the message since
    // the selection: only a message that is still Pending is sent.
    std::optional<store::MessageRow> row;
    {
      std::lock_guard<std::recursive_mutex> table(store.MessageLock());
      row = store.FindMessage(ids[i]);
      if (!row || row->Stat != kStatPending) continue;
      store.SetSmsStatus(row->ID, kStatProcessing);
    }
    if (!out_.ExitRequested()) out_.Rebuild(true);

    const std::int64_t now = services_.clock->Now();
    MessageToSend message;
    message.type = row->Type;
    message.text = row->Msg;
    message.to = row->To;
    message.senderId = row->SenderID;
    message.flags = row->Flags;
    message.deferral = row->Delay > 0 ? std::max<std::int64_t>(0, row->Time - now) : 0;

    state_.toGo.store(i + 1);
    Outcome outcome = SendMessage(message);
    counter += outcome.accepted;
    counter += WriteBack(*row, outcome, message.deferral);

    out_.PostProgress(UM_BALANCE_CHANGED);
  }

  if (counter > 0 && !out_.ExitRequested()) out_.Rebuild(false);
  store.Commit();
}

OutboxDispatcher::Outcome OutboxDispatcher::SendMessage(const MessageToSend &message) {
  Outcome outcome;
  ContactSource &contacts = *services_.contacts;
  const std::string &prefix = services_.settings->prefix;
  outcome.destinations = DestinationResolver::Resolve(message.to, prefix, contacts, destinations_);
  const int g = GatewayType(message.type);
  accepted_.clear();
  failed_.clear();
  leftOver_.clear();

  const MergeTags tags = TagsFrom(services_.strings);
  const bool perDestination = g != 0 || tags.AnyIn(message.text);
  const int d = outcome.destinations;

  if (perDestination) {
    int remaining = d;
    for (DestinationRecord &record : destinations_) {
      out_.PostProgress(UM_PROGRESS_COUNT, static_cast<std::uintptr_t>(state_.toGo.load()),
                        remaining);
      std::string text = message.text;
      if (record.contactId != DestinationRecord::kPlainNumber) {
        if (std::optional<ContactFields> contact = contacts.FindContact(record.contactId))
          text = tags.Merge(text, *contact);
      }
      if (message.type == 2 && !Encode(text, text)) {
        // The text could not be encoded: nothing is sent to this destination.
        record.errorCode = kInvocationFailed;
        failed_.push_back(record);
      } else {
        SendToDestination(record, text, message, g, Way::PerDestination, outcome);
      }
      --remaining;
    }
  } else if (d <= 1) {
    std::string text = message.text;
    bool encoded = message.type != 2 || Encode(text, text);
    for (DestinationRecord &record : destinations_) {
      out_.PostProgress(UM_PROGRESS_COUNT, static_cast<std::uintptr_t>(state_.toGo.load()), 1);
      if (!encoded) {
        record.errorCode = 0;
        failed_.push_back(record);
        continue;
      }
      SendToDestination(record, text, message, g, Way::Single, outcome);
    }
  } else {
    SendBatch(message, g, outcome);
  }
  return outcome;
}

bool OutboxDispatcher::Encode(const std::string &text, std::string &encoded) {
  std::lock_guard<TrackedRecursiveMutex> unit(services_.gateway->CallLock());
  std::string result;
  if (FAILED(services_.gateway->EncodeToUnicode(text.c_str(), &result))) return false;
  encoded = std::move(result);
  return true;
}

bool OutboxDispatcher::SendToDestination(DestinationRecord &record, const std::string &text,
                                         const MessageToSend &message, int gatewayType, Way way,
                                         Outcome &outcome) {
  GatewayApi &gateway = *services_.gateway;
  const shell::Settings &settings = *services_.settings;
  const std::string number(record.Number());
  std::string reply;
  HRESULT hr;
  std::int32_t e;
  {
    std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
    gateway.put_smsREQUIRED_FEATURES(RequiredFeatures(message.flags, message.senderId));
    gateway.put_smsCONCAT(settings.SpanSMS ? 3 : 0);
    gateway.put_smsMSG_TYPE(gatewayType);
    gateway.put_smsFROM(message.senderId.c_str());
    gateway.put_smsUNICODE(message.type == 2);
    gateway.put_smsDELIVERY_ACK(settings.DeliveryAcks);
    gateway.put_smsDELIVERY_TIME(ClampToInt(message.deferral / 60));
    hr = gateway.SendMsg(true, text.c_str(), number.c_str(), &reply);
    e = ErrorAfter(hr);
  }
  outcome.highestError = std::max(outcome.highestError, static_cast<int>(e));

  const bool complex = way == Way::PerDestination;
  if (e == 0) {
    record.SetApiMsgId("," + reply);
    accepted_.push_back(record);
    out_.Log(Format(complex ? "ComplexSMS sent ok: Mobile:%s Msg:%s API_ID:%s"
                            : "SMS sent ok: Mobile:%s Msg:%s API_ID:%s",
                    number.c_str(), text.c_str(), reply.c_str()));
    ++outcome.accepted;
    return true;
  }
  if (e == kCommunicationError) ReportCommunicationFailure();
  out_.Log(Format(complex ? "ComplexSMS failed: Error:%s Mobile:%s Msg:%s"
                          : "SMS failed: Error:%s Mobile:%s Msg:%s",
                  reply.c_str(), number.c_str(), text.c_str()));
  record.errorCode = complex ? e : 0;
  failed_.push_back(record);
  return false;
}

int OutboxDispatcher::SendBatch(const MessageToSend &message, int gatewayType, Outcome &outcome) {
  GatewayApi &gateway = *services_.gateway;
  const shell::Settings &settings = *services_.settings;
  const bool unicode = message.type == 2;

  std::string text = message.text;
  if (unicode && !Encode(text, text)) {
    outcome.batchStartFailed = true;
    return 0;
  }

  std::string reply;
  std::int32_t e;
  {
    std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
    gateway.put_smsCONCAT(settings.SpanSMS ? 3 : 0);
    gateway.put_smsMSG_TYPE(gatewayType);
    gateway.put_smsREQUIRED_FEATURES(RequiredFeatures(message.flags, message.senderId));
    gateway.put_smsFROM(message.senderId.c_str());
    gateway.put_smsUNICODE(unicode);
    gateway.put_smsDELIVERY_ACK(settings.DeliveryAcks);
    gateway.put_smsDELIVERY_TIME(ClampToInt(message.deferral / 60));
    HRESULT hr = gateway.StartBatch(text.c_str(), &reply);
    e = ErrorAfter(hr);
  }
  outcome.highestError = std::max(outcome.highestError, static_cast<int>(e));
  if (e == 0) {
    out_.Log(Format("SMS batch started ok: Msg:%s API_ID:%s", text.c_str(), reply.c_str()));
  } else {
    if (e == kCommunicationError)
      ReportCommunicationFailure();
    else
      out_.Log(Format("SMS Batch start failed: Error:%s Msg:%s", reply.c_str(), text.c_str()));
    outcome.batchStartFailed = true;
    return 0;
  }

  // Numbers go out in chunks closed as soon as they reach 512 characters of
  // comma-separated numbers.
  const std::size_t total = destinations_.size();
  std::string commaList;
  std::size_t chunkStart = 0;
  for (std::size_t i = 0; i < total; ++i) {
    commaList += ',';
    commaList.append(destinations_[i].Number());
    const std::size_t remaining = total - i; // this record included
    if (commaList.size() >= kChunkLimit || i + 1 == total) {
      SendChunk(chunkStart, i + 1 - chunkStart, commaList, remaining, outcome);
      commaList.clear();
      chunkStart = i + 1;
    }
  }

  if (outcome.accepted > 0) {
    std::string endReply;
    std::int32_t endError;
    {
      std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
      HRESULT hr = gateway.EndBatch(&endReply);
      endError = ErrorAfter(hr);
    }
    outcome.highestError = std::max(outcome.highestError, static_cast<int>(endError));
    if (endError == 0)
      out_.Log("EndBatch SMS ok");
    else
      out_.Log(Format("EndBatch failed: Error:%s", endReply.c_str()));
  }
  return outcome.accepted;
}

void OutboxDispatcher::SendChunk(std::size_t first, std::size_t count, const std::string &commaList,
                                 std::size_t remaining, Outcome &outcome) {
  if (out_.ExitRequested()) {
    for (std::size_t i = first; i < first + count; ++i)
      leftOver_.push_back(destinations_[i]);
    return;
  }
  out_.Post(WindowTarget::MainWindow, UM_PROGRESS_COUNT,
            static_cast<std::uintptr_t>(state_.toGo.load()), static_cast<std::intptr_t>(remaining));

  GatewayApi &gateway = *services_.gateway;
  const std::string numbers = commaList.substr(1);
  std::string reply;
  std::int32_t e;
  {
    std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
    HRESULT hr = gateway.QuickBatchSend(numbers.c_str(), &reply);
    e = ErrorAfter(hr);
  }
  outcome.highestError = std::max(outcome.highestError, static_cast<int>(e));
  if (e == 0)
    out_.Log(Format("QuickBatchSend SMS sent ok: Mobile:%s", numbers.c_str()));
  else
    out_.Log(Format("QuickBatchSend failed: Error:%s", reply.c_str()));

  std::vector<bool> answered;
  BatchReplyResult parsed =
      BatchReplyParser::Parse(reply, &destinations_[first], count, answered, accepted_, failed_);
  outcome.accepted += parsed.accepted;
  // A number the reply does not mention was not confirmed by the gateway: it
  // is recorded as failed rather than silently dropped.
  for (std::size_t i = 0; i < count; ++i) {
    if (answered[i]) continue;
    DestinationRecord record = destinations_[first + i];
    record.errorCode = e;
    failed_.push_back(record);
  }
}

int OutboxDispatcher::AddChild(const store::MessageRow &row, int status,
                               const DestinationRecord &record) {
  store::SmsStore &store = *services_.store;
  int child = store.ExpandSms(row.ID, status, record.ToToken());
  // A child of a message deferred on the gateway keeps the delivery time
  // chosen for it, so a left-over child is not sent at once later.
  if (child != -1 && row.Delay > 0) {
    std::lock_guard<std::recursive_mutex> table(store.MessageLock());
    store::MessageUpdate update;
    update.Time = row.Time;
    store.UpdateFields(child, update);
  }
  return child;
}

int OutboxDispatcher::WriteBack(const store::MessageRow &row, const Outcome &outcome,
                                std::int64_t deferral) {
  store::SmsStore &store = *services_.store;
  const int d = outcome.destinations;
  int counter = 0;

  if (d > 1) {
    if (outcome.batchStartFailed) {
      std::lock_guard<std::recursive_mutex> table(store.MessageLock());
      store.SetSmsStatus(row.ID, kStatFailed);
      return counter;
    }
    {
      std::lock_guard<std::recursive_mutex> table(store.MessageLock());
      store.SetSmsStatus(row.ID, kStatExpanded);
    }
    for (const DestinationRecord &record : accepted_) {
      int child = AddChild(row, kStatUnknown, record);
      std::lock_guard<std::recursive_mutex> table(store.MessageLock());
      if (child != -1 && store.FindMessage(child)) {
        store::MessageUpdate update;
        update.ApiMsgID = std::string(record.ApiMsgId());
        update.QueryTime = PollingSchedule::kFirstInterval;
        update.StatQryTm = ClampToInt(services_.clock->Now() + PollingSchedule::kFirstInterval);
        store.UpdateFields(child, update);
      }
      ++counter;
    }
    for (const DestinationRecord &record : failed_) {
      AddChild(row, kStatFailed, record);
      ++counter;
    }
    for (const DestinationRecord &record : leftOver_) {
      AddChild(row, kStatPending, record);
      ++counter;
    }
    return counter;
  }

  std::lock_guard<std::recursive_mutex> table(store.MessageLock());
  if (d < 1) {
    store.SetSmsStatus(row.ID, kStatFailed);
    return counter;
  }
  if (!store.FindMessage(row.ID)) return counter;
  store::MessageUpdate update;
  if (!accepted_.empty()) {
    update.Stat = deferral != 0 ? kStatScheduledOnServer : kStatUnknown;
    update.ApiMsgID = std::string(accepted_.front().ApiMsgId());
    update.QueryTime = PollingSchedule::kFirstInterval;
    update.StatQryTm = ClampToInt(services_.clock->Now() + PollingSchedule::kFirstInterval);
    ++counter;
  } else if (!leftOver_.empty() && failed_.empty()) {
    update.Stat = kStatPending;
  } else {
    // Failed, or (never expected) no outcome at all: a message must not stay
    // Processing.
    update.Stat = kStatFailed;
  }
  store.UpdateFields(row.ID, update);
  return counter;
}

} // namespace engine
