#include "FaultGuard.h"

#include "shell/HeldLocks.h"

#include <csetjmp>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <sys/ucontext.h>

namespace engine {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr std::size_t kSignalCount = sizeof(kSignals) / sizeof(kSignals[0]);
struct sigaction g_previous[kSignalCount];
std::once_flag g_installOnce;

struct GuardFrame {
  sigjmp_buf env;
  CrashContext *crash;
  GuardFrame *outer;
  volatile sig_atomic_t faulted;
};

thread_local GuardFrame *t_frame = nullptr;

// The alternate signal stack of one thread, removed when the thread ends.
class AltStack {
public:
  AltStack() {
    size_ = 64 * 1024;
    if (size_ < static_cast<std::size_t>(MINSIGSTKSZ) * 4)
      size_ = static_cast<std::size_t>(MINSIGSTKSZ) * 4;
    memory_ = static_cast<char *>(std::malloc(size_));
    if (memory_ == nullptr) return;
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) {
      // The thread already has one (a sanitizer's, for instance): keep it.
      std::free(memory_);
      memory_ = nullptr;
      return;
    }
    stack_t ss{};
    ss.ss_sp = memory_;
    ss.ss_size = size_;
    ss.ss_flags = 0;
    if (sigaltstack(&ss, nullptr) != 0) {
      std::free(memory_);
      memory_ = nullptr;
    }
  }
  ~AltStack() {
    if (memory_ == nullptr) return;
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && current.ss_sp == memory_) {
      stack_t off{};
      off.ss_flags = SS_DISABLE;
      sigaltstack(&off, nullptr);
    }
    std::free(memory_);
  }
  AltStack(const AltStack &) = delete;
  AltStack &operator=(const AltStack &) = delete;

private:
  char *memory_ = nullptr;
  std::size_t size_ = 0;
};

void EnsureAltStack() {
  thread_local AltStack stack;
}

std::uint32_t ExceptionCode(int sig, int code) {
  switch (sig) {
  case SIGSEGV:
    return 0xC0000005u;
  case SIGBUS:
    return code == BUS_ADRALN ? 0x80000002u : 0xC0000006u;
  case SIGFPE:
    switch (code) {
    case FPE_INTDIV:
      return 0xC0000094u;
    case FPE_INTOVF:
      return 0xC0000095u;
    case FPE_FLTDIV:
      return 0xC000008Eu;
    case FPE_FLTOVF:
      return 0xC0000091u;
    case FPE_FLTUND:
      return 0xC0000093u;
    case FPE_FLTRES:
      return 0xC000008Fu;
    case FPE_FLTSUB:
      return 0xC000008Cu;
    default:
      return 0xC0000090u;
    }
  case SIGILL:
    return code == ILL_PRVOPC ? 0xC0000096u : 0xC000001Du;
  default:
    return 0xC0000005u;
  }
}

void FillContext(const ucontext_t *uc, RegisterContext &r) {
  const greg_t *g = uc->uc_mcontext.gregs;
  r.contextFlags = kContextAmd64 | kContextControl | kContextInteger | kContextSegments;
  r.rdi = static_cast<std::uint64_t>(g[REG_RDI]);
  r.rsi = static_cast<std::uint64_t>(g[REG_RSI]);
  r.rbx = static_cast<std::uint64_t>(g[REG_RBX]);
  r.rdx = static_cast<std::uint64_t>(g[REG_RDX]);
  r.rcx = static_cast<std::uint64_t>(g[REG_RCX]);
  r.rax = static_cast<std::uint64_t>(g[REG_RAX]);
  r.r8 = static_cast<std::uint64_t>(g[REG_R8]);
  r.r9 = static_cast<std::uint64_t>(g[REG_R9]);
  r.r10 = static_cast<std::uint64_t>(g[REG_R10]);
  r.r11 = static_cast<std::uint64_t>(g[REG_R11]);
  r.r12 = static_cast<std::uint64_t>(g[REG_R12]);
  r.r13 = static_cast<std::uint64_t>(g[REG_R13]);
  r.r14 = static_cast<std::uint64_t>(g[REG_R14]);
  r.r15 = static_cast<std::uint64_t>(g[REG_R15]);
  r.rbp = static_cast<std::uint64_t>(g[REG_RBP]);
  r.rip = static_cast<std::uint64_t>(g[REG_RIP]);
  r.rsp = static_cast<std::uint64_t>(g[REG_RSP]);
  r.eflags = static_cast<std::uint64_t>(g[REG_EFL]);
  // cs, gs, fs and ss share one word, 16 bits each.
  std::uint64_t csgsfs = static_cast<std::uint64_t>(g[REG_CSGSFS]);
  r.segCs = csgsfs & 0xFFFF;
  r.segGs = (csgsfs >> 16) & 0xFFFF;
  r.segFs = (csgsfs >> 32) & 0xFFFF;
  r.segSs = (csgsfs >> 48) & 0xFFFF;
  // DS and ES are not saved in the signal frame; user code never changes
  // them, so the current values are the faulting thread's.
  unsigned short ds = 0, es = 0;
  __asm__ volatile("mov %%ds, %0" : "=r"(ds));
  __asm__ volatile("mov %%es, %0" : "=r"(es));
  r.segDs = ds;
  r.segEs = es;
}

void PassOn(int sig, siginfo_t *info, void *uc) {
  std::size_t index = 0;
  while (index < kSignalCount && kSignals[index] != sig)
    ++index;
  if (index == kSignalCount) return;
  const struct sigaction &prev = g_previous[index];
  if ((prev.sa_flags & SA_SIGINFO) && prev.sa_sigaction != nullptr) {
    prev.sa_sigaction(sig, info, uc);
    return;
  }
  if (prev.sa_handler != SIG_DFL && prev.sa_handler != SIG_IGN && prev.sa_handler != nullptr) {
    prev.sa_handler(sig);
    return;
  }
  // Default action: restore it and return; the faulting instruction runs
  // again and the process ends as it would have without us.
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  sigaction(sig, &dfl, nullptr);
}

void OnFault(int sig, siginfo_t *info, void *ucv) {
  GuardFrame *frame = t_frame;
  if (frame == nullptr || frame->faulted) {
    PassOn(sig, info, ucv);
    return;
  }
  frame->faulted = 1;
  CrashContext &crash = *frame->crash;
  const ucontext_t *uc = static_cast<const ucontext_t *>(ucv);
  crash.record = ExceptionRecord{};
  crash.record.code = ExceptionCode(sig, info->si_code);
  crash.record.flags = 0;
  crash.record.nested = nullptr;
  crash.record.address = static_cast<std::uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
  crash.record.numberParameters = 1;
  crash.record.parameters[0] = reinterpret_cast<std::uintptr_t>(info->si_addr);
  FillContext(uc, crash.context);
  // The faulting frames are intact only now: walk them before jumping back.
  CaptureStack(static_cast<std::uintptr_t>(crash.context.rbp),
               static_cast<std::uintptr_t>(crash.context.rip), crash.stack);
  crash.stackCaptured = true;
  siglongjmp(frame->env, 1);
}

void InstallHandlers() {
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    struct sigaction action {};
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(kSignals[i], &action, &g_previous[i]);
  }
}

} // namespace

bool FaultGuard::Run(const std::function<void()> &body, CrashContext &crash) {
  std::call_once(g_installOnce, InstallHandlers);
  EnsureAltStack();

  const shell::HeldLocks::Snapshot held = shell::HeldLocks::Take();
  GuardFrame frame;
  frame.crash = &crash;
  frame.outer = t_frame;
  frame.faulted = 0;
  if (sigsetjmp(frame.env, 1) == 0) {
    t_frame = &frame;
    body();
    t_frame = frame.outer;
    return false;
  }
  t_frame = frame.outer;
  shell::HeldLocks::ReleaseSince(held);
  return true;
}

} // namespace engine
