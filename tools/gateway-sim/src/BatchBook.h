#pragma once
// Open and closed batches: a template and the options that apply to every
// item. Not thread-safe: the gateway serialises access.

#include "AccountBook.h"
#include "MessageOptions.h"

#include <string>
#include <unordered_map>

namespace gatewaysim {

struct SimBatch {
  std::string id;
  AccountIndex account = 0;
  std::string templateText;
  MessageOptions options;
  bool open = true;
  int items = 0;
  int64_t startedMs = 0;
};

class BatchBook {
public:
  SimBatch &Add(SimBatch batch);
  // The batch when it exists, is open and belongs to `account`.
  SimBatch *FindOpen(const std::string &id, AccountIndex account);
  size_t Size() const { return batches_.size(); }
  void Clear() { batches_.clear(); }

private:
  std::unordered_map<std::string, SimBatch> batches_;
};

} // namespace gatewaysim
