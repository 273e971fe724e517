#include "contacts/VCardSource.h"

#include "contacts/AsciiText.h"
#include "contacts/ContainerBuilder.h"
#include "contacts/FileText.h"
#include "contacts/KhardConfig.h"
#include "contacts/VCardReader.h"

#include <algorithm>
#include <cctype>

namespace contacts {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxDisplayNameBytes = 4096;

bool IsCardFile(const fs::directory_entry &entry) {
  std::error_code ec;
  if (!entry.is_regular_file(ec)) return false;
  std::string ext = LowerAscii(entry.path().extension().string());
  return ext == ".vcf" || ext == ".vcard";
}

// The folder's card files and its subfolders, each sorted by name.
void ListFolder(const fs::path &folder, std::vector<fs::path> &files,
                std::vector<fs::path> &subfolders) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (IsCardFile(*it))
      files.push_back(it->path());
    else if (it->is_directory(typeError))
      subfolders.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  std::sort(subfolders.begin(), subfolders.end());
}

std::string FolderName(const fs::path &folder) {
  if (auto text = ReadFileText(folder / "displayname", kMaxDisplayNameBytes)) {
    std::string name = text->substr(0, text->find_first_of("\r\n"));
    if (!name.empty()) return name;
  }
  return folder.filename().string();
}

void AddCards(ContainerBuilder &builder, const fs::path &file) {
  if (auto bytes = ReadFileText(file, kMaxCardFileBytes))
    for (VCardCard &card : VCardReader::Read(*bytes))
      builder.Add(std::move(card));
}

bool AddFolder(AddressBookNode &root, const fs::path &folder, const std::vector<fs::path> &files,
               std::stop_token stop) {
  ContainerBuilder builder(FolderName(folder));
  for (const fs::path &file : files) {
    if (stop.stop_requested()) return false;
    AddCards(builder, file);
  }
  root.Add(builder.Build());
  return true;
}

} // namespace

std::vector<fs::path> VCardSource::Locations(std::string_view configured) {
  std::vector<fs::path> places;
  if (!configured.empty())
    places.emplace_back(configured);
  else
    places.push_back(EnvPath("XDG_DATA_HOME", HomeFolder() / ".local" / "share") / "contacts");
  if (auto config = ReadFileText(KhardConfig::DefaultFile(), kMaxSettingsFileBytes))
    for (fs::path &path : KhardConfig::AddressBookPaths(*config))
      places.push_back(std::move(path));

  std::vector<fs::path> unique;
  std::vector<fs::path> seen;
  for (fs::path &place : places) {
    std::error_code ec;
    fs::path key = fs::weakly_canonical(place, ec);
    if (ec) key = place.lexically_normal();
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) continue;
    seen.push_back(key);
    unique.push_back(std::move(place));
  }
  return unique;
}

ReadOutcome VCardSource::Read(AddressBookNode &root, std::stop_token stop) {
  bool opened = false;
  for (const fs::path &place : locations_) {
    if (stop.stop_requested()) return ReadOutcome::Cancelled;
    std::error_code ec;
    if (fs::is_regular_file(place, ec)) {
      ContainerBuilder builder(place.stem().string());
      AddCards(builder, place);
      root.Add(builder.Build());
      opened = true;
      continue;
    }
    if (!fs::is_directory(place, ec)) continue;
    opened = true;
    std::vector<fs::path> files, subfolders;
    ListFolder(place, files, subfolders);
    std::vector<std::pair<fs::path, std::vector<fs::path>>> collections;
    for (const fs::path &sub : subfolders) {
      std::vector<fs::path> subFiles, nested;
      ListFolder(sub, subFiles, nested);
      if (!subFiles.empty()) collections.emplace_back(sub, std::move(subFiles));
    }
    if ((!files.empty() || collections.empty()) && !AddFolder(root, place, files, stop))
      return ReadOutcome::Cancelled;
    for (const auto &[sub, subFiles] : collections)
      if (!AddFolder(root, sub, subFiles, stop)) return ReadOutcome::Cancelled;
  }
  return opened ? ReadOutcome::Read : ReadOutcome::OpenFailed;
}

} // namespace contacts
