// The Qt face of the program: message boxes, the settings window, the guide
// window and the wait cursor, on top of one QApplication.
#pragma once

#include <memory>

#include "app/desktop.h"

namespace qp::ui {

// Creates the QApplication (which keeps `argc` and `argv`) and the desktop
// that owns it. Needs a display; the shell decides whether there is one.
std::unique_ptr<app::Desktop> MakeQtDesktop(int& argc, char** argv);

}  // namespace qp::ui
