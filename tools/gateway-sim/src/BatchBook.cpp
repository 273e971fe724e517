#include "BatchBook.h"

namespace gatewaysim {

SimBatch &BatchBook::Add(SimBatch batch) {
  std::string id = batch.id;
  return batches_[id] = std::move(batch);
}

SimBatch *BatchBook::FindOpen(const std::string &id, AccountIndex account) {
  auto it = batches_.find(id);
  if (it == batches_.end() || !it->second.open || it->second.account != account) return nullptr;
  return &it->second;
}

} // namespace gatewaysim
