#include "contacts/MailRouting.h"

namespace contacts {

int MailRouting::Preselected(const MailClientRegistry &registry,
                             const std::vector<std::string> &names,
                             const std::string &defaultDesktopId) {
  if (defaultDesktopId.empty()) return 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto client = registry.Client(names[i]);
    if (client && client->desktopId == defaultDesktopId) return static_cast<int>(i);
  }
  return 0;
}

MailRouting::Outcome MailRouting::Check(MailClientRegistry &registry, bool force,
                                        const std::string &defaultDesktopId,
                                        MailClientChooser &chooser) {
  bool registered = registry.RegisteredClient().has_value();
  if (registered && !force) return Outcome::AlreadyRegistered;

  std::vector<std::string> names = registry.ClientNames();
  auto chosen = chooser.Choose(names, Preselected(registry, names, defaultDesktopId));
  if (chosen && !chosen->empty() && registry.Register(*chosen)) return Outcome::Registered;
  return registered ? Outcome::Kept : Outcome::Failed;
}

} // namespace contacts
