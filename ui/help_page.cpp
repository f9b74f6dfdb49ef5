#include "ui/help_page.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "text/failure.h"
#include "ui/qt_text.h"

namespace qp::ui {

namespace {

bool IsUtf8Locale(const QString& name) {
  const QString lower = name.toLower();
  return lower.contains(QStringLiteral("utf-8")) || lower.contains(QStringLiteral("utf8"));
}

}  // namespace

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

QProcessEnvironment BrowserEnvironment(QProcessEnvironment base) {
  // The locale in force is the first of these that is set.
  QString effective;
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    effective = base.value(QString::fromLatin1(name));
    if (!effective.isEmpty()) break;
  }
  if (!IsUtf8Locale(effective)) {
    base.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  }
  return base;
}

void OpenInBrowser(const QString& page) {
  QProcess process;
  process.setProgram(QStringLiteral("xdg-open"));
  process.setArguments({QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded)});
  process.setProcessEnvironment(BrowserEnvironment(QProcessEnvironment::systemEnvironment()));
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  if (!process.startDetached()) {
    Raise(err::kCannotCreateObject, u"xdg-open");
  }
}

}  // namespace qp::ui
