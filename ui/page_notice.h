// The desktop notification for a page that is not opened: with Prevw off the
// user would otherwise learn of the page only by looking at the desktop.
// Sent through org.freedesktop.Notifications on the session bus.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace qp::ui {

inline constexpr char kNotificationsService[] = "org.freedesktop.Notifications";
inline constexpr char kNotificationsPath[] = "/org/freedesktop/Notifications";

// What goes into Notify after the application name: the summary, and the
// body with the page's path, escaped when the server reads the body as
// markup (it names "body-markup" among its capabilities).
struct PageNotice {
  QString summary;
  QString body;
};
PageNotice PageNoticeFor(const QString& pagePath, const QStringList& capabilities);

// Shows the notice on `bus`. False when no notification server answers in
// time; nothing else is shown then, since the page is there all the same.
bool NotifyPageWritten(const QDBusConnection& bus, const QString& pagePath);

}  // namespace qp::ui
