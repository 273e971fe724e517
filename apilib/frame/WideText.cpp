#include "frame/WideText.h"

namespace parlink::frame {

namespace {
char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}
} // namespace

bool EqualsIgnoreCase(const OLECHAR *name, std::string_view ascii) {
  if (name == nullptr) return false;
  size_t i = 0;
  for (; i < ascii.size(); ++i) {
    if (name[i] == 0) return false;
    if (FoldAscii(name[i]) != FoldAscii(static_cast<unsigned char>(ascii[i]))) return false;
  }
  return name[i] == 0;
}

std::u16string Widen(std::string_view ascii) {
  std::u16string wide;
  wide.reserve(ascii.size());
  for (char c : ascii)
    wide.push_back(static_cast<unsigned char>(c));
  return wide;
}

BSTR AllocAscii(std::string_view ascii) {
  std::u16string wide = Widen(ascii);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

} // namespace parlink::frame
