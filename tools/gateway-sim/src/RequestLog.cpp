#include "RequestLog.h"

#include "AuthScrambler.h"
#include "FormParams.h"

#include <codepage/Codepage.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

namespace gatewaysim {

namespace {
std::string IsoTime(int64_t ms) {
  std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                static_cast<int>(ms % 1000 + 1000) % 1000);
  return text;
}

// Decoded parameters of query and body, with the scrambled login opened.
nlohmann::json Params(const LogEntry &e) {
  FormParams params = FormParams::FromText(e.query);
  params.Parse(e.body);
  nlohmann::json out = nlohmann::json::object();
  for (const auto &[key, value] : params.Pairs()) {
    std::string k = codepage::AnsiToUtf8(key);
    if (!out.contains(k)) out[k] = codepage::AnsiToUtf8(value);
  }
  if (auto scrambled = params.Get("string")) {
    if (auto plain = AuthScrambler::Unscramble(*scrambled)) {
      out["string_decoded"] = codepage::AnsiToUtf8(*plain);
    }
  }
  return out;
}
} // namespace

RequestLog::~RequestLog() {
  if (file_) std::fclose(file_);
}

bool RequestLog::OpenFile(const std::string &path, std::string &error) {
  std::FILE *file = std::fopen(path.c_str(), "a");
  if (!file) {
    error = "cannot open log " + path + ": " + std::strerror(errno);
    return false;
  }
  std::lock_guard lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = file;
  return true;
}

std::string RequestLog::ToJsonLine(const LogEntry &e) {
  nlohmann::json line = {
      {"seq", e.seq},
      {"time", IsoTime(e.timeMs)},
      {"time_ms", e.timeMs},
      {"method", e.method},
      {"path", codepage::AnsiToUtf8(e.path)},
      {"query", codepage::AnsiToUtf8(e.query)},
      {"body", codepage::AnsiToUtf8(e.body)},
      {"params", Params(e)},
      {"status", e.status},
      {"reply", codepage::AnsiToUtf8(e.reply)},
      {"fault", e.fault},
  };
  return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

uint64_t RequestLog::Add(LogEntry entry) {
  std::lock_guard lock(mutex_);
  entry.seq = nextSeq_++;
  if (file_) {
    std::string line = ToJsonLine(entry);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
  }
  uint64_t seq = entry.seq;
  if (limit_ > 0) {
    bytes_ += Weight(entry);
    entries_.push_back(std::move(entry));
    while (entries_.size() > limit_ || (bytes_ > byteLimit_ && entries_.size() > 1)) {
      bytes_ -= Weight(entries_.front());
      entries_.pop_front();
    }
  }
  return seq;
}

std::string RequestLog::JsonLines(uint64_t sinceSeq) const {
  std::vector<LogEntry> selected;
  {
    std::lock_guard lock(mutex_);
    for (const LogEntry &e : entries_) {
      if (e.seq > sinceSeq) selected.push_back(e);
    }
  }
  std::string out;
  for (const LogEntry &e : selected) {
    out += ToJsonLine(e);
    out.push_back('\n');
  }
  return out;
}

void RequestLog::Clear() {
  std::lock_guard lock(mutex_);
  entries_.clear();
  bytes_ = 0;
}

size_t RequestLog::Weight(const LogEntry &e) {
  return sizeof(LogEntry) + e.method.size() + e.path.size() + e.query.size() + e.body.size() +
         e.reply.size() + e.fault.size();
}

uint64_t RequestLog::LastSeq() const {
  std::lock_guard lock(mutex_);
  return nextSeq_ - 1;
}

} // namespace gatewaysim
