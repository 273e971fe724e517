#include "StoreContactSource.h"

namespace engine {

std::optional<ContactFields> StoreContactSource::FindContact(int cid) {
  std::optional<store::ContactRow> row = store_.FindContact(cid);
  if (!row) return std::nullopt;
  return ContactFields{row->Name, row->Surname, row->Title, row->Custom, row->Mobile};
}

} // namespace engine
