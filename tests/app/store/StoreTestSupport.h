#pragma once
// Shared pieces of the store tests: a recording log writer and clipboard,
// a sandboxed data folder and raw access to the database file.

#include "shell/LogWriter.h"
#include "shell/Settings.h"
#include "store/Clipboard.h"
#include "store/SmsStore.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace storetest {

class RecordingLog : public shell::LogWriter {
public:
  void WriteEntry(std::string_view text) override {
    std::lock_guard<std::mutex> guard(lock);
    entries.emplace_back(text);
  }
  std::vector<std::string> Entries() {
    std::lock_guard<std::mutex> guard(lock);
    return entries;
  }

private:
  std::mutex lock;
  std::vector<std::string> entries;
};

class RecordingClipboard : public store::Clipboard {
public:
  bool SetText(const std::string &value) override {
    ++calls;
    if (refuse) return false;
    text = value;
    return true;
  }
  bool refuse = false;
  int calls = 0;
  std::string text;
};

// Runs SQL on a database file with a connection of its own; returns the
// rows as "a|b|c" lines.
std::vector<std::string> RawQuery(const std::filesystem::path &db, const std::string &sql);
// Runs statements on a database file; false on error.
bool RawExec(const std::filesystem::path &db, const std::string &sql);

} // namespace storetest
