#pragma once
// The calling thread's current error object.

#include <automation/automation.h>

namespace automation {

class ThreadErrorSlot {
public:
  // Takes a reference of its own to `info` (null clears) and drops the
  // reference to the object it held before.
  static void Set(IErrorInfo *info);
  // Hands the held reference to the caller and empties the slot.
  static IErrorInfo *Take();
};

} // namespace automation
