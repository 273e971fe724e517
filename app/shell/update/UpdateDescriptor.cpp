#include "UpdateDescriptor.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace update {

namespace {

constexpr std::string_view kBlanks = " \t\r";

bool IsBlank(char c) {
  return kBlanks.find(c) != std::string_view::npos;
}

std::string_view Trim(std::string_view s) {
  size_t begin = s.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return {};
  return s.substr(begin, s.find_last_not_of(kBlanks) - begin + 1);
}

bool IsHexDigest(std::string_view s) {
  return s.size() == 64 && std::all_of(s.begin(), s.end(), [](char c) {
           return std::isxdigit(static_cast<unsigned char>(c));
         });
}

} // namespace

UpdateDescriptor UpdateDescriptor::Parse(std::string_view text) {
  UpdateDescriptor d;
  d.version = FileVersion::Parse(text);
  size_t end = text.find('\n');
  while (end != std::string_view::npos) {
    size_t begin = end + 1;
    end = text.find('\n', begin);
    std::string_view line =
        Trim(text.substr(begin, end == std::string_view::npos ? end : end - begin));
    constexpr std::string_view kKey = "sha256";
    if (line.substr(0, kKey.size()) != kKey ||
        (line.size() > kKey.size() && !IsBlank(line[kKey.size()])))
      continue;
    std::string_view value = Trim(line.substr(kKey.size()));
    if (!IsHexDigest(value)) {
      d.digest = Digest::Malformed;
      d.sha256.clear();
      return d;
    }
    d.digest = Digest::Given;
    d.sha256.assign(value);
    std::transform(d.sha256.begin(), d.sha256.end(), d.sha256.begin(), [](char c) {
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return d;
  }
  return d;
}

UpdateDescriptor UpdateDescriptor::Read(const std::filesystem::path &file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string text(kMaxBytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  return Parse(text);
}

} // namespace update
