#pragma once
// SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C, the terminal
// closing) turned into a Qt signal on the user-interface thread, through a
// self-pipe: the handler only writes one byte. The event loop reads the
// pipe; before it runs, Poll does.

#include <QObject>

class QSocketNotifier;

namespace ui {

class SignalBridge : public QObject {
  Q_OBJECT
public:
  explicit SignalBridge(QObject *parent = nullptr);
  ~SignalBridge() override;

  bool IsInstalled() const { return notifier_ != nullptr; }
  int LastSignal() const { return last_; }

  // Emits Terminate now when a signal has arrived, for code that runs
  // before the event loop does.
  void Poll() {
    if (notifier_) Drain();
  }

signals:
  void Terminate(int signal);

private:
  void Drain();

  QSocketNotifier *notifier_ = nullptr;
  int last_ = 0;
};

} // namespace ui
