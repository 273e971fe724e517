#pragma once
// PasswordVault: where the settings' passwords are kept when the desktop
// offers a keyring. One secret per setting ("Password", "ProxyPassword",
// "Outlook_Password") and user name; a secret kept for another user name is
// never returned.
//
// The process-wide vault is set by start-up (or by a test) and read by
// LoadSettings, SaveSettings and SaveLoginSettings; without one, or while it
// is not available, the passwords stay in the settings file as they always
// did.

#include <optional>
#include <string>
#include <string_view>

namespace shell {

class PasswordVault {
public:
  virtual ~PasswordVault() = default;
  // True when the keyring can be reached and used.
  virtual bool Available() = 0;
  // The secret of `setting` for `user`, or nothing (none kept, or failure).
  virtual std::optional<std::string> Lookup(std::string_view setting, std::string_view user) = 0;
  // Keeps `secret` for `setting` and `user`, replacing an earlier one.
  virtual bool Store(std::string_view setting, std::string_view user, std::string_view secret) = 0;
  // Forgets the secret of `setting` for `user` (true when none is left).
  virtual bool Clear(std::string_view setting, std::string_view user) = 0;
  // Where the passwords go, for the log: one line of text.
  virtual std::string Describe() = 0;
};

// The process-wide vault (null: none).
PasswordVault *CurrentPasswordVault();
void SetPasswordVault(PasswordVault *vault);

} // namespace shell
