#include "Gateway.h"

namespace gatewaysim {

Gateway::Gateway(GatewayState &state)
    : state_(state), accounts_(state), messages_(state), batches_(state) {
  auto bind = [](auto *service, auto method) -> Operation {
    return
        [service, method](const FormParams &p, int64_t now) { return (service->*method)(p, now); };
  };
  routes_ = {
      {"http/auth", bind(&accounts_, &AccountService::Auth)},
      {"http/cli_auth", bind(&accounts_, &AccountService::ClientAuth)},
      {"http/ping", bind(&accounts_, &AccountService::Ping)},
      {"http/getbalance", bind(&accounts_, &AccountService::Balance)},
      {"http/token_pay", bind(&accounts_, &AccountService::TokenPay)},
      {"utils/change_passwd", bind(&accounts_, &AccountService::ChangePassword)},
      {"utils/recover_passwd", bind(&accounts_, &AccountService::RecoverPassword)},
      {"utils/routeCoverage.php", bind(&accounts_, &AccountService::Coverage)},
      {"utils/version", bind(&accounts_, &AccountService::Version)},
      {"utils/nettest", bind(&accounts_, &AccountService::NetTest)},
      {"http/sendmsg", bind(&messages_, &MessageService::SendMsg)},
      {"http/querymsg", bind(&messages_, &MessageService::QueryMsg)},
      {"http/delmsg", bind(&messages_, &MessageService::DelMsg)},
      {"http/getmsgcharge", bind(&messages_, &MessageService::GetMsgCharge)},
      {"http/sendota", bind(&messages_, &MessageService::SendOta)},
      {"http_batch/startbatch", bind(&batches_, &BatchService::StartBatch)},
      {"http_batch/senditem", bind(&batches_, &BatchService::SendItem)},
      {"http_batch/quicksend", bind(&batches_, &BatchService::QuickSend)},
      {"http_batch/endbatch", bind(&batches_, &BatchService::EndBatch)},
  };
}

GatewayReply Gateway::Handle(const std::string &path, const FormParams &params) {
  auto it = routes_.find(path);
  if (it == routes_.end()) return {404, "Not Found"};
  std::lock_guard lock(state_.mutex);
  return {200, it->second(params, state_.clock.NowMs())};
}

} // namespace gatewaysim
