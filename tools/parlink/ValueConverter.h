// Script words to automation values and automation values to text.
#ifndef DV_TOOLS_PARLINK_VALUECONVERTER_H
#define DV_TOOLS_PARLINK_VALUECONVERTER_H

#include "MemberCatalog.h"
#include "ScriptLexer.h"

#include <automation/automation.h>

#include <optional>
#include <string>

class ValueConverter {
public:
  // Text (UTF-8 to a UTF-16 string; the unquoted word null is a null
  // string), integer (decimal, 32-bit) or boolean (true, false, -1, 0, 1).
  // False with a reason when the word does not fit the kind.
  static bool ToVariant(const ScriptWord &word, ValueKind kind, VARIANT &out, std::string &error);

  // The value as UTF-8 text; nothing for VT_EMPTY (no value). Booleans read
  // "true" or "false".
  static std::optional<std::string> ToText(const VARIANT &value);

  static bool IsNullWord(const ScriptWord &word) { return !word.quoted && word.text == "null"; }
};

#endif // DV_TOOLS_PARLINK_VALUECONVERTER_H
