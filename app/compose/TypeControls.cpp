#include "compose/TypeControls.h"

namespace compose {

TypeControls TypeControls::ForType(int type) {
  switch (type) {
  case 0:
  case 1:
  case 2:
    return {true, true, false, false};
  case 3:
  case 6:
  case 7:
    return {false, false, true, false};
  case 4:
  case 5:
    return {false, false, true, true};
  default:
    return {false, false, false, false};
  }
}

} // namespace compose
