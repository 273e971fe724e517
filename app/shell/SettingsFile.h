#pragma once
// SettingsFile: the program's settings file `SMS.dat`, a small store of named
// Windows-1252 text values kept in memory and written back as a whole.
//
// File format (little-endian): the magic F3 41 2E 6D, then one record per
// setting in map order: a 52-byte header (the upper-cased name in 48 bytes,
// zero-terminated and zero-padded, then the value length as uint32) and the
// value bytes (no terminating zero, at most 2047). Every byte after the magic
// is scrambled with one continuous stream (SettingsScrambler).
//
// Names are compared after upper-casing (ASCII), so they are
// case-insensitive; the map is ordered by the upper-cased names in byte order.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

class SettingsFile {
public:
  static constexpr std::uint32_t kMagic = 0x6D2E41F3;
  static constexpr std::size_t kHeaderSize = 52;
  static constexpr std::size_t kNameField = 48;
  static constexpr std::size_t kMaxName = 47;
  static constexpr std::size_t kMaxValue = 2047;

  // Stores the path and loads the file; a missing or unreadable file, another
  // magic or a damaged record leaves what was read so far.
  SettingsFile(std::string path, bool writeOnClose);
  // Saves when the write-on-close flag is set.
  ~SettingsFile();
  SettingsFile(const SettingsFile &) = delete;
  SettingsFile &operator=(const SettingsFile &) = delete;

  // True when the name exists with a non-empty value (copied to out);
  // otherwise out := def (empty when def is null) and false.
  bool GetString(std::string_view name, std::string &out, const char *def = nullptr) const;
  // A non-empty value converted with atoi; otherwise out := def.
  bool GetInt(std::string_view name, int &out, int def = 0) const;
  // A non-empty value: true when its atoi is not zero; otherwise out := def.
  bool GetBool(std::string_view name, bool &out, bool def = false) const;

  // Replaces the value of a name. Names are cut to 47 bytes and values to
  // 2047 bytes, the most the file can hold.
  void SetString(std::string_view name, std::string_view value);
  void SetInt(std::string_view name, int value);
  // Removes a name; false when it was not there.
  bool Remove(std::string_view name);

  // Writes the whole map: to a temporary file beside the settings file
  // (created 0600), flushed to disk, then renamed over the old one, so the
  // old file stays whole until the new one is complete. False on any error.
  bool Save();

  const std::string &Path() const { return path_; }
  std::size_t Count() const { return entries_.size(); }
  // Read-only view of the entries (upper-cased name -> value).
  const std::map<std::string, std::string> &Entries() const { return entries_; }

  // Parses the bytes of a settings file into entries (used by the loader and
  // the fuzz target). Stops at the first damaged record.
  static std::map<std::string, std::string> Parse(std::string_view bytes);
  // The bytes Save writes for a set of entries.
  static std::string Serialize(const std::map<std::string, std::string> &entries);

  static std::string UpperName(std::string_view name);

private:
  void Load();

  bool writeOnClose_;
  std::map<std::string, std::string> entries_;
  std::string path_;
};

} // namespace shell
