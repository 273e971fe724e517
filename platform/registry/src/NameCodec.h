#pragma once
// Key and value names: case folding for comparison, and the folder name a
// key is stored under.

#include <string>
#include <string_view>

namespace registry {

class NameCodec {
public:
  // Upper-case folding of the letters of Windows-1252 (ASCII, the accented
  // letters, š œ ž ÿ); other bytes are unchanged.
  static std::string Fold(std::string_view name);
  static unsigned char FoldByte(unsigned char c);
  static bool EqualNoCase(std::string_view a, std::string_view b);

  // The folded name with every byte that is unsafe or unportable in a file
  // name written as "%XX" (and a leading "." too). Empty when the name is
  // empty or the result would be longer than a file name may be.
  static std::string FolderName(std::string_view name);
  // Reverses the escaping (of a folder whose key file is missing).
  static std::string FromFolderName(std::string_view folder);

  // Files and folders of the store's own ("%%" never starts an escaped name).
  static constexpr std::string_view kInternalPrefix = "%%";
  static bool IsInternal(std::string_view entry) { return entry.starts_with(kInternalPrefix); }
};

} // namespace registry
