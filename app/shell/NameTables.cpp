#include "shell/NameTables.h"

#include "shell/StringTable.h"

namespace shell {

namespace {

const char *const kStatusDefaults[NameTables::kStatusCount] = {"Pending",
                                                               "Queued",
                                                               "Failed",
                                                               "Sent",
                                                               "Scheduled",
                                                               "Editing",
                                                               "Delay Scheduled",
                                                               "Scheduled on Server",
                                                               "Delivered to Gateway",
                                                               "Delivered",
                                                               "Processing",
                                                               "Unknown",
                                                               "Expanded",
                                                               "Error with message",
                                                               "Cancelled",
                                                               "Delivery Error",
                                                               "Routing error",
                                                               "Message expired"};

const char *const kTypeDefaults[NameTables::kTypeCount] = {
    "Text",           "Flash",         "Unicode",
    "Nokia Ringtone", "Nokia Pic Msg", "Nokia Operator Logo",
    "Nokia vCard",    "Nokia vCal",    "Binary"};

} // namespace

NameTables::NameTables() {
  for (int i = 0; i < kStatusCount; ++i)
    statusNames_[static_cast<std::size_t>(i)] = kStatusDefaults[i];
  for (int i = 0; i < kTypeCount; ++i)
    typeNames_[static_cast<std::size_t>(i)] = kTypeDefaults[i];
}

const NameTables &NameTables::Defaults() {
  static const NameTables tables;
  return tables;
}

void NameTables::Load(const StringTable &strings) {
  for (int i = 0; i < kStatusCount; ++i) {
    const std::string &text = strings.Get(kStatusNameBase + i);
    if (!text.empty()) statusNames_[static_cast<std::size_t>(i)] = text;
  }
  for (int i = 0; i < kTypeCount; ++i) {
    const std::string &text = strings.Get(kTypeNameBase + i);
    if (!text.empty()) typeNames_[static_cast<std::size_t>(i)] = text;
  }
}

const char *NameTables::StatusName(int code) const {
  if (code < 0 || code >= kStatusCount) return nullptr;
  return statusNames_[static_cast<std::size_t>(code)].c_str();
}

const char *NameTables::TypeName(int code) const {
  if (code < 0 || code >= kTypeCount) return nullptr;
  return typeNames_[static_cast<std::size_t>(code)].c_str();
}

} // namespace shell
