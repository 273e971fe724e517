#pragma once
// The start-up check that the program is registered with a mail client
// (run without force once mail access is available). Unregistered, or when
// forced, the user chooses one of the mail clients listed in the registry;
// the desktop's default mailto handler is preselected, else the first. The
// choice is recorded as the "dovetext" value. When the user cancels or the
// registry cannot be written, and the program was not registered before,
// strings 1120 and 1121 tell the user (information icon).

#include "contacts/MailClientRegistry.h"

#include <optional>
#include <string>
#include <vector>

namespace contacts {

// Asks the user for a mail client: the chosen name, or nothing on Cancel.
class MailClientChooser {
public:
  virtual ~MailClientChooser() = default;
  virtual std::optional<std::string> Choose(const std::vector<std::string> &clients,
                                            int preselected) = 0;
};

class MailRouting {
public:
  static constexpr int kFailedTextId = 1120;
  static constexpr int kFailedCaptionId = 1121;

  enum class Outcome {
    AlreadyRegistered, // nothing asked
    Registered,        // the user's choice was recorded
    Kept,              // not recorded, but the earlier registration stands
    Failed,            // not registered: show strings 1120/1121
  };

  static Outcome Check(MailClientRegistry &registry, bool force,
                       const std::string &defaultDesktopId, MailClientChooser &chooser);

  // The entry to preselect: the client of the default handler, else 0.
  static int Preselected(const MailClientRegistry &registry, const std::vector<std::string> &names,
                         const std::string &defaultDesktopId);
};

} // namespace contacts
