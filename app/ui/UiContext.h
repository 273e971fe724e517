#pragma once
// The process-wide objects the windows work with, handed down from the
// entry (tests fill it with their own). Any pointer may be null in tests that
// do not need it.

#include <QString>

#include <functional>

namespace shell {
struct Settings;
class SettingsFile;
} // namespace shell
namespace store {
class SmsStore;
}
namespace engine {
class GatewayApi;
class UserPrompt;
} // namespace engine

namespace ui {

class QtMessagePoster;

struct UiContext {
  shell::Settings *settings = nullptr;
  shell::SettingsFile *settingsFile = nullptr;
  store::SmsStore *store = nullptr;
  engine::GatewayApi *gateway = nullptr;
  // Boxes that gateway operations show (the login's error 99).
  engine::UserPrompt *prompt = nullptr;
  QtMessagePoster *poster = nullptr;
  QString dataFolder;
  // Starts the communications worker (login completion).
  std::function<bool()> startWorker;
  // Commits the store (the close button; session end).
  std::function<void()> commitStore;
};

} // namespace ui
