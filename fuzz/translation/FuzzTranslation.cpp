// The translation file Language.dll read as data: any bytes load without
// harm, entries land only on valid ids, and the built-in table is not
// touched.
#include "shell/StringTable.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  shell::StringTable table;
  const std::size_t before = table.Size();
  const int read = table.LoadTranslationText(bytes);
  if (read < 0 || table.Size() < before) std::abort();
  if (table.Size() - before > static_cast<std::size_t>(read)) std::abort();
  if (shell::StringTable::BuiltIn().Size() != before) std::abort();
  return 0;
}
