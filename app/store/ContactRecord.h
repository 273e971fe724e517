#pragma once
// The in-memory form in which a contact travels between the pages, the CSV
// exchange and the store: fixed-size, zero-terminated Windows-1252 fields.
// Every setter cuts its value to the field's width (the last byte always
// stays the terminating zero).

#include <cstddef>
#include <string>
#include <string_view>

namespace store {

struct ContactRecord {
  static constexpr std::size_t kNameSize = 33;
  static constexpr std::size_t kSurnameSize = 33;
  static constexpr std::size_t kTitleSize = 9;
  static constexpr std::size_t kCustomSize = 33;
  static constexpr std::size_t kMobileSize = 20;

  char name[kNameSize] = {};
  char surname[kSurnameSize] = {};
  char title[kTitleSize] = {};
  char custom[kCustomSize] = {};
  char mobile[kMobileSize] = {};
  // Group identifiers (GID) the contact belongs to; the array is owned by
  // the caller and must outlive the store call that reads it.
  const int *groupIds = nullptr;
  int groupCount = 0;

  // Zeroes every field, including the group pointer and count.
  void Clear();

  void SetName(std::string_view value);
  void SetSurname(std::string_view value);
  void SetTitle(std::string_view value);
  void SetCustom(std::string_view value);
  void SetMobile(std::string_view value);

  // The fields as text (up to their terminating zero, never past the field).
  std::string_view Name() const;
  std::string_view Surname() const;
  std::string_view Title() const;
  std::string_view Custom() const;
  std::string_view Mobile() const;
};

// Copies value into a fixed field of `size` bytes: at most size - 1 bytes,
// then zero padding to the end of the field.
void CopyField(char *field, std::size_t size, std::string_view value);

template <std::size_t N> void CopyField(char (&field)[N], std::string_view value) {
  CopyField(field, N, value);
}

// The text of a fixed field: the bytes up to the first zero, or the whole
// field when it has none.
std::string_view FieldText(const char *field, std::size_t size);

} // namespace store
