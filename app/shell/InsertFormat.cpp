#include "shell/InsertFormat.h"

namespace shell {

namespace {

void Append(std::string &out, std::string_view text) {
  if (out.size() >= kInsertFormatMax) return;
  std::size_t room = kInsertFormatMax - out.size();
  out.append(text.substr(0, room));
}

} // namespace

std::string InsertFormatArgs(std::string_view pattern, const FormatArg *args, std::size_t count) {
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size() && out.size() < kInsertFormatMax) {
    char c = pattern[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i >= pattern.size()) break;
    char next = pattern[i];
    if (next >= '1' && next <= '9') {
      std::size_t number = 0;
      while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9' && number < 100) {
        number = number * 10 + static_cast<std::size_t>(pattern[i] - '0');
        ++i;
      }
      std::string spec = "%s";
      if (i < pattern.size() && pattern[i] == '!') {
        std::size_t end = pattern.find('!', i + 1);
        if (end == std::string_view::npos) break; // an unterminated insert ends the text
        spec = "%" + std::string(pattern.substr(i + 1, end - i - 1));
        i = end + 1;
      }
      if (number < 1 || number > count) continue;
      const FormatArg &arg = args[number - 1];
      if (spec == "%s" && arg.kind() == FormatArg::Kind::Text) {
        Append(out, arg.Text());
      } else {
        Append(out, WinFormatArgs(spec, &arg, 1));
      }
      continue;
    }
    ++i;
    switch (next) {
    case '0':
      return out;
    case 'n':
      Append(out, "\r\n");
      break;
    case 'r':
      out.push_back('\r');
      break;
    case 't':
      out.push_back('\t');
      break;
    default:
      out.push_back(next); // "%%", "%!", "%.", "% " and anything else
      break;
    }
  }
  if (out.size() > kInsertFormatMax) out.resize(kInsertFormatMax);
  return out;
}

} // namespace shell
