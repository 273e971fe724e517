#include "contacts/ThunderbirdPrefs.h"

#include <algorithm>
#include <optional>

namespace contacts {

namespace {

struct Server {
  std::string id;
  std::string description;
  std::string fileName;
  long dirType = -1;
};

// A prefs.js line: user_pref("name", value);
struct Pref {
  std::string name;
  std::string text; // the string value, or the literal of any other
};

void SkipBlanks(std::string_view s, std::size_t &i) {
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
    ++i;
}

void AppendUtf8(std::string &out, unsigned code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// A JavaScript string literal at s[i]; i moves past it.
std::optional<std::string> StringLiteral(std::string_view s, std::size_t &i) {
  if (i >= s.size() || (s[i] != '"' && s[i] != '\'')) return std::nullopt;
  char quote = s[i++];
  std::string out;
  while (i < s.size() && s[i] != quote) {
    char c = s[i++];
    if (c != '\\' || i >= s.size()) {
      out.push_back(c);
      continue;
    }
    char e = s[i++];
    if (e == 'n') out.push_back('\n');
    else if (e == 't') out.push_back('\t');
    else if (e == 'u' && i + 4 <= s.size()) {
      unsigned code = 0;
      for (int k = 0; k < 4; ++k) {
        char h = s[i + k];
        code = code * 16 + (h >= '0' && h <= '9'   ? h - '0'
                            : h >= 'a' && h <= 'f' ? h - 'a' + 10
                            : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                   : 0);
      }
      i += 4;
      AppendUtf8(out, code);
    } else out.push_back(e);
  }
  if (i >= s.size()) return std::nullopt;
  ++i;
  return out;
}

std::optional<Pref> ParseLine(std::string_view line) {
  std::size_t i = line.find("user_pref(");
  if (i == std::string_view::npos) return std::nullopt;
  i += 10;
  SkipBlanks(line, i);
  auto name = StringLiteral(line, i);
  if (!name) return std::nullopt;
  SkipBlanks(line, i);
  if (i >= line.size() || line[i] != ',') return std::nullopt;
  ++i;
  SkipBlanks(line, i);
  Pref pref{*name, {}};
  if (auto text = StringLiteral(line, i)) {
    pref.text = *text;
  } else {
    std::size_t end = line.find(')', i);
    if (end == std::string_view::npos) return std::nullopt;
    pref.text = std::string(line.substr(i, end - i));
    while (!pref.text.empty() && pref.text.back() == ' ')
      pref.text.pop_back();
  }
  return pref;
}

bool IsPlainFileName(const std::string &name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

} // namespace

std::vector<ThunderbirdBook> ThunderbirdPrefs::Books(std::string_view prefsJs) {
  std::vector<Server> servers{{"pab", "Personal Address Book", "abook.sqlite", 101},
                              {"history", "Collected Addresses", "history.sqlite", 101}};
  auto find = [&](const std::string &id) -> Server & {
    for (Server &s : servers)
      if (s.id == id) return s;
    servers.push_back({id, "", "", -1});
    return servers.back();
  };

  const std::string_view prefix = "ldap_2.servers.";
  while (!prefsJs.empty()) {
    std::size_t end = prefsJs.find('\n');
    std::string_view line = prefsJs.substr(0, end);
    prefsJs = end == std::string_view::npos ? std::string_view() : prefsJs.substr(end + 1);
    auto pref = ParseLine(line);
    if (!pref || pref->name.rfind(prefix, 0) != 0) continue;
    std::string rest = pref->name.substr(prefix.size());
    std::size_t dot = rest.rfind('.');
    if (dot == std::string::npos || dot == 0) continue;
    std::string id = rest.substr(0, dot), key = rest.substr(dot + 1);
    if (key == "description") {
      find(id).description = pref->text;
    } else if (key == "filename") {
      find(id).fileName = pref->text;
    } else if (key == "dirType") {
      try {
        find(id).dirType = std::stol(pref->text);
      } catch (...) {
        find(id).dirType = -1;
      }
    }
  }

  // The collected addresses go last.
  std::stable_partition(servers.begin(), servers.end(),
                        [](const Server &s) { return s.id != "history"; });
  std::vector<ThunderbirdBook> books;
  for (const Server &s : servers) {
    if ((s.dirType != 101 && s.dirType != 102) || !IsPlainFileName(s.fileName)) continue;
    books.push_back({s.description.empty() ? s.id : s.description, s.fileName});
  }
  return books;
}

} // namespace contacts
