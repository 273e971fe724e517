#include "ProxyApply.h"

#include "MessageBoxes.h"
#include "ProxyConfigurator.h"
#include "UiText.h"

#include "engine/EngineServices.h"
#include "engine/UserPrompt.h"
#include "shell/Settings.h"

#include <strings.h>

namespace ui {

namespace {
bool SameIgnoringCase(const std::string &a, const std::string &b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}
} // namespace

bool ProxyApply::Differs(const ProxyFields &fields, const shell::Settings &settings) {
  bool changed = fields.mode != settings.ProxyType;
  if (fields.mode == kUseProxyList) {
    changed = changed || !SameIgnoringCase(fields.host, settings.ProxyHost) ||
              !SameIgnoringCase(fields.port, settings.ProxyPort) ||
              !SameIgnoringCase(fields.user, settings.ProxyUsername);
    changed = changed || !SameIgnoringCase(fields.password, settings.ProxyPassword);
  }
  return changed;
}

int ProxyApply::Run(const ProxyFields &fields, bool force, shell::Settings &settings,
                    engine::GatewayApi &gateway, QWidget *owner) {
  if (!force && !Differs(fields, settings)) return kUnchanged;
  {
    auto hold = shell::LockSettings(settings);
    settings.ProxyType = fields.mode;
    settings.ProxyHost = fields.host;
    settings.ProxyPort = fields.port;
    settings.ProxyUsername = fields.user;
    settings.ProxyPassword = fields.password;
  }
  int code =
      ProxyConfigurator::Run(gateway, settings, engine::IsWorkingOnLine(settings) || force, owner);
  if (code == 0 && force)
    MessageBoxes::Show(owner, Text(1385), Text(1384), engine::kBoxOk | engine::kBoxIconInformation);
  return code;
}

} // namespace ui
