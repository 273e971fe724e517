#include "ValueConverter.h"

#include <codepage/Codepage.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <strings.h>

namespace {

bool ParseInteger(const std::string &text, LONG &value) {
  if (text.empty()) return false;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i >= text.size()) return false;
  for (size_t k = i; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return false;
  }
  errno = 0;
  long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = static_cast<LONG>(parsed);
  return true;
}

bool ParseBoolean(const std::string &text, VARIANT_BOOL &value) {
  if (strcasecmp(text.c_str(), "true") == 0 || text == "-1" || text == "1") {
    value = VARIANT_TRUE;
    return true;
  }
  if (strcasecmp(text.c_str(), "false") == 0 || text == "0") {
    value = VARIANT_FALSE;
    return true;
  }
  return false;
}

} // namespace

bool ValueConverter::ToVariant(const ScriptWord &word, ValueKind kind, VARIANT &out,
                               std::string &error) {
  VariantInit(&out);
  if (IsNullWord(word)) {
    if (kind != ValueKind::Text && kind != ValueKind::Any) {
      error = "null is only a text value";
      return false;
    }
    out.vt = VT_BSTR;
    out.bstrVal = nullptr;
    return true;
  }
  switch (kind) {
  case ValueKind::Integer: {
    LONG value = 0;
    if (!ParseInteger(word.text, value)) {
      error = "\"" + word.text + "\" is not a 32-bit decimal integer";
      return false;
    }
    out.vt = VT_I4;
    out.lVal = value;
    return true;
  }
  case ValueKind::Boolean: {
    VARIANT_BOOL value = VARIANT_FALSE;
    if (!ParseBoolean(word.text, value)) {
      error = "\"" + word.text + "\" is not a boolean (true, false, -1, 0 or 1)";
      return false;
    }
    out.vt = VT_BOOL;
    out.boolVal = value;
    return true;
  }
  case ValueKind::Text:
  case ValueKind::Any: {
    std::u16string wide = codepage::Utf8ToUtf16(word.text);
    out.vt = VT_BSTR;
    out.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (out.bstrVal == nullptr) {
      out.vt = VT_EMPTY;
      error = "out of memory";
      return false;
    }
    return true;
  }
  }
  return false;
}

std::optional<std::string> ValueConverter::ToText(const VARIANT &value) {
  switch (value.vt) {
  case VT_EMPTY:
    return std::nullopt;
  case VT_BSTR:
    if (value.bstrVal == nullptr) return std::string();
    return codepage::Utf16ToUtf8(std::u16string_view(value.bstrVal, SysStringLen(value.bstrVal)));
  case VT_BOOL:
    return std::string(value.boolVal != VARIANT_FALSE ? "true" : "false");
  case VT_I4:
    return std::to_string(value.lVal);
  default: {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, &value, 0, VT_BSTR)) || text.vt != VT_BSTR) {
      return std::string();
    }
    std::string out =
        text.bstrVal == nullptr
            ? std::string()
            : codepage::Utf16ToUtf8(std::u16string_view(text.bstrVal, SysStringLen(text.bstrVal)));
    VariantClear(&text);
    return out;
  }
  }
}
