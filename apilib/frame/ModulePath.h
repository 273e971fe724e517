// The full path of the library file this code was loaded from.
#ifndef PARLINK_FRAME_MODULEPATH_H
#define PARLINK_FRAME_MODULEPATH_H

#include <string>

namespace parlink::frame {

class ModulePath {
public:
  // Absolute path of this module's file; empty when it cannot be found.
  static std::string Get();
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_MODULEPATH_H
