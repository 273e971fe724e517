#include "ContactForm.h"

#include "store/SmsStore.h"

#include <algorithm>

namespace addresses {

bool HoldsText(std::string_view text) {
  return text.find_first_not_of(" \t") != std::string_view::npos;
}

bool MobileEditAllowed(std::string_view before, std::string_view after) {
  auto others = [](std::string_view text) {
    return std::count_if(text.begin(), text.end(), [](char c) {
      return kMobileDigits.find(c) == std::string_view::npos;
    });
  };
  return others(after) <= others(before);
}

ContactForm::ContactForm(const std::vector<GroupEntry> &groups) {
  if (groups.size() > 1) groups_.assign(groups.begin() + 1, groups.end());
  checked_.assign(groups_.size(), false);
}

void ContactForm::Set(Field field, std::string_view text) {
  if (field == Field::Group) return;
  fields_[static_cast<int>(field)] = std::string(text.substr(0, Width(field)));
}

const std::string &ContactForm::Get(Field field) const {
  static const std::string kNone;
  return field == Field::Group ? kNone : fields_[static_cast<int>(field)];
}

void ContactForm::SetChecked(std::size_t index, bool checked) {
  if (index < checked_.size()) checked_[index] = checked;
}

bool ContactForm::Checked(std::size_t index) const {
  return index < checked_.size() && checked_[index];
}

void ContactForm::CheckGroup(int gid) {
  for (std::size_t i = 0; i < groups_.size(); ++i)
    if (groups_[i].gid == gid) checked_[i] = true;
}

bool ContactForm::Load(const store::SmsStore &store, int cid) {
  store::ContactRecord record;
  if (!store.ReadContact(cid, record)) return false;
  Set(Field::Name, record.Name());
  Set(Field::Surname, record.Surname());
  Set(Field::Title, record.Title());
  Set(Field::Custom, record.Custom());
  Set(Field::Mobile, record.Mobile());
  checked_.assign(groups_.size(), false);
  for (int gid : store.GroupsOfContact(cid))
    CheckGroup(gid);
  return true;
}

bool ContactForm::OkEnabled() const {
  return std::find(checked_.begin(), checked_.end(), true) != checked_.end() &&
         HoldsText(Get(Field::Name)) && HoldsText(Get(Field::Mobile));
}

int ContactForm::Save(store::SmsStore &store, int cid) const {
  if (!OkEnabled()) return 0;
  std::vector<int> gids;
  for (std::size_t i = 0; i < groups_.size(); ++i)
    if (checked_[i]) gids.push_back(groups_[i].gid);
  store::ContactRecord record;
  record.SetName(Get(Field::Name));
  record.SetSurname(Get(Field::Surname));
  record.SetTitle(Get(Field::Title));
  record.SetCustom(Get(Field::Custom));
  record.SetMobile(Get(Field::Mobile));
  record.groupIds = gids.data();
  record.groupCount = static_cast<int>(gids.size());
  if (cid == 0) {
    const int added = store.AddContact(record);
    return added > 0 ? added : 0;
  }
  if (!store.FindContact(cid)) return 0;
  store.UpdateContact(cid, record);
  return cid;
}

} // namespace addresses
