#include "compose/BinaryContent.h"

#include "shell/InsertFormat.h"
#include "shell/StringTable.h"

#include <filesystem>
#include <fstream>

namespace compose {

FileKind FileKindForType(int type) {
  switch (type) {
  case 3:
    return {1327, 1328};
  case 4:
  case 5:
    return {1329, 1330};
  default:
    return {1325, 1326};
  }
}

std::string ToHex(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.resize(bytes.size() * 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    hex[2 * i] = kDigits[b >> 4];
    hex[2 * i + 1] = kDigits[b & 0x0F];
  }
  return hex;
}

HexImport ImportFileAsHex(const std::string &path, std::size_t maxBytes) {
  HexImport result;
  if (path.empty()) {
    result.error = HexNameTooShort;
    return result;
  }
  std::error_code ec;
  const std::filesystem::path fsPath(path);
  if (!std::filesystem::is_regular_file(fsPath, ec)) {
    result.error = HexNoLength;
    return result;
  }
  const std::uintmax_t size = std::filesystem::file_size(fsPath, ec);
  if (ec) {
    result.error = HexNoLength;
    return result;
  }
  std::ifstream in(fsPath, std::ios::binary);
  if (!in.is_open()) {
    result.error = HexOpenFailed;
    return result;
  }
  const std::size_t want = static_cast<std::size_t>(
      std::min<std::uintmax_t>(size, static_cast<std::uintmax_t>(maxBytes)));
  std::string bytes(want, '\0');
  if (want > 0) {
    in.read(bytes.data(), static_cast<std::streamsize>(want));
    if (static_cast<std::size_t>(in.gcount()) != want) {
      result.error = HexReadFailed;
      return result;
    }
  }
  result.ok = true;
  result.hex = ToHex(bytes);
  return result;
}

std::string HexImportErrorText(const shell::StringTable &strings, const std::string &fileName,
                               int error) {
  const int reasonId = (error >= 0 && error <= 3) ? 1341 + error : 1345;
  return shell::InsertFormat(strings.Get(1340), fileName) + strings.Get(reasonId);
}

} // namespace compose
