#include "ThreadErrorSlot.h"

namespace automation {

namespace {

// Releases whatever is left when the thread ends.
struct Slot {
  IErrorInfo *info = nullptr;
  ~Slot() {
    if (info) info->Release();
  }
};

thread_local Slot t_slot;

} // namespace

void ThreadErrorSlot::Set(IErrorInfo *info) {
  if (info) info->AddRef();
  IErrorInfo *old = t_slot.info;
  t_slot.info = info;
  // Released last: its destructor may itself set error information.
  if (old) old->Release();
}

IErrorInfo *ThreadErrorSlot::Take() {
  IErrorInfo *info = t_slot.info;
  t_slot.info = nullptr;
  return info;
}

} // namespace automation
