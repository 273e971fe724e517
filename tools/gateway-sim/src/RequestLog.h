#pragma once
// The request log: one entry per request with method, path, query, body,
// simulated time, HTTP status, reply and injected fault. Kept in memory up
// to a limit and optionally appended to a file as JSON lines. Thread-safe.

#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

namespace gatewaysim {

struct LogEntry {
  uint64_t seq = 0;
  int64_t timeMs = 0; // simulated
  std::string method;
  std::string path;
  std::string query;
  std::string body;
  int status = 0; // HTTP status; 0 when no reply was sent
  std::string reply;
  std::string fault; // "" or the kind of the fault that fired
};

class RequestLog {
public:
  // Keeps at most `limit` entries and about `byteLimit` bytes of them.
  explicit RequestLog(size_t limit, size_t byteLimit = 64u << 20)
      : limit_(limit), byteLimit_(byteLimit) {}
  ~RequestLog();

  // Appends to `path` from now on. False when it cannot be opened.
  bool OpenFile(const std::string &path, std::string &error);
  uint64_t Add(LogEntry entry); // returns the entry's sequence number
  // Entries with a sequence number above `sinceSeq`, one JSON object a line.
  std::string JsonLines(uint64_t sinceSeq = 0) const;
  void Clear();
  uint64_t LastSeq() const;

  static std::string ToJsonLine(const LogEntry &entry);

private:
  mutable std::mutex mutex_;
  static size_t Weight(const LogEntry &e);

  size_t limit_;
  size_t byteLimit_;
  size_t bytes_ = 0;
  uint64_t nextSeq_ = 1;
  std::deque<LogEntry> entries_;
  std::FILE *file_ = nullptr;
};

} // namespace gatewaysim
