// The failure report's text: where a failure happened, its step and its
// error number, in the report's fixed layout. The shell shows it in a box or
// on standard error; quillpage-revise prints it.
#pragma once

#include <ctime>

#include "text/failure.h"

namespace qp {

// The report for a failure at the moment `when`; each line ends in CR LF.
Text FailureReportText(const Failure& failure, const std::tm& when);
// The same at the current local time.
Text FailureReportText(const Failure& failure);

// "YYYY年MM月DD日 HH時MM分SS秒".
Text ReportDate(const std::tm& when);

}  // namespace qp
