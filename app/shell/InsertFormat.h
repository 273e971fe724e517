#pragma once
// Texts of the string table use numbered inserts: "%1!02d!" is argument 1
// formatted with the printf-style spec "%02d" (WinFormat rules), "%1" alone is
// argument 1 as "%s". Also "%%" for a percent sign, "%n" for "\r\n", "%r"
// "\r", "%t" a tab, "%0" ends the text, "%!" "!" and "%." "."; any other
// character after "%" is copied. Inserts that name a missing argument are
// left empty. The result is cut to `kInsertFormatMax` bytes.

#include "shell/WinFormat.h"

#include <string>
#include <string_view>

namespace shell {

inline constexpr std::size_t kInsertFormatMax = 65536;

std::string InsertFormatArgs(std::string_view pattern, const FormatArg *args, std::size_t count);

template <class... Args> std::string InsertFormat(std::string_view pattern, const Args &...args) {
  if constexpr (sizeof...(Args) == 0) {
    return InsertFormatArgs(pattern, nullptr, 0);
  } else {
    const FormatArg list[] = {FormatArg(args)...};
    return InsertFormatArgs(pattern, list, sizeof...(Args));
  }
}

} // namespace shell
