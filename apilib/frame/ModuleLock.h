// The module's lock count: live objects, class factory locks and references
// handed out to the module's type information. The library may be unloaded
// only while it is zero.
#ifndef PARLINK_FRAME_MODULELOCK_H
#define PARLINK_FRAME_MODULELOCK_H

namespace parlink::frame {

class ModuleLock {
public:
  static void Lock();
  // Never takes the count below zero: an unbalanced unlock is ignored.
  static void Unlock();
  static long Count();
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_MODULELOCK_H
