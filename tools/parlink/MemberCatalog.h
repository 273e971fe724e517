// What the object's type information says about its members: which kinds
// (method, property get, property put) each dispatch identifier has, and
// the value kinds of the parameters, so that script words can be converted.
#ifndef DV_TOOLS_PARLINK_MEMBERCATALOG_H
#define DV_TOOLS_PARLINK_MEMBERCATALOG_H

#include <automation/automation.h>

#include <map>
#include <string>
#include <vector>

enum class ValueKind { Text, Integer, Boolean, Any };

struct MemberParam {
  std::string name;
  ValueKind kind = ValueKind::Any;
  bool optional = false;
};

struct MemberShape {
  bool hasMethod = false;
  bool hasGet = false;
  bool hasPut = false;
  std::vector<MemberParam> methodParams; // in-parameters of the method
  ValueKind putKind = ValueKind::Any;    // the value a put takes
};

class MemberCatalog {
public:
  // Reads the type information of `object`. False when the object offers
  // none: then members are known only by name and values pass as text.
  bool Load(IDispatch *object);
  bool HasTypeInfo() const { return loaded_; }
  // Null when the type information does not describe this identifier.
  const MemberShape *Find(DISPID id) const;

private:
  bool loaded_ = false;
  std::map<DISPID, MemberShape> members_;
};

#endif // DV_TOOLS_PARLINK_MEMBERCATALOG_H
