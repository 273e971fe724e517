#pragma once
// A persistent tree of keys with text values, standing in for the system
// registry. Three hives (HKLM, HKCR, HKCU) live under one root folder.
//
// Key and value names are case-insensitive and case-preserving (letters of
// Windows-1252 fold to upper case for comparison); the empty value name is
// the key's default value. Values are byte strings stored unchanged.
// Every change is atomic and made under an exclusive advisory lock on the
// root, so concurrent processes never lose each other's writes and a crash
// leaves the previous state readable. Readers take a shared lock.
//
// Key paths use "\\" between names; "" is the hive itself. A key name may
// be at most 255 bytes and may not be empty.
//
// Storage: each key is a folder named after its folded, escaped name; the
// folder holds the file "%%key" with the key's own spelling and its values
// in the order they were first set. One change rewrites one small file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace registry {

enum class Hive { LocalMachine, ClassesRoot, CurrentUser };

// DOVETEXT_REGISTRY when set, else $XDG_CONFIG_HOME/dovetext/registry
// (default ~/.config/dovetext/registry).
std::filesystem::path DefaultRoot();

// "HKLM\\SOFTWARE\\Quorvane\\Dvtx3" -> hive + "SOFTWARE\\Quorvane\\Dvtx3".
// Accepts HKLM, HKCR, HKCU and the long names HKEY_LOCAL_MACHINE,
// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER in any case; trailing "\\" are
// dropped. False for an unknown hive.
bool ParseKeyPath(std::string_view full, Hive &hive, std::string &key);

// "HKLM", "HKCR" or "HKCU".
std::string_view HiveName(Hive hive);

class Registry {
public:
  explicit Registry(std::filesystem::path root = DefaultRoot());

  bool KeyExists(Hive, std::string_view key) const;
  // Creates the key and its missing parents; true when the key exists after.
  bool CreateKey(Hive, std::string_view key);
  std::optional<std::string> GetValue(Hive, std::string_view key, std::string_view name) const;
  // Creates the key when missing. A value keeps the spelling of its name
  // from when it was first set.
  bool SetValue(Hive, std::string_view key, std::string_view name, std::string_view value);
  // False when the key or the value does not exist.
  bool DeleteValue(Hive, std::string_view key, std::string_view name);
  // Removes the key with all its subkeys; false when it does not exist.
  // A hive itself cannot be deleted.
  bool DeleteKeyTree(Hive, std::string_view key);
  // Subkey names in case-insensitive order.
  std::vector<std::string> ListSubkeys(Hive, std::string_view key) const;
  // Name and value pairs in the order the values were first set.
  std::vector<std::pair<std::string, std::string>> ListValues(Hive, std::string_view key) const;

  const std::filesystem::path &Root() const { return root_; }
  // The file every reader and writer locks.
  std::filesystem::path LockPath() const;
  // Folder that holds `key` (whether or not it exists); empty when the
  // path is not a valid key path.
  std::filesystem::path KeyFolder(Hive, std::string_view key) const;

  // Largest value and value name accepted by SetValue.
  static constexpr size_t kMaxValueBytes = 16u << 20;
  static constexpr size_t kMaxValueNameBytes = 16383;

private:
  std::filesystem::path root_;
};

} // namespace registry
