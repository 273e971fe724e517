// A registry key file as found on disk: whatever parses must serialise to
// a file that parses to the same key, and key and value names must survive
// their folder-name escaping.
#include "KeyFile.h"
#include "NameCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  registry::KeyFile key;
  const bool complete = registry::KeyFile::Parse(bytes, key);
  if (complete) {
    registry::KeyFile again;
    if (!registry::KeyFile::Parse(key.Serialize(), again)) std::abort();
    if (again.name != key.name || again.values != key.values) std::abort();
  }
  const std::string folder = registry::NameCodec::FolderName(key.name);
  if (!folder.empty() && registry::NameCodec::Fold(registry::NameCodec::FromFolderName(folder)) !=
                             registry::NameCodec::Fold(key.name))
    std::abort();
  for (const auto &[name, value] : key.values)
    if (key.Find(name) == nullptr) std::abort();
  return 0;
}
