// The message box on Qt: shows `text` (CR LF line breaks) under `caption`
// with the icon, buttons and default button of a Windows style value, and
// returns the Windows code of the button chosen.
#pragma once

#include "text/ustring.h"

namespace qp::ui {

int RunMessageBox(TextView text, int style, TextView caption);

}  // namespace qp::ui
