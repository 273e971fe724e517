#include "contacts/VCardReader.h"

#include "contacts/AsciiText.h"
#include "contacts/MobileNumber.h"
#include "contacts/VCardText.h"

#include <codepage/Codepage.h>

#include <libebook-contacts/libebook-contacts.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace contacts {

namespace {

bool Is(const char *name, std::string_view lowerName) {
  return name && LowerAscii(name) == lowerName;
}

std::string Trimmed(std::string_view text) {
  return std::string(TrimText(text, " \t\""));
}

std::vector<std::string> Values(EVCardAttribute *attr) {
  std::vector<std::string> out;
  for (GList *v = e_vcard_attribute_get_values(attr); v; v = v->next)
    out.emplace_back(v->data ? static_cast<const char *>(v->data) : "");
  return out;
}

std::string FirstValue(EVCardAttribute *attr) {
  GList *v = e_vcard_attribute_get_values(attr);
  return v && v->data ? Trimmed(static_cast<const char *>(v->data)) : std::string();
}

std::string WithoutUrn(std::string value) {
  if (StartsWithNoCase(value, "urn:uuid:")) value.erase(0, 9);
  return value;
}

bool IsMobileLabel(std::string label) {
  label = LowerAscii(label);
  if (label.rfind("_$!<", 0) == 0) label.erase(0, 4);
  if (label.size() >= 4 && label.compare(label.size() - 4, 4, ">!$_") == 0)
    label.erase(label.size() - 4);
  return label.find("mobile") != std::string::npos || label.find("cell") != std::string::npos ||
         label == "iphone";
}

struct Telephone {
  std::string number;
  bool mobile = false;
  bool preferred = false;
  bool typed = false;
};

Telephone ReadTelephone(EVCardAttribute *attr, const std::map<std::string, std::string> &labels) {
  Telephone tel;
  for (GList *p = e_vcard_attribute_get_params(attr); p; p = p->next) {
    auto *param = static_cast<EVCardAttributeParam *>(p->data);
    const char *name = e_vcard_attribute_param_get_name(param);
    if (Is(name, "pref")) tel.preferred = true;
    if (!Is(name, "type")) continue;
    for (GList *v = e_vcard_attribute_param_get_values(param); v; v = v->next) {
      std::string all = LowerAscii(v->data ? static_cast<const char *>(v->data) : "");
      std::size_t start = 0;
      while (start <= all.size()) {
        std::size_t comma = std::min(all.find(',', start), all.size());
        std::string type = Trimmed(std::string_view(all).substr(start, comma - start));
        if (!type.empty()) tel.typed = true;
        if (type == "cell") tel.mobile = true;
        if (type == "pref") tel.preferred = true;
        start = comma + 1;
      }
    }
  }
  if (const char *group = e_vcard_attribute_get_group(attr)) {
    auto label = labels.find(LowerAscii(group));
    if (label != labels.end()) {
      tel.typed = true;
      if (IsMobileLabel(label->second)) tel.mobile = true;
    }
  }
  if (auto number = MobileNumber::Dialable(FirstValue(attr))) tel.number = *number;
  return tel;
}

void AddOnce(std::vector<std::string> &to, const std::string &number) {
  if (std::find(to.begin(), to.end(), number) == to.end()) to.push_back(number);
}

} // namespace

VCardCard VCardReader::FromParsed(_EVCard *parsed) {
  VCardCard card;
  EVCard *vcard = parsed;
  GList *attrs = e_vcard_get_attributes(vcard);

  std::map<std::string, std::string> labels; // group -> X-ABLabel
  for (GList *a = attrs; a; a = a->next) {
    auto *attr = static_cast<EVCardAttribute *>(a->data);
    const char *group = e_vcard_attribute_get_group(attr);
    if (group && Is(e_vcard_attribute_get_name(attr), "x-ablabel"))
      labels[LowerAscii(group)] = FirstValue(attr);
  }

  std::string formatted, given, family, organisation, email;
  std::vector<Telephone> mobiles;
  for (GList *a = attrs; a; a = a->next) {
    auto *attr = static_cast<EVCardAttribute *>(a->data);
    std::string name = LowerAscii(e_vcard_attribute_get_name(attr) ? e_vcard_attribute_get_name(attr)
                                                              : "");
    if (name == "fn" && formatted.empty()) {
      formatted = FirstValue(attr);
    } else if (name == "n" && given.empty() && family.empty()) {
      auto values = Values(attr);
      if (!values.empty()) family = Trimmed(values[0]);
      if (values.size() > 1) given = Trimmed(values[1]);
    } else if (name == "org" && organisation.empty()) {
      organisation = FirstValue(attr);
    } else if (name == "uid") {
      card.uid = WithoutUrn(FirstValue(attr));
    } else if (name == "kind" || name == "x-addressbookserver-kind") {
      if (LowerAscii(FirstValue(attr)) == "group") card.isList = true;
    } else if (name == "x-evolution-list") {
      if (LowerAscii(FirstValue(attr)) == "true") card.isList = true;
    } else if (name == "member" || name == "x-addressbookserver-member") {
      std::string value = FirstValue(attr);
      if (StartsWithNoCase(value, "tel:")) {
        if (auto number = MobileNumber::Dialable(value)) card.memberNumbers.push_back(*number);
      } else if (!value.empty() && !StartsWithNoCase(value, "mailto:")) {
        card.memberUids.push_back(WithoutUrn(value));
      }
    } else if (name == "email") {
      if (email.empty()) email = FirstValue(attr);
      GList *uid = e_vcard_attribute_get_param(attr, EVC_X_DEST_CONTACT_UID);
      if (uid && uid->data) card.memberUids.emplace_back(static_cast<const char *>(uid->data));
    } else if (name == "tel") {
      ++card.telephoneCount;
      Telephone tel = ReadTelephone(attr, labels);
      if (tel.number.empty()) continue;
      if (tel.mobile) mobiles.push_back(tel);
      if (!tel.typed) AddOnce(card.untypedNumbers, tel.number);
    }
  }
  if (!card.isList) card.memberUids.clear(); // an ordinary card's e-mail hints

  std::stable_partition(mobiles.begin(), mobiles.end(),
                        [](const Telephone &t) { return t.preferred; });
  for (const Telephone &t : mobiles)
    AddOnce(card.mobiles, t.number);

  if (!formatted.empty())
    card.name = formatted;
  else if (!given.empty() || !family.empty())
    card.name = Trimmed(given + " " + family);
  else if (!organisation.empty())
    card.name = organisation;
  else
    card.name = email;
  // The parser decodes quoted-printable values to their bytes as they are;
  // without a CHARSET (or with a wrong one) those are no UTF-8, and are
  // read as Windows-1252 like the raw values VCardText repairs.
  if (!g_utf8_validate(card.name.c_str(), -1, nullptr)) card.name = codepage::AnsiToUtf8(card.name);
  return card;
}

std::vector<VCardCard> VCardReader::Read(std::string_view bytes) {
  std::vector<VCardCard> cards;
  for (const std::string &text : VCardText::SplitCards(bytes)) {
    EVCard *parsed = e_vcard_new_from_string(text.c_str());
    if (!parsed) continue;
    cards.push_back(FromParsed(parsed));
    g_object_unref(parsed);
  }
  return cards;
}

} // namespace contacts
