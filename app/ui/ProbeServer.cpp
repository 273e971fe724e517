#include "ProbeServer.h"

#include "WindowMessage.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

#include <cstdlib>

namespace ui {

QString ProbeServer::SocketPath() {
  if (const char *run = std::getenv("XDG_RUNTIME_DIR"); run != nullptr && *run != '\0')
    return QString::fromLocal8Bit(run) + "/" + kProbeName;
  return QString("/tmp/%1-%2").arg(kProbeName).arg(getuid());
}

ProbeServer::ProbeServer(std::function<std::uint32_t()> handler, QObject *parent)
    : QObject(parent), handler_(std::move(handler)), server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &ProbeServer::Accept);
}

ProbeServer::~ProbeServer() {
  server_->close();
}

bool ProbeServer::Listen() {
  QString path = SocketPath();
  QLocalServer::removeServer(path);
  return server_->listen(path);
}

void ProbeServer::Accept() {
  while (QLocalSocket *socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    if (socket->bytesAvailable() > 0) Read(socket);
  }
}

void ProbeServer::Read(QLocalSocket *socket) {
  // One line: the probe's name. Anything else, or an over-long line, is
  // dropped with the connection.
  const QByteArray expected = QByteArray(kProbeName) + "\n";
  if (socket->bytesAvailable() > expected.size()) {
    socket->abort();
    return;
  }
  if (!socket->canReadLine()) return;
  QByteArray line = socket->readLine(expected.size() + 1);
  if (line != expected) {
    socket->abort();
    return;
  }
  std::uint32_t answer = handler_ ? handler_() : 0;
  ++answered_;
  char bytes[4] = {static_cast<char>(answer & 0xFF), static_cast<char>((answer >> 8) & 0xFF),
                   static_cast<char>((answer >> 16) & 0xFF),
                   static_cast<char>((answer >> 24) & 0xFF)};
  socket->write(bytes, 4);
  socket->flush();
  socket->disconnectFromServer();
}

} // namespace ui
