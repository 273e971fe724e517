#include "shell/SettingsFile.h"

#include "shell/SettingsScrambler.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {

namespace {

std::string KeyOf(std::string_view name) {
  std::string key = SettingsFile::UpperName(name);
  if (key.size() > SettingsFile::kMaxName) key.resize(SettingsFile::kMaxName);
  return key;
}

bool WriteAll(int fd, const char *data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool ReadWholeFile(const std::string &path, std::string &out) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  char buffer[16384];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

std::string FolderOf(const std::string &path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

} // namespace

std::string SettingsFile::UpperName(std::string_view name) {
  std::string upper(name);
  for (char &c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

SettingsFile::SettingsFile(std::string path, bool writeOnClose)
    : writeOnClose_(writeOnClose), path_(std::move(path)) {
  Load();
}

SettingsFile::~SettingsFile() {
  if (writeOnClose_) Save();
}

void SettingsFile::Load() {
  std::string bytes;
  if (!ReadWholeFile(path_, bytes)) return;
  entries_ = Parse(bytes);
}

std::map<std::string, std::string> SettingsFile::Parse(std::string_view bytes) {
  std::map<std::string, std::string> entries;
  if (bytes.size() < 4) return entries;
  const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
  std::uint32_t magic =
      static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
      static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
  if (magic != kMagic) return entries;

  SettingsScrambler scrambler;
  scrambler.Reset();
  std::size_t pos = 4;
  for (;;) {
    if (bytes.size() - pos < kHeaderSize) break;
    std::uint8_t header[kHeaderSize];
    std::memcpy(header, data + pos, kHeaderSize);
    pos += kHeaderSize;
    scrambler.Apply(header, kHeaderSize);
    std::uint32_t length =
        static_cast<std::uint32_t>(header[48]) | static_cast<std::uint32_t>(header[49]) << 8 |
        static_cast<std::uint32_t>(header[50]) << 16 | static_cast<std::uint32_t>(header[51]) << 24;
    // A value longer than the program can hold, or than what is left of
    // the file, means the rest of the file cannot be trusted.
    if (length > kMaxValue || length > bytes.size() - pos) break;
    std::uint8_t value[kMaxValue];
    std::memcpy(value, data + pos, length);
    pos += length;
    scrambler.Apply(value, length);
    std::size_t nameLength = 0;
    while (nameLength < kNameField && header[nameLength] != 0)
      ++nameLength;
    if (nameLength > kMaxName) nameLength = kMaxName;
    std::string name =
        UpperName(std::string_view(reinterpret_cast<const char *>(header), nameLength));
    entries[name] = std::string(reinterpret_cast<const char *>(value), length);
  }
  return entries;
}

std::string SettingsFile::Serialize(const std::map<std::string, std::string> &entries) {
  std::string out;
  out.push_back(static_cast<char>(kMagic & 0xFF));
  out.push_back(static_cast<char>((kMagic >> 8) & 0xFF));
  out.push_back(static_cast<char>((kMagic >> 16) & 0xFF));
  out.push_back(static_cast<char>((kMagic >> 24) & 0xFF));
  SettingsScrambler scrambler;
  scrambler.Reset();
  for (const auto &[name, value] : entries) {
    std::uint8_t header[kHeaderSize] = {};
    std::size_t nameLength = name.size() < kMaxName ? name.size() : kMaxName;
    std::memcpy(header, name.data(), nameLength);
    std::uint32_t length =
        static_cast<std::uint32_t>(value.size() < kMaxValue ? value.size() : kMaxValue);
    header[48] = static_cast<std::uint8_t>(length & 0xFF);
    header[49] = static_cast<std::uint8_t>((length >> 8) & 0xFF);
    header[50] = static_cast<std::uint8_t>((length >> 16) & 0xFF);
    header[51] = static_cast<std::uint8_t>((length >> 24) & 0xFF);
    scrambler.Apply(header, kHeaderSize);
    out.append(reinterpret_cast<const char *>(header), kHeaderSize);
    std::string scrambled = value.substr(0, length);
    scrambler.Apply(reinterpret_cast<std::uint8_t *>(scrambled.data()), scrambled.size());
    out += scrambled;
  }
  return out;
}

bool SettingsFile::GetString(std::string_view name, std::string &out, const char *def) const {
  auto it = entries_.find(KeyOf(name));
  if (it != entries_.end() && !it->second.empty()) {
    out = it->second;
    return true;
  }
  out = def ? def : "";
  return false;
}

bool SettingsFile::GetInt(std::string_view name, int &out, int def) const {
  auto it = entries_.find(KeyOf(name));
  if (it != entries_.end() && !it->second.empty()) {
    out = std::atoi(it->second.c_str());
    return true;
  }
  out = def;
  return false;
}

bool SettingsFile::GetBool(std::string_view name, bool &out, bool def) const {
  auto it = entries_.find(KeyOf(name));
  if (it != entries_.end() && !it->second.empty()) {
    out = std::atoi(it->second.c_str()) != 0;
    return true;
  }
  out = def;
  return false;
}

void SettingsFile::SetString(std::string_view name, std::string_view value) {
  if (value.size() > kMaxValue) value = value.substr(0, kMaxValue);
  entries_[KeyOf(name)] = std::string(value);
}

void SettingsFile::SetInt(std::string_view name, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  SetString(name, text);
}

bool SettingsFile::Remove(std::string_view name) {
  return entries_.erase(KeyOf(name)) > 0;
}

bool SettingsFile::Save() {
  const std::string bytes = Serialize(entries_);
  std::string temp = path_ + ".XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC); // created 0600
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), path_.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  int dir = ::open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

} // namespace shell
