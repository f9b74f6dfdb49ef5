#include "tests/word/word_test_support.h"

#include <fstream>
#include <sstream>

#include "text/codec.h"

namespace qp::test {

DocxBuilder ExampleDocument(const std::string& bodyXml) {
  DocxBuilder b;
  b.Styles(
      "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Century\" "
      "w:eastAsia=\"ＭＳ 明朝\"/><w:sz w:val=\"21\"/><w:lang w:val=\"en-US\" "
      "w:eastAsia=\"ja-JP\"/></w:rPr></w:rPrDefault></w:docDefaults>"
      "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"a\"><w:name w:val=\"Normal\"/>"
      "</w:style><w:style w:type=\"paragraph\" w:styleId=\"1\"><w:name w:val=\"heading 1\"/>"
      "<w:basedOn w:val=\"a\"/><w:rPr><w:b/><w:sz w:val=\"28\"/></w:rPr></w:style>"
      // A table style with a filled, bold header row, banded rows, a bold
      // first column and narrow cell margins.
      "<w:style w:type=\"table\" w:styleId=\"Banded\"><w:name w:val=\"Banded\"/><w:tblPr>"
      "<w:tblStyleRowBandSize w:val=\"1\"/><w:tblBorders><w:top w:val=\"single\" w:sz=\"4\"/>"
      "<w:bottom w:val=\"single\" w:sz=\"4\"/></w:tblBorders><w:tblCellMar><w:left "
      "w:w=\"57\" w:type=\"dxa\"/><w:right w:w=\"57\" w:type=\"dxa\"/></w:tblCellMar>"
      "</w:tblPr><w:tblStylePr w:type=\"firstRow\"><w:rPr><w:b/><w:color w:val=\"FFFFFF\"/>"
      "</w:rPr><w:tcPr><w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"4F81BD\"/></w:tcPr>"
      "</w:tblStylePr><w:tblStylePr w:type=\"band1Horz\"><w:tcPr><w:shd w:val=\"clear\" "
      "w:color=\"auto\" w:fill=\"DBE5F1\"/></w:tcPr></w:tblStylePr><w:tblStylePr "
      "w:type=\"firstCol\"><w:rPr><w:b/></w:rPr></w:tblStylePr></w:style>"
      "<w:style w:type=\"paragraph\" w:styleId=\"a5\"><w:name w:val=\"List Paragraph\"/>"
      "<w:basedOn w:val=\"a\"/><w:pPr><w:ind w:leftChars=\"400\" w:left=\"840\"/></w:pPr>"
      "</w:style><w:style w:type=\"character\" w:styleId=\"a9\"><w:name "
      "w:val=\"footnote reference\"/><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr>"
      "</w:style><w:style w:type=\"numbering\" w:styleId=\"Outline\"><w:name "
      "w:val=\"Outline\"/><w:pPr><w:numPr><w:numId w:val=\"3\"/></w:numPr></w:pPr></w:style>");
  b.Numbering(
      "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
      "<w:numFmt w:val=\"decimalFullWidth\"/><w:lvlText w:val=\"%1．\"/>"
      "<w:pPr><w:ind w:left=\"420\" w:hanging=\"420\"/></w:pPr></w:lvl>"
      "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimalEnclosedCircle\"/>"
      "<w:lvlText w:val=\"%2\"/><w:pPr><w:ind w:left=\"840\" w:hanging=\"420\"/></w:pPr></w:lvl>"
      "</w:abstractNum><w:abstractNum w:abstractNumId=\"1\"><w:lvl w:ilvl=\"0\">"
      "<w:numFmt w:val=\"bullet\"/><w:lvlText w:val=\"\xEF\x82\xB7\"/><w:rPr><w:rFonts "
      "w:ascii=\"Symbol\" w:hAnsi=\"Symbol\"/></w:rPr></w:lvl></w:abstractNum>"
      // An outline: bold numbers, a legal second level, a third level
      // that only the first restarts; a list that links to it through its
      // numbering style; a second instance that starts at 5.
      "<w:abstractNum w:abstractNumId=\"2\"><w:styleLink w:val=\"Outline\"/>"
      "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/>"
      "<w:lvlText w:val=\"%1.\"/><w:pPr><w:ind w:left=\"360\" w:hanging=\"360\"/></w:pPr>"
      "<w:rPr><w:b/></w:rPr></w:lvl><w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/>"
      "<w:numFmt w:val=\"lowerRoman\"/><w:isLgl/><w:lvlText w:val=\"%1.%2\"/>"
      "<w:suff w:val=\"space\"/></w:lvl><w:lvl w:ilvl=\"2\"><w:start w:val=\"1\"/>"
      "<w:lvlRestart w:val=\"1\"/><w:numFmt w:val=\"lowerLetter\"/>"
      "<w:lvlText w:val=\"%3)\"/><w:suff w:val=\"nothing\"/></w:lvl></w:abstractNum>"
      "<w:abstractNum w:abstractNumId=\"3\"><w:numStyleLink w:val=\"Outline\"/></w:abstractNum>"
      "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
      "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/></w:num>"
      "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"2\"/></w:num>"
      "<w:num w:numId=\"4\"><w:abstractNumId w:val=\"2\"/><w:lvlOverride w:ilvl=\"0\">"
      "<w:startOverride w:val=\"5\"/></w:lvlOverride></w:num>"
      "<w:num w:numId=\"5\"><w:abstractNumId w:val=\"3\"/></w:num>");
  b.Footnotes(
      "<w:footnote w:id=\"1\"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space=\"preserve\">"
      " The note.</w:t></w:r></w:p></w:footnote>");
  std::string link = b.Relate("hyperlink", "https://example.com/a?b=1&amp;c=2", true);
  std::string body = bodyXml;
  for (std::size_t at = body.find("rIdLink"); at != std::string::npos; at = body.find("rIdLink")) {
    body.replace(at, 7, link);
  }
  if (body.find("rIdPic") != std::string::npos) {
    b.Part("word/media/p.png", TinyPng());
    std::string pic = b.Relate("image", "media/p.png");
    for (std::size_t at = body.find("rIdPic"); at != std::string::npos; at = body.find("rIdPic")) {
      body.replace(at, 6, pic);
    }
  }
  return b.Body(body);
}

std::string RenderUtf8(const DocxBuilder& builder) {
  word::DocxContent content(builder.Build());
  word::RenderedPage page = word::RenderHtml(content, {}, u"page", u"utf-8");
  return TextToUtf8(page.html);
}

std::string FirstSection(const std::string& page) {
  std::size_t open = page.find("<div class=Section1");
  if (open == std::string::npos) return {};
  std::size_t start = page.find(">\r\n\r\n", open);
  // The block ends at the "</div>" that the next section, the note lists or
  // the end of the body follows (text boxes hold blocks of their own).
  std::size_t end = start;
  for (;;) {
    end = page.find("\r\n</div>\r\n\r\n", end + 1);
    if (end == std::string::npos) return {};
    std::string next = page.substr(end + 12, 12);
    if (next.rfind("</body>", 0) == 0 || next.rfind("<span", 0) == 0 || next.rfind("<div", 0) == 0)
      break;
  }
  end += 2;
  std::string inner = page.substr(start + 5, end - start - 5);
  std::string out;
  for (char c : inner) {
    if (c != '\r') out += c;
  }
  return out;
}

std::vector<Example> ReadExamples(const std::string& path) {
  std::ifstream in(path);
  std::vector<Example> out;
  std::string line;
  bool expected = false;
  while (std::getline(in, line)) {
    if (line.rfind("### ", 0) == 0) {
      out.push_back({line.substr(4), {}, {}});
      expected = false;
    } else if (out.empty()) {
      continue;
    } else if (line == "---") {
      expected = true;
    } else {
      (expected ? out.back().expected : out.back().input) += line + "\n";
    }
  }
  for (Example& e : out) {
    while (!e.input.empty() && e.input.back() == '\n') e.input.pop_back();
  }
  return out;
}

void WriteExamples(const std::string& path, const std::vector<Example>& examples) {
  std::string header;
  {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line) && line.rfind("### ", 0) != 0) header += line + "\n";
  }
  std::ofstream out(path, std::ios::trunc);
  out << header;
  for (std::size_t i = 0; i < examples.size(); ++i) {
    out << "### " << examples[i].name << "\n"
        << examples[i].input << "\n---\n"
        << examples[i].expected;
  }
}

}  // namespace qp::test
