#pragma once
// SecretServiceVault: the desktop keyring through the Secret Service
// (GNOME Keyring, KWallet, KeePassXC) over the session bus, with libsecret.
//
// Items carry the attributes application = "dovetext", setting = the setting
// name and user = the user name, so `secret-tool clear application dovetext`
// removes them all. Every call waits at most `timeoutMs`; a failed call (an
// unlock prompt the user refuses or does not answer, a keyring that stops
// answering) gives the keyring up for the rest of the run, so the passwords
// go to the settings file from then on, as they do without a keyring.

#include "shell/PasswordVault.h"

#include <functional>
#include <memory>

namespace shell {

class SecretServiceVault final : public PasswordVault {
public:
  static constexpr int kDefaultTimeoutMs = 30000;

  explicit SecretServiceVault(int timeoutMs = kDefaultTimeoutMs);
  ~SecretServiceVault() override;

  // Whether a Secret Service answers on the session bus (asked once).
  bool Available() override;
  std::optional<std::string> Lookup(std::string_view setting, std::string_view user) override;
  bool Store(std::string_view setting, std::string_view user, std::string_view secret) override;
  bool Clear(std::string_view setting, std::string_view user) override;
  std::string Describe() override;

  // Called once, with the new Describe() text, when the keyring is given up
  // during the run (the passwords go to the settings file from then on).
  void OnGiveUp(std::function<void(const std::string &)> note);

private:
  // Called with the lock held: the keyring is not used again in this run.
  void GiveUp(const char *problem);
  std::string Unavailable() const;

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

} // namespace shell
