#include "store/ContactRecord.h"

#include <cstring>

namespace store {

void CopyField(char *field, std::size_t size, std::string_view value) {
  if (size == 0) return;
  std::size_t n = value.size() < size - 1 ? value.size() : size - 1;
  if (n > 0) std::memcpy(field, value.data(), n);
  std::memset(field + n, 0, size - n);
}

std::string_view FieldText(const char *field, std::size_t size) {
  std::size_t n = 0;
  while (n < size && field[n] != '\0')
    ++n;
  return std::string_view(field, n);
}

void ContactRecord::Clear() {
  std::memset(name, 0, sizeof name);
  std::memset(surname, 0, sizeof surname);
  std::memset(title, 0, sizeof title);
  std::memset(custom, 0, sizeof custom);
  std::memset(mobile, 0, sizeof mobile);
  groupIds = nullptr;
  groupCount = 0;
}

void ContactRecord::SetName(std::string_view value) {
  CopyField(name, value);
}
void ContactRecord::SetSurname(std::string_view value) {
  CopyField(surname, value);
}
void ContactRecord::SetTitle(std::string_view value) {
  CopyField(title, value);
}
void ContactRecord::SetCustom(std::string_view value) {
  CopyField(custom, value);
}
void ContactRecord::SetMobile(std::string_view value) {
  CopyField(mobile, value);
}

std::string_view ContactRecord::Name() const {
  return FieldText(name, sizeof name);
}
std::string_view ContactRecord::Surname() const {
  return FieldText(surname, sizeof surname);
}
std::string_view ContactRecord::Title() const {
  return FieldText(title, sizeof title);
}
std::string_view ContactRecord::Custom() const {
  return FieldText(custom, sizeof custom);
}
std::string_view ContactRecord::Mobile() const {
  return FieldText(mobile, sizeof mobile);
}

} // namespace store
