#pragma once
// File kinds of the message types that carry a file (the Browse dialog's
// default extension and filter) and the import of a file as hexadecimal
// text: two upper-case digits per byte, high nibble first, no separators.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace shell {
class StringTable;
}

namespace compose {

// String ids of a type's default extension and filter.
struct FileKind {
  int extensionId;
  int filterId;
};

// 3 Nokia Ringtone: MIDI files; 4 Nokia Pic Msg and 5 Nokia Operator Logo:
// GIF files; every other type: text files.
FileKind FileKindForType(int type);

// True for the types whose content comes from a file (3 to 7).
inline bool IsFileContentType(int type) {
  return type >= 3 && type <= 7;
}

// Why an import failed.
enum HexImportError : int {
  HexNameTooShort = 0, // empty file name
  HexNoLength = 1,     // the size cannot be determined (missing, not a file)
  HexOpenFailed = 2,
  HexReadFailed = 3, // fewer bytes than the size
};

struct HexImport {
  bool ok = false;
  int error = 0;
  std::string hex;
};

std::string ToHex(std::string_view bytes);

// Reads the file (at most maxBytes of it) and returns its bytes as hex text.
HexImport ImportFileAsHex(const std::string &path, std::size_t maxBytes = SIZE_MAX);

// The error box's text: string 1340 with the file name, followed by the
// reason (1341 to 1344, 1345 for any other code).
std::string HexImportErrorText(const shell::StringTable &strings, const std::string &fileName,
                               int error);

} // namespace compose
