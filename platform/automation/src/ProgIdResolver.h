#pragma once
// Programmatic identifier to class identifier, through
// HKCR\<ProgID>\CLSID and, when present, HKCR\<ProgID>\CurVer.

#include <automation/automation.h>

#include <registry/Registry.h>

#include <string>

namespace automation {

class ProgIdResolver {
public:
  explicit ProgIdResolver(const registry::Registry &reg) : reg_(reg) {}

  // CO_E_CLASSSTRING when the identifier is malformed, not registered or
  // names a malformed class identifier; REGDB_E_CLASSNOTREG when it is
  // registered without a class identifier.
  HRESULT Resolve(const std::u16string &progId, CLSID &clsid) const;

  // A ProgID as registry text; false when it cannot be one (empty, too
  // long, a "\\" in it, or characters Windows-1252 lacks).
  static bool ToKeyName(const std::u16string &progId, std::string &name);

private:
  HRESULT ResolveName(const std::string &name, CLSID &clsid, int depth) const;

  const registry::Registry &reg_;
};

} // namespace automation
