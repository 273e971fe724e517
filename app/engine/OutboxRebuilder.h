#pragma once
// The outbox view's rebuild, as the worker asks for it after it has changed
// messages. The view reads the store under its lock and repaints; with
// `resortOnly` it only re-sorts (and only when it is sorted by status).

namespace engine {

class OutboxRebuilder {
public:
  virtual ~OutboxRebuilder() = default;
  virtual void Rebuild(bool resortOnly) = 0;
};

} // namespace engine
