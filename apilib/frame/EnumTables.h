// The enumerations published in Parlink's type library: each with its name,
// help string and constants (name, value, help string), in library order.
#ifndef PARLINK_FRAME_ENUMTABLES_H
#define PARLINK_FRAME_ENUMTABLES_H

#include <automation/automation.h>

#include <span>
#include <string_view>

namespace parlink::frame {

struct EnumConstant {
  const char *name;
  LONG value;
  const char *help;
};

struct EnumDefinition {
  const char *name;
  const char *help;
  std::span<const EnumConstant> constants;
};

// All enumerations, in the order the type library lists them.
std::span<const EnumDefinition> Enumerations();

// Position of the enumeration called `name` in Enumerations(), or -1.
int EnumerationIndex(std::string_view name);

} // namespace parlink::frame

#endif // PARLINK_FRAME_ENUMTABLES_H
