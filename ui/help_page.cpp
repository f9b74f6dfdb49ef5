#include "ui/help_page.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "sys/child_process.h"
#include "text/failure.h"
#include "ui/qt_text.h"

namespace qp::ui {

QString HelpPagePath(const Text& programFolder) {
  const QDir folder(ToQString(programFolder));
  // QP_HELP_PAGE is the page's path relative to the program's folder; the
  // build copies the page to the same place in the build tree.
  const QFileInfo page(folder.filePath(QStringLiteral(QP_HELP_PAGE)));
  if (!page.isFile()) {
    Raise(err::kFileNotFound, ToText(QDir::cleanPath(page.absoluteFilePath())));
  }
  return page.canonicalFilePath();
}

int OpenInBrowser(const QString& page) {
  const QByteArray url = QUrl::fromLocalFile(page).toEncoded(QUrl::FullyEncoded);
  const sys::ChildEnd end = sys::HandOver({"xdg-open", url.toStdString()}, sys::kHandOverWatch);
  if (end.how == sys::ChildEnd::How::NotStarted) Raise(err::kCannotCreateObject, u"xdg-open");
  return end.how == sys::ChildEnd::How::Running ? 0 : end.status;
}

}  // namespace qp::ui
