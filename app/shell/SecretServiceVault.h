#pragma once
// SecretServiceVault: the desktop keyring through the Secret Service
// (GNOME Keyring, KWallet, KeePassXC) over the session bus, with libsecret.
//
// Items carry the attributes application = "dovetext", setting = the setting
// name and user = the user name, so `secret-tool clear application dovetext`
// removes them all. Every call waits at most `timeoutMs` (an unlock prompt
// the user does not answer counts as failure).

#include "shell/PasswordVault.h"

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

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

} // namespace shell
