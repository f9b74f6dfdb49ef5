#include "text/failure_report.h"

#include "text/codec.h"
#include "text/number.h"

namespace qp {

namespace {

Text TwoDigits(int n) {
  Text t = FormatInteger(n);
  return t.size() < 2 ? u"0" + t : t;
}

Text FourDigits(int n) {
  Text t = FormatInteger(n);
  while (t.size() < 4) t.insert(0, 1, u'0');
  return t;
}

}  // namespace

Text ReportDate(const std::tm& when) {
  return FourDigits(when.tm_year + 1900) + u"年" + TwoDigits(when.tm_mon + 1) + u"月" +
         TwoDigits(when.tm_mday) + u"日 " + TwoDigits(when.tm_hour) + u"時" +
         TwoDigits(when.tm_min) + u"分" + TwoDigits(when.tm_sec) + u"秒";
}

Text FailureReportText(const Failure& failure, const std::tm& when) {
  const Text line = failure.step() > 0 ? u" Line=" + FormatInteger(failure.step()) : Text();
  Text report;
  report += u"次の障害が発生しましたので処理を中断しました。    \r\n";
  report += u"この障害が続けて発生する場合はお手数ですがこの内容を開発元にご連絡願います。    \r\n";
  report += u"\r\n";
  report += u"  （障害情報）\r\n";
  report += u"     日時 ： " + ReportDate(when) + u"\r\n";
  report += u"     場所 ： " + Utf8ToText(failure.location()) + line + u"\r\n";
  report += u"     内容 ： Code=" + FormatInteger(failure.code()) + u"\r\n";
  return report;
}

Text FailureReportText(const Failure& failure) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&now, &local) == nullptr) local = std::tm{};
  return FailureReportText(failure, local);
}

}  // namespace qp
