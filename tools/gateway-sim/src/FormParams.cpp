#include "FormParams.h"

namespace gatewaysim {

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
} // namespace

std::string FormParams::Decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      out.push_back(' ');
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string FormParams::Encode(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size() * 3);
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_') {
      out.push_back(static_cast<char>(c));
    } else if (c == ' ') {
      out.push_back('+');
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

void FormParams::Parse(std::string_view text) {
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t amp = text.find('&', pos);
    if (amp == std::string_view::npos) amp = text.size();
    std::string_view pair = text.substr(pos, amp - pos);
    if (!pair.empty()) {
      size_t eq = pair.find('=');
      if (eq == std::string_view::npos) {
        pairs_.emplace_back(Decode(pair), std::string());
      } else {
        pairs_.emplace_back(Decode(pair.substr(0, eq)), Decode(pair.substr(eq + 1)));
      }
    }
    pos = amp + 1;
  }
}

FormParams FormParams::FromText(std::string_view text) {
  FormParams params;
  params.Parse(text);
  return params;
}

bool FormParams::Has(std::string_view name) const {
  for (const auto &[key, value] : pairs_) {
    if (key == name) return true;
  }
  return false;
}

std::optional<std::string> FormParams::Get(std::string_view name) const {
  for (const auto &[key, value] : pairs_) {
    if (key == name) return value;
  }
  return std::nullopt;
}

std::string FormParams::Value(std::string_view name) const {
  return Get(name).value_or("");
}

void FormParams::Set(std::string name, std::string value) {
  for (auto &[key, existing] : pairs_) {
    if (key == name) {
      existing = std::move(value);
      return;
    }
  }
  pairs_.emplace_back(std::move(name), std::move(value));
}

} // namespace gatewaysim
