#pragma once
// The contact fields the engine reads: the mobile number of an "A" token and
// the fields that merge tags insert. Implemented over the store; a fake in
// tests.

#include <optional>
#include <string>

namespace engine {

struct ContactFields {
  std::string name;
  std::string surname;
  std::string title;
  std::string custom;
  std::string mobile;
};

class ContactSource {
public:
  virtual ~ContactSource() = default;
  // The contact whose CID is `cid`, or nothing when there is none.
  virtual std::optional<ContactFields> FindContact(int cid) = 0;
};

} // namespace engine
