#include "ProgIdResolver.h"

#include "GuidText.h"

#include <codepage/Codepage.h>

namespace automation {

namespace {

// A chain of CurVer entries longer than this is a loop.
constexpr int kMaxCurVerDepth = 8;
constexpr size_t kMaxProgIdChars = 255;

} // namespace

bool ProgIdResolver::ToKeyName(const std::u16string &progId, std::string &name) {
  if (progId.empty() || progId.size() > kMaxProgIdChars) return false;
  name.clear();
  for (char16_t unit : progId) {
    unsigned char byte = 0;
    if (unit == u'\\' || unit == 0 || !codepage::Utf16ToByte(unit, byte)) return false;
    name.push_back(static_cast<char>(byte));
  }
  return true;
}

HRESULT ProgIdResolver::Resolve(const std::u16string &progId, CLSID &clsid) const {
  std::string name;
  if (!ToKeyName(progId, name)) return CO_E_CLASSSTRING;
  return ResolveName(name, clsid, 0);
}

HRESULT ProgIdResolver::ResolveName(const std::string &name, CLSID &clsid, int depth) const {
  using registry::Hive;
  if (name.empty() || name.find('\\') != std::string::npos) return CO_E_CLASSSTRING;
  if (!reg_.KeyExists(Hive::ClassesRoot, name)) return CO_E_CLASSSTRING;
  // The current version, when the identifier names one, decides.
  if (depth < kMaxCurVerDepth) {
    auto curVer = reg_.GetValue(Hive::ClassesRoot, name + "\\CurVer", "");
    if (curVer && !curVer->empty() && *curVer != name) {
      CLSID current;
      if (SUCCEEDED(ResolveName(*curVer, current, depth + 1))) {
        clsid = current;
        return S_OK;
      }
    }
  }
  auto text = reg_.GetValue(Hive::ClassesRoot, name + "\\CLSID", "");
  if (!text) return REGDB_E_CLASSNOTREG;
  CLSID parsed;
  if (!GuidText::Parse(std::string_view(*text), parsed)) return CO_E_CLASSSTRING;
  clsid = parsed;
  return S_OK;
}

} // namespace automation
