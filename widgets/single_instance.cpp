#include "widgets/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace velmar {
namespace {

constexpr const char kShow[] = "show\n";
constexpr const char kOk[] = "ok\n";

// A path that a Unix socket address can hold (108 bytes with the terminator).
constexpr int kSocketPathLimit = 107;

// The user's private runtime folder when it is usable, else the temporary folder.
QString SocketFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty()) {
    const QFileInfo info(runtime);
    if (info.isDir() && info.isWritable() && info.ownerId() == ::getuid()) return info.absoluteFilePath();
  }
  return QDir::tempPath();
}

}  // namespace

SingleInstance::SingleInstance(const QString& programDirectory, QObject* parent) : QObject(parent) {
  const QString folder = QFileInfo(programDirectory).canonicalFilePath().isEmpty()
                             ? QDir::cleanPath(QDir(programDirectory).absolutePath())
                             : QFileInfo(programDirectory).canonicalFilePath();
  const QByteArray digest =
      QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256).toHex().left(16);
  const QString name =
      QStringLiteral("velmar32-%1-%2.socket").arg(::getuid()).arg(QString::fromLatin1(digest));
  serverName_ = SocketFolder() + QLatin1Char('/') + name;
  // QLocalServer puts a plain name into the temporary folder itself.
  if (QFile::encodeName(serverName_).size() > kSocketPathLimit) serverName_ = name;
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::Claim() {
  for (int attempt = 0; attempt < 3; ++attempt) {
    switch (AskRunningToShow()) {
      case Call::Answered: return Outcome::Shown;
      case Call::NoAnswer: return Outcome::NoAnswer;
      case Call::NoServer: break;
    }
    auto* server = new QLocalServer(this);
    // No socket options: Qt would then bind elsewhere and rename over the
    // name, replacing a running program's socket instead of failing.
    if (server->listen(serverName_)) {
      server_ = server;
      connect(server_, &QLocalServer::newConnection, this, &SingleInstance::ServeConnection);
      return Outcome::First;
    }
    const bool inUse = server->serverError() == QAbstractSocket::AddressInUseError;
    delete server;
    if (!inUse) break;
    // The name exists but nobody answered on it. A start running at the same
    // moment may have just made it: ask once more. Asked twice in vain, it
    // is a socket left by a program that ended without removing it: take its
    // place.
    if (attempt >= 1) QLocalServer::removeServer(serverName_);
  }
  return Outcome::First;  // no socket can be made here: run unguarded
}

SingleInstance::Call SingleInstance::AskRunningToShow() const {
  QLocalSocket socket;
  socket.connectToServer(serverName_);
  if (!socket.waitForConnected(kAnswerTimeoutMs)) return Call::NoServer;
  socket.write(kShow);
  socket.flush();
  QByteArray answer;
  while (!answer.contains('\n') && socket.waitForReadyRead(kAnswerTimeoutMs)) answer += socket.readAll();
  return answer.startsWith(kOk) ? Call::Answered : Call::NoAnswer;
}

void SingleInstance::ServeConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > 64) socket->abort();  // not one of ours
        return;
      }
      const QByteArray line = socket->readLine(64);
      if (line == kShow) {
        socket->write(kOk);
        socket->flush();
        emit ShowRequested();
      }
      socket->disconnectFromServer();
    });
  }
}

}  // namespace velmar
