// BSTR allocation. Each string is one heap block:
//
//   [4 bytes padding][uint32 byte length][UTF-16 data ...][two zero bytes]
//                                        ^ the BSTR points here
//
// so the length prefix sits just before the pointer, the data is 8-byte
// aligned and the text is always zero-terminated, even for byte-length
// strings of odd size.
#include <automation/automation.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kHeader = 8;
constexpr size_t kTerminator = sizeof(OLECHAR);
// Largest byte length a string may have; keeps every size computation below
// far from overflow.
constexpr uint64_t kMaxBytes = 0x7FFFFFF0u;

char *BlockOf(BSTR bstr) {
  return reinterpret_cast<char *>(bstr) - kHeader;
}

BSTR AllocateBytes(const void *data, uint64_t bytes) {
  if (bytes > kMaxBytes) return nullptr;
  auto *block = static_cast<char *>(std::malloc(kHeader + bytes + kTerminator));
  if (!block) return nullptr;
  uint32_t length = static_cast<uint32_t>(bytes);
  std::memset(block, 0, 4);
  std::memcpy(block + 4, &length, sizeof length);
  char *text = block + kHeader;
  if (data)
    std::memcpy(text, data, bytes);
  else
    std::memset(text, 0, bytes);
  std::memset(text + bytes, 0, kTerminator);
  return reinterpret_cast<BSTR>(text);
}

size_t Utf16Length(const OLECHAR *psz) {
  size_t n = 0;
  while (psz[n])
    ++n;
  return n;
}

} // namespace

extern "C" {

BSTR SysAllocString(const OLECHAR *psz) {
  if (!psz) return nullptr;
  return AllocateBytes(psz, static_cast<uint64_t>(Utf16Length(psz)) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR *strIn, UINT ui) {
  return AllocateBytes(strIn, static_cast<uint64_t>(ui) * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(const char *psz, UINT len) {
  return AllocateBytes(psz, len);
}

INT SysReAllocString(BSTR *pbstr, const OLECHAR *psz) {
  if (!pbstr) return 0;
  // Allocate before freeing: `psz` may point into the old string.
  BSTR fresh = psz ? SysAllocString(psz) : AllocateBytes(nullptr, 0);
  if (!fresh) return 0;
  SysFreeString(*pbstr);
  *pbstr = fresh;
  return 1;
}

void SysFreeString(BSTR bstrString) {
  if (!bstrString) return;
  std::free(BlockOf(bstrString));
}

UINT SysStringByteLen(BSTR bstr) {
  if (!bstr) return 0;
  uint32_t length;
  std::memcpy(&length, reinterpret_cast<const char *>(bstr) - sizeof length, sizeof length);
  return length;
}

UINT SysStringLen(BSTR pbstr) {
  return SysStringByteLen(pbstr) / sizeof(OLECHAR);
}

} // extern "C"
