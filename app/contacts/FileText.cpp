#include "contacts/FileText.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace contacts {

std::optional<std::string> ReadFileText(const std::filesystem::path &path, std::size_t maxBytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  auto size = std::filesystem::file_size(path, ec);
  if (ec || size > maxBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

std::filesystem::path EnvPath(const char *name, const std::filesystem::path &fallback) {
  const char *value = std::getenv(name);
  return value && *value ? std::filesystem::path(value) : fallback;
}

std::filesystem::path HomeFolder() {
  return EnvPath("HOME", {});
}

} // namespace contacts
