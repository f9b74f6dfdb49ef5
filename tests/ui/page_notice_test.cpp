// The notice for a page that is not opened, sent to a notification server
// of the test's own on a private session bus.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "ui/page_notice.h"

namespace qp::ui {
namespace {

TEST(PageNotice, NamesThePageEscapedOnlyForMarkup) {
  const QString path = QStringLiteral("/home/u/Desktop/R&D <1>.htm");
  EXPECT_EQ(PageNoticeFor(path, {}).body, path);
  EXPECT_EQ(PageNoticeFor(path, {QStringLiteral("body"), QStringLiteral("body-markup")}).body,
            QStringLiteral("/home/u/Desktop/R&amp;D &lt;1&gt;.htm"));
  EXPECT_EQ(PageNoticeFor(path, {}).summary,
            QStringLiteral("ページ（htmlファイル）を作成しました"));
}

// Answers GetCapabilities and Notify as a notification server does, on the
// thread it lives on, and keeps the Notify calls.
class FakeNotificationServer : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.member() == QLatin1String("GetCapabilities")) {
      connection.send(message.createReply(QStringList{QStringLiteral("body-markup")}));
    } else if (message.member() == QLatin1String("Notify")) {
      const QMutexLocker lock(&mutex_);
      calls_.append(message.arguments());
      connection.send(message.createReply(7u));
    } else {
      return false;
    }
    return true;
  }
  QList<QVariantList> Calls() {
    const QMutexLocker lock(&mutex_);
    return calls_;
  }

 private:
  QMutex mutex_;
  QList<QVariantList> calls_;
};

TEST(PageNotice, ReachesTheNotificationServerWithThePagesPath) {
  const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
  if (daemon.isEmpty()) GTEST_SKIP() << "dbus-daemon missing (package dbus-daemon)";
  // A bus of its own that activates no service: no notification daemon of
  // the machine's may answer in the fake's place.
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString config = folder.filePath(QStringLiteral("bus.conf"));
  QFile file(config);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  // Without the receive rule the daemon passes on no reply.
  file.write("<busconfig><type>session</type><listen>unix:dir=" + folder.path().toUtf8() +
             "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
             "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
             "<allow own=\"*\"/></policy></busconfig>");
  file.close();
  QProcess bus;
  bus.start(daemon, {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
  ASSERT_TRUE(bus.waitForReadyRead(10000));
  const QString address = QString::fromUtf8(bus.readLine()).trimmed();

  // The client finds nobody at first, and says so.
  // Connections to a bus by its address abort in libdbus when they close;
  // as the session bus they are closed the way libdbus expects.
  const QByteArray sessionBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
  const QDBusConnection client =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
  ASSERT_TRUE(client.isConnected());
  EXPECT_FALSE(NotifyPageWritten(client, QStringLiteral("/tmp/a.htm")));

  QThread serverThread;
  serverThread.start();
  FakeNotificationServer server;
  server.moveToThread(&serverThread);
  QDBusConnection serverBus =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("server"));
  ASSERT_TRUE(serverBus.registerVirtualObject(QString::fromLatin1(kNotificationsPath), &server));
  ASSERT_TRUE(serverBus.registerService(QString::fromLatin1(kNotificationsService)));

  EXPECT_TRUE(NotifyPageWritten(client, QStringLiteral("/home/u/Desktop/文書 <1>.htm")));
  const QList<QVariantList> calls = server.Calls();
  ASSERT_EQ(calls.size(), 1);
  const QVariantList& a = calls.front();
  ASSERT_EQ(a.size(), 8);
  EXPECT_EQ(a[0].toString(), QStringLiteral("「Quillpage」 for Word"));
  EXPECT_EQ(a[2].toString(), QStringLiteral("quillpage"));
  EXPECT_EQ(a[4].toString(), QStringLiteral("/home/u/Desktop/文書 &lt;1&gt;.htm"));
  EXPECT_EQ(a[7].toInt(), -1);

  serverBus.unregisterObject(QString::fromLatin1(kNotificationsPath));
  serverThread.quit();
  serverThread.wait();
  QDBusConnection::disconnectFromBus(QStringLiteral("server"));
  QDBusConnection::disconnectFromBus(QStringLiteral("client"));
  bus.kill();
  bus.waitForFinished();
  qputenv("DBUS_SESSION_BUS_ADDRESS", sessionBus);
}

}  // namespace
}  // namespace qp::ui
