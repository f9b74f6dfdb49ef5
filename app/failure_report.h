// The failure report's text for a given moment; FailureReportText (app/shell.h)
// uses the current local time.
#pragma once

#include <ctime>

#include "text/failure.h"

namespace qp::app {

inline constexpr char16_t kReportCaption[] = u"Quillpage";
constexpr int kStyleStopOk = 16;  // stop icon, OK button only

Text FailureReportText(const Failure& failure, const std::tm& when);

// "YYYY年MM月DD日 HH時MM分SS秒".
Text ReportDate(const std::tm& when);

}  // namespace qp::app
