// The update server's version file "update.ver" as downloaded: the version
// must print and read back as itself, the versions must compare as a strict
// order, a digest must be 64 lower-case hex digits taken from a later line,
// and the descriptor written back as a file must read as the same.
#include "update/FileVersion.h"
#include "update/UpdateDescriptor.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using update::FileVersion;
using update::UpdateDescriptor;

bool Same(const FileVersion &a, const FileVersion &b) {
  return a.Major() == b.Major() && a.Minor() == b.Minor() && a.Release() == b.Release() &&
         a.Build() == b.Build();
}

bool Same(const UpdateDescriptor &a, const UpdateDescriptor &b) {
  return Same(a.version, b.version) && a.digest == b.digest && a.sha256 == b.sha256;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

void CheckOrder(const FileVersion &a, const FileVersion &b) {
  if (a.IsNewerThan(a) || b.IsNewerThan(b)) std::abort();
  const bool ab = a.IsNewerThan(b), ba = b.IsNewerThan(a);
  if (ab && ba) std::abort();
  const bool equal = a.High() == b.High() && a.Low() == b.Low();
  if (equal == (ab || ba)) std::abort(); // exactly one of newer, older, equal
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  const UpdateDescriptor d = UpdateDescriptor::Parse(text);
  if (!Same(d, UpdateDescriptor::Parse(text))) std::abort();

  // The version prints as four numbers that read back as the same version.
  const std::string printed = d.version.Text();
  if (std::count(printed.begin(), printed.end(), '.') != 3) std::abort();
  if (!Same(FileVersion::Parse(printed), d.version)) std::abort();

  // The digest: 64 lower-case hex digits from a line after the first.
  const std::size_t firstBreak = text.find('\n');
  switch (d.digest) {
  case UpdateDescriptor::Digest::Given:
    if (d.sha256.size() != 64) std::abort();
    for (char c : d.sha256)
      if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) std::abort();
    if (firstBreak == std::string_view::npos ||
        Lower(text.substr(firstBreak + 1)).find(d.sha256) == std::string::npos)
      std::abort();
    break;
  case UpdateDescriptor::Digest::Malformed:
    if (!d.sha256.empty() || firstBreak == std::string_view::npos) std::abort();
    break;
  case UpdateDescriptor::Digest::None:
    if (!d.sha256.empty()) std::abort();
    break;
  }

  // Written back as a version file, it reads as the same descriptor.
  std::string file = printed + "\r\n";
  if (d.digest == UpdateDescriptor::Digest::Given) file += "sha256 " + d.sha256 + "\r\n";
  if (d.digest == UpdateDescriptor::Digest::Malformed) file += "sha256 -\r\n";
  if (!Same(UpdateDescriptor::Parse(file), d)) std::abort();

  // Against the version of the later lines, and against the program's own.
  const FileVersion later = firstBreak == std::string_view::npos
                                ? FileVersion()
                                : FileVersion::Parse(text.substr(firstBreak + 1));
  CheckOrder(d.version, later);
  CheckOrder(d.version, FileVersion::Own());
  CheckOrder(d.version, FileVersion());
  return 0;
}
