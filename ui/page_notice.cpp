#include "ui/page_notice.h"

#include <QCoreApplication>
#include <QDBusInterface>
#include <QDBusReply>

namespace qp::ui {

namespace {

// A server that is slow to start is not waited for: the run ends now.
constexpr int kReplyTimeoutMs = 3000;

}  // namespace

PageNotice PageNoticeFor(const QString& pagePath, const QStringList& capabilities) {
  PageNotice notice;
  notice.summary =
      QCoreApplication::translate("PageNotice", "ページ（htmlファイル）を作成しました");
  notice.body =
      capabilities.contains(QStringLiteral("body-markup")) ? pagePath.toHtmlEscaped() : pagePath;
  return notice;
}

bool NotifyPageWritten(const QDBusConnection& bus, const QString& pagePath) {
  if (!bus.isConnected()) return false;
  QDBusInterface server(QString::fromLatin1(kNotificationsService),
                        QString::fromLatin1(kNotificationsPath),
                        QString::fromLatin1(kNotificationsService), bus);
  server.setTimeout(kReplyTimeoutMs);
  const QDBusReply<QStringList> capabilities = server.call(QStringLiteral("GetCapabilities"));
  if (!capabilities.isValid()) return false;
  const PageNotice notice = PageNoticeFor(pagePath, capabilities.value());
  // The launcher's name lets the server show the product's name and icon.
  const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("quillpage")}};
  const QDBusReply<uint> id = server.call(
      QStringLiteral("Notify"), QCoreApplication::translate("PageNotice", "「Quillpage」 for Word"),
      0u, QStringLiteral("quillpage"), notice.summary, notice.body, QStringList(), hints, -1);
  return id.isValid();
}

}  // namespace qp::ui
