#include "store/MessageRow.h"

namespace store {

int GatewayMessageType(int type) {
  switch (type) {
  case TypeFlash:
    return 1;
  case TypeNokiaRingtone:
    return 6;
  case TypeNokiaPicture:
    return 5;
  case TypeNokiaOperatorLogo:
    return 3;
  case TypeNokiaVCard:
    return 8;
  case TypeNokiaVCal:
    return 9;
  default: // text, Unicode, binary and every unknown code
    return 0;
  }
}

} // namespace store
