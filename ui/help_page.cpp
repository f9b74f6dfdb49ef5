#include "ui/help_page.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "sys/child_process.h"
#include "text/failure.h"
#include "text/number.h"
#include "ui/qt_text.h"

namespace qp::ui {

QString HelpPagePath(const Text& programFolder, bool japanese) {
  const QDir folder(ToQString(programFolder));
  // QP_HELP_PAGE is the page's path relative to the program's folder; the
  // build copies the page to the same place in the build tree.
  const QFileInfo page(folder.filePath(QStringLiteral(QP_HELP_PAGE)));
  if (!japanese) {
    const QFileInfo english(page.dir().filePath(QStringLiteral("index.en.html")));
    if (english.isFile()) return english.canonicalFilePath();
  }
  if (!page.isFile()) {
    Raise(err::kFileNotFound, ToText(QDir::cleanPath(page.absoluteFilePath())));
  }
  return page.canonicalFilePath();
}

int OpenInBrowser(const QString& page) {
  const QByteArray url = QUrl::fromLocalFile(page).toEncoded(QUrl::FullyEncoded);
  const sys::ChildEnd end = sys::HandOver({"xdg-open", url.toStdString()}, sys::kHandOverWatch);
  return end.how == sys::ChildEnd::How::Running ? 0 : end.status;
}

Text HelpPageFailureMessage(int code) {
  return u"最新情報のページを表示できませんでした。(Code=" + FormatInteger(code) + u")    ";
}

}  // namespace qp::ui
