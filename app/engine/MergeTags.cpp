#include "MergeTags.h"

namespace engine {

bool MergeTags::AnyIn(std::string_view text) const {
  for (const std::string *tag : {&firstName, &surname, &title, &custom})
    if (!tag->empty() && text.find(*tag) != std::string_view::npos) return true;
  return false;
}

std::string MergeTags::Merge(std::string_view text, const ContactFields &contact) const {
  const std::pair<const std::string *, const std::string *> pairs[] = {
      {&firstName, &contact.name},
      {&surname, &contact.surname},
      {&title, &contact.title},
      {&custom, &contact.custom},
  };
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    bool replaced = false;
    for (const auto &[tag, value] : pairs) {
      if (!tag->empty() && text.compare(i, tag->size(), *tag) == 0) {
        out += *value;
        i += tag->size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

} // namespace engine
