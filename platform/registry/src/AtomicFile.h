#pragma once
// Whole-file writes that either happen completely or not at all: the bytes
// go to a temporary file beside the target, are flushed to disk, and the
// temporary file is renamed over the target.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace registry {

class AtomicFile {
public:
  // Temporary files start with this; one left behind by a crash is stray.
  static constexpr std::string_view kTempPrefix = "%%tmp.";

  static bool Write(const std::filesystem::path &target, std::string_view bytes);
  // Makes a rename or removal inside `folder` durable.
  static bool SyncFolder(const std::filesystem::path &folder);
  // The whole file; nullopt when it is missing, unreadable or larger than
  // `maxBytes`. `missing` tells the first case apart.
  static std::optional<std::string> Read(const std::filesystem::path &path, size_t maxBytes,
                                         bool &missing);
  // "<pid>.<counter>": unique among the temporary names of this process.
  static std::string UniqueSuffix();
};

} // namespace registry
