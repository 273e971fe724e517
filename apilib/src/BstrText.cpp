#include "src/BstrText.h"

#include <codepage/Codepage.h>

namespace parlink {

std::u16string_view WideView(BSTR value) {
  if (!value) return {};
  return std::u16string_view(value);
}

std::string FromBstr(BSTR value) {
  return codepage::FromUtf16(WideView(value));
}

std::optional<std::string> FromOptionalBstr(BSTR value) {
  if (!value) return std::nullopt;
  return FromBstr(value);
}

BSTR ToBstr(std::string_view ansi) {
  const std::u16string wide = codepage::ToUtf16(ansi);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

} // namespace parlink
