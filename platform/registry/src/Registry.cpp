#include <registry/Registry.h>

#include "AtomicFile.h"
#include "KeyFile.h"
#include "KeyPath.h"
#include "NameCodec.h"
#include "RegistryLock.h"

#include <sys/stat.h>

#include <algorithm>

namespace registry {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLockFile = "%%lock";
// A key folder being built, and a key tree on its way out; both are renamed
// in one step, so a crash leaves at most a stray folder behind.
constexpr std::string_view kNewPrefix = "%%new.";
constexpr std::string_view kTrashPrefix = "%%trash.";
constexpr std::string_view kCorruptPrefix = "%%key.corrupt.";

bool IsFolder(const fs::path &path) {
  std::error_code ec;
  return fs::is_directory(fs::symlink_status(path, ec));
}

bool MakeFolder(const fs::path &path) {
  return ::mkdir(path.c_str(), 0700) == 0 || IsFolder(path);
}

// Leftovers of writers that died: only called under the exclusive lock,
// when nobody else can be writing them.
void SweepStray(const fs::path &folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.starts_with(AtomicFile::kTempPrefix) || name.starts_with(kNewPrefix) ||
        name.starts_with(kTrashPrefix)) {
      std::error_code ignored;
      fs::remove_all(it->path(), ignored);
    }
  }
}

struct LoadedKey {
  KeyFile file;
  bool damaged = false; // the key file exists but could not be read whole
};

// The key stored in `folder`; nullopt when there is no such folder.
// `fallbackName` names a key whose file is missing.
std::optional<LoadedKey> LoadKey(const fs::path &folder, std::string_view fallbackName) {
  if (!IsFolder(folder)) return std::nullopt;
  LoadedKey key;
  bool missing = false;
  auto bytes = AtomicFile::Read(folder / KeyFile::kFileName, KeyFile::kMaxFileBytes, missing);
  if (!bytes) {
    key.damaged = !missing;
    key.file.name = fallbackName;
    return key;
  }
  if (!KeyFile::Parse(*bytes, key.file)) {
    key.damaged = true;
    if (key.file.name.empty()) key.file.name = fallbackName;
  }
  return key;
}

bool StoreKey(const fs::path &folder, const LoadedKey &key) {
  fs::path file = folder / KeyFile::kFileName;
  if (key.damaged) {
    // Keep the unreadable file for inspection instead of overwriting it.
    fs::path aside = folder / (std::string(kCorruptPrefix) + AtomicFile::UniqueSuffix());
    std::error_code ec;
    fs::rename(file, aside, ec);
  }
  SweepStray(folder);
  return AtomicFile::Write(file, key.file.Serialize());
}

std::string DisplayNameOf(const fs::path &folder) {
  return NameCodec::FromFolderName(folder.filename().string());
}

} // namespace

Registry::Registry(fs::path root) : root_(std::move(root)) {}

fs::path Registry::LockPath() const {
  return root_ / kLockFile;
}

fs::path Registry::KeyFolder(Hive hive, std::string_view key) const {
  std::vector<std::string> names;
  if (!KeyPath::Split(key, names)) return {};
  fs::path folder = root_ / std::string(HiveName(hive));
  for (const std::string &name : names) {
    std::string entry = NameCodec::FolderName(name);
    if (entry.empty()) return {};
    folder /= entry;
  }
  return folder;
}

namespace {

// Creates the hive folder and every missing key on the way to `folder`,
// each key folder complete with its key file before it appears.
bool EnsureKey(const fs::path &root, Hive hive, std::string_view key) {
  std::vector<std::string> names;
  if (!KeyPath::Split(key, names)) return false;
  fs::path folder = root / std::string(HiveName(hive));
  if (!MakeFolder(folder)) return false;
  for (const std::string &name : names) {
    std::string entry = NameCodec::FolderName(name);
    if (entry.empty()) return false;
    fs::path child = folder / entry;
    if (IsFolder(child)) {
      folder = child;
      continue;
    }
    SweepStray(folder);
    fs::path building = folder / (std::string(kNewPrefix) + AtomicFile::UniqueSuffix());
    if (::mkdir(building.c_str(), 0700) != 0) return false;
    KeyFile file;
    file.name = name;
    std::error_code ec;
    if (!AtomicFile::Write(building / KeyFile::kFileName, file.Serialize())) {
      fs::remove_all(building, ec);
      return false;
    }
    fs::rename(building, child, ec);
    if (ec) {
      fs::remove_all(building, ec);
      return false;
    }
    AtomicFile::SyncFolder(folder);
    folder = child;
  }
  return true;
}

bool PrepareRoot(const fs::path &root) {
  std::error_code ec;
  if (IsFolder(root)) return true;
  fs::create_directories(root, ec);
  if (ec) return false;
  fs::permissions(root, fs::perms::owner_all, ec);
  return true;
}

} // namespace

bool Registry::KeyExists(Hive hive, std::string_view key) const {
  fs::path folder = KeyFolder(hive, key);
  if (folder.empty()) return false;
  if (key.empty()) return true; // a hive always exists
  if (!IsFolder(root_)) return false;
  RegistryLock lock(LockPath(), RegistryLock::Mode::Shared);
  return IsFolder(folder);
}

bool Registry::CreateKey(Hive hive, std::string_view key) {
  if (KeyFolder(hive, key).empty() || !PrepareRoot(root_)) return false;
  RegistryLock lock(LockPath(), RegistryLock::Mode::Exclusive);
  if (!lock.Held()) return false;
  return EnsureKey(root_, hive, key);
}

std::optional<std::string> Registry::GetValue(Hive hive, std::string_view key,
                                              std::string_view name) const {
  fs::path folder = KeyFolder(hive, key);
  if (folder.empty() || !IsFolder(root_)) return std::nullopt;
  RegistryLock lock(LockPath(), RegistryLock::Mode::Shared);
  auto loaded = LoadKey(folder, {});
  if (!loaded) return std::nullopt;
  const std::string *value = loaded->file.Find(name);
  if (!value) return std::nullopt;
  return *value;
}

bool Registry::SetValue(Hive hive, std::string_view key, std::string_view name,
                        std::string_view value) {
  if (name.size() > kMaxValueNameBytes || value.size() > kMaxValueBytes) return false;
  fs::path folder = KeyFolder(hive, key);
  if (folder.empty() || !PrepareRoot(root_)) return false;
  RegistryLock lock(LockPath(), RegistryLock::Mode::Exclusive);
  if (!lock.Held() || !EnsureKey(root_, hive, key)) return false;
  auto loaded = LoadKey(folder, key.empty() ? "" : DisplayNameOf(folder));
  if (!loaded) return false;
  loaded->file.Set(name, value);
  return StoreKey(folder, *loaded);
}

bool Registry::DeleteValue(Hive hive, std::string_view key, std::string_view name) {
  fs::path folder = KeyFolder(hive, key);
  if (folder.empty() || !IsFolder(root_)) return false;
  RegistryLock lock(LockPath(), RegistryLock::Mode::Exclusive);
  if (!lock.Held()) return false;
  auto loaded = LoadKey(folder, key.empty() ? "" : DisplayNameOf(folder));
  if (!loaded || !loaded->file.Erase(name)) return false;
  return StoreKey(folder, *loaded);
}

bool Registry::DeleteKeyTree(Hive hive, std::string_view key) {
  fs::path folder = KeyFolder(hive, key);
  if (key.empty() || folder.empty() || !IsFolder(root_)) return false;
  RegistryLock lock(LockPath(), RegistryLock::Mode::Exclusive);
  if (!lock.Held() || !IsFolder(folder)) return false;
  fs::path parent = folder.parent_path();
  SweepStray(parent);
  // One rename takes the whole tree out of sight; the removal after it may
  // be interrupted without leaving half a key behind.
  fs::path trash = parent / (std::string(kTrashPrefix) + AtomicFile::UniqueSuffix());
  std::error_code ec;
  fs::rename(folder, trash, ec);
  if (ec) return false;
  AtomicFile::SyncFolder(parent);
  fs::remove_all(trash, ec);
  return true;
}

std::vector<std::string> Registry::ListSubkeys(Hive hive, std::string_view key) const {
  std::vector<std::string> names;
  fs::path folder = KeyFolder(hive, key);
  if (folder.empty() || !IsFolder(root_)) return names;
  RegistryLock lock(LockPath(), RegistryLock::Mode::Shared);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (NameCodec::IsInternal(entry) || !IsFolder(it->path())) continue;
    auto loaded = LoadKey(it->path(), DisplayNameOf(it->path()));
    if (loaded) names.push_back(loaded->file.name);
  }
  std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
    std::string fa = NameCodec::Fold(a), fb = NameCodec::Fold(b);
    return fa != fb ? fa < fb : a < b;
  });
  return names;
}

std::vector<std::pair<std::string, std::string>> Registry::ListValues(Hive hive,
                                                                      std::string_view key) const {
  fs::path folder = KeyFolder(hive, key);
  if (folder.empty() || !IsFolder(root_)) return {};
  RegistryLock lock(LockPath(), RegistryLock::Mode::Shared);
  auto loaded = LoadKey(folder, {});
  if (!loaded) return {};
  return std::move(loaded->file.values);
}

} // namespace registry
