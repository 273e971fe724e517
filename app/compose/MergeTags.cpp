#include "compose/MergeTags.h"

#include "shell/StringTable.h"

namespace compose {
namespace {

constexpr int kTagIds[] = {1029, 1030, 1031, 1032};

} // namespace

std::string MergeTagText(const shell::StringTable &strings, MergeTag tag) {
  switch (tag) {
  case MergeTag::Name:
    return strings.Get(1029);
  case MergeTag::Surname:
    return strings.Get(1030);
  case MergeTag::Title:
    return strings.Get(1031);
  case MergeTag::Custom:
    return strings.Get(1032);
  }
  return {};
}

bool HasMergeTag(const shell::StringTable &strings, std::string_view text) {
  for (int id : kTagIds) {
    const std::string &tag = strings.Get(id);
    if (!tag.empty() && text.find(tag) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

bool NeedsMergeWarning(const shell::StringTable &strings, int type, std::string_view text) {
  return type != 0 || HasMergeTag(strings, text);
}

} // namespace compose
