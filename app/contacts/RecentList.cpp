#include "contacts/RecentList.h"

#include "shell/Settings.h"

#include <algorithm>
#include <cstring>

namespace contacts {

static_assert(RecentList::kSlots == shell::kMaxRecent, "the settings keep ten recent slots");
static_assert(RecentList::kNumberOffset + RecentList::kNumberSize + 2 == RecentList::kSlotSize);

namespace {

std::string_view BoundedText(const std::uint8_t *bytes, std::size_t size) {
  const auto *chars = reinterpret_cast<const char *>(bytes);
  const void *zero = std::memchr(chars, 0, size);
  const std::size_t n = zero ? static_cast<const char *>(zero) - chars : size;
  return std::string_view(chars, n);
}

} // namespace

RecentList::Slot RecentList::EmptySlot() {
  Slot slot{};
  slot[0] = kKindRecent;
  slot[1] = kFlagEmpty;
  return slot;
}

void RecentList::Reset() {
  slots_.fill(EmptySlot());
  count_ = 0;
}

std::string RecentList::MakeDisplayText(std::string_view firstName, std::string_view surname,
                                        std::string_view number) {
  std::string text;
  if (!firstName.empty()) {
    text.append(firstName);
    text.push_back(' ');
  }
  if (!surname.empty()) {
    text.append(surname);
    text.push_back(' ');
  }
  text.push_back('(');
  text.append(number);
  text.push_back(')');
  if (text.size() > kDisplaySize - 1) {
    text.resize(kDisplaySize - 1);
  }
  return text;
}

bool RecentList::Contains(std::string_view number) const {
  for (int i = 0; i < count_; ++i) {
    if (Number(i) == number) {
      return true;
    }
  }
  return false;
}

bool RecentList::Add(std::string_view firstName, std::string_view surname,
                     std::string_view number) {
  if (number.empty() || number.size() > kNumberSize ||
      number.find('\0') != std::string_view::npos || Contains(number)) {
    return false;
  }
  for (int i = kSlots - 1; i > 0; --i) {
    slots_[static_cast<std::size_t>(i)] = slots_[static_cast<std::size_t>(i - 1)];
  }
  Slot slot = EmptySlot();
  slot[1] = 0;
  const std::string display = MakeDisplayText(firstName, surname, number);
  std::memcpy(slot.data() + kDisplayOffset, display.data(), display.size());
  std::memcpy(slot.data() + kNumberOffset, number.data(), number.size());
  slots_[0] = slot;
  count_ = std::min(count_ + 1, kSlots);
  return true;
}

std::string RecentList::DisplayText(int i) const {
  if (i < 0 || i >= count_) {
    return {};
  }
  return std::string(
      BoundedText(slots_[static_cast<std::size_t>(i)].data() + kDisplayOffset, kDisplaySize));
}

std::string RecentList::Number(int i) const {
  if (i < 0 || i >= count_) {
    return {};
  }
  return std::string(
      BoundedText(slots_[static_cast<std::size_t>(i)].data() + kNumberOffset, kNumberSize));
}

void RecentList::LoadFrom(const shell::Settings &settings) {
  Reset();
  count_ = std::clamp(settings.NumRecent, 0, kSlots);
  for (int i = 0; i < count_; ++i) {
    slots_[static_cast<std::size_t>(i)] = settings.Recent[static_cast<std::size_t>(i)];
  }
}

void RecentList::SaveTo(shell::Settings &settings) const {
  auto hold = shell::LockSettings(settings);
  settings.NumRecent = count_;
  for (int i = 0; i < kSlots; ++i) {
    settings.Recent[static_cast<std::size_t>(i)] = slots_[static_cast<std::size_t>(i)];
  }
}

} // namespace contacts
