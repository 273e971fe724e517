#pragma once
// Message boxes asked for by other threads (the communications worker). The
// box is shown on the user-interface thread; the asking thread blocks until
// the user has answered. Asked on the user-interface thread itself, the box
// is shown at once.
//
// Once Close() has run (shut-down has begun and the user-interface thread
// may be waiting for the worker), open and later questions are answered at
// once with the negative answer, so the worker can never wait on a window
// that will not come.

#include "engine/UserPrompt.h"

#include <QObject>

#include <memory>

namespace ui {

class QtUserPrompt final : public engine::UserPrompt {
public:
  // `context` lives on the user-interface thread; boxes are queued to it.
  explicit QtUserPrompt(QObject *context);
  ~QtUserPrompt() override;

  int Ask(const std::string &text, const std::string &caption, unsigned style) override;

  void Close();
  bool IsClosed() const;

  struct Pending;
  struct State;

private:
  QObject *context_;
  std::shared_ptr<State> state_;
};

} // namespace ui
