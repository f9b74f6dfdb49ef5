#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "revise/driver_steps.h"

namespace qp::revise {
namespace {

using test::S;
using test::V;

RevisionState Parts(const char* head) {
  RevisionState st;
  st.HeadText = V(head);
  st.StyleSheetText = V("p          {a:b}⏎");
  st.PageText = V("<body>⏎<b>x</b><b class=k>y</b><i>z</i> lang=\"JA\"⏎</body>");
  return st;
}

TEST(PageHead, AssembledFromTheTemplates) {
  RevisionState st = Parts("<html>⏎<head>⏎<TITLE>Word</title>⏎");
  st.PageInfo.PageTitle = u"T";
  st.PageInfo.PageKeywords = u"  k1, k2 ";
  st.PageInfo.PageDescription = u"d";
  st.Context.AddSS = 1;
  AssemblePage(st);
  EXPECT_EQ(S(st.SourceText),
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"  "
            "\"http://www.w3.org/TR/html4/loose.dtd\">⏎<html lang=\"ja\">⏎<head>⏎"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">⏎"
            "<title>T</title>⏎"
            "<meta name=\"keywords\" content=\"k1, k2\">⏎"
            "<meta name=\"description\" content=\"d\">⏎"
            "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">⏎"
            "<meta http-equiv=\"Content-Script-Type\" content=\"text/javascript\">⏎"
            "<link rel=\"stylesheet\" href=\"qp.css\" type=\"text/css\">⏎"
            "<style type=\"text/css\">⏎<!--⏎p          {a:b}⏎-->⏎</style>⏎</head>⏎"
            "<body>⏎<strong>x</strong><b class=k>y</strong><em>z</em> lang=\"ja\"⏎</body>");
}

TEST(PageHead, TitleInsertedWhenMissingAndValuesEscaped) {
  RevisionState st = Parts("<head>⏎");
  st.Context.Encod = 1;
  st.PageInfo.PageTitle = u"a \"b\" & <c>";
  st.PageInfo.PageKeywords = u"   ";  // blanks only: no element
  st.PageInfo.PageDescription = u"say \"hi\"<style>";
  AssemblePage(st);
  const std::string page = S(st.SourceText);
  EXPECT_EQ(page.find("<!DOCTYPE"), std::string::npos);  // no bare <html>
  EXPECT_NE(page.find("charset=utf-8\">⏎<title>a &quot;b&quot; &amp; &lt;c&gt;</title>⏎"
                      "<meta name=\"description\" content=\"say &quot;hi&quot;&lt;style&gt;\">⏎"),
            std::string::npos)
      << page;
  EXPECT_EQ(page.find("keywords"), std::string::npos);
  EXPECT_EQ(page.find("stylesheet"), std::string::npos);
}

TEST(PageHead, ControlCharactersAreBlanksBeforeTheTrimAndTheEmptyCheck) {
  RevisionState st = Parts("<head>⏎");
  st.PageInfo.PageTitle = u"A\u0085B\u0001C";  // C1 controls are controls too
  st.PageInfo.PageKeywords = u"\tk\n";
  st.PageInfo.PageDescription = u"\u001f\u009f";
  AssemblePage(st);
  const std::string page = S(st.SourceText);
  EXPECT_NE(page.find("<title>A B C</title>⏎<meta name=\"keywords\" content=\"k\">⏎"),
            std::string::npos)
      << page;
  EXPECT_EQ(page.find("description"), std::string::npos) << page;
}

}  // namespace
}  // namespace qp::revise
