#pragma once
// The program's own texts, compiled in (Windows-1252).

#include <cstddef>

namespace shell {

struct StringTableEntry {
  int id;
  const char *text;
};

extern const StringTableEntry kBuiltInStrings[];
extern const std::size_t kBuiltInStringCount;

} // namespace shell
