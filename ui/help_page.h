// The help page that 最新情報 opens: a local page installed with the program,
// shown in the user's default browser through xdg-open.
#pragma once

#include <QString>

#include "text/ustring.h"

namespace qp::ui {

// Where the page lies relative to the program's folder, both when installed
// and in the build tree. Raises err::kFileNotFound when it is not there.
QString HelpPagePath(const Text& programFolder);

// Hands `page` to xdg-open, which lives on by itself, and returns its exit
// status when it ends within a brief watch (0 when it is still at work then:
// it has handed the page on). Raises err::kCannotCreateObject when xdg-open
// cannot be started.
int OpenInBrowser(const QString& page);

}  // namespace qp::ui
