#pragma once
// The simulated gateway API: routes a request path with its form
// parameters to the operation and returns the reply line. Thread-safe: each
// request runs under the state's mutex.

#include "AccountService.h"
#include "BatchService.h"
#include "FormParams.h"
#include "GatewayState.h"
#include "MessageService.h"

#include <functional>
#include <string>
#include <unordered_map>

namespace gatewaysim {

struct GatewayReply {
  int httpStatus = 200;
  std::string body;
};

class Gateway {
public:
  explicit Gateway(GatewayState &state);

  bool Knows(const std::string &path) const { return routes_.count(path) != 0; }
  // `path` without the leading "/", e.g. "http/sendmsg". Unknown paths are
  // answered 404.
  GatewayReply Handle(const std::string &path, const FormParams &params);

private:
  using Operation = std::function<std::string(const FormParams &, int64_t)>;
  GatewayState &state_;
  AccountService accounts_;
  MessageService messages_;
  BatchService batches_;
  std::unordered_map<std::string, Operation> routes_;
};

} // namespace gatewaysim
