// Shared pieces of the engine's tests: documents in memory, rendered pages,
// fixture files.
#pragma once

#include <string>
#include <vector>

#include "generate/word/docx_content.h"
#include "generate/word/html_export.h"
#include "tests/word/docx_builder.h"

namespace qp::test {

// Styles and lists the examples use: a Normal style under the id "a" (as
// Japanese Word writes it), "heading 1" under "1", "List Paragraph" under
// "a5" (indented 4 characters), "footnote reference" under "a9", a Japanese
// numbered list (numId 1) and a Symbol bullet list (numId 2).
DocxBuilder ExampleDocument(const std::string& bodyXml);

// The page in UTF-8 for a document, as the engine renders it for "page.htm".
std::string RenderUtf8(const DocxBuilder& builder);
// The text of the first section block (after its opening tag), CR LF as "\n".
std::string FirstSection(const std::string& page);

struct Example {
  std::string name, input, expected;
};
// "### name", input lines, "---", expected lines; "#" lines before the
// first case are comments.
std::vector<Example> ReadExamples(const std::string& path);
// Writes the examples back, keeping the comment lines at the top.
void WriteExamples(const std::string& path, const std::vector<Example>& examples);

}  // namespace qp::test
