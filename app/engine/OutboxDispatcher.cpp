#include "OutboxDispatcher.h"

#include "BatchReplyParser.h"
#include "ClientMessageId.h"
#include "DestinationResolver.h"
#include "LoginOperation.h"
#include "PollingSchedule.h"
#include "SendNotes.h"
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
    : services_(services), state_(state), out_(services, state), recovery_(services, out_),
      reconciler_(services, out_), credit_(services, out_) {}

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

void OutboxDispatcher::BeginJob() {
  commFailureShown_ = false;
}

void OutboxDispatcher::ReportCommunicationFailure() {
  // Once per job: a job over many messages or destinations must not stack
  // up a box per request while the network is down.
  if (commFailureShown_ || services_.prompt == nullptr) return;
  commFailureShown_ = true;
  const shell::StringTable &strings =
      services_.strings != nullptr ? *services_.strings : shell::StringTable::BuiltIn();
  services_.prompt->Ask(strings.Get(LoginOperation::kCommFailedTextId),
                        strings.Get(LoginOperation::kCommFailedCaptionId), kBoxOk | kBoxIconError);
}

void OutboxDispatcher::RecoverInterrupted() {
  recovery_.Run();
}

void OutboxDispatcher::SendQueuedSMSs(int id) {
  store::SmsStore &store = *services_.store;
  std::lock_guard<TrackedRecursiveMutex> dispatch(state_.dispatchLock);
  if (FaultHook hook = faultHook_.load()) hook();

  recovery_.Run();
  if (id == -1) reconciler_.Run();
  if (!credit_.MayDispatch()) return;

  std::vector<int> ids;
  {
    std::lock_guard table(store.MessageLock());
    store::MessageSelection pending;
    pending.Stat = store::IntRange{kStatPending, kStatPending};
    if (id != -1) pending.ID = id;
    ids = store.SelectIds(pending);
  }

  const std::string &installation = services_.settings->InstallationID;
  int counter = 0;
  bool outOfCredit = false;
  for (int i = static_cast<int>(ids.size()) - 1; i >= 0; --i) {
    if (out_.ExitRequested()) break;

    // The user-interface thread may have deleted or opened the message since
    // the selection: only a message that is still Pending is sent.
    std::optional<store::MessageRow> row;
    {
      std::lock_guard table(store.MessageLock());
      row = store.FindMessage(ids[i]);
      if (!row || row->Stat != kStatPending) continue;
      store.SetSmsStatus(row->ID, kStatProcessing);
    }
    if (!out_.ExitRequested()) out_.Rebuild(true);

    const std::int64_t now = services_.clock->Now();
    MessageToSend message;
    message.id = row->ID;
    message.type = row->Type;
    message.text = row->Msg;
    message.to = row->To;
    message.senderId = row->SenderID;
    message.flags = row->Flags;
    message.delay = row->Delay;
    message.time = row->Time;
    message.deferral = row->Delay > 0 ? std::max<std::int64_t>(0, row->Time - now) : 0;
    message.cliMsgId = ClientMessageId::For(installation, row->ID);

    state_.toGo.store(i + 1);
    Outcome outcome = SendMessage(message);
    counter += outcome.accepted;
    counter += WriteBack(*row, outcome, message.deferral);
    store.Commit();

    out_.PostProgress(UM_BALANCE_CHANGED);
    if (outcome.outOfCredit) {
      outOfCredit = true;
      break;
    }
  }

  if (counter > 0 && !out_.ExitRequested()) out_.Rebuild(false);
  store.Commit();
  if (outOfCredit) credit_.NoCreditLeft();
}

OutboxDispatcher::Outcome OutboxDispatcher::SendMessage(const MessageToSend &message) {
  store::SmsStore &store = *services_.store;
  Outcome outcome;
  ContactSource &contacts = *services_.contacts;
  const std::string prefix = shell::ReadSetting(*services_.settings, &shell::Settings::prefix);
  outcome.destinations = DestinationResolver::Resolve(message.to, prefix, contacts, destinations_);
  const int g = GatewayType(message.type);
  accepted_.clear();
  failed_.clear();
  leftOver_.clear();
  leftOverWritten_ = 0;

  const MergeTags tags = TagsFrom(services_.strings);
  const bool perDestination = g != 0 || tags.AnyIn(message.text);
  const int d = outcome.destinations;

  // Before the first request: the client message id and the "outcome
  // unknown" mark of a single send, or the progress record of an
  // expansion, become durable together with the Processing status.
  if (d > 1) {
    expansion_ = store::SendRecord{};
    expansion_.ID = message.id;
    expansion_.CliMsgID = perDestination ? message.cliMsgId : std::string();
    expansion_.ExpandDone = 0;
    expansion_.ExpandBatch = !perDestination;
    store.PutSendRecord(expansion_);
  } else if (d == 1) {
    store::SendRecord record;
    record.ID = message.id;
    record.CliMsgID = message.cliMsgId;
    record.OutcomeUnknown = true;
    record.Note = SendNotes::kInFlight;
    store.PutSendRecord(record);
  }
  store.Commit();

  if (perDestination) {
    int remaining = d;
    int position = 0;
    for (DestinationRecord &record : destinations_) {
      ++position;
      out_.PostProgress(UM_PROGRESS_COUNT, static_cast<std::uintptr_t>(state_.toGo.load()),
                        remaining--);
      if (outcome.outOfCredit) {
        leftOver_.push_back(record);
        continue;
      }
      std::string text = message.text;
      if (record.contactId != DestinationRecord::kPlainNumber) {
        if (std::optional<ContactFields> contact = contacts.FindContact(record.contactId))
          text = tags.Merge(text, *contact);
      }
      const std::string cliMsgId =
          d > 1 ? ClientMessageId::ForDestination(message.cliMsgId, position) : message.cliMsgId;
      if (d > 1) BeginRequest(1);
      SendVerdict verdict = SendVerdict::Refused;
      std::string note;
      if (message.type == 2 && !Encode(text, text)) {
        // The text could not be encoded: nothing is sent to this destination.
        record.errorCode = kInvocationFailed;
        failed_.push_back(record);
        out_.Log(Format("ComplexSMS failed: Error:%s Mobile:%s Msg:%s", SendNotes::kNotEncoded,
                        std::string(record.Number()).c_str(), text.c_str()));
        outcome.reply = SendNotes::kNotEncoded;
        note = SendNotes::kNotEncoded;
      } else {
        verdict =
            SendToDestination(record, text, message, g, Way::PerDestination, cliMsgId, outcome);
        note = (SendNotes::kRefused + outcome.reply).substr(0, SendNotes::kMaxNoteChars);
      }
      if (d > 1) {
        store::ExpandedChild child;
        switch (verdict) {
        case SendVerdict::Accepted:
          child = Child(message, accepted_.back(), kStatUnknown);
          break;
        case SendVerdict::NoCredit:
          child = Child(message, record, kStatPending);
          ++leftOverWritten_;
          break;
        case SendVerdict::Refused:
          child = Child(message, record, kStatFailed);
          child.Note = note;
          break;
        case SendVerdict::Unknown:
          child = Child(message, record, kStatFailed);
          child.CliMsgID = cliMsgId;
          child.OutcomeUnknown = true;
          child.Note = SendNotes::kNoAnswer;
          break;
        }
        FinishRequest(message, 1, {std::move(child)});
      } else {
        outcome.verdict = verdict;
      }
    }
  } else if (d <= 1) {
    std::string text = message.text;
    bool encoded = message.type != 2 || Encode(text, text);
    for (DestinationRecord &record : destinations_) {
      out_.PostProgress(UM_PROGRESS_COUNT, static_cast<std::uintptr_t>(state_.toGo.load()), 1);
      if (!encoded) {
        record.errorCode = 0;
        failed_.push_back(record);
        outcome.verdict = SendVerdict::Refused;
        outcome.reply = SendNotes::kNotEncoded;
        out_.Log(Format("SMS failed: Error:%s Mobile:%s Msg:%s", SendNotes::kNotEncoded,
                        std::string(record.Number()).c_str(), text.c_str()));
        continue;
      }
      outcome.verdict =
          SendToDestination(record, text, message, g, Way::Single, message.cliMsgId, outcome);
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

SendVerdict OutboxDispatcher::SendToDestination(DestinationRecord &record, const std::string &text,
                                                const MessageToSend &message, int gatewayType,
                                                Way way, const std::string &cliMsgId,
                                                Outcome &outcome) {
  GatewayApi &gateway = *services_.gateway;
  const bool spanSms = shell::ReadSetting(*services_.settings, &shell::Settings::SpanSMS);
  const bool deliveryAcks = shell::ReadSetting(*services_.settings, &shell::Settings::DeliveryAcks);
  const std::string number(record.Number());
  SendAnswer answer;
  {
    std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
    gateway.put_smsREQUIRED_FEATURES(RequiredFeatures(message.flags, message.senderId));
    gateway.put_smsCONCAT(spanSms ? 3 : 0);
    gateway.put_smsMSG_TYPE(gatewayType);
    gateway.put_smsFROM(message.senderId.c_str());
    gateway.put_smsUNICODE(message.type == 2);
    gateway.put_smsDELIVERY_ACK(deliveryAcks);
    gateway.put_smsDELIVERY_TIME(ClampToInt(message.deferral / 60));
    gateway.put_smsCLI_MSG_ID(cliMsgId.c_str());
    answer.status = gateway.SendMsg(true, text.c_str(), number.c_str(), &answer.reply);
    answer.error = ErrorAfter(answer.status);
    // The id belongs to this request only: later requests of the object
    // (status queries, batches) must not carry it.
    gateway.put_smsCLI_MSG_ID("");
  }
  const std::int32_t e = answer.error;
  outcome.highestError = std::max(outcome.highestError, static_cast<int>(e));
  outcome.reply = answer.reply;

  const bool complex = way == Way::PerDestination;
  const SendVerdict verdict = Judge(answer, "ID:");
  switch (verdict) {
  case SendVerdict::Accepted:
    record.SetApiMsgId("," + answer.reply);
    accepted_.push_back(record);
    out_.Log(Format(complex ? "ComplexSMS sent ok: Mobile:%s Msg:%s API_ID:%s"
                            : "SMS sent ok: Mobile:%s Msg:%s API_ID:%s",
                    number.c_str(), text.c_str(), answer.reply.c_str()));
    ++outcome.accepted;
    break;
  case SendVerdict::NoCredit:
    // Not a failure of this message: it waits for credit.
    leftOver_.push_back(record);
    outcome.outOfCredit = true;
    out_.Log(Format(complex ? "ComplexSMS not sent, no credit left: Mobile:%s Msg:%s"
                            : "SMS not sent, no credit left: Mobile:%s Msg:%s",
                    number.c_str(), text.c_str()));
    break;
  case SendVerdict::Refused:
  case SendVerdict::Unknown:
    if (e == kCommunicationError) ReportCommunicationFailure();
    out_.Log(Format(complex ? "ComplexSMS failed: Error:%s Mobile:%s Msg:%s"
                            : "SMS failed: Error:%s Mobile:%s Msg:%s",
                    answer.reply.c_str(), number.c_str(), text.c_str()));
    record.errorCode = complex ? e : 0;
    failed_.push_back(record);
    break;
  }
  return verdict;
}

void OutboxDispatcher::SendBatch(const MessageToSend &message, int gatewayType, Outcome &outcome) {
  GatewayApi &gateway = *services_.gateway;
  const bool spanSms = shell::ReadSetting(*services_.settings, &shell::Settings::SpanSMS);
  const bool deliveryAcks = shell::ReadSetting(*services_.settings, &shell::Settings::DeliveryAcks);
  const bool unicode = message.type == 2;

  std::string text = message.text;
  if (unicode && !Encode(text, text)) {
    out_.Log(
        Format("SMS Batch start failed: Error:%s Msg:%s", SendNotes::kNotEncoded, text.c_str()));
    outcome.batchNotOpened = true;
    return;
  }

  SendAnswer answer;
  {
    std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
    gateway.put_smsCONCAT(spanSms ? 3 : 0);
    gateway.put_smsMSG_TYPE(gatewayType);
    gateway.put_smsREQUIRED_FEATURES(RequiredFeatures(message.flags, message.senderId));
    gateway.put_smsFROM(message.senderId.c_str());
    gateway.put_smsUNICODE(unicode);
    gateway.put_smsDELIVERY_ACK(deliveryAcks);
    gateway.put_smsDELIVERY_TIME(ClampToInt(message.deferral / 60));
    answer.status = gateway.StartBatch(text.c_str(), &answer.reply);
    answer.error = ErrorAfter(answer.status);
  }
  const std::int32_t e = answer.error;
  outcome.highestError = std::max(outcome.highestError, static_cast<int>(e));
  outcome.reply = answer.reply;
  const SendVerdict verdict = Judge(answer, "ID:");
  if (verdict == SendVerdict::Accepted) {
    out_.Log(Format("SMS batch started ok: Msg:%s API_ID:%s", text.c_str(), answer.reply.c_str()));
  } else {
    if (e == kCommunicationError)
      ReportCommunicationFailure();
    else
      out_.Log(
          Format("SMS Batch start failed: Error:%s Msg:%s", answer.reply.c_str(), text.c_str()));
    outcome.outOfCredit = verdict == SendVerdict::NoCredit;
    outcome.batchNotOpened = true;
    return;
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
      SendChunk(message, chunkStart, i + 1 - chunkStart, commaList, remaining, outcome);
      commaList.clear();
      chunkStart = i + 1;
    }
  }

  if (outcome.accepted > 0) {
    SendAnswer end;
    {
      std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
      end.status = gateway.EndBatch(&end.reply);
      end.error = ErrorAfter(end.status);
    }
    outcome.highestError = std::max(outcome.highestError, static_cast<int>(end.error));
    if (Judge(end, "OK:") == SendVerdict::Accepted)
      out_.Log("EndBatch SMS ok");
    else
      out_.Log(Format("EndBatch failed: Error:%s", end.reply.c_str()));
  }
}

void OutboxDispatcher::SendChunk(const MessageToSend &message, std::size_t first, std::size_t count,
                                 const std::string &commaList, std::size_t remaining,
                                 Outcome &outcome) {
  if (out_.ExitRequested() || outcome.outOfCredit) {
    for (std::size_t i = first; i < first + count; ++i)
      leftOver_.push_back(destinations_[i]);
    return;
  }
  out_.Post(WindowTarget::MainWindow, UM_PROGRESS_COUNT,
            static_cast<std::uintptr_t>(state_.toGo.load()), static_cast<std::intptr_t>(remaining));

  BeginRequest(static_cast<int>(count));
  GatewayApi &gateway = *services_.gateway;
  const std::string numbers = commaList.substr(1);
  SendAnswer answer;
  {
    std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
    answer.status = gateway.QuickBatchSend(numbers.c_str(), &answer.reply);
    answer.error = ErrorAfter(answer.status);
  }
  const std::int32_t e = answer.error;
  outcome.highestError = std::max(outcome.highestError, static_cast<int>(e));
  if (Judge(answer, "ID:") == SendVerdict::Accepted)
    out_.Log(Format("QuickBatchSend SMS sent ok: Mobile:%s", numbers.c_str()));
  else
    out_.Log(Format("QuickBatchSend failed: Error:%s", answer.reply.c_str()));

  std::vector<BatchAnswer> answers;
  BatchReplyParser::ParseAnswers(answer.reply, &destinations_[first], count, answers);
  std::vector<store::ExpandedChild> children;
  children.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    DestinationRecord record = destinations_[first + i];
    const BatchAnswer &a = answers[i];
    if (a.kind == BatchAnswer::Kind::Accepted) {
      record.contactId = 0;
      record.errorCode = 0;
      record.SetApiMsgId(a.apiMsgId);
      accepted_.push_back(record);
      ++outcome.accepted;
      children.push_back(Child(message, record, kStatUnknown));
    } else if (a.kind == BatchAnswer::Kind::Rejected && a.error == kErrorNoCredit) {
      // No credit for this number: it waits, and the numbers after it too.
      leftOver_.push_back(record);
      ++leftOverWritten_;
      outcome.outOfCredit = true;
      children.push_back(Child(message, record, kStatPending));
    } else if (a.kind == BatchAnswer::Kind::Rejected) {
      record.contactId = 0;
      record.errorCode = kCommunicationError; // the code of a batch rejection
      failed_.push_back(record);
      store::ExpandedChild child = Child(message, record, kStatFailed);
      child.Note = SendNotes::kRefused + Format("error %d", a.error);
      children.push_back(std::move(child));
    } else {
      // A number the reply does not mention was not confirmed by the
      // gateway, and it cannot be asked about by number.
      record.errorCode = e;
      failed_.push_back(record);
      store::ExpandedChild child = Child(message, record, kStatFailed);
      child.Note = SendNotes::kBatchNoAnswer;
      children.push_back(std::move(child));
    }
  }
  FinishRequest(message, static_cast<int>(count), std::move(children));
}

void OutboxDispatcher::BeginRequest(int destinations) {
  expansion_.ExpandInFlight = destinations;
  services_.store->PutSendRecord(expansion_);
  services_.store->Commit();
}

void OutboxDispatcher::FinishRequest(const MessageToSend &message, int destinations,
                                     std::vector<store::ExpandedChild> children) {
  store::SmsStore &store = *services_.store;
  store.ExpandSmsMany(message.id, children);
  expansion_.ExpandDone += destinations;
  expansion_.ExpandInFlight = 0;
  store.PutSendRecord(expansion_);
  store.Commit();
}

store::ExpandedChild OutboxDispatcher::Child(const MessageToSend &message,
                                             const DestinationRecord &record, int status) const {
  store::ExpandedChild child;
  child.Stat = status;
  child.To = std::string(record.ToToken());
  // A child of a message deferred on the gateway keeps the delivery time
  // chosen for it, so a left-over child is not sent at once later.
  if (message.delay > 0) child.Time = message.time;
  if (status == kStatUnknown) {
    child.ApiMsgID = std::string(record.ApiMsgId());
    child.QueryTime = PollingSchedule::kFirstInterval;
    child.StatQryTm = ClampToInt(services_.clock->Now() + PollingSchedule::kFirstInterval);
  }
  return child;
}

int OutboxDispatcher::WriteBack(const store::MessageRow &row, const Outcome &outcome,
                                std::int64_t deferral) {
  store::SmsStore &store = *services_.store;
  const int d = outcome.destinations;
  int counter = 0;

  if (d > 1) {
    std::lock_guard table(store.MessageLock());
    store.DeleteSendRecord(row.ID);
    if (outcome.batchNotOpened) {
      // No number was sent: without credit the message waits as it was.
      store.SetSmsStatus(row.ID, outcome.outOfCredit ? kStatPending : kStatFailed);
      if (!outcome.outOfCredit) {
        store::SendRecord record;
        record.ID = row.ID;
        record.Note = SendNotes::kBatchNotStarted;
        store.PutSendRecord(record);
      }
      return counter;
    }
    // The destinations never sent (exit, no credit left) wait as Pending
    // children.
    std::vector<store::ExpandedChild> rest;
    for (std::size_t i = leftOverWritten_; i < leftOver_.size(); ++i)
      rest.push_back(
          Child({.id = row.ID, .delay = row.Delay, .time = row.Time}, leftOver_[i], kStatPending));
    store.ExpandSmsMany(row.ID, rest);
    store.SetSmsStatus(row.ID, kStatExpanded);
    counter += static_cast<int>(accepted_.size() + failed_.size() + leftOver_.size());
    return counter;
  }

  std::lock_guard table(store.MessageLock());
  if (d < 1) {
    store.DeleteSendRecord(row.ID);
    store.SetSmsStatus(row.ID, kStatFailed);
    return counter;
  }
  if (!store.FindMessage(row.ID)) {
    store.DeleteSendRecord(row.ID);
    return counter;
  }
  store::SendRecord record;
  record.ID = row.ID;
  record.CliMsgID = ClientMessageId::For(services_.settings->InstallationID, row.ID);
  store::MessageUpdate update;
  if (!accepted_.empty()) {
    update.Stat = deferral != 0 ? kStatScheduledOnServer : kStatUnknown;
    update.ApiMsgID = std::string(accepted_.front().ApiMsgId());
    update.QueryTime = PollingSchedule::kFirstInterval;
    update.StatQryTm = ClampToInt(services_.clock->Now() + PollingSchedule::kFirstInterval);
    ++counter;
  } else if (!leftOver_.empty()) {
    // No credit left: the message waits, and a later send starts afresh.
    update.Stat = kStatPending;
    record.CliMsgID.clear();
  } else {
    // Failed, or (never expected) no outcome at all: a message must not stay
    // Processing.
    update.Stat = kStatFailed;
    if (outcome.verdict == SendVerdict::Unknown) {
      record.OutcomeUnknown = true;
      record.Note = SendNotes::kNoAnswer;
    } else if (outcome.reply == SendNotes::kNotEncoded) {
      record.Note = SendNotes::kNotEncoded;
    } else {
      record.Note = (SendNotes::kRefused + outcome.reply).substr(0, SendNotes::kMaxNoteChars);
    }
  }
  store.UpdateFields(row.ID, update);
  if (record.CliMsgID.empty())
    store.DeleteSendRecord(row.ID);
  else
    store.PutSendRecord(record);
  return counter;
}

} // namespace engine
