#include "ui/single_window.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include "ui/qt_text.h"

namespace qp::ui {

namespace {

// The window that holds the lock may still be starting its server.
constexpr int kConnectWithinMs = 3000;

bool AskToRaise(const QString& name) {
  QElapsedTimer waited;
  waited.start();
  do {
    QLocalSocket socket;
    socket.connectToServer(name);
    // Connecting is the whole request.
    if (socket.waitForConnected(500)) {
      socket.disconnectFromServer();
      return true;
    }
    QThread::msleep(50);
  } while (waited.elapsed() < kConnectWithinMs);
  return false;
}

}  // namespace

SingleWindow::~SingleWindow() {
  server_.close();
  if (lockFd_ >= 0) ::close(lockFd_);
}

QString SingleWindow::SocketName(const Text& settingsFolder) {
  const QByteArray folder = QFileInfo(ToQString(settingsFolder)).absoluteFilePath().toUtf8();
  const QString name =
      QStringLiteral("quillpage-settings-%1-%2")
          .arg(::getuid())
          .arg(QString::fromLatin1(
              QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(12)));
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(QString::fromLocal8Bit(runtime)).isDir()) {
    return QDir(QString::fromLocal8Bit(runtime)).filePath(name);
  }
  return name;  // QLocalServer puts it in the temporary folder
}

bool SingleWindow::Claim(const Text& settingsFolder) {
  const QString name = SocketName(settingsFolder);
  const QByteArray lockPath = QFile::encodeName(ToQString(settingsFolder + u"/Settings.lock"));
  lockFd_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFd_ >= 0 && ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    ::close(lockFd_);
    lockFd_ = -1;
    // Should the other window not answer, it is there all the same.
    AskToRaise(name);
    return false;
  }
  // The lock is this window's: a socket left by a window that ended
  // without closing its server is stale.
  QLocalServer::removeServer(name);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &SingleWindow::OnConnection);
  server_.listen(name);
  return true;
}

void SingleWindow::OnConnection() {
  bool asked = false;
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    socket->abort();
    socket->deleteLater();
    asked = true;
  }
  if (asked) emit RaiseRequested();
}

}  // namespace qp::ui
