#pragma once
// The crash report: what a processor fault (SIGSEGV, SIGBUS, SIGFPE, SIGILL)
// inside protected code leaves in the log. It records the exception, the
// chain of nested exceptions, a stack trace by frame pointers with the
// module of every code address, and the registers of the faulting thread.
// It is written whatever the `WriteLog` setting says.
//
// Exception codes are the Windows numbers of the matching exceptions, so
// reports read the same on every platform:
//   SIGSEGV                    0xC0000005 (access violation)
//   SIGBUS, misaligned access  0x80000002 (datatype misalignment)
//   SIGBUS, other              0xC0000006 (in-page error)
//   SIGFPE, integer divide     0xC0000094, integer overflow 0xC0000095,
//          float divide        0xC000008E, overflow 0xC0000091,
//          underflow 0xC0000093, inexact 0xC000008F, subscript
//          0xC000008C, other 0xC0000090 (invalid operation)
//   SIGILL, privileged opcode  0xC0000096, other 0xC000001D (illegal
//          instruction)
// The one exception parameter is the fault address (si_addr).

#include "shell/LogWriter.h"

#include <cstddef>
#include <cstdint>

namespace engine {

struct ExceptionRecord {
  static constexpr std::size_t kMaxParameters = 15;
  std::uint32_t code = 0;
  std::uint32_t flags = 0;
  const ExceptionRecord *nested = nullptr;
  std::uintptr_t address = 0;
  std::uint32_t numberParameters = 0;
  std::uintptr_t parameters[kMaxParameters] = {};
};

// Register groups present in a context (the Windows CONTEXT flag values).
inline constexpr std::uint32_t kContextAmd64 = 0x100000;
inline constexpr std::uint32_t kContextControl = 0x01;
inline constexpr std::uint32_t kContextInteger = 0x02;
inline constexpr std::uint32_t kContextSegments = 0x04;
inline constexpr std::uint32_t kContextDebug = 0x10;

// The faulting thread's registers. User code cannot read the debug
// registers on Linux, so a context taken from a signal never carries them.
struct RegisterContext {
  std::uint32_t contextFlags = 0;
  std::uint64_t dr0 = 0, dr1 = 0, dr2 = 0, dr3 = 0, dr6 = 0, dr7 = 0;
  std::uint64_t segGs = 0, segFs = 0, segEs = 0, segDs = 0;
  std::uint64_t rdi = 0, rsi = 0, rbx = 0, rdx = 0, rcx = 0, rax = 0;
  std::uint64_t r8 = 0, r9 = 0, r10 = 0, r11 = 0, r12 = 0, r13 = 0, r14 = 0, r15 = 0;
  std::uint64_t rbp = 0, rip = 0, segCs = 0, eflags = 0, rsp = 0, segSs = 0;
};

// Code addresses of a frame-pointer walk: the faulting instruction first,
// then each return address, as far as the frames could be read.
struct StackCapture {
  static constexpr std::size_t kMaxFrames = 64;
  std::size_t count = 0;
  std::uintptr_t addresses[kMaxFrames] = {};
};

// Everything the report needs, gathered at the moment of the fault (the
// "exception pointers"). When `stackCaptured` is false the report walks
// the stack from the context's frame pointer itself.
struct CrashContext {
  ExceptionRecord record;
  RegisterContext context;
  StackCapture stack;
  bool stackCaptured = false;
};

// Fills `capture` by walking the frame-pointer chain from `frame`, starting
// with `address`. Every frame is tested for readability before it is read;
// the walk stops at a misaligned or unreadable frame. Safe to call from a
// signal handler.
void CaptureStack(std::uintptr_t frame, std::uintptr_t address, StackCapture &capture);

// Writes the report and returns 1 (run the handler). With no context it
// returns 1 at once and writes nothing.
int WriteCrashReport(const CrashContext *pointers, shell::LogWriter &log);

// The exception-record entry for `record`, then for its nested records.
void LogExceptionRecord(const ExceptionRecord &record, shell::LogWriter &log);

// The stack-trace entries for a walk from `frame`, starting at `address`.
void LogStackTrace(std::uintptr_t frame, std::uintptr_t address, shell::LogWriter &log);

// The stack-trace entries of an earlier capture: a caller entry per code
// address and, when the address lies in a loaded module, that module's base;
// the trace ends after the first address that lies in no module.
void LogStackCapture(const StackCapture &capture, shell::LogWriter &log);

} // namespace engine
