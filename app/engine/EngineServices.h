#pragma once
// The collaborators of the messaging engine. Start-up fills this with the
// process-wide objects; tests fill it with fakes and recorders. Every
// pointer must be set (except `contacts`, which defaults to the store's
// contacts) and must outlive the engine objects that use it.

#include "Clock.h"
#include "ContactSource.h"
#include "GatewayApi.h"
#include "MessagePoster.h"
#include "OutboxRebuilder.h"
#include "UserPrompt.h"

#include "shell/LogWriter.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <atomic>

namespace engine {

struct EngineServices {
  store::SmsStore *store = nullptr;
  GatewayApi *gateway = nullptr;
  // Read without a lock; `WorkingOnLine` is read and written atomically
  // (the worker switches the program offline after a failed re-login).
  shell::Settings *settings = nullptr;
  const shell::StringTable *strings = nullptr;
  shell::LogWriter *log = nullptr;
  MessagePoster *poster = nullptr;
  UserPrompt *prompt = nullptr;
  OutboxRebuilder *outbox = nullptr;
  ContactSource *contacts = nullptr;
  Clock *clock = nullptr;
};

// `WorkingOnLine`, read and written as an atomic flag: the user-interface
// thread and the worker both change it.
inline bool IsWorkingOnLine(const shell::Settings &settings) {
  return std::atomic_ref<bool>(const_cast<bool &>(settings.WorkingOnLine))
      .load(std::memory_order_acquire);
}
inline void SetWorkingOnLine(shell::Settings &settings, bool online) {
  std::atomic_ref<bool>(settings.WorkingOnLine).store(online, std::memory_order_release);
}

} // namespace engine
