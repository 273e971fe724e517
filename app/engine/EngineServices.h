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


namespace engine {

struct EngineServices {
  store::SmsStore *store = nullptr;
  GatewayApi *gateway = nullptr;
  // Read through shell::ReadSetting / shell::Snapshot (the user changes
  // settings while the worker runs); `WorkingOnLine` through
  // IsWorkingOnLine / SetWorkingOnLine.
  shell::Settings *settings = nullptr;
  const shell::StringTable *strings = nullptr;
  shell::LogWriter *log = nullptr;
  MessagePoster *poster = nullptr;
  UserPrompt *prompt = nullptr;
  OutboxRebuilder *outbox = nullptr;
  ContactSource *contacts = nullptr;
  Clock *clock = nullptr;
};

using shell::IsWorkingOnLine;
using shell::SetWorkingOnLine;

} // namespace engine
