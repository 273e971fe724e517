#pragma once
// Runs one pass of the communications worker (outbox dispatch, a status
// pass, a server deletion) so that neither a processor fault nor a C++
// exception escaping it ends the worker. The pass is abandoned, what it held
// of the tracked locks is released (FaultGuard), and the crash report is
// written to the log whatever `WriteLog` says: it is the only trace such a
// fault leaves. The caller then writes its own "CRITICAL ERROR" line and
// carries on with its next step.

#include "shell/LogWriter.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace engine {

class GuardedPass {
public:
  // The exception code reported for a C++ exception (the code such
  // exceptions carry on Windows).
  static constexpr std::uint32_t kCppExceptionCode = 0xE06D7363u;

  // Runs `pass`. Nothing when it completed; the exception code when it was
  // abandoned (the report is then in `log`, when there is one).
  static std::optional<std::uint32_t> Run(const std::function<void()> &pass, shell::LogWriter *log);
};

} // namespace engine
