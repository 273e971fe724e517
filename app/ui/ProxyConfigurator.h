#pragma once
// The proxy configuration routine: hands the connection settings (ProxyType
// and the proxy host, port, user name and password) to the library with
// ConfigureProxyEx and returns the library's error code. A failure is
// reported in the message dialog (caption 1137, the help address as link):
// string 1140 for 95 (proxy unreachable), 1141 for 96 (no way through the
// proxy), 1136 for anything else.

class QWidget;

namespace engine {
class GatewayApi;
}
namespace shell {
struct Settings;
}

namespace ui {

class ProxyConfigurator {
public:
  static constexpr int kProxyUnreachable = 95;
  static constexpr int kProxyRefused = 96;

  // 0 on success. A session the library could not open (its result an
  // "ERR:" line while the error code still reads 0) counts as failure -1.
  static int Run(engine::GatewayApi &gateway, const shell::Settings &settings, bool testOnline,
                 QWidget *owner);

  // The string id of the message for a failure code.
  static int MessageFor(int code);
};

} // namespace ui
