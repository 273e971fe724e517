// The "[section]" and "key=value" files of other programs (profiles.ini,
// desktop entries, mimeapps.list) and khard's configuration, from the same
// bytes. Every name, key and value must be trimmed text of one line, keys
// must hold no "=", lookups must agree with the entries, the sections
// written back must read as the same, and khard's books must be the paths
// of the [[book]] sections below [addressbooks].
#include "contacts/IniText.h"
#include "contacts/KhardConfig.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using contacts::IniSection;
using contacts::IniText;

bool Same(const std::vector<IniSection> &a, const std::vector<IniSection> &b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || a[i].depth != b[i].depth || a[i].entries != b[i].entries)
      return false;
  return true;
}

// One trimmed piece of one line of `text`.
void CheckPiece(std::string_view piece, std::string_view text) {
  if (piece.find('\n') != std::string_view::npos) std::abort();
  if (!piece.empty()) {
    constexpr std::string_view kBlanks = " \t\r";
    if (kBlanks.find(piece.front()) != std::string_view::npos ||
        kBlanks.find(piece.back()) != std::string_view::npos)
      std::abort();
    if (text.find(piece) == std::string_view::npos) std::abort();
  }
}

std::string Write(const std::vector<IniSection> &sections) {
  std::string out;
  for (const IniSection &s : sections) {
    // Blanks inside the brackets keep a name's own brackets apart from them.
    out += std::string(static_cast<std::size_t>(s.depth), '[') + " " + s.name + " " +
           std::string(static_cast<std::size_t>(s.depth), ']') + "\n";
    for (const auto &[key, value] : s.entries)
      out += key + "=" + value + "\n";
  }
  return out;
}

void CheckKhard(std::string_view text, const std::vector<IniSection> &sections) {
  const std::vector<std::filesystem::path> paths = contacts::KhardConfig::AddressBookPaths(text);
  // The written paths of the books; "plain" when nothing in them is quoted,
  // commented or expanded, so the path is the value itself.
  std::vector<std::string> written;
  bool allPlain = true;
  bool inBooks = false;
  for (const IniSection &s : sections) {
    if (s.depth == 1) inBooks = s.name == "addressbooks";
    if (!inBooks || s.depth != 2 || !s.Has("path")) continue;
    const std::string value = s.Value("path");
    if (value.empty()) continue;
    written.push_back(value);
    if (value.find_first_of("$~\"'#") != std::string::npos) allPlain = false;
  }
  if (paths.size() > written.size()) std::abort();
  for (const auto &p : paths)
    if (p.empty()) std::abort();
  if (allPlain) {
    if (paths.size() != written.size()) std::abort();
    for (std::size_t i = 0; i < paths.size(); ++i)
      if (paths[i].string() != written[i]) std::abort();
  }
  // Text with nothing to expand stays as written.
  if (text.find('$') == std::string_view::npos && (text.empty() || text.front() != '~') &&
      contacts::KhardConfig::ExpandPath(text).string() != text)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  const std::vector<IniSection> sections = IniText::Parse(text);
  if (!Same(sections, IniText::Parse(text))) std::abort();

  std::size_t lines = 1;
  for (char c : text)
    lines += c == '\n';
  if (sections.size() > lines) std::abort();

  for (const IniSection &s : sections) {
    if (s.depth < 1 || static_cast<std::size_t>(s.depth) > size) std::abort();
    CheckPiece(s.name, text);
    for (const auto &[key, value] : s.entries) {
      CheckPiece(key, text);
      CheckPiece(value, text);
      if (key.find('=') != std::string::npos) std::abort();
      if (!key.empty() && (key.front() == '#' || key.front() == ';' || key.front() == '['))
        std::abort();
      // The first entry of a key is the one looked up.
      if (!s.Has(key)) std::abort();
      for (const auto &[k, v] : s.entries)
        if (k == key) {
          if (s.Value(key) != v) std::abort();
          break;
        }
    }
    if (s.Has("\n") || !s.Value("\n").empty()) std::abort();
  }

  if (!Same(IniText::Parse(Write(sections)), sections)) std::abort();
  CheckKhard(text, sections);
  return 0;
}
