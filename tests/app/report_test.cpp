// The failure report's exact text and its end of the process, and the
// message service's style arithmetic.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/console_desktop.h"
#include "app/failure_report.h"
#include "app/messages.h"
#include "app/shell.h"
#include "fake_desktop.h"

namespace qp::app {
namespace {

using testing::CountingWordApp;
using testing::RecordingDesktop;

// Tells standard error when it is quit, so that a death test sees it, and
// holds a note that explains the failure.
class AnnouncingWordApp : public CountingWordApp {
 public:
  AnnouncingWordApp() : CountingWordApp(&quits_) {}
  void Quit() override { std::fputs("engine quit\n", stderr); }
  std::vector<Text> TakeNotes() override { return {u".doc files need LibreOffice"}; }

 private:
  int quits_ = 0;
};

std::tm At(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

TEST(FailureReport, ExactTextWithLineAndCode) {
  const Failure failure("Mod_Main -> Main", 12, 13, u"型が一致しません。");
  EXPECT_EQ(FailureReportText(failure, At(2009, 3, 5, 14, 7, 9)),
            u"次の障害が発生しましたので処理を中断しました。    \r\n"
            u"この障害が続けて発生する場合はお手数ですがこの内容を開発元にご連絡願います。    \r\n"
            u"\r\n"
            u"  （障害情報）\r\n"
            u"     日時 ： 2009年03月05日 14時07分09秒\r\n"
            u"     場所 ： Mod_Main -> Main Line=12\r\n"
            u"     内容 ： Code=13\r\n");
}

TEST(FailureReport, StepZeroNegativeCodesAndDateEdges) {
  const Text noStep = FailureReportText(Failure("Mod_Sub -> Srv_Dsp_Msg", 0, -2147467259, {}),
                                        At(2024, 12, 31, 0, 0, 0));
  EXPECT_NE(noStep.find(u"     場所 ： Mod_Sub -> Srv_Dsp_Msg\r\n"), Text::npos);
  EXPECT_NE(noStep.find(u"     内容 ： Code=-2147467259\r\n"), Text::npos);
  EXPECT_NE(noStep.find(u"2024年12月31日 00時00分00秒"), Text::npos);
  EXPECT_EQ(ReportDate(At(987, 1, 1, 23, 59, 59)), u"0987年01月01日 23時59分59秒");
  // the current time is in the same layout
  const Text now = FailureReportText(Failure("Mod_Main -> Main", 1, 5, {}));
  EXPECT_EQ(now.substr(now.find(u"日時 ： ") + 5).find(u"秒\r\n"), 20u);
}

TEST(FailureReportDeathTest, ShowsTheReportQuitsTheEngineAndEndsWithStatus2) {
  auto report = [] {
    gen::RunState run;
    run.WordApp = std::make_unique<AnnouncingWordApp>();
    ConsoleDesktop desktop(stderr, stdout);  // the design's words
    Srv_Dsp_Err(Failure("Mod_HtmlRev -> Gen_Htm_Pag", 7, 53, {}), run, desktop);
  };
  // The engine's note first, then the report.
  EXPECT_EXIT(report(), ::testing::ExitedWithCode(2),
              "お知らせがあります。    \n\n.doc files need LibreOffice\n(.|\n)*"
              "Quillpage\n.*\n     場所 ： Mod_HtmlRev -> Gen_Htm_Pag Line=7\n"
              "     内容 ： Code=53\n(.|\n)*engine quit");
}

TEST(MessageService, StyleArithmeticOfTheTables) {
  EXPECT_EQ(MessageStyle(3, 0, 0), 48);   // warning, OK
  EXPECT_EQ(MessageStyle(4, 0, 0), 64);   // information, OK
  EXPECT_EQ(MessageStyle(1, 0, 1), 16);   // default button 1 is the first button
  EXPECT_EQ(MessageStyle(2, 4, 2), 292);  // question, Yes/No, No as default
  EXPECT_EQ(MessageStyle(0, 3, 4), 771);
  EXPECT_EQ(MessageStyle(0, 5, 3), 517);
}

TEST(MessageService, ShowsWithCaptionAndLineBreaksAndResetsTheCursor) {
  RecordingDesktop desktop;
  EXPECT_EQ(Srv_Dsp_Msg(desktop, u"A||B|", 3, 0, 0), 1);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, u"A\r\n\r\nB\r\n");
  EXPECT_EQ(desktop.messages[0].style, 48);
  EXPECT_EQ(desktop.messages[0].caption, u"「Quillpage」 for Word");
  EXPECT_EQ(desktop.events, std::vector<std::string>{"arrow"});
}

TEST(MessageService, IconOrDefaultOutsideTheTablesFails) {
  RecordingDesktop desktop;
  const int bad[][3] = {{5, 0, 0}, {-1, 0, 0}, {3, 0, 5}, {3, 0, -1}, {0, 40000, 0}};
  for (const auto& b : bad) {
    try {
      Srv_Dsp_Msg(desktop, u"x", b[0], b[1], b[2]);
      ADD_FAILURE() << b[0] << "," << b[1] << "," << b[2];
    } catch (const Failure& f) {
      EXPECT_EQ(f.location(), "Mod_Sub -> Srv_Dsp_Msg");
      EXPECT_EQ(f.step(), 4);
      EXPECT_EQ(f.code(), b[1] == 40000 ? err::kOverflow : err::kInvalidArgument);
    }
  }
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(ConsoleDesktop, PrintsCaptionAndTextWithLineBreaks) {
  EXPECT_EQ(ConsoleMessage(u"one|two\r\nthree    ", u"Cap"), u"Cap\none\ntwo\nthree    \n");
  EXPECT_EQ(ConsoleMessage(u"done\r\n", u"Cap"), u"Cap\ndone\n");
  EXPECT_EQ(ConsoleMessage(u"", u"Cap"), u"Cap\n\n");
}

}  // namespace
}  // namespace qp::app
