#include "ProxyConfigurator.h"

#include "MessageDialog.h"
#include "UiText.h"

#include "engine/GatewayApi.h"
#include "shell/Settings.h"

#include <mutex>

namespace ui {

int ProxyConfigurator::MessageFor(int code) {
  if (code == kProxyUnreachable) return 1140;
  if (code == kProxyRefused) return 1141;
  return 1136;
}

int ProxyConfigurator::Run(engine::GatewayApi &gateway, const shell::Settings &settings,
                           bool testOnline, QWidget *owner) {
  int code = -1;
  {
    std::lock_guard unit(gateway.CallLock());
    std::string result;
    HRESULT hr = gateway.ConfigureProxyEx(
        testOnline, settings.ProxyType, settings.ProxyHost.c_str(), settings.ProxyPort.c_str(),
        settings.ProxyUsername.c_str(), settings.ProxyPassword.c_str(), &result);
    if (SUCCEEDED(hr)) {
      code = gateway.LastError();
      if (code == 0 && result.rfind("ERR:", 0) == 0) code = -1;
    }
  }
  if (code != 0)
    MessageDialog::Show(owner, Text(1137), Text(MessageFor(code)), FromAnsi(settings.help_url));
  return code;
}

} // namespace ui
