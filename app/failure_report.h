// How the shell shows the failure report (text/failure_report.h holds its
// text).
#pragma once

#include "text/failure_report.h"

namespace qp::app {

inline constexpr char16_t kReportCaption[] = u"Quillpage";
constexpr int kStyleStopOk = 16;         // stop icon, OK button only
constexpr int kStyleInformationOk = 64;  // information icon, OK button only

}  // namespace qp::app
