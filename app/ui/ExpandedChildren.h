#pragma once
// The per-destination rows an Expanded message was split into.
//
// The store keeps no link from a child to its parent: a child shares the
// parent's RefID, type and text, comes after it, and holds one of its
// destination tokens (cut as dispatch cuts it). Copies of one message (a
// recurring schedule, resends) share the RefID too, so the Expanded rows of
// a family claim their children in ID order: each takes, per destination,
// the first unclaimed matching row after it. That is right when the copies
// were sent one after the other; two identical copies sent in one worker
// pass (the higher ID first) may get each other's children.

#include "store/MessageRow.h"

#include <vector>

namespace store {
class SmsStore;
}

namespace ui {

class ExpandedChildren {
public:
  // The longest destination token a child keeps.
  static constexpr std::size_t kTokenMax = 18;

  // The children of `parentId`, ascending by ID; empty when it is not an
  // Expanded message.
  static std::vector<store::MessageRow> Of(store::SmsStore &store, int parentId);
  // Failed (2) and the final failures 13 to 17.
  static bool IsFailure(int status);
};

} // namespace ui
