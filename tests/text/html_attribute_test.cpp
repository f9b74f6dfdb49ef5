#include "text/html_attribute.h"

#include <gtest/gtest.h>

namespace qp {
namespace {

using namespace std::literals;

TEST(EscapeAttributeValue, MarkupAndQuotesBecomeReferencesAndControlsBlanks) {
  EXPECT_EQ(EscapeAttributeValue(u"a&b<c>\"d'e"), u"a&amp;b&lt;c&gt;&quot;d'e");
  // A property typed on two lines keeps its words apart; nothing invisible stays.
  EXPECT_EQ(EscapeAttributeValue(u"one\r\ntwo\tthree\0four\x7F"sv), u"one  two three four ");
  EXPECT_EQ(EscapeAttributeValue(u"a\u0080b\u009fc\u00a0"), u"a b c\u00a0");  // C1 controls
  EXPECT_EQ(EscapeAttributeValue(u"日本語&amp;"), u"日本語&amp;amp;");
}

}  // namespace
}  // namespace qp
