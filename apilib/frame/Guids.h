// GUID comparison that tolerates null pointers from callers.
#ifndef PARLINK_FRAME_GUIDS_H
#define PARLINK_FRAME_GUIDS_H

#include <automation/automation.h>

#include <cstring>

namespace parlink::frame {

inline bool SameGuid(const GUID *a, const GUID &b) {
  return a != nullptr && std::memcmp(a, &b, sizeof(GUID)) == 0;
}

} // namespace parlink::frame

#endif // PARLINK_FRAME_GUIDS_H
