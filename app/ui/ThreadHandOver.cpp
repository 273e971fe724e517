#include "ThreadHandOver.h"

#if defined(__SANITIZE_THREAD__)
#define DV_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define DV_TSAN 1
#endif
#endif

#ifdef DV_TSAN
extern "C" void __tsan_acquire(void *addr);
extern "C" void __tsan_release(void *addr);
#endif

namespace ui {

#ifdef DV_TSAN
namespace {
char gToken; // stands for the lock of Qt's event queues
}

void HandOver() {
  __tsan_release(&gToken);
}

void TakeOver() {
  __tsan_acquire(&gToken);
}
#else
void HandOver() {}
void TakeOver() {}
#endif

} // namespace ui
