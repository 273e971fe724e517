#include "InstallerTrust.h"

#include <openssl/evp.h>
#include <strings.h>

#include <fstream>
#include <memory>
#include <vector>

namespace update {

std::optional<std::string> InstallerTrust::Sha256Hex(const std::filesystem::path &file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1) return std::nullopt;
  std::vector<char> buffer(64 * 1024);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    auto n = static_cast<size_t>(in.gcount());
    if (n > 0 && EVP_DigestUpdate(ctx.get(), buffer.data(), n) != 1) return std::nullopt;
  }
  if (in.bad()) return std::nullopt;
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_DigestFinal_ex(ctx.get(), digest, &size) != 1) return std::nullopt;
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0x0F];
  }
  return hex;
}

bool InstallerTrust::IsHttps(const std::string &address) {
  return strncasecmp(address.c_str(), "https://", 8) == 0;
}

InstallerTrust::Result InstallerTrust::Judge(const UpdateDescriptor &descriptor,
                                             const std::string &versionAddress,
                                             const std::string &installerAddress,
                                             const std::filesystem::path &installer) {
  using Digest = UpdateDescriptor::Digest;
  if (descriptor.digest == Digest::Malformed)
    return {Verdict::Mismatch, "the sha256 line of update.ver is not 64 hex digits"};
  if (descriptor.digest == Digest::Given) {
    auto actual = Sha256Hex(installer);
    if (!actual) return {Verdict::Mismatch, "the installer could not be read to check its SHA-256"};
    if (*actual != descriptor.sha256)
      return {Verdict::Mismatch,
              "the installer's SHA-256 " + *actual + " differs from " + descriptor.sha256};
    return {Verdict::DigestMatches, "the installer's SHA-256 matches update.ver"};
  }
  if (IsHttps(versionAddress) && IsHttps(installerAddress))
    return {Verdict::SecureTransport, "update.ver and the installer came over https"};
  return {Verdict::Unverified, "update.ver has no sha256 line and the update addresses are not "
                               "both https"};
}

} // namespace update
