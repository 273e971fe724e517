#pragma once
// The rules of redeeming a credit voucher: the four boxes of four digits
// joined into the 16-digit voucher number, and what the page shows for
// TokenPay's outcome.

#include <array>
#include <string>

namespace ui {

class VoucherRedeem {
public:
  static constexpr int kBoxes = 4;
  static constexpr int kBoxLength = 4;
  static constexpr size_t kVoucherLength = 16;
  // Each box is read into a buffer of this many characters (with the
  // terminating zero).
  static constexpr size_t kBoxBuffer = 16;

  static constexpr int kCommunicationError = 99;
  static constexpr int kAlreadyRedeemed = 607;

  // The boxes joined without separators, each cut to kBoxBuffer - 1
  // characters.
  static std::string Join(const std::array<std::string, kBoxes> &boxes);
  static bool IsComplete(const std::string &voucher) { return voucher.size() == kVoucherLength; }

  // What a TokenPay call gave: the invocation's success, smsERROR and the
  // result text.
  struct Reply {
    bool invoked = false;
    int code = -1;
    std::string text;
  };

  // The page's answer to a reply: success, or a box (string ids of its text
  // and caption, or the reply's own text when textId is 0, and the box
  // style).
  struct Notice {
    bool redeemed = false;
    int textId = 0;
    std::string text;
    int captionId = 0;
    unsigned style = 0;
  };
  static Notice For(const Reply &reply);
};

} // namespace ui
