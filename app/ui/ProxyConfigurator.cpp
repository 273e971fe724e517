#include "ProxyConfigurator.h"

#include "GatewayCall.h"
#include "MessageDialog.h"
#include "UiText.h"

#include "engine/GatewayApi.h"
#include "shell/Settings.h"

#include <cstdint>
#include <string>

namespace ui {

int ProxyConfigurator::MessageFor(int code) {
  if (code == kProxyUnreachable) return 1140;
  if (code == kProxyRefused) return 1141;
  return 1136;
}

int ProxyConfigurator::Run(engine::GatewayApi &gateway, const shell::Settings &settings,
                           bool testOnline, QWidget *owner) {
  // The settings are read here, on the user-interface thread; the test of
  // the connection may wait on the network, so it runs off that thread.
  const std::int32_t type = settings.ProxyType;
  const std::string host = settings.ProxyHost;
  const std::string port = settings.ProxyPort;
  const std::string user = settings.ProxyUsername;
  const std::string password = settings.ProxyPassword;
  const GatewayReply reply = CallGateway(gateway, [=](engine::GatewayApi &g, std::string *result) {
    return g.ConfigureProxyEx(testOnline, type, host.c_str(), port.c_str(), user.c_str(),
                              password.c_str(), result);
  });
  int code = reply.code;
  if (code == 0 && reply.text.rfind("ERR:", 0) == 0) code = -1;
  if (code != 0)
    MessageDialog::Show(owner, Text(1137), Text(MessageFor(code)), FromAnsi(settings.help_url));
  return code;
}

} // namespace ui
