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
// Runs only on the communications worker, under the dispatch lock. The store
// is committed after every completed pass, so a message the gateway has
// accepted never loses its gateway identifier to a later crash.

#include "DestinationRecord.h"
#include "EngineServices.h"
#include "MergeTags.h"
#include "WorkerOutput.h"
#include "WorkerState.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace engine {

class OutboxDispatcher {
public:
  using FaultHook = void (*)();

  static constexpr int kCommunicationError = 99;
  static constexpr std::size_t kChunkLimit = 512;

  OutboxDispatcher(const EngineServices &services, WorkerState &state);

  // Dispatches the Pending message `id`, or every Pending message for -1
  // (newest first).
  void SendQueuedSMSs(int id);

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
    bool batchStartFailed = false;
  };
  struct MessageToSend {
    int type = 0;
    std::string text;
    std::string to;
    std::string senderId;
    std::int64_t deferral = 0;
    int flags = 0;
  };
  enum class Way { PerDestination, Single };

  Outcome SendMessage(const MessageToSend &message);
  // One SendMsg for one destination (the per-destination and single ways).
  bool SendToDestination(DestinationRecord &record, const std::string &text,
                         const MessageToSend &message, int gatewayType, Way way, Outcome &outcome);
  int SendBatch(const MessageToSend &message, int gatewayType, Outcome &outcome);
  void SendChunk(std::size_t first, std::size_t count, const std::string &commaList,
                 std::size_t remaining, Outcome &outcome);
  bool Encode(const std::string &text, std::string &encoded);
  int WriteBack(const store::MessageRow &row, const Outcome &outcome, std::int64_t deferral);
  int AddChild(const store::MessageRow &row, int status, const DestinationRecord &record);
  void ReportCommunicationFailure();
  std::int32_t ErrorAfter(HRESULT status);

  const EngineServices &services_;
  WorkerState &state_;
  WorkerOutput out_;
  DestinationList destinations_;
  DestinationList accepted_;
  DestinationList failed_;
  DestinationList leftOver_;
  bool commFailureShown_ = false;
  std::atomic<FaultHook> faultHook_{nullptr};
};

} // namespace engine
