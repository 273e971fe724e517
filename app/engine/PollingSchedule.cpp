#include "PollingSchedule.h"

namespace engine {

int PollingSchedule::NextInterval(int queryTime) {
  switch (queryTime) {
  case 60:
    return 300;
  case 300:
    return 1800;
  case 1800:
    return 2700;
  case 2700:
    return 3600;
  default:
    return 0;
  }
}

std::optional<int> PollingSchedule::MapGatewayStatus(int gatewayStatus) {
  switch (gatewayStatus) {
  case 1:
    return 11; // unknown
  case 2:
    return 1; // queued
  case 3:
    return 8; // delivered to gateway
  case 4:
    return 9; // received: delivered
  case 5:
    return 13; // error with message
  case 6:
    return 14; // cancelled
  case 7:
    return 15; // delivery error
  case 9:
    return 16; // routing error
  case 10:
    return 17; // expired
  case 11:
    return 7; // queued for later delivery: scheduled on server
  default:
    return std::nullopt; // 8 (all OK) and anything else
  }
}

} // namespace engine
