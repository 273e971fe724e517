#include "compose/LengthRules.h"

namespace compose {

LengthRules LengthRules::ForType(int type) {
  return type == kTypeUnicode ? Unicode() : Plain();
}

int LengthRules::Parts(int length) const {
  if (length <= single) {
    return 1;
  }
  return (length - 1) / perPart + 1;
}

} // namespace compose
