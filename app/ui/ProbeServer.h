#pragma once
// The running instance's end of the single-instance probe: a local socket,
// private to the user, named after the probe message
// "WM_QUORVANE_DVTX3_IsMe". A client that sends the probe name gets the
// handler's 32-bit answer (little-endian) back.

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace ui {

class ProbeServer : public QObject {
  Q_OBJECT
public:
  // The socket's path: in $XDG_RUNTIME_DIR (else /tmp, with the user id in
  // the name).
  static QString SocketPath();

  ProbeServer(std::function<std::uint32_t()> handler, QObject *parent = nullptr);
  ~ProbeServer() override;

  // Starts listening (a socket left by an ended instance is replaced: the
  // caller holds the instance lock). False when the socket cannot be made.
  bool Listen();
  int Answered() const { return answered_; }

private:
  void Accept();
  void Read(QLocalSocket *socket);

  std::function<std::uint32_t()> handler_;
  QLocalServer *server_;
  int answered_ = 0;
};

} // namespace ui
