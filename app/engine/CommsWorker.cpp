#include "CommsWorker.h"

#include "FaultGuard.h"
#include "GuardedPass.h"
#include "LoginOperation.h"
#include "TextFormat.h"
#include "WindowMessages.h"

namespace engine {

CommsWorker::CommsWorker(const EngineServices &services)
    : services_(services), dispatcher_(services_, state_), poller_(services_, state_),
      escalator_(services_, state_), out_(services_, state_) {
  if (services_.contacts == nullptr && services_.store != nullptr) {
    storeContacts_ = std::make_unique<StoreContactSource>(*services_.store);
    services_.contacts = storeContacts_.get();
  }
  if (services_.clock == nullptr) services_.clock = &SystemClock::Instance();
}

CommsWorker::~CommsWorker() {
  StopAndWait();
  if (thread_.joinable()) thread_.join();
}

bool CommsWorker::Start() {
  if (!thread_.joinable()) thread_ = std::thread(&CommsWorker::ThreadMain, this);
  services_.clock->SleepMs(kStartPauseMs);
  if (IsWorkingOnLine(*services_.settings)) {
    Enqueue(WorkerJob{JobKind::SendOne, -1, nullptr});
    services_.clock->SleepMs(kPostPauseMs);
  }
  return thread_.joinable();
}

int CommsWorker::QueueMessage(int status, int time, int type, int refId, const std::string &to,
                              const std::string &text, int delay, bool forceSenderId) {
  const shell::Settings settings = shell::Snapshot(*services_.settings);
  const std::string &senderId = settings.sender_id;
  const int flags = (!senderId.empty() && (settings.ForceSenderID || forceSenderId)) ? 1 : 0;
  int id = services_.store->AddSms(status, time, type, refId, to, text, senderId.c_str(), delay,
                                   "?", flags);
  // A message that could not be stored is not handed over: id -1 would
  // stand for every Pending message.
  if (id < 0) return -1;
  if (settings.WorkingOnLine && status == 0) {
    Enqueue(WorkerJob{JobKind::SendOne, id, nullptr});
    services_.clock->SleepMs(kPostPauseMs);
  }
  return id;
}

void CommsWorker::PostList(JobKind kind, std::unique_ptr<IdList> list) {
  if (!list || !IsWorkingOnLine(*services_.settings)) return; // the list goes with `list`
  Enqueue(WorkerJob{kind, -1, std::move(list)});
  services_.clock->SleepMs(kPostPauseMs);
}

void CommsWorker::PostSendList(std::unique_ptr<IdList> list) {
  PostList(JobKind::SendList, std::move(list));
}

void CommsWorker::PostQueryList(std::unique_ptr<IdList> list) {
  PostList(JobKind::QueryList, std::move(list));
}

void CommsWorker::PostDeleteList(std::unique_ptr<IdList> list) {
  PostList(JobKind::DeleteList, std::move(list));
}

void CommsWorker::PostQueryOne(int id) {
  if (!IsWorkingOnLine(*services_.settings)) return;
  Enqueue(WorkerJob{JobKind::QueryOne, id, nullptr});
  services_.clock->SleepMs(kPostPauseMs);
}

void CommsWorker::Enqueue(WorkerJob job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    incoming_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void CommsWorker::RequestExit(WindowTarget exitWindow) {
  state_.exitRequested.store(true);
  exitWindow_.store(exitWindow);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopSignalled_ = true;
  }
  wake_.notify_all();
}

bool CommsWorker::StopAndWait(std::chrono::milliseconds limit) {
  if (!thread_.joinable()) return true;
  std::unique_lock<std::mutex> lock(mutex_);
  stopSignalled_ = true;
  wake_.notify_all();
  bool ended = stateChanged_.wait_for(lock, limit, [this] { return finished_; });
  lock.unlock();
  if (ended) thread_.join();
  return ended;
}

bool CommsWorker::WaitUntilIdle(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return stateChanged_.wait_for(lock, timeout, [this] {
    return finished_ || (waiting_ && incoming_.empty() && !stopSignalled_ &&
                         services_.clock->MonotonicMs() < waitDeadlineMs_);
  });
}

CommsWorker::Wake CommsWorker::WaitForWork(std::unique_lock<std::mutex> &lock,
                                           std::int64_t deadlineMs) {
  for (;;) {
    waiting_ = true;
    waitDeadlineMs_ = deadlineMs;
    stateChanged_.notify_all();
    services_.clock->WaitUntil(lock, wake_, deadlineMs,
                               [this] { return stopSignalled_ || !incoming_.empty(); });
    waiting_ = false;
    // Jobs whose hand-off arrived before the stop still run, as they would
    // have been appended first.
    if (!incoming_.empty()) return Wake::Jobs;
    if (stopSignalled_) return Wake::Stop;
    if (services_.clock->MonotonicMs() >= deadlineMs) return Wake::Timeout;
  }
}

void CommsWorker::ThreadMain() {
  running_.store(true);
  int tickCount = 0;
  std::int64_t nextTick = services_.clock->MonotonicMs() + kTickMs;

  std::unique_lock<std::mutex> lock(mutex_);
  Wake wake = WaitForWork(lock, nextTick);
  while (wake != Wake::Stop) {
    if (wake == Wake::Timeout) {
      lock.unlock();
      RunTick(tickCount);
      nextTick = services_.clock->MonotonicMs() + kTickMs;
      lock.lock();
    } else {
      // Every job handed over before this wake-up runs in one busy period.
      std::deque<WorkerJob> jobs;
      jobs.swap(incoming_);
      lock.unlock();
      BeginBusy();
      while (!jobs.empty()) {
        WorkerJob job = std::move(jobs.front());
        jobs.pop_front();
        RunJob(job);
        services_.store->Commit();
      }
      EndBusy();
      lock.lock();
    }
    if (state_.exitRequested.load()) break;
    wake = WaitForWork(lock, nextTick);
  }
  lock.unlock();

  WindowTarget exitWindow = exitWindow_.load();
  if (state_.exitRequested.load() && exitWindow != WindowTarget::None)
    out_.Post(exitWindow, WM_QUIT, 0, 0);
  running_.store(false);

  lock.lock();
  finished_ = true;
  stateChanged_.notify_all();
}

void CommsWorker::BeginBusy() {
  busy_.store(true);
  out_.PostProgress(UM_PROGRESS_CONNECTING);
}

void CommsWorker::EndBusy() {
  out_.PostProgress(UM_PROGRESS_IDLE);
  busy_.store(false);
}

void CommsWorker::RunTick(int &tickCount) {
  BeginBusy();
  dispatcher_.BeginJob();
  if (escalator_.Run() > 0) services_.store->Commit();
  GuardedDispatch(-1);
  poller_.QueryMessageStatus(-1);
  if (++tickCount == kKeepAliveEvery) {
    tickCount = 0;
    KeepAlive();
  }
  EndBusy();
}

void CommsWorker::RunJob(WorkerJob &job) {
  dispatcher_.BeginJob();
  switch (job.kind) {
  case JobKind::SendOne:
    GuardedDispatch(job.messageId);
    break;
  case JobKind::SendList:
    if (job.ids) {
      for (int id : job.ids->ids)
        GuardedDispatch(id);
      if (job.ids->goOfflineAfter) out_.Post(WindowTarget::OptionsPage, UM_ACCOUNT_CHANGED);
    }
    break;
  case JobKind::QueryOne:
    poller_.QueryMessageStatus(job.messageId);
    break;
  case JobKind::QueryList:
    if (job.ids)
      for (int id : job.ids->ids)
        poller_.QueryMessageStatus(id);
    break;
  case JobKind::DeleteList:
    if (job.ids) {
      std::vector<int> failed;
      for (int id : job.ids->ids)
        if (!poller_.DeleteSMSFromServer(id)) failed.push_back(id);
      if (!failed.empty()) {
        out_.Post(WindowTarget::MainWindow, UM_DELETE_FAILED, 1,
                  static_cast<std::intptr_t>(failed.size()));
        for (int id : failed)
          poller_.QueryMessageStatus(id);
      }
    }
    break;
  default:
    break; // unknown kinds are discarded
  }
}

void CommsWorker::GuardedDispatch(int id) {
  out_.PostProgress(UM_PROGRESS_SENDING);
  if (!IsWorkingOnLine(*services_.settings)) return;

  std::optional<std::uint32_t> code =
      GuardedPass::Run([&] { dispatcher_.SendQueuedSMSs(id); }, services_.log);
  if (!code) return;
  out_.Log(Format("CRITICAL ERROR: Catch in SendQueuedSMSs. Exception %x occurred\n", *code));
  // The messages the abandoned pass was sending keep their client message
  // ids and the "outcome unknown" mark; none stays Processing.
  CrashContext again;
  FaultGuard::Run(
      [&] {
        try {
          std::lock_guard<TrackedRecursiveMutex> dispatch(state_.dispatchLock);
          dispatcher_.RecoverInterrupted();
        } catch (...) {
        }
      },
      again);
  out_.Rebuild(false);
}

void CommsWorker::KeepAlive() {
  if (!IsWorkingOnLine(*services_.settings)) return;
  GatewayApi &gateway = *services_.gateway;
  std::int32_t e;
  {
    std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
    std::string reply;
    HRESULT hr = gateway.Ping(&reply);
    e = gateway.LastError();
    if (FAILED(hr) && e == 0) e = -1;
  }
  if (e == 0) return;

  const shell::StringTable &strings =
      services_.strings != nullptr ? *services_.strings : shell::StringTable::BuiltIn();
  const shell::Settings settings = shell::Snapshot(*services_.settings);
  LoginOperation::Result login = LoginOperation::Login(
      gateway, settings.client_id, settings.Login, settings.Password, services_.prompt, strings);
  if (login.ok) return;
  if (!out_.ExitRequested()) out_.Post(WindowTarget::OptionsPage, UM_ACCOUNT_CHANGED);
  SetWorkingOnLine(*services_.settings, false);
  out_.Post(WindowTarget::MainWindow, UM_WENT_OFFLINE);
}

} // namespace engine
