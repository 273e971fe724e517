#pragma once
// SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C, the terminal
// closing) turned into a Qt signal on the user-interface thread, through a
// self-pipe: the handler only writes one byte.

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

signals:
  void Terminate(int signal);

private:
  void Drain();

  QSocketNotifier *notifier_ = nullptr;
  int last_ = 0;
};

} // namespace ui
