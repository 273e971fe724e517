// A Thunderbird profile's prefs.js as found on disk: every book must have a
// name and a plain file name inside the profile folder, the built-in books
// must keep their places unless prefs.js speaks of them, and the books
// written back as prefs.js lines must read as the same list.
#include "contacts/ThunderbirdPrefs.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using contacts::ThunderbirdBook;
using contacts::ThunderbirdPrefs;

bool Same(const std::vector<ThunderbirdBook> &a, const std::vector<ThunderbirdBook> &b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || a[i].fileName != b[i].fileName) return false;
  return true;
}

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

std::string Pref(const std::string &name, const std::string &literal) {
  return "user_pref(" + Quoted(name) + ", " + literal + ");\n";
}

// The books as prefs.js lines: the built-in ones switched off, every book
// under a server of its own.
std::string Write(const std::vector<ThunderbirdBook> &books) {
  std::string out = "// Mozilla User Preferences\n";
  out += Pref("ldap_2.servers.pab.dirType", "0");
  out += Pref("ldap_2.servers.history.dirType", "0");
  for (std::size_t i = 0; i < books.size(); ++i) {
    const std::string server = "ldap_2.servers.book" + std::to_string(i) + ".";
    out += Pref(server + "description", Quoted(books[i].name));
    out += Pref(server + "filename", Quoted(books[i].fileName));
    out += Pref(server + "dirType", i % 2 ? "102" : "101");
  }
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  const std::vector<ThunderbirdBook> books = ThunderbirdPrefs::Books(text);
  if (!Same(books, ThunderbirdPrefs::Books(text))) std::abort();

  std::size_t lines = 1;
  for (char c : text)
    lines += c == '\n';
  if (books.size() > 2 + lines) std::abort();

  const bool escapes = text.find('\\') != std::string_view::npos;
  for (const ThunderbirdBook &book : books) {
    if (book.name.empty()) std::abort();
    const std::string &file = book.fileName;
    if (file.empty() || file == "." || file == ".." || file.find('/') != std::string::npos ||
        file.find('\0') != std::string::npos)
      std::abort();
    // Without escapes every name and file name is text of the input, but
    // the built-in books keep their default names and files when prefs.js
    // changes only one of the two.
    const bool builtInName =
        book.name == "Personal Address Book" || book.name == "Collected Addresses";
    const bool builtInFile = file == "abook.sqlite" || file == "history.sqlite";
    if (!escapes && ((text.find(file) == std::string_view::npos && !builtInFile) ||
                     (text.find(book.name) == std::string_view::npos && !builtInName)))
      std::abort();
  }

  // The built-in books keep their places while prefs.js does not name them.
  if (!escapes && text.find("ldap_2.servers.pab.") == std::string_view::npos &&
      (books.empty() || books.front().name != "Personal Address Book" ||
       books.front().fileName != "abook.sqlite"))
    std::abort();
  if (!escapes && text.find("ldap_2.servers.history.") == std::string_view::npos &&
      (books.empty() || books.back().name != "Collected Addresses" ||
       books.back().fileName != "history.sqlite"))
    std::abort();

  if (!Same(ThunderbirdPrefs::Books(Write(books)), books)) std::abort();
  return 0;
}
