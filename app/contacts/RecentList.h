#pragma once
// The ten most recent recipients, most recent first, as the settings keep
// them: ten 108-byte slots and a count (0 to 10).
//
// Slot layout: kind (1 byte, 3), flags (1 byte, bit 0 = empty slot), two
// zero bytes, the display text (86 bytes, zero-terminated), the number (16
// bytes, zero-padded, not terminated when it has 16 characters), two zero
// bytes.

#include "shell/RecentCodec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace shell {
struct Settings;
}

namespace contacts {

class RecentList {
public:
  static constexpr int kSlots = 10;
  static constexpr std::size_t kSlotSize = shell::kRecentRecordSize;
  static constexpr std::uint8_t kKindRecent = 3;
  static constexpr std::uint8_t kFlagEmpty = 0x01;
  static constexpr std::size_t kDisplayOffset = 4;
  static constexpr std::size_t kDisplaySize = 86;
  static constexpr std::size_t kNumberOffset = 90;
  static constexpr std::size_t kNumberSize = 16;

  using Slot = shell::RecentRecord;

  RecentList() { Reset(); }

  // Every slot zeroed, kind 3, empty flag set; count 0.
  void Reset();

  // Puts a recipient in front: the older entries move down by one and the
  // tenth is dropped. Nothing changes when a slot already holds the number,
  // or when the number is empty or does not fit the slot's 16 bytes (a cut
  // number would name somebody else). Returns true when the entry was added.
  bool Add(std::string_view firstName, std::string_view surname, std::string_view number);

  int Count() const { return count_; }
  // Display text and number of slot i (0 = most recent); empty outside the
  // list.
  std::string DisplayText(int i) const;
  std::string Number(int i) const;
  bool Contains(std::string_view number) const;

  const Slot &SlotAt(int i) const { return slots_[static_cast<std::size_t>(i)]; }

  // "%s%s%s%s(%s)": first name, a blank when there is one, surname, a blank
  // when there is one, the number; cut to 85 bytes.
  static std::string MakeDisplayText(std::string_view firstName, std::string_view surname,
                                     std::string_view number);

  // Round trip through the settings record (NumRecent and Recent0..9).
  void LoadFrom(const shell::Settings &settings);
  void SaveTo(shell::Settings &settings) const;

private:
  static Slot EmptySlot();

  std::array<Slot, kSlots> slots_{};
  int count_ = 0;
};

} // namespace contacts
