#pragma once
// The proxy-apply step behind the proxy settings dialog and the Options
// page: compares the entered connection settings with the stored ones,
// stores them and runs the proxy configuration routine when something
// changed (or when forced, as "Test" does), and confirms a forced run that
// succeeded with string 1385 (caption 1384).

#include <string>

class QWidget;

namespace engine {
class GatewayApi;
}
namespace shell {
struct Settings;
}

namespace ui {

struct ProxyFields {
  int mode = 1; // 1..4 in the order of the proxy dialog's list
  std::string host;
  std::string port;
  std::string user;
  std::string password;
};

class ProxyApply {
public:
  static constexpr int kUseProxyList = 4;
  // Run's result when nothing changed and nothing was run.
  static constexpr int kUnchanged = -1000;

  // Whether the entries differ from the settings as the step decides it.
  static bool Differs(const ProxyFields &fields, const shell::Settings &settings);

  // The routine's code, or kUnchanged.
  static int Run(const ProxyFields &fields, bool force, shell::Settings &settings,
                 engine::GatewayApi &gateway, QWidget *owner);
};

} // namespace ui
