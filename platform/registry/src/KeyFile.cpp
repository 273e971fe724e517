#include "KeyFile.h"

#include "NameCodec.h"

namespace registry {

namespace {

constexpr std::string_view kMagic = "DVREG1\n";

void AppendField(std::string &out, std::string_view bytes) {
  out += std::to_string(bytes.size());
  out += ':';
  out += bytes;
  out += '\n';
}

// Reads "<len>:<bytes>\n" at `pos`.
bool ReadField(std::string_view in, size_t &pos, std::string &field) {
  size_t length = 0;
  size_t digits = 0;
  while (pos < in.size() && in[pos] >= '0' && in[pos] <= '9') {
    if (++digits > 10) return false;
    length = length * 10 + static_cast<size_t>(in[pos] - '0');
    ++pos;
  }
  if (digits == 0 || pos >= in.size() || in[pos] != ':') return false;
  ++pos;
  if (length > in.size() - pos || in.size() - pos - length < 1) return false;
  if (in[pos + length] != '\n') return false;
  field.assign(in.substr(pos, length));
  pos += length + 1;
  return true;
}

} // namespace

std::string KeyFile::Serialize() const {
  std::string out(kMagic);
  out += 'K';
  AppendField(out, name);
  for (const auto &[valueName, value] : values) {
    out += 'V';
    AppendField(out, valueName);
    AppendField(out, value);
  }
  return out;
}

bool KeyFile::Parse(std::string_view bytes, KeyFile &out) {
  out = KeyFile();
  if (!bytes.starts_with(kMagic)) return false;
  size_t pos = kMagic.size();
  bool haveName = false;
  while (pos < bytes.size()) {
    char tag = bytes[pos++];
    if (tag == 'K' && !haveName) {
      if (!ReadField(bytes, pos, out.name)) return false;
      haveName = true;
    } else if (tag == 'V') {
      std::string valueName, value;
      if (!ReadField(bytes, pos, valueName) || !ReadField(bytes, pos, value)) return false;
      if (out.Find(valueName)) return false; // a name twice: not a file of ours
      out.values.emplace_back(std::move(valueName), std::move(value));
    } else {
      return false;
    }
  }
  return haveName;
}

const std::string *KeyFile::Find(std::string_view valueName) const {
  for (const auto &[n, v] : values)
    if (NameCodec::EqualNoCase(n, valueName)) return &v;
  return nullptr;
}

void KeyFile::Set(std::string_view valueName, std::string_view value) {
  for (auto &[n, v] : values) {
    if (NameCodec::EqualNoCase(n, valueName)) {
      v.assign(value);
      return;
    }
  }
  values.emplace_back(std::string(valueName), std::string(value));
}

bool KeyFile::Erase(std::string_view valueName) {
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (NameCodec::EqualNoCase(it->first, valueName)) {
      values.erase(it);
      return true;
    }
  }
  return false;
}

} // namespace registry
