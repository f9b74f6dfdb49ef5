// The help page that 最新情報 opens: a local page installed with the program,
// shown in the user's default browser through xdg-open.
#pragma once

#include <QProcessEnvironment>
#include <QString>

#include "text/ustring.h"

namespace qp::ui {

// Where the page lies relative to the program's folder, both when installed
// and in the build tree. Raises err::kFileNotFound when it is not there.
QString HelpPagePath(const Text& programFolder);

// The environment for the browser: the user's, with a UTF-8 locale so that a
// page path with Japanese characters reaches it intact.
QProcessEnvironment BrowserEnvironment(QProcessEnvironment base);

// Starts xdg-open on `page` and returns at once; the browser lives on by
// itself. Raises err::kCannotCreateObject when xdg-open cannot be started.
void OpenInBrowser(const QString& page);

}  // namespace qp::ui
