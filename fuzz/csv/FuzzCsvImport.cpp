// libFuzzer target: the contacts import reads an arbitrary file. The first
// byte chooses the separator and the options; the rest is the file.
#include "contacts/ContactCsvImporter.h"
#include "contacts/CsvHeaderMap.h"
#include "store/SmsStore.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace {

struct FuzzStore {
  std::filesystem::path dir;
  std::unique_ptr<store::SmsStore> store;
  int runs = 0;

  void Renew() {
    store.reset();
    if (!dir.empty()) {
      std::filesystem::remove_all(dir);
    }
    std::string pattern =
        (std::filesystem::temp_directory_path() / "fuzz_csv_import.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::abort();
    }
    dir = pattern;
    store = std::make_unique<store::SmsStore>(dir.string());
    store->AddGroup("Friends");
    runs = 0;
  }
  ~FuzzStore() {
    store.reset();
    if (!dir.empty()) {
      std::filesystem::remove_all(dir);
    }
  }
};

FuzzStore &Shared() {
  static FuzzStore shared;
  return shared;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  FuzzStore &fs = Shared();
  if (!fs.store || ++fs.runs > 2000) {
    fs.Renew();
  }
  const std::uint8_t mode = data[0];
  contacts::ImportOptions options;
  options.separator = contacts::kImportSeparators[mode % 3].separator;
  options.preventDuplicates = (mode & 0x04) != 0;
  options.autoCreateGroups = (mode & 0x08) != 0;
  options.groupIds = {2};

  std::istringstream in(std::string(reinterpret_cast<const char *>(data + 1), size - 1));
  contacts::ContactCsvImporter importer(*fs.store);
  const contacts::ImportResult result = importer.Import(in, options);
  if (result.inserted < 0 || result.discarded < 0) {
    std::abort();
  }
  return 0;
}
