#pragma once
// One request of the user-interface thread to the gateway: run off that
// thread (BackgroundCall) under the gateway's call lock, with the error code
// read in the same unit. The request gets the gateway and the result text
// to fill, and returns the invocation's status.

#include "BackgroundCall.h"

#include "engine/GatewayApi.h"

#include <mutex>
#include <string>

namespace ui {

struct GatewayReply {
  // smsERROR after the call, or -1 when the invocation itself failed.
  int code = -1;
  std::string text;
};

template <class Request> GatewayReply CallGateway(engine::GatewayApi &gateway, Request request) {
  return BackgroundCall::Result([&gateway, request] {
    GatewayReply reply;
    std::lock_guard unit(gateway.CallLock());
    if (SUCCEEDED(request(gateway, &reply.text))) reply.code = gateway.LastError();
    return reply;
  });
}

} // namespace ui
