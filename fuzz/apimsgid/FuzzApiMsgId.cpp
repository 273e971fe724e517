// A message's ApiMsgID list as the store holds it: entries are read within
// their bounds, and removing an entry removes exactly whole entries.
#include "engine/ApiMsgIdParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string list(reinterpret_cast<const char *>(data), size);
  std::vector<engine::ApiIdEntry> entries;
  const int count = engine::ApiMsgIdParser::Parse(list, entries);
  if (count < 0 || static_cast<std::size_t>(count) != entries.size()) std::abort();
  for (const engine::ApiIdEntry &entry : entries) {
    if (entry.ApiMsgId().size() > engine::ApiIdEntry::kIdChars) std::abort();
    if (entry.Number().size() >= sizeof entry.number) std::abort();
    if (entry.text.empty() || list.find(entry.text) == std::string::npos) std::abort();
    const std::string rest = engine::ApiMsgIdParser::Remove(list, entry.text);
    if (rest.size() > list.size()) std::abort();
    std::vector<engine::ApiIdEntry> after;
    if (engine::ApiMsgIdParser::Parse(rest, after) > count) std::abort();
  }
  return 0;
}
