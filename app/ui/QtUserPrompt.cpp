#include "QtUserPrompt.h"

#include "MessageBoxes.h"
#include "ThreadHandOver.h"
#include "UiText.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>
#include <QWidget>

#include <future>
#include <mutex>
#include <set>

namespace ui {

struct QtUserPrompt::Pending {
  std::promise<int> answer;
  std::once_flag once;
  void Resolve(int value) {
    std::call_once(once, [&] { answer.set_value(value); });
  }
};

// Shared with the queued boxes, which may run after the prompt is gone.
struct QtUserPrompt::State {
  std::mutex lock;
  bool closed = false;
  std::set<std::shared_ptr<Pending>> pending;
};

QtUserPrompt::QtUserPrompt(QObject *context)
    : context_(context), state_(std::make_shared<State>()) {}

QtUserPrompt::~QtUserPrompt() {
  Close();
}

bool QtUserPrompt::IsClosed() const {
  std::lock_guard<std::mutex> guard(state_->lock);
  return state_->closed;
}

void QtUserPrompt::Close() {
  std::set<std::shared_ptr<Pending>> open;
  {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->closed = true;
    open.swap(state_->pending);
  }
  // Only the negative answer is safe without the user: Yes/No questions
  // decline, plain boxes are acknowledged.
  for (const auto &p : open)
    p->Resolve(engine::kAnswerNo);
}

int QtUserPrompt::Ask(const std::string &text, const std::string &caption, unsigned style) {
  QString qtext = FromAnsi(text);
  QString qcaption = FromAnsi(caption);
  if (QThread::currentThread() == context_->thread()) {
    return MessageBoxes::Show(QApplication::activeWindow(), qtext, qcaption, style);
  }
  auto pending = std::make_shared<Pending>();
  std::future<int> answer = pending->answer.get_future();
  {
    std::lock_guard<std::mutex> guard(state_->lock);
    if (state_->closed) return MessageBoxes::Negative(style);
    state_->pending.insert(pending);
  }
  std::shared_ptr<State> state = state_;
  PostCall(context_, [state, pending, qtext, qcaption, style] {
    {
      std::lock_guard<std::mutex> guard(state->lock);
      if (state->closed) return; // already answered by Close()
    }
    int value = MessageBoxes::Show(QApplication::activeWindow(), qtext, qcaption, style);
    pending->Resolve(value);
    std::lock_guard<std::mutex> guard(state->lock);
    state->pending.erase(pending);
  });
  int value = answer.get();
  if (value == engine::kAnswerNo) value = MessageBoxes::Negative(style);
  return value;
}

} // namespace ui
