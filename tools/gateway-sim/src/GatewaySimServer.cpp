#include <gatewaysim/GatewaySimServer.h>

#include "AdminApi.h"
#include "Counters.h"
#include "CreditAmount.h"
#include "FaultInjector.h"
#include "Gateway.h"
#include "GatewayState.h"
#include "HttpFrontEnd.h"
#include "RequestLog.h"
#include "ServerSockets.h"
#include "SimClock.h"
#include "StallGate.h"

#include <httplib.h>

#include <sys/socket.h>

#include <atomic>
#include <csignal>
#include <thread>

namespace gatewaysim {

AccountSpec SimOptions::DemoAccount() {
  AccountSpec demo;
  demo.apiId = "3010101";
  demo.clientId = "DVTX";
  demo.user = "demo";
  demo.password = "demo123";
  demo.email = "demo@dovetext.example";
  demo.balance = 100;
  demo.vouchers = {{"1111222233334444", 50, false}, {"5555666677778888", 20, false}};
  return demo;
}

class GatewaySimServer::Impl {
public:
  explicit Impl(SimOptions options)
      : options_(std::move(options)),
        clock_(options_.speed, options_.startTimeMs, options_.realClockMs),
        state_(options_, clock_, counters_), gateway_(state_), log_(options_.logLimit),
        admin_(state_, faults_, stalls_, log_),
        frontEnd_(gateway_, admin_, faults_, stalls_, log_, counters_, clock_) {}

  ~Impl() { Stop(); }

  bool Start(std::string &error);
  void Stop();

  SimOptions options_;
  SimClock clock_;
  Counters counters_;
  GatewayState state_;
  Gateway gateway_;
  FaultInjector faults_;
  StallGate stalls_;
  RequestLog log_;
  AdminApi admin_;
  HttpFrontEnd frontEnd_;

  struct Listener {
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<bool> finished{false};
    int port = -1;
  };
  Listener http_;
  Listener https_;
  bool loaded_ = false;
  bool running_ = false;

private:
  void Configure(httplib::Server &server);
  bool Listen(Listener &listener, int wanted, std::string &error);
  void Close(Listener &listener);
};

void GatewaySimServer::Impl::Configure(httplib::Server &server) {
  int threads = options_.threads > 0 ? options_.threads : 32;
  server.new_task_queue = [threads] {
    return new httplib::ThreadPool(static_cast<size_t>(threads));
  };
  server.set_keep_alive_timeout(options_.keepAliveTimeoutSec > 0 ? options_.keepAliveTimeoutSec
                                                                 : 1);
  server.set_keep_alive_max_count(1000);
  server.set_read_timeout(10);
  server.set_write_timeout(10);
  server.set_payload_max_length(1 << 20);
  server.set_tcp_nodelay(true);
  // Only SO_REUSEADDR: a port that another listener holds must be refused,
  // not shared.
  server.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  frontEnd_.Attach(server);
}

bool GatewaySimServer::Impl::Listen(Listener &listener, int wanted, std::string &error) {
  httplib::Server &server = *listener.server;
  Configure(server);
  int bound = -1;
  if (wanted == 0) {
    bound = server.bind_to_any_port(options_.bindAddress);
  } else if (wanted > 0 && wanted < 65536) {
    bound = server.bind_to_port(options_.bindAddress, wanted) ? wanted : -1;
  }
  if (bound <= 0) {
    error = "cannot listen on " + options_.bindAddress + ":" + std::to_string(wanted);
    listener.server.reset();
    return false;
  }
  listener.port = bound;
  ServerSockets::WidenBacklog(bound, SOMAXCONN);
  listener.finished = false;
  listener.thread = std::thread([&listener] {
    listener.server->listen_after_bind();
    listener.finished = true;
  });
  // stop() only takes effect once the accept loop runs.
  while (!server.is_running() && !listener.finished) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void GatewaySimServer::Impl::Close(Listener &listener) {
  if (!listener.server) return;
  // Requests in progress finish (stalls were released before); an idle
  // keep-alive connection holds its thread until the keep-alive time-out.
  listener.server->stop();
  if (listener.thread.joinable()) listener.thread.join();
  listener.server.reset();
}

bool GatewaySimServer::Impl::Start(std::string &error) {
  if (running_) return true;
  if (!loaded_) {
    if (!state_.LoadAccounts(options_, error)) return false;
    for (const FaultSpec &fault : options_.faults) {
      if (!faults_.Add(fault, error)) {
        faults_.Clear();
        return false;
      }
    }
    if (!options_.logFile.empty() && !log_.OpenFile(options_.logFile, error)) return false;
    loaded_ = true;
  }
  // A client that hangs up makes writes fail; that must not end the process.
  if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR) {
    error = "cannot ignore SIGPIPE";
    return false;
  }
  stalls_.Restart();

  http_.server = std::make_unique<httplib::Server>();
  if (!Listen(http_, options_.port, error)) return false;
  if (options_.httpsPort >= 0) {
    auto secure =
        std::make_unique<httplib::SSLServer>(options_.certFile.c_str(), options_.keyFile.c_str());
    if (!secure->is_valid()) {
      error = "cannot use certificate " + options_.certFile + " with key " + options_.keyFile;
      Stop();
      return false;
    }
    https_.server = std::move(secure);
    if (!Listen(https_, options_.httpsPort, error)) {
      Stop();
      return false;
    }
  }
  running_ = true;
  return true;
}

void GatewaySimServer::Impl::Stop() {
  stalls_.Stop();
  Close(http_);
  Close(https_);
  running_ = false;
}

GatewaySimServer::GatewaySimServer(SimOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

GatewaySimServer::~GatewaySimServer() = default;

bool GatewaySimServer::Start(std::string *error) {
  std::string message;
  bool ok = impl_->Start(message);
  if (!ok && error) *error = message;
  return ok;
}

void GatewaySimServer::Stop() {
  impl_->Stop();
}
bool GatewaySimServer::Running() const {
  return impl_->running_;
}
int GatewaySimServer::Port() const {
  return impl_->http_.port;
}
int GatewaySimServer::HttpsPort() const {
  return impl_->https_.port;
}

std::string GatewaySimServer::BaseUrl() const {
  std::string host = impl_->options_.bindAddress;
  if (host == "0.0.0.0" || host.empty()) host = "127.0.0.1";
  if (host == "::") host = "::1";
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return "http://" + host + ":" + std::to_string(impl_->http_.port) + "/";
}

int64_t GatewaySimServer::NowMs() const {
  return impl_->clock_.NowMs();
}
void GatewaySimServer::AdvanceMs(int64_t ms) {
  impl_->clock_.AdvanceMs(ms);
}
void GatewaySimServer::SetSpeed(double speed) {
  impl_->clock_.SetSpeed(speed);
}

bool GatewaySimServer::AddFault(const FaultSpec &fault, std::string *error) {
  std::string message;
  bool ok = impl_->faults_.Add(fault, message);
  if (!ok && error) *error = message;
  return ok;
}

void GatewaySimServer::ClearFaults() {
  impl_->faults_.Clear();
  impl_->stalls_.ReleaseAll();
}

void GatewaySimServer::ReleaseStalls() {
  impl_->stalls_.ReleaseAll();
}

std::optional<double> GatewaySimServer::Balance(const std::string &accountId) const {
  std::lock_guard lock(impl_->state_.mutex);
  auto index = impl_->state_.accounts.FindById(accountId);
  if (!index) return std::nullopt;
  return CreditAmount::ToCredits(impl_->state_.accounts.At(*index).balance);
}

void GatewaySimServer::ExpireSessions() {
  std::lock_guard lock(impl_->state_.mutex);
  impl_->state_.sessions.Clear();
}

std::string GatewaySimServer::LogJsonLines(uint64_t sinceSeq) const {
  return impl_->log_.JsonLines(sinceSeq);
}

} // namespace gatewaysim
