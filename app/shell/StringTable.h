#pragma once
// The program's string table: numeric ids to Windows-1252 texts, compiled in.
// A translation file (`Language.dll` in the data folder) can replace entries
// at start-up. Its format is plain text, Windows-1252, one entry per line:
//   <id><TAB><text>
// where the text may use the escapes "\n", "\r", "\t" and "\\". Empty lines
// and lines starting with "#" are ignored, as are lines without a valid id
// (a decimal number 0..65535) or without the TAB. Lines end with LF or CR LF.

#include <map>
#include <string>
#include <string_view>

namespace shell {

class StringTable {
public:
  // The built-in texts.
  StringTable();

  // The text of an id; empty when the table has none.
  const std::string &Get(int id) const;
  bool Has(int id) const;
  void Set(int id, std::string text);
  std::size_t Size() const { return texts_.size(); }

  // Replaces entries from a translation file. Returns the number of entries
  // read, or -1 when the file could not be read (the table is then unchanged).
  int LoadTranslation(const std::string &path);
  // The same from the file's bytes.
  int LoadTranslationText(std::string_view bytes);

  // The built-in table only (shared, never changed).
  static const StringTable &BuiltIn();

private:
  std::map<int, std::string> texts_;
};

} // namespace shell
