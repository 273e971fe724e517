#include "InstanceGuard.h"

#include "ProbeServer.h"
#include "WindowMessage.h"

#include <QLocalSocket>

namespace ui {

InstanceGuard::Outcome InstanceGuard::Acquire() {
  lock_ = std::make_unique<lockfile::LockFile>(kMutexName);
  if (!lock_->IsOpen()) {
    lock_.reset();
    return Outcome::Failed;
  }
  if (lock_->TryAcquire()) return Outcome::Acquired;
  lock_.reset();
  auto answer = Probe();
  otherAnswered_ = answer && *answer == kProbeAnswer;
  return Outcome::OtherInstance;
}

std::optional<std::uint32_t> InstanceGuard::Probe(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(ProbeServer::SocketPath());
  if (!socket.waitForConnected(timeoutMs)) return std::nullopt;
  socket.write(QByteArray(kProbeName) + "\n");
  if (!socket.waitForBytesWritten(timeoutMs)) return std::nullopt;
  QByteArray reply;
  while (reply.size() < 4) {
    if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(timeoutMs)) break;
    reply += socket.read(4 - reply.size());
  }
  if (reply.size() < 4) return std::nullopt;
  auto b = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(reply[i])); };
  return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

} // namespace ui
