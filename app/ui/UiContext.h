#pragma once
// The process-wide objects the windows work with, handed down from the
// entry (tests fill it with their own). Any pointer may be null in tests that
// do not need it.

#include <QString>

#include "engine/WorkerJob.h"

#include <functional>
#include <memory>

namespace shell {
struct Settings;
class SettingsFile;
} // namespace shell
namespace store {
class SmsStore;
}
namespace engine {
class GatewayApi;
class MessageQueuer;
class UserPrompt;
} // namespace engine
namespace contacts {
class RecentList;
}

namespace ui {

class AddressBookLoader;
class QtMessagePoster;

struct UiContext {
  shell::Settings *settings = nullptr;
  shell::SettingsFile *settingsFile = nullptr;
  store::SmsStore *store = nullptr;
  engine::GatewayApi *gateway = nullptr;
  // Boxes that gateway operations show (the login's error 99).
  engine::UserPrompt *prompt = nullptr;
  QtMessagePoster *poster = nullptr;
  // The external address book under the SMS page's second tree node.
  AddressBookLoader *addressBooks = nullptr;
  // Where the SMS page queues messages (the communications worker).
  engine::MessageQueuer *queuer = nullptr;
  // The recent recipients loaded at start-up.
  contacts::RecentList *recent = nullptr;
  QString dataFolder;
  // Starts the communications worker (login completion).
  std::function<bool()> startWorker;
  // Commits the store (the close button; session end).
  std::function<void()> commitStore;
  // Hands a list of messages to the communications worker (send, query or
  // withdraw; dropped while the program works offline).
  std::function<void(engine::JobKind, std::unique_ptr<engine::IdList>)> postList;
};

} // namespace ui
