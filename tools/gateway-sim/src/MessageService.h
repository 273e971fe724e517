#pragma once
// Single messages: http/sendmsg, http/querymsg, http/delmsg,
// http/getmsgcharge and http/sendota. The caller holds the state's mutex.

#include "FormParams.h"
#include "GatewayState.h"

#include <string>

namespace gatewaysim {

class MessageService {
public:
  explicit MessageService(GatewayState &state) : state_(state) {}

  // "ID: <id>"; with comma-separated recipients one line per number,
  // "ID: <id> To: <number>" or "ERR: <code>, <text> To: <number>".
  std::string SendMsg(const FormParams &params, int64_t nowMs);
  // "ID: <id> Status: 00N"
  std::string QueryMsg(const FormParams &params, int64_t nowMs);
  // "ID: <id> Status: 006" while the message is more than the withdrawal
  // limit before its delivery time; the charge is refunded.
  std::string DelMsg(const FormParams &params, int64_t nowMs);
  // "apiMsgId: <id> charge: <credits> status: 00N"
  std::string GetMsgCharge(const FormParams &params, int64_t nowMs);
  // "ID: <id>" for settings, bookmarks and XML descriptions alike.
  std::string SendOta(const FormParams &params, int64_t nowMs);

private:
  // The message named by apiMsgId or cliMsgId that belongs to `account`;
  // otherwise `error` holds the reply.
  SimMessage *Lookup(const FormParams &params, AccountIndex account, std::string &error);

  GatewayState &state_;
};

} // namespace gatewaysim
