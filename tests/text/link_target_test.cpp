#include "text/link_target.h"

#include <gtest/gtest.h>

namespace qp {
namespace {

using namespace std::literals;

TEST(SafeLinks, WebMailFragmentsAndRelativePathsStay) {
  for (TextView href :
       {u"http://example.com/a?b=1&amp;c=2"sv, u"HTTPS://example.com"sv, u"mailto:a@example.com"sv,
        u"ftp://ftp.example.com/f.txt"sv, u"#section2"sv, u"report.htm#sec2"sv,
        u"Image/photo.png"sv, u"../up.htm"sv, u"//example.com/x"sv, u"?q=1"sv, u""sv,
        // Not a scheme at all: a blank or a non-ASCII letter inside its name.
        u"java script:alert(1)"sv, u"ｊavascript:alert(1)"sv, u"a.htm?x=&copy;:1"sv}) {
    EXPECT_TRUE(IsSafeHrefValue(href)) << TextView(href).size();
  }
}

TEST(SafeLinks, ScriptDataAndFileSchemesGoHoweverTheyAreWritten) {
  for (TextView href : {
           u"javascript:alert(document.domain)"sv,
           u"JaVaScRiPt:alert(1)"sv,
           u"vbscript:msgbox(1)"sv,
           u"data:text/html;base64,PHNjcmlwdD4="sv,
           u"file:///etc/passwd"sv,
           u"C:report.htm"sv,
           u"  \x01javascript:alert(1)"sv,     // blanks and controls before it
           u"java\tscr\nipt:alert(1)"sv,       // tabs and line breaks inside it
           u"&#106;avascript:alert(1)"sv,      // decimal reference
           u"&#x6A&#x61vascript:alert(1)"sv,   // hex, no semicolons
           u"&#0000106;avascript:alert(1)"sv,  // leading zeros
           u"javascript&colon;alert(1)"sv,     // named colon
           u"java&Tab;script:alert(1)"sv,      // named tab
           u"jav&#x09;ascript:alert(1)"sv,     // tab as a reference
           u"&NewLine;javascript:alert(1)"sv,  // line break before it
           u"x-unknown+scheme.1:whatever"sv,
       }) {
    EXPECT_FALSE(IsSafeHrefValue(href)) << TextView(href).size();
  }
}

TEST(SafeLinks, UnsafeLinksLoseTheLinkAndKeepTheText) {
  Text page =
      u"<p><a href=\"javascript:alert(1)\">one</a> <A HREF='http://ok.example/'>two</A>\r\n"
      u"<a href=JAVASCRIPT:x>three</a><a href=\"data:,x\" name=\"keep\">four</a>\r\n"
      u"<!-- <a href=\"javascript:in-comment\">c</a> -->\r\n"
      u"<script>var s='<a href=\"javascript:s\">';</script>\r\n"
      u"<link rel=stylesheet href=\"vbscript:x\"><a\r\nhref = \"&#106;avascript:y\">five</a\r\n>"
      u"<a href=\"#top\">six</a></p>";
  const std::vector<Text> dropped = DropUnsafeLinks(page);
  EXPECT_EQ(page,
            u"<p>one <A HREF='http://ok.example/'>two</A>\r\n"
            u"three<a name=\"keep\">four</a>\r\n"
            u"<!-- <a href=\"javascript:in-comment\">c</a> -->\r\n"
            u"<script>var s='<a href=\"javascript:s\">';</script>\r\n"
            u"<link rel=stylesheet>five"
            u"<a href=\"#top\">six</a></p>");
  EXPECT_EQ(dropped, (std::vector<Text>{u"javascript:alert(1)", u"JAVASCRIPT:x", u"data:,x",
                                        u"vbscript:x", u"javascript:y"}));

  Text safe = u"<a href=\"report.htm\">r</a>";
  EXPECT_TRUE(DropUnsafeLinks(safe).empty());
  EXPECT_EQ(safe, u"<a href=\"report.htm\">r</a>");
}

}  // namespace
}  // namespace qp
