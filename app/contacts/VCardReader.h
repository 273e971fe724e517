#pragma once
// Reads vCard text (2.1, 3.0, 4.0; one card or many) into cards, with the
// parser of Evolution Data Server's contacts library behind it. What the
// parser leaves to its callers is done here: comma-separated and quoted
// TYPE values, "tel:" URIs, Apple's labelled "itemN.TEL", vCard 2.1's bare
// CELL, and the raw 8-bit text that VCardText repairs first.
//
// A TEL is a mobile number when one of its types is "cell" (any case) or
// when its group carries an X-ABLabel naming a mobile ("_$!<Mobile>!$_",
// "iPhone"). A list is a card with KIND:group (or X-ADDRESSBOOKSERVER-KIND)
// and its MEMBER values, or an Evolution contact list (X-EVOLUTION-LIST) and
// the contacts its e-mail entries point to.

#include "contacts/VCardCard.h"

#include <string_view>
#include <vector>

struct _EVCard;

namespace contacts {

class VCardReader {
public:
  static std::vector<VCardCard> Read(std::string_view bytes);
  // One card as the parser holds it (Evolution Data Server's contacts are
  // such cards too).
  static VCardCard FromParsed(_EVCard *card);
};

} // namespace contacts
