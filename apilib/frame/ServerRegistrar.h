// Registration of the SMS class in HKCR: the programmatic identifiers, the
// class key with its in-process server path, and the type library through
// the automation runtime; and their removal.
#ifndef PARLINK_FRAME_SERVERREGISTRAR_H
#define PARLINK_FRAME_SERVERREGISTRAR_H

#include <automation/automation.h>

#include <string>
#include <vector>

namespace parlink::frame {

class ServerRegistrar {
public:
  // One value to write below HKCR (an empty name is the key's default value;
  // an entry without a value only creates the key).
  struct Entry {
    std::string key;
    std::string name;
    std::string value;
    bool createOnly = false;
  };

  // The registration script for a module at `modulePath`, in writing order.
  static std::vector<Entry> Script(const std::string &modulePath);
  // The keys removed whole on unregistration (never "CLSID" itself).
  static std::vector<std::string> RemovedKeys();
  // "{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216}" form.
  static std::string GuidText(const GUID &guid);

  // Writes the script for this module and registers the type library. On
  // failure nothing of it stays behind.
  static HRESULT Register();
  // Removes the keys of the script and unregisters the type library.
  static HRESULT Unregister();
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_SERVERREGISTRAR_H
