#include "VoucherRedeem.h"

#include "engine/UserPrompt.h"

namespace ui {

std::string VoucherRedeem::Join(const std::array<std::string, kBoxes> &boxes) {
  std::string voucher;
  for (const std::string &box : boxes)
    voucher += box.substr(0, kBoxBuffer - 1);
  return voucher;
}

VoucherRedeem::Notice VoucherRedeem::For(const Reply &reply) {
  Notice n;
  // The library reports an unexpected reply as a failure with error code 0:
  // only its "OK:" answer is a redeemed voucher.
  if (reply.invoked && reply.code == 0 && reply.text.rfind("OK:", 0) == 0) {
    n.redeemed = true;
    return n;
  }
  // A call that could not even be made failed to reach the gateway.
  if (!reply.invoked || reply.code == kCommunicationError) {
    n.textId = 1027;
    n.captionId = 1028;
    n.style = engine::kBoxOk | engine::kBoxIconError;
  } else if (reply.code == kAlreadyRedeemed) {
    n.textId = 1396;
    n.captionId = 1394;
    n.style = engine::kBoxOk | engine::kBoxIconInformation;
  } else {
    n.text = reply.text;
    n.captionId = 1394;
    n.style = engine::kBoxOk;
  }
  return n;
}

} // namespace ui
