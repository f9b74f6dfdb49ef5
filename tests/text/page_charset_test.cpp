// Reading a page in the encoding it declares.
#include "text/page_charset.h"

#include <gtest/gtest.h>

namespace qp {
namespace {

TEST(PageCharset, TheHeadsDeclarationDecidesAndNothingDeclaredIsShiftJis) {
  const std::string utf8Meta =
      "<html><head><META http-equiv=Content-Type content=\"text/html; charset=UTF-8\">"
      "<title>\xE6\x97\xA5</title></head><body>\xC3\xA9</body></html>";
  EXPECT_EQ(DeclaredCharset(utf8Meta), "utf-8");
  EXPECT_NE(DecodeDeclared(utf8Meta).find(u"<title>日</title>"), Text::npos);
  EXPECT_NE(DecodeDeclared(utf8Meta).find(u"<body>é</body>"), Text::npos);

  // Word's Japanese pages; the same bytes read as UTF-8 would be U+FFFD.
  const std::string sjis =
      "<head><meta http-equiv=Content-Type content='text/html; charset=shift_jis'></head>"
      "\x93\xFA\x96\x7B";
  EXPECT_EQ(DeclaredCharset(sjis), "shift_jis");
  EXPECT_NE(DecodeDeclared(sjis).find(u"日本"), Text::npos);
  EXPECT_EQ(DecodeDeclared("<p>\x93\xFA</p>"), u"<p>日</p>");

  // A byte-order mark outranks the meta element and is not part of the text.
  const std::string bom = "\xEF\xBB\xBF<head><meta charset=shift_jis></head>\xC3\xA9";
  EXPECT_EQ(DeclaredCharset(bom), "utf-8");
  EXPECT_EQ(DecodeDeclared(bom), u"<head><meta charset=shift_jis></head>é");

  // Other charsets go through glibc; an unknown one falls back to Shift-JIS.
  EXPECT_EQ(DecodeDeclared("<head><meta charset=\"windows-1252\"></head>\xE9\x80"),
            u"<head><meta charset=\"windows-1252\"></head>é€");
  EXPECT_EQ(DecodeDeclared("<head><meta charset=x-no-such></head>\x93\xFA"),
            u"<head><meta charset=x-no-such></head>日");

  // Blanks around "=" are allowed, as a browser's prescan reads them; a
  // "charset" without "=" after it names nothing.
  EXPECT_EQ(DeclaredCharset("<head><meta content=text/html; charset = utf-8 "
                            "http-equiv=Content-Type></head>"),
            "utf-8");
  EXPECT_EQ(DeclaredCharset("<head><meta content='text/html; charset =\"UTF-8\"'></head>"),
            "utf-8");
  EXPECT_EQ(DeclaredCharset("<head><meta name=charset content=x charset=euc-jp></head>"), "euc-jp");
  EXPECT_EQ(DecodeDeclared("<meta content=text/html; charset = utf-8>\xC3\xA9"),
            u"<meta content=text/html; charset = utf-8>é");

  // "charset=" outside a meta element, or in the body, declares nothing.
  EXPECT_EQ(DeclaredCharset("<head><title>charset=utf-8</title></head>"), "");
  EXPECT_EQ(DeclaredCharset("<head></head><body><meta charset=utf-8></body>"), "");
}

}  // namespace
}  // namespace qp
