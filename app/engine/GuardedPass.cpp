#include "GuardedPass.h"

#include "CrashReport.h"
#include "FaultGuard.h"

namespace engine {

std::optional<std::uint32_t> GuardedPass::Run(const std::function<void()> &pass,
                                              shell::LogWriter *log) {
  CrashContext crash;
  bool cppException = false;
  const bool faulted = FaultGuard::Run(
      [&] {
        try {
          pass();
        } catch (...) {
          cppException = true;
        }
      },
      crash);
  if (!faulted && !cppException) return std::nullopt;

  if (cppException) {
    // No processor context: the report shows where the pass was run from.
    crash = CrashContext{};
    crash.record.code = kCppExceptionCode;
    crash.record.address = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    crash.context.rbp = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    crash.context.rip = crash.record.address;
  }
  if (log != nullptr) WriteCrashReport(&crash, *log);
  return crash.record.code;
}

} // namespace engine
