#include "WorkerLists.h"

#include "engine/CommsWorker.h"

namespace ui {

WorkerLists::Poster WorkerLists::For(engine::CommsWorker *worker) {
  return [worker](engine::JobKind kind, std::unique_ptr<engine::IdList> list) {
    if (!worker) return;
    switch (kind) {
    case engine::JobKind::SendList:
      worker->PostSendList(std::move(list));
      break;
    case engine::JobKind::QueryList:
      worker->PostQueryList(std::move(list));
      break;
    case engine::JobKind::DeleteList:
      worker->PostDeleteList(std::move(list));
      break;
    default:
      break;
    }
  };
}

} // namespace ui
