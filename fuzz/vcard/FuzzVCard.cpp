// Personal vCard files as found on disk, read through the contacts
// library's parser. The split cards must be whole cards of CRLF lines, a
// repaired line must carry a UTF-8 value and stay as it is when repaired
// again, and every card read must hold only dialable numbers, each once,
// no more of them than its TEL lines, and a trimmed UTF-8 name.
#include "contacts/AsciiText.h"
#include "contacts/MobileNumber.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using contacts::MobileNumber;
using contacts::VCardCard;
using contacts::VCardText;

bool Same(const VCardCard &a, const VCardCard &b) {
  return a.uid == b.uid && a.name == b.name && a.mobiles == b.mobiles &&
         a.untypedNumbers == b.untypedNumbers && a.telephoneCount == b.telephoneCount &&
         a.isList == b.isList && a.memberUids == b.memberUids &&
         a.memberNumbers == b.memberNumbers;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = c < 0x80 ? 0 : c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2
                                   : c >= 0xF0 && c <= 0xF4   ? 3
                                                              : 9;
    if (extra == 9 || text.size() - i - 1 < extra) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

void CheckNumbers(const std::vector<std::string> &numbers, bool once) {
  for (const std::string &n : numbers) {
    if (n.empty() || n.size() > MobileNumber::kMaxChars) std::abort();
    for (std::size_t i = 0; i < n.size(); ++i)
      if (!((n[i] >= '0' && n[i] <= '9') || (n[i] == '+' && i == 0))) std::abort();
    const auto again = MobileNumber::Dialable(n);
    if (!again || *again != n) std::abort();
    if (once && std::count(numbers.begin(), numbers.end(), n) != 1) std::abort();
  }
}

void CheckCard(const VCardCard &card) {
  CheckNumbers(card.mobiles, true);
  CheckNumbers(card.untypedNumbers, true);
  CheckNumbers(card.memberNumbers, false);
  if (card.telephoneCount < 0 ||
      card.mobiles.size() > static_cast<std::size_t>(card.telephoneCount) ||
      card.untypedNumbers.size() > static_cast<std::size_t>(card.telephoneCount))
    std::abort();
  if (!card.isList && !card.memberUids.empty()) std::abort();
  if (contacts::TrimText(card.name, " \t\"").size() != card.name.size()) std::abort();
  if (!IsUtf8(card.name)) std::abort();
}

void CheckRepair(std::string_view line) {
  const std::string repaired = VCardText::RepairLine(line);
  if (repaired == line) return;
  const std::size_t colon = VCardText::ValueStart(repaired);
  if (colon == std::string::npos) std::abort();
  if (!IsUtf8(std::string_view(repaired).substr(colon + 1))) std::abort();
  if (VCardText::RepairLine(repaired) != repaired) std::abort();
}

} // namespace

// The contacts library loses a growing string of its own while it parses
// some malformed cards. Without frame pointers in the system libraries the
// leak's stack ends in g_realloc, so that is what is set aside; a card the
// reader forgot to release (an object, not a grown buffer) is still found.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:g_realloc\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);

  // Whole cards: a BEGIN:VCARD line first, an END:VCARD line last, CRLF
  // after every line. Each card's BEGIN line, folded or not, holds a "b" of
  // its own.
  const std::vector<std::string> texts = VCardText::SplitCards(bytes);
  const auto bs = std::count_if(bytes.begin(), bytes.end(), [](char c) { return c == 'b' || c == 'B'; });
  if (texts.size() > static_cast<std::size_t>(bs)) std::abort();
  for (const std::string &text : texts) {
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) std::abort();
    const std::string_view first = std::string_view(text).substr(0, text.find("\r\n"));
    if (contacts::LowerAscii(contacts::TrimText(first)) != "begin:vcard") std::abort();
    const std::string_view body = std::string_view(text).substr(0, text.size() - 2);
    const std::size_t lastBreak = body.rfind("\r\n");
    const std::string_view last =
        lastBreak == std::string_view::npos ? body : body.substr(lastBreak + 2);
    if (contacts::LowerAscii(contacts::TrimText(last)) != "end:vcard") std::abort();
  }

  // Every physical line through the repair on its own.
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i)
    if (i == size || bytes[i] == '\n' || bytes[i] == '\r') {
      CheckRepair(bytes.substr(start, i - start));
      start = i + 1;
    }

  const std::vector<VCardCard> cards = contacts::VCardReader::Read(bytes);
  if (cards.size() > texts.size()) std::abort();
  for (const VCardCard &card : cards)
    CheckCard(card);
  const std::vector<VCardCard> again = contacts::VCardReader::Read(bytes);
  if (again.size() != cards.size()) std::abort();
  for (std::size_t i = 0; i < cards.size(); ++i)
    if (!Same(cards[i], again[i])) std::abort();
  return 0;
}
