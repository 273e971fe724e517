#pragma once
// Contact lookup over the message store's contacts table.

#include "ContactSource.h"

#include "store/SmsStore.h"

namespace engine {

class StoreContactSource final : public ContactSource {
public:
  explicit StoreContactSource(store::SmsStore &store) : store_(store) {}
  std::optional<ContactFields> FindContact(int cid) override;

private:
  store::SmsStore &store_;
};

} // namespace engine
