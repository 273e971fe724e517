#pragma once
// Small files of other programs (settings, desktop entries, address books)
// read whole, with a limit: a file beyond it is not read at all.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace contacts {

inline constexpr std::size_t kMaxSettingsFileBytes = 4u << 20;
inline constexpr std::size_t kMaxCardFileBytes = 64u << 20;

// The file's bytes; nothing when it is missing, not a regular file, cannot
// be read or is larger than `maxBytes`.
std::optional<std::string> ReadFileText(const std::filesystem::path &path, std::size_t maxBytes);

// $name from the environment when set and not empty, else `fallback`.
std::filesystem::path EnvPath(const char *name, const std::filesystem::path &fallback);
// $HOME (empty when unset).
std::filesystem::path HomeFolder();

} // namespace contacts
