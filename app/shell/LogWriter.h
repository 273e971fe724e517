#pragma once
// Where the program's log entries go: the Logger in the program, a recorder
// in tests. Callers decide with the `WriteLog` setting whether to write.

#include <string_view>

namespace shell {

class LogWriter {
public:
  virtual ~LogWriter() = default;
  // Appends one entry whose text is already formatted (cut to 1024 bytes).
  virtual void WriteEntry(std::string_view text) = 0;
};

} // namespace shell
