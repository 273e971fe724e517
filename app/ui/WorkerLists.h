#pragma once
// The pages' way of handing message lists to the communications worker
// (UiContext::postList) for a given worker.

#include "UiContext.h"

namespace engine {
class CommsWorker;
}

namespace ui {

class WorkerLists {
public:
  using Poster = decltype(UiContext::postList);
  // Posts SendList, QueryList and DeleteList to `worker` (none: dropped).
  static Poster For(engine::CommsWorker *worker);
};

} // namespace ui
