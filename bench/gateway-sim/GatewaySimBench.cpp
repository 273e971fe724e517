// How many small requests per second the gateway simulator answers on
// loopback: keep-alive clients and HTTP/1.0 clients that open a connection
// per request (as the library's plain path does), on the cheapest path
// (utils/nettest) and on the paths that touch the state (send, query).
// Run pinned to one core to see the one-core rate:
//   taskset -c 0 bench_gateway_sim

#include <gatewaysim/GatewaySimServer.h>

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <mutex>
#include <string>

namespace {

gatewaysim::GatewaySimServer &Server() {
  static std::unique_ptr<gatewaysim::GatewaySimServer> server = [] {
    gatewaysim::SimOptions options;
    options.speed = 0;
    options.logLimit = 10000;
    options.sessionIdleMs = 24LL * 3600 * 1000;
    gatewaysim::AccountSpec account = gatewaysim::SimOptions::DemoAccount();
    account.balance = 1e9;
    options.accounts = {account};
    auto s = std::make_unique<gatewaysim::GatewaySimServer>(options);
    if (!s->Start()) std::abort();
    return s;
  }();
  return *server;
}

// One HTTP/1.0 exchange on a fresh connection; returns the reply body.
std::string Http10(int port, const std::string &target) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string response;
  if (connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0) {
    std::string request = "GET /" + target + " HTTP/1.0\r\nAccept: */*\r\n\r\n";
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    char buf[1024];
    for (ssize_t n; (n = recv(fd, buf, sizeof buf, 0)) > 0;)
      response.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  size_t body = response.find("\r\n\r\n");
  return body == std::string::npos ? "" : response.substr(body + 4);
}

const std::string &Session() {
  static std::string session = [] {
    std::string reply =
        Http10(Server().Port(), "http/auth?api_id=3010101&user=demo&password=demo123");
    return reply.size() > 4 ? reply.substr(4) : std::string();
  }();
  return session;
}

void CountRequests(benchmark::State &state) {
  state.SetItemsProcessed(state.iterations());
  state.counters["req_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Http10_NetTest(benchmark::State &state) {
  int port = Server().Port();
  for (auto _ : state) {
    if (Http10(port, "utils/nettest") != "OK") state.SkipWithError("bad reply");
  }
  CountRequests(state);
}
BENCHMARK(BM_Http10_NetTest)->UseRealTime()->Threads(1)->Threads(4);

void BM_Http10_SendMsg(benchmark::State &state) {
  int port = Server().Port();
  std::string target = "http/sendmsg?session_id=" + Session() +
                       "&text=Hi+there&to=27831234567&mo=0&msg_type=SMS_TEXT";
  for (auto _ : state) {
    if (Http10(port, target).rfind("ID: ", 0) != 0) state.SkipWithError("bad reply");
  }
  CountRequests(state);
}
BENCHMARK(BM_Http10_SendMsg)->UseRealTime()->Threads(1)->Threads(4);

void BM_KeepAlive_NetTest(benchmark::State &state) {
  httplib::Client client("127.0.0.1", Server().Port());
  client.set_keep_alive(true);
  for (auto _ : state) {
    auto res = client.Get("/utils/nettest");
    if (!res || res->body != "OK") state.SkipWithError("bad reply");
  }
  CountRequests(state);
}
BENCHMARK(BM_KeepAlive_NetTest)->UseRealTime()->Threads(1)->Threads(4);

void BM_KeepAlive_QueryMsg(benchmark::State &state) {
  httplib::Client client("127.0.0.1", Server().Port());
  client.set_keep_alive(true);
  auto sent =
      client.Get(("/http/sendmsg?session_id=" + Session() + "&text=q&to=27831234567").c_str());
  std::string query = "/http/querymsg?session_id=" + Session() +
                      "&apiMsgId=" + (sent && sent->body.size() > 4 ? sent->body.substr(4) : "");
  for (auto _ : state) {
    auto res = client.Get(query.c_str());
    if (!res || res->body.rfind("ID: ", 0) != 0) state.SkipWithError("bad reply");
  }
  CountRequests(state);
}
BENCHMARK(BM_KeepAlive_QueryMsg)->UseRealTime()->Threads(1)->Threads(4);

} // namespace

BENCHMARK_MAIN();
