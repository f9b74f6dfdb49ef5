// The help page that 最新情報 opens: a local page installed with the program,
// shown in the user's default browser through xdg-open.
#pragma once

#include <QString>

#include "text/ustring.h"

namespace qp::ui {

// Where the page lies relative to the program's folder, both when installed
// and in the build tree: the Japanese page, or for other readers the English
// one beside it (index.en.html) when it is there. Raises err::kFileNotFound
// when the page is not there.
QString HelpPagePath(const Text& programFolder, bool japanese = true);

// Hands `page` to xdg-open, which lives on by itself, and returns its exit
// status when it ends within a brief watch (0 when it is still at work then:
// it has handed the page on; 127 when xdg-open is not installed, 126 when it
// cannot be run).
int OpenInBrowser(const QString& page);

// The message for a help page that could not be shown, with the code that
// OpenInBrowser returned.
Text HelpPageFailureMessage(int code);

}  // namespace qp::ui
