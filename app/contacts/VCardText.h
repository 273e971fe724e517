#pragma once
// vCard text as files hold it, made ready for the parser: split into cards,
// lines unfolded, quoted-printable soft line breaks joined (also when the
// next line begins with a blank), and raw 8-bit values turned into UTF-8 —
// from their CHARSET when they name one (the parameter is then dropped, the
// value being UTF-8 now), else from Windows-1252 when they are not UTF-8.
// Quoted-printable values keep their CHARSET: the parser decodes both.

#include <string>
#include <string_view>
#include <vector>

namespace contacts {

class VCardText {
public:
  // One text per card, BEGIN:VCARD to END:VCARD (an AGENT card nested inside
  // stays part of its card), lines ending in CRLF. Text outside cards is
  // ignored; a card left open at the end is closed. NUL bytes are dropped.
  static std::vector<std::string> SplitCards(std::string_view bytes);

  // One logical line with its value made UTF-8 (see above).
  static std::string RepairLine(std::string_view line);

  // The offset of the ":" that ends the property name and parameters
  // (colons inside double quotes do not count); npos when there is none.
  static std::size_t ValueStart(std::string_view line);
};

} // namespace contacts
