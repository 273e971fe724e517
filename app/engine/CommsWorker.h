#pragma once
// CommsWorker: the one background thread through which all gateway traffic
// of the messenger runs. It wakes once a minute by itself (escalation of due
// scheduled messages, dispatch of Pending messages, status queries, and a
// keep-alive every fourth tick) and at once when the user-interface thread
// hands it a job (send, query or delete a list of messages). Jobs run
// between ticks, in arrival order, each to its end; the tick keeps its
// one-minute rhythm across jobs. The worker reports only by posting window
// messages, asking the outbox view to rebuild, and (for a communication
// failure) asking the user through the user-interface thread.
//
// Time comes from the services' Clock, including the waits, so tests can
// run a day of ticks in milliseconds with a ManualClock. The rhythm is kept
// on the clock's monotonic side: setting the system time forwards or back
// neither stalls nor hurries the ticks (message times stay wall-clock).

#include "EngineServices.h"
#include "Escalator.h"
#include "MessageQueuer.h"
#include "OutboxDispatcher.h"
#include "StatusPoller.h"
#include "StoreContactSource.h"
#include "WorkerJob.h"
#include "WorkerState.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace engine {

class CommsWorker final : public MessageQueuer {
public:
  static constexpr std::int64_t kTickMs = 60000;
  static constexpr int kKeepAliveEvery = 4;
  static constexpr std::int64_t kStartPauseMs = 100;
  static constexpr std::int64_t kPostPauseMs = 1;
  static constexpr std::chrono::milliseconds kStopTimeout{10000};

  explicit CommsWorker(const EngineServices &services);
  // Stops the thread (as StopAndWait) and waits for it to end: the thread
  // uses the object to its last step. A worker whose thread did not end in
  // StopAndWait (stuck inside a gateway call) is therefore never destroyed;
  // its owner leaves it, and everything it uses, to the end of the process.
  ~CommsWorker() override;
  CommsWorker(const CommsWorker &) = delete;
  CommsWorker &operator=(const CommsWorker &) = delete;

  // Starts the thread; when the program works online, queues a dispatch of
  // every Pending message. True when the thread exists.
  bool Start();

  // Adds a message to the outbox (sender id from the `sender_id` setting,
  // charge "?", flag bit 0 when a sender id is set and forced by the setting
  // or by `forceSenderId`) and, when it is Pending and the program works
  // online, hands it to the worker. Returns the new ID, or -1 (nothing
  // handed over) when the store could not add the message.
  int QueueMessage(int status, int time, int type, int refId, const std::string &to,
                   const std::string &text, int delay, bool forceSenderId) override;

  // Hand a list to the worker; offline, the list is dropped and nothing is
  // queued.
  void PostSendList(std::unique_ptr<IdList> list);
  void PostQueryList(std::unique_ptr<IdList> list);
  void PostDeleteList(std::unique_ptr<IdList> list);
  void PostQueryOne(int id);

  // Asks the thread to end after the job or tick in progress; on its way out
  // it posts WM_QUIT to `exitWindow`.
  void RequestExit(WindowTarget exitWindow);
  // Signals the thread to end and waits at most `limit` for it. True when
  // the thread has ended (or was never started).
  bool StopAndWait(std::chrono::milliseconds limit = kStopTimeout);

  bool IsRunning() const { return running_.load(); }
  bool IsBusy() const { return busy_.load(); }

  // ---- For tests
  // Called at the start of every dispatch pass, inside the dispatch lock.
  void SetDispatchFaultHook(OutboxDispatcher::FaultHook hook) { dispatcher_.SetFaultHook(hook); }
  // Blocks until the thread waits for its next tick with no job queued, or
  // has ended. False when that did not happen within `timeout` (real time).
  bool WaitUntilIdle(std::chrono::milliseconds timeout = std::chrono::seconds(30));
  // The worker's passes, for tests that drive them directly.
  OutboxDispatcher &Dispatcher() { return dispatcher_; }
  StatusPoller &Poller() { return poller_; }

private:
  enum class Wake { Jobs, Stop, Timeout };

  void ThreadMain();
  Wake WaitForWork(std::unique_lock<std::mutex> &lock, std::int64_t deadlineMs);
  void RunTick(int &tickCount);
  void RunJob(WorkerJob &job);
  void GuardedDispatch(int id);
  void KeepAlive();
  void BeginBusy();
  void EndBusy();
  void Enqueue(WorkerJob job);
  void PostList(JobKind kind, std::unique_ptr<IdList> list);

  EngineServices services_;
  std::unique_ptr<StoreContactSource> storeContacts_;

  // Hand-off list: filled by the posting threads, emptied by the worker.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<WorkerJob> incoming_;
  bool stopSignalled_ = false;
  bool waiting_ = false;
  std::int64_t waitDeadlineMs_ = 0;
  bool finished_ = false;
  std::condition_variable stateChanged_;

  WorkerState state_;
  OutboxDispatcher dispatcher_;
  StatusPoller poller_;
  Escalator escalator_;
  WorkerOutput out_;

  std::atomic<bool> running_{false};
  std::atomic<bool> busy_{false};
  std::atomic<WindowTarget> exitWindow_{WindowTarget::None};
  std::thread thread_;
};

} // namespace engine
