#include "CrashReport.h"

#include "TextFormat.h"

#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/uio.h>
#include <unistd.h>

namespace engine {

namespace {

// Reads `size` bytes at `address` without faulting: the kernel copies them
// for us and reports an unreadable address as an error. Uses
// process_vm_readv on the own process and falls back to a pipe write where
// that call is not permitted. Both are plain system calls, safe in a
// signal handler.
bool ReadMemory(std::uintptr_t address, void *out, std::size_t size) {
  if (address == 0) return false;
  iovec local{out, size};
  iovec remote{reinterpret_cast<void *>(address), size};
  ssize_t got = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
  if (got == static_cast<ssize_t>(size)) return true;
  if (got < 0 && errno == EFAULT) return false;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  bool ok =
      write(fds[1], reinterpret_cast<const void *>(address), size) == static_cast<ssize_t>(size) &&
      read(fds[0], out, size) == static_cast<ssize_t>(size);
  close(fds[0]);
  close(fds[1]);
  return ok;
}

// The base address of the loaded module that holds `address`, or 0.
std::uintptr_t ModuleBase(std::uintptr_t address) {
  if (address == 0) return 0;
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void *>(address), &info) == 0) return 0;
  return reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

constexpr int kMaxNestedRecords = 16;

} // namespace

void CaptureStack(std::uintptr_t frame, std::uintptr_t address, StackCapture &capture) {
  capture.count = 0;
  bool first = true;
  while (capture.count < StackCapture::kMaxFrames && frame % sizeof(std::uintptr_t) == 0) {
    // The frame holds the caller's frame pointer and the return address.
    std::uintptr_t words[2];
    if (!ReadMemory(frame, words, sizeof(words))) break;
    if (first) {
      capture.addresses[capture.count++] = address;
      first = false;
    } else {
      capture.addresses[capture.count++] = words[1];
      std::uintptr_t next = words[0];
      // A chain that does not move towards older frames is broken.
      if (next <= frame) break;
      frame = next;
    }
  }
}

void LogStackCapture(const StackCapture &capture, shell::LogWriter &log) {
  for (std::size_t i = 0; i < capture.count && i < StackCapture::kMaxFrames; ++i) {
    std::uintptr_t code = capture.addresses[i];
    log.WriteEntry(Format("Stacktrace, caller : 0x%08lX", static_cast<unsigned long>(code)));
    std::uintptr_t base = ModuleBase(code);
    if (base == 0) break;
    log.WriteEntry(Format("Stacktrace, hInstance : 0x%08lX", static_cast<unsigned long>(base)));
  }
}

void LogStackTrace(std::uintptr_t frame, std::uintptr_t address, shell::LogWriter &log) {
  StackCapture capture;
  CaptureStack(frame, address, capture);
  LogStackCapture(capture, log);
}

void LogExceptionRecord(const ExceptionRecord &record, shell::LogWriter &log) {
  const ExceptionRecord *current = &record;
  for (int depth = 0; current != nullptr && depth < kMaxNestedRecords; ++depth) {
    std::string params;
    std::uint32_t n = current->numberParameters;
    if (n > ExceptionRecord::kMaxParameters) n = ExceptionRecord::kMaxParameters;
    for (std::uint32_t i = 0; i < n; ++i)
      params += Format(" ExParam(%u)=%lx", i, static_cast<unsigned long>(current->parameters[i]));
    log.WriteEntry(
        Format("ExceptionRecord: ExCode=%x ExFlags=%x ExRecord=%lx ExAddr=%lx ExParams=%d %s",
               current->code, current->flags,
               static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(current->nested)),
               static_cast<unsigned long>(current->address),
               static_cast<int>(current->numberParameters), params.c_str()));
    current = current->nested;
  }
}

int WriteCrashReport(const CrashContext *pointers, shell::LogWriter &log) {
  if (pointers == nullptr) return 1;
  LogExceptionRecord(pointers->record, log);
  const RegisterContext &c = pointers->context;
  if (pointers->stackCaptured)
    LogStackCapture(pointers->stack, log);
  else
    LogStackTrace(static_cast<std::uintptr_t>(c.rbp), static_cast<std::uintptr_t>(c.rip), log);

  auto has = [&](std::uint32_t group) {
    return (c.contextFlags & kContextAmd64) == kContextAmd64 && (c.contextFlags & group) == group;
  };
  if (has(kContextDebug))
    log.WriteEntry(
        Format("             Dr0 = %lu, Dr1 = %lu, Dr2 = %lu, Dr3 = %lu, Dr6 = %lu, Dr7 = %lu.",
               c.dr0, c.dr1, c.dr2, c.dr3, c.dr6, c.dr7));
  if (has(kContextSegments))
    log.WriteEntry(Format("             SegGs = %lu, SegFs = %lu, SegEs = %lu, SegDs = %lu.",
                          c.segGs, c.segFs, c.segEs, c.segDs));
  if (has(kContextInteger))
    log.WriteEntry(
        Format("             Rdi = %lu, Rsi = %lu, Rbx = %lu, Rdx = %lu, Rcx = %lu, Rax = %lu, "
               "R8 = %lu, R9 = %lu, R10 = %lu, R11 = %lu, R12 = %lu, R13 = %lu, R14 = %lu, "
               "R15 = %lu.",
               c.rdi, c.rsi, c.rbx, c.rdx, c.rcx, c.rax, c.r8, c.r9, c.r10, c.r11, c.r12, c.r13,
               c.r14, c.r15));
  if (has(kContextControl))
    log.WriteEntry(
        Format("             Rbp = %lu, Rip = %lu, SegCs = %lu, EFlags = %lu, Rsp = %lu, "
               "SegSs = %lu.",
               c.rbp, c.rip, c.segCs, c.eflags, c.rsp, c.segSs));
  return 1;
}

} // namespace engine
