#pragma once
// Outbox dispatch (`SendQueuedSMSs`): takes Pending messages out of the
// outbox and hands them to the gateway. For each message it resolves the
// destinations and sends them one of three ways: one request per
// destination with the contact's fields merged (merge tags in the text, or a
// type other than plain text), one plain request for a single destination,
// or a gateway batch for several. The outcome is written back: the status,
// the gateway's message id and the first status-query time; a message with
// several destinations becomes Expanded with one child row per destination.
//
// Exactly once. The store is committed before every request and after
// every answer, so a crash never loses what the gateway has accepted:
//   - a single send carries a client message id (the installation's prefix
//     and the message ID) and is recorded with it, marked "outcome unknown",
//     before it goes; the mark is cleared when the answer is written back;
//   - a message with several destinations records how far it has come (the
//     destinations that have their child row, and those of the request in
//     flight); the children of each request are written with its answer.
// What an interrupted pass left behind is settled at the start of the next
// pass (InterruptedSends); sends whose outcome is unknown are asked about
// by their client message id (SendReconciler). Nothing is sent twice on its
// own.
//
// A send counts as accepted only when the library reports no error and the
// reply begins with "ID:" (an error page answered with status 200 is not a
// sent message). When the account has no credit left ("ERR: 301") the pass
// stops: that message and every message not yet sent stay Pending, the user
// is told once, and passes resume when the balance has grown (CreditWatch).
//
// Runs only on the communications worker, under the dispatch lock.

#include "CreditWatch.h"
#include "DestinationRecord.h"
#include "EngineServices.h"
#include "InterruptedSends.h"
#include "MergeTags.h"
#include "SendReconciler.h"
#include "SendVerdict.h"
#include "WorkerOutput.h"
#include "WorkerState.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

class OutboxDispatcher {
public:
  using FaultHook = void (*)();

  static constexpr int kCommunicationError = 99;
  static constexpr std::size_t kChunkLimit = 512;

  OutboxDispatcher(const EngineServices &services, WorkerState &state);

  // Dispatches the Pending message `id`, or every Pending message for -1
  // (newest first). A pass for -1 first asks about sends whose outcome is
  // unknown.
  void SendQueuedSMSs(int id);
  // A new job (or tick) of the worker begins: the "communication failure"
  // box, shown at most once per job, may be shown again.
  void BeginJob();
  // Settles what an interrupted pass left behind (see InterruptedSends);
  // every pass does it first, and the worker right after a fault.
  void RecoverInterrupted();

  // The gateway message type for a stored type (0 text, 1 flash, 6 ringtone,
  // 5 picture, 3 operator logo, 8 business card, 9 calendar entry; Unicode,
  // binary and unknown types as text).
  static int GatewayType(int type);
  // smsREQUIRED_FEATURES: 0 unless flag bit 0 (force the sender id) is set;
  // then 32 for an all-digit sender id, else 16.
  static int RequiredFeatures(int flags, const std::string &senderId);

  // Test hook: called at the start of every pass, inside the dispatch lock.
  void SetFaultHook(FaultHook hook) { faultHook_.store(hook); }

  // The lists of the message dispatched last.
  const DestinationList &Destinations() const { return destinations_; }
  const DestinationList &Accepted() const { return accepted_; }
  const DestinationList &Failed() const { return failed_; }
  const DestinationList &LeftOver() const { return leftOver_; }

private:
  struct Outcome {
    int accepted = 0;
    int destinations = 0;
    int highestError = 0;
    // StartBatch did not open a batch: no number was sent.
    bool batchNotOpened = false;
    // A send met "no credit left": the pass stops after this message.
    bool outOfCredit = false;
    // The single way's (d <= 1) answer.
    SendVerdict verdict = SendVerdict::Unknown;
    std::string reply = {};
  };
  struct MessageToSend {
    int id = 0;
    int type = 0;
    std::string text = {};
    std::string to = {};
    std::string senderId = {};
    std::int64_t deferral = 0;
    int flags = 0;
    int delay = 0;
    int time = 0;
    // The client message id of the message (of its destinations, with
    // their position, when it goes per destination).
    std::string cliMsgId = {};
  };
  enum class Way { PerDestination, Single };

  Outcome SendMessage(const MessageToSend &message);
  // One SendMsg for one destination (the per-destination and single ways).
  SendVerdict SendToDestination(DestinationRecord &record, const std::string &text,
                                const MessageToSend &message, int gatewayType, Way way,
                                const std::string &cliMsgId, Outcome &outcome);
  void SendBatch(const MessageToSend &message, int gatewayType, Outcome &outcome);
  void SendChunk(const MessageToSend &message, std::size_t first, std::size_t count,
                 const std::string &commaList, std::size_t remaining, Outcome &outcome);
  bool Encode(const std::string &text, std::string &encoded);
  int WriteBack(const store::MessageRow &row, const Outcome &outcome, std::int64_t deferral);

  // Progress of a message with several destinations, committed around each
  // request.
  void BeginRequest(int destinations);
  void FinishRequest(const MessageToSend &message, int destinations,
                     std::vector<store::ExpandedChild> children);
  store::ExpandedChild Child(const MessageToSend &message, const DestinationRecord &record,
                             int status) const;
  void ReportCommunicationFailure();
  std::int32_t ErrorAfter(HRESULT status);

  const EngineServices &services_;
  WorkerState &state_;
  WorkerOutput out_;
  InterruptedSends recovery_;
  SendReconciler reconciler_;
  CreditWatch credit_;
  DestinationList destinations_;
  DestinationList accepted_;
  DestinationList failed_;
  DestinationList leftOver_;
  // Entries of leftOver_ whose (Pending) child row is already written.
  std::size_t leftOverWritten_ = 0;
  // The progress record of the message being expanded.
  store::SendRecord expansion_;
  bool commFailureShown_ = false;
  std::atomic<FaultHook> faultHook_{nullptr};
};

} // namespace engine
