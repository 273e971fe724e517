#pragma once
// An HTTP server on 127.0.0.1 for tests: it records every request it gets
// and answers from a script that the test sets per path.
//
//   testsupport::RecordingServer server;           // cpp-httplib, free port
//   server.SetReply("/http/auth", testsupport::ScriptedReply::Text("OK: abc"));
//   setenv("PARLINK_BASE_URL", server.BaseUrl().c_str(), 1);
//   ... drive the client ...
//   auto request = server.LastRequest();           // method, path, query, body, headers
//
// Mode::RawSocket serves from a plain socket listener instead: every reply
// can then be given as raw bytes (a Content-Length that does not match the
// body, a broken status line, a connection closed half-way). Both modes
// record the same fields. Stalls end when the server is stopped, so a test
// never hangs on its own server.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testsupport {

struct RecordedRequest {
  std::string method; // "GET", "POST", ...
  std::string target; // the request target as sent (path and query, or an absolute URL)
  std::string path;   // the target up to "?", undecoded
  std::string query;  // the raw text after "?", empty when there is none
  bool hasQuery = false;
  std::string body;
  std::string version; // "HTTP/1.0" or "HTTP/1.1"
  // In arrival order (Mode::RawSocket) or sorted by name (Mode::Http).
  std::vector<std::pair<std::string, std::string>> headers;

  // The first header of that name (case-insensitive); empty when absent.
  std::string Header(const std::string &name) const;
  bool HasHeader(const std::string &name) const;
};

struct ScriptedReply {
  int status = 200;
  std::string body = "OK:";
  std::string contentType = "text/plain";
  // Waits this long before answering (cut short when the server stops).
  std::chrono::milliseconds stall{0};
  // RawSocket mode only: when set, these bytes are written instead of a
  // response built from the fields above, and the connection is closed.
  std::optional<std::string> raw;
  // RawSocket mode only: keeps the connection open this long after the
  // reply was written (cut short when the server stops).
  std::chrono::milliseconds holdOpen{0};

  // A text reply with a status code.
  static ScriptedReply Text(std::string body, int status = 200) {
    ScriptedReply reply;
    reply.body = std::move(body);
    reply.status = status;
    return reply;
  }
  // Raw response bytes (Mode::RawSocket).
  static ScriptedReply Raw(std::string bytes) {
    ScriptedReply reply;
    reply.raw = std::move(bytes);
    return reply;
  }
  ScriptedReply &WithStall(std::chrono::milliseconds wait) {
    stall = wait;
    return *this;
  }
  ScriptedReply &HoldingOpen(std::chrono::milliseconds wait) {
    holdOpen = wait;
    return *this;
  }
};

class RecordingServer {
public:
  enum class Mode { Http, RawSocket };

  explicit RecordingServer(Mode mode = Mode::Http);
  ~RecordingServer();
  RecordingServer(const RecordingServer &) = delete;
  RecordingServer &operator=(const RecordingServer &) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>/"
  std::string BaseUrl() const;

  // Reply for requests whose path (before "?") equals `path`; a missing
  // leading "/" is added.
  void SetReply(const std::string &path, ScriptedReply reply);
  // Reply for every path without one of its own (initially 200 "OK:").
  void SetDefaultReply(ScriptedReply reply);

  std::vector<RecordedRequest> Requests() const;
  size_t RequestCount() const;
  std::optional<RecordedRequest> LastRequest() const;
  void ClearRequests();
  // Waits until at least `count` requests arrived; false on time-out.
  bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;

  void Stop();

private:
  ScriptedReply ReplyFor(const std::string &path) const;
  void Record(RecordedRequest request);
  // Sleeps up to `stall`; returns early when the server stops.
  void Stall(std::chrono::milliseconds stall) const;

  void StartHttp();
  void StartRaw();
  void RawLoop();
  void ServeRawConnection(int fd);

  Mode mode_;
  int port_ = 0;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool stopping_ = false;
  std::map<std::string, ScriptedReply> replies_;
  ScriptedReply defaultReply_;
  std::vector<RecordedRequest> requests_;

  struct HttpParts;
  std::unique_ptr<HttpParts> http_;
  int listenFd_ = -1;
  int wakeFds_[2] = {-1, -1};
  std::thread thread_;
};

} // namespace testsupport
