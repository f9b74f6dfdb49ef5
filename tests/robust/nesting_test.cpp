// Containers nested deeper than any real document: the reader refuses them
// with its own error instead of running out of stack; ordinary nesting still
// renders.
#include <gtest/gtest.h>

#include "generate/word/docx_content.h"
#include "generate/word/html_export.h"
#include "tests/robust/hostile_documents.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::robust {
namespace {

// The rendered page, or the raised error number as text.
std::string Render(const std::string& bytes) {
  try {
    word::DocxContent content(bytes);
    return TextToUtf8(word::RenderHtml(content, {}, u"nest", u"utf-8").html);
  } catch (const RuntimeError& e) {
    return "error " + std::to_string(e.code());
  }
}

TEST(RobustNesting, DeepContainersAreRefusedShallowOnesRender) {
  const std::string corrupt = "error " + std::to_string(word::err::kFileCorrupt);
  EXPECT_EQ(Render(NestedTablesDocx(10000)), corrupt);
  EXPECT_EQ(Render(NestedControlsDocx(10000)), corrupt);
  EXPECT_EQ(Render(NestedLinksDocx(10000)), corrupt);

  const std::string tables = Render(NestedTablesDocx(20));
  EXPECT_NE(tables.find("deep"), std::string::npos) << tables.substr(0, 200);
  EXPECT_NE(tables.find("after"), std::string::npos);
  EXPECT_NE(Render(NestedControlsDocx(20)).find("deep"), std::string::npos);
  EXPECT_NE(Render(NestedLinksDocx(20)).find("deep"), std::string::npos);
}

}  // namespace
}  // namespace qp::robust
