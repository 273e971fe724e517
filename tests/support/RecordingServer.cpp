#include "testsupport/RecordingServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <stdexcept>

namespace testsupport {

namespace {

bool EqualNoCase(const std::string &a, const std::string &b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string NormalisedPath(const std::string &path) {
  if (!path.empty() && path.front() == '/') return path;
  return "/" + path;
}

void SplitTarget(RecordedRequest &request) {
  const size_t question = request.target.find('?');
  request.hasQuery = question != std::string::npos;
  request.path = request.target.substr(0, question);
  request.query = request.hasQuery ? request.target.substr(question + 1) : std::string();
  // An absolute-form target ("http://host/path") is recorded by its path too.
  const size_t scheme = request.path.find("://");
  if (scheme != std::string::npos && request.path.compare(0, 1, "/") != 0) {
    const size_t slash = request.path.find('/', scheme + 3);
    request.path = slash == std::string::npos ? "/" : request.path.substr(slash);
  }
}

const char *ReasonPhrase(int status) {
  switch (status) {
  case 200:
    return "OK";
  case 404:
    return "Not Found";
  case 500:
    return "Internal Server Error";
  default:
    return "Status";
  }
}

bool WriteAll(int fd, const std::string &bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

} // namespace

std::string RecordedRequest::Header(const std::string &name) const {
  for (const auto &[key, value] : headers)
    if (EqualNoCase(key, name)) return value;
  return {};
}

bool RecordedRequest::HasHeader(const std::string &name) const {
  return std::any_of(headers.begin(), headers.end(),
                     [&](const auto &header) { return EqualNoCase(header.first, name); });
}

struct RecordingServer::HttpParts {
  httplib::Server server;
  std::atomic<bool> finished{false};
};

RecordingServer::RecordingServer(Mode mode) : mode_(mode) {
  if (mode_ == Mode::Http)
    StartHttp();
  else
    StartRaw();
}

RecordingServer::~RecordingServer() {
  Stop();
}

std::string RecordingServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void RecordingServer::SetReply(const std::string &path, ScriptedReply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_[NormalisedPath(path)] = std::move(reply);
}

void RecordingServer::SetDefaultReply(ScriptedReply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  defaultReply_ = std::move(reply);
}

ScriptedReply RecordingServer::ReplyFor(const std::string &path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = replies_.find(path);
  return found != replies_.end() ? found->second : defaultReply_;
}

void RecordingServer::Record(RecordedRequest request) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(std::move(request));
  changed_.notify_all();
}

std::vector<RecordedRequest> RecordingServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

size_t RecordingServer::RequestCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.size();
}

std::optional<RecordedRequest> RecordingServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (requests_.empty()) return std::nullopt;
  return requests_.back();
}

void RecordingServer::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

bool RecordingServer::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

void RecordingServer::Stall(std::chrono::milliseconds stall) const {
  if (stall.count() <= 0) return;
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, stall, [&] { return stopping_; });
}

void RecordingServer::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    changed_.notify_all();
  }
  if (http_) http_->server.stop();
  if (wakeFds_[1] >= 0) {
    const char wake = 1;
    [[maybe_unused]] ssize_t n = write(wakeFds_[1], &wake, 1);
  }
  if (thread_.joinable()) thread_.join();
  for (int &fd : wakeFds_) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  if (listenFd_ >= 0) close(listenFd_);
  listenFd_ = -1;
}

// ---- cpp-httplib mode -------------------------------------------------------

void RecordingServer::StartHttp() {
  http_ = std::make_unique<HttpParts>();
  httplib::Server &server = http_->server;
  const auto handler = [this](const httplib::Request &in, httplib::Response &out) {
    RecordedRequest request;
    request.method = in.method;
    request.target = in.target;
    request.body = in.body;
    request.version = in.version;
    for (const auto &[name, value] : in.headers) {
      // The server library adds these for its own bookkeeping.
      if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
          name == "LOCAL_PORT")
        continue;
      request.headers.emplace_back(name, value);
    }
    SplitTarget(request);
    const ScriptedReply reply = ReplyFor(request.path);
    Record(std::move(request));
    Stall(reply.stall);
    out.status = reply.status;
    out.set_content(reply.body, reply.contentType.c_str());
  };
  // Every path and method; the body has been read when these run.
  server.Get(".*", handler);
  server.Post(".*", handler);
  server.Put(".*", handler);
  server.Delete(".*", handler);
  server.Patch(".*", handler);
  server.Options(".*", handler);
  port_ = server.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("RecordingServer: cannot bind 127.0.0.1");
  thread_ = std::thread([this] {
    http_->server.listen_after_bind();
    http_->finished = true;
  });
  // stop() only reaches a server whose accept loop runs, so wait for it.
  while (!http_->server.is_running() && !http_->finished)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// ---- Raw socket mode --------------------------------------------------------

void RecordingServer::StartRaw() {
  listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) throw std::runtime_error("RecordingServer: socket failed");
  const int yes = 1;
  setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(listenFd_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      listen(listenFd_, 16) != 0)
    throw std::runtime_error("RecordingServer: cannot listen on 127.0.0.1");
  socklen_t length = sizeof address;
  getsockname(listenFd_, reinterpret_cast<sockaddr *>(&address), &length);
  port_ = ntohs(address.sin_port);
  if (pipe2(wakeFds_, O_CLOEXEC) != 0) throw std::runtime_error("RecordingServer: pipe failed");
  thread_ = std::thread([this] { RawLoop(); });
}

void RecordingServer::RawLoop() {
  for (;;) {
    pollfd waiting[2] = {{listenFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
    const int rc = poll(waiting, 2, -1);
    if (rc < 0 && errno == EINTR) continue;
    if (rc < 0 || (waiting[1].revents & POLLIN)) return;
    if (!(waiting[0].revents & POLLIN)) continue;
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ServeRawConnection(fd);
    close(fd);
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
  }
}

void RecordingServer::ServeRawConnection(int fd) {
  // Read the head, then as much body as Content-Length announces; give up
  // after a few seconds of silence or when the server stops.
  std::string data;
  size_t headEnd = std::string::npos;
  size_t wanted = 0;
  char buffer[4096];
  for (;;) {
    if (headEnd == std::string::npos) {
      headEnd = data.find("\r\n\r\n");
      if (headEnd != std::string::npos) {
        std::string lowered = data.substr(0, headEnd);
        std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const size_t at = lowered.find("\r\ncontent-length:");
        if (at != std::string::npos)
          wanted = static_cast<size_t>(std::strtoul(lowered.c_str() + at + 17, nullptr, 10));
      }
    }
    if (headEnd != std::string::npos && data.size() >= headEnd + 4 + wanted) break;
    pollfd waiting[2] = {{fd, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
    const int rc = poll(waiting, 2, 5000);
    if (rc < 0 && errno == EINTR) continue;
    if (rc <= 0 || (waiting[1].revents & POLLIN)) return;
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  if (headEnd == std::string::npos) return;

  RecordedRequest request;
  const std::string head = data.substr(0, headEnd);
  size_t lineEnd = head.find("\r\n");
  const std::string requestLine = head.substr(0, lineEnd);
  const size_t first = requestLine.find(' ');
  const size_t second = requestLine.rfind(' ');
  if (first == std::string::npos || second == first) return;
  request.method = requestLine.substr(0, first);
  request.target = requestLine.substr(first + 1, second - first - 1);
  request.version = requestLine.substr(second + 1);
  while (lineEnd != std::string::npos) {
    const size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    const std::string line = head.substr(start, lineEnd - start);
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    size_t valueStart = colon + 1;
    while (valueStart < line.size() && line[valueStart] == ' ')
      ++valueStart;
    request.headers.emplace_back(line.substr(0, colon), line.substr(valueStart));
  }
  request.body = data.substr(headEnd + 4);
  SplitTarget(request);

  const ScriptedReply reply = ReplyFor(request.path);
  Record(std::move(request));
  Stall(reply.stall);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
  }
  if (reply.raw) {
    WriteAll(fd, *reply.raw);
  } else {
    std::string response = "HTTP/1.0 " + std::to_string(reply.status) + " " +
                           ReasonPhrase(reply.status) + "\r\nContent-Type: " + reply.contentType +
                           "\r\nContent-Length: " + std::to_string(reply.body.size()) + "\r\n\r\n" +
                           reply.body;
    WriteAll(fd, response);
  }
  Stall(reply.holdOpen);
  shutdown(fd, SHUT_WR);
}

} // namespace testsupport
