// The project's sample document and the small pictures the tests use.
#include "tests/word/docx_builder.h"

namespace qp::test {

std::string TinyPng() {
  // 32 x 32 pixels, a blue and yellow check.
  return std::string(
      "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x20\x00\x00\x00"
      "\x20"
      "\x08\x02\x00\x00\x00\xfc\x18\xed\xa3\x00\x00\x00\x3a\x49\x44\x41\x54\x78\xda\x63\xf8\x74\xd0"
      "\x0f"
      "\x2b\xd2\xca\xdf\x80\x15\x91\xaa\x9e\x61\xd4\x82\x51\x0b\x86\x80\x05\xd4\x32\x08\x97\xfa\x51"
      "\x0b"
      "\x46\x2d\x18\x0a\x16\x8c\x16\x15\xa3\x16\x8c\x5a\x30\x5a\x1f\x8c\x5a\x30\x6a\x01\x10\x01\x00"
      "\xde"
      "\x6d\x94\x5b\x53\x9a\x93\x0c\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
      115);
}

std::string TinyGif() {
  return std::string(
      "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x21\xf9\x04\x01\x00\x00\x00"
      "\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
      43);
}

std::string TinyJpeg() {
  // Only the markers a reader checks first; enough to be taken for a JPEG.
  constexpr char kBytes[] =
      "\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xd9";
  return std::string(kBytes, sizeof kBytes - 1);  // the literal's own length, not a count
}

namespace {

constexpr const char* kSampleStyles =
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Century\" w:eastAsia=\"ＭＳ 明朝\" "
    "w:hAnsi=\"Century\"/><w:kern w:val=\"2\"/><w:sz w:val=\"21\"/><w:lang w:val=\"en-US\" "
    "w:eastAsia=\"ja-JP\"/></w:rPr></w:rPrDefault><w:pPrDefault/></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"a\"><w:name w:val=\"Normal\"/>"
    "<w:pPr><w:widowControl w:val=\"0\"/><w:jc w:val=\"both\"/></w:pPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"1\"><w:name w:val=\"heading 1\"/>"
    "<w:basedOn w:val=\"a\"/><w:next w:val=\"a\"/><w:pPr><w:keepNext/><w:outlineLvl w:val=\"0\"/>"
    "</w:pPr><w:rPr><w:rFonts w:ascii=\"Arial\" w:eastAsia=\"ＭＳ ゴシック\" w:hAnsi=\"Arial\"/>"
    "<w:b/><w:sz w:val=\"28\"/></w:rPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"a3\"><w:name w:val=\"List Paragraph\"/>"
    "<w:basedOn w:val=\"a\"/><w:pPr><w:ind w:leftChars=\"400\" w:left=\"840\"/></w:pPr></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"a4\"><w:name w:val=\"Hyperlink\"/>"
    "<w:rPr><w:color w:val=\"0563C1\"/><w:u w:val=\"single\"/></w:rPr></w:style>"
    "<w:style w:type=\"table\" w:styleId=\"a5\"><w:name w:val=\"Table "
    "Grid\"/><w:tblPr><w:tblBorders>"
    "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "</w:tblBorders></w:tblPr></w:style>";

constexpr const char* kSampleNumbering =
    "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
    "<w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/><w:lvlJc w:val=\"left\"/>"
    "<w:pPr><w:ind w:left=\"420\" w:hanging=\"420\"/></w:pPr></w:lvl>"
    "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"aiueoFullWidth\"/>"
    "<w:lvlText w:val=\"(%2)\"/><w:pPr><w:ind w:left=\"840\" w:hanging=\"420\"/></w:pPr></w:lvl>"
    "</w:abstractNum>"
    "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>";

std::string Para(const std::string& runs, const std::string& pPr = {}) {
  return "<w:p>" + (pPr.empty() ? std::string() : "<w:pPr>" + pPr + "</w:pPr>") + runs + "</w:p>";
}

std::string Run(const std::string& text, const std::string& rPr = {}) {
  return "<w:r>" + (rPr.empty() ? std::string() : "<w:rPr>" + rPr + "</w:rPr>") +
         "<w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

std::string Cell(const std::string& text, int twips) {
  return "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(twips) + "\" w:type=\"dxa\"/></w:tcPr>" +
         Para(Run(text)) + "</w:tc>";
}

}  // namespace

DocxBuilder SampleDocument() {
  DocxBuilder b;
  b.Styles(kSampleStyles).Numbering(kSampleNumbering);
  b.Core("Quillpage sample", "A sample document for Quillpage", "sample, Quillpage");
  b.Part("word/media/image1.png", TinyPng());
  std::string picture = b.Relate("image", "media/image1.png");
  std::string link = b.Relate("hyperlink", "https://www.example.com/quillpage/", true);
  std::string body;
  body += Para(Run("Quillpageのサンプル文書"), "<w:pStyle w:val=\"1\"/>");
  body += Para(Run("この文書はQuillpageの動作を確かめるための見本です。") +
               Run(" It mixes Japanese and English text.",
                   "<w:rFonts w:ascii=\"Arial\" "
                   "w:hAnsi=\"Arial\"/>"));
  body += Para(Run("太字", "<w:b/>") + Run("と") + Run("斜体", "<w:i/>") + Run("と") +
               Run("下線", "<w:u w:val=\"single\"/>") + Run("の文字。"));
  body += Para("");
  body += Para(Run("第一の項目"),
               "<w:pStyle w:val=\"a3\"/><w:numPr><w:ilvl w:val=\"0\"/>"
               "<w:numId w:val=\"1\"/></w:numPr><w:ind w:leftChars=\"0\" "
               "w:left=\"420\" w:hanging=\"420\"/>");
  body += Para(Run("Second item"),
               "<w:pStyle w:val=\"a3\"/><w:numPr><w:ilvl w:val=\"0\"/>"
               "<w:numId w:val=\"1\"/></w:numPr>");
  body += Para(Run("小項目"),
               "<w:pStyle w:val=\"a3\"/><w:numPr><w:ilvl w:val=\"1\"/>"
               "<w:numId w:val=\"1\"/></w:numPr>");
  body +=
      "<w:tbl><w:tblPr><w:tblStyle w:val=\"a5\"/><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr>"
      "<w:tblGrid><w:gridCol w:w=\"2835\"/><w:gridCol w:w=\"2835\"/></w:tblGrid>"
      "<w:tr>" +
      Cell("品名", 2835) + Cell("Price", 2835) +
      "</w:tr>"
      "<w:tr>" +
      Cell("りんご", 2835) + Cell("120円", 2835) + "</w:tr></w:tbl>";
  body += Para(
      "<w:r><w:drawing><wp:inline><wp:extent cx=\"914400\" cy=\"914400\"/>"
      "<wp:docPr id=\"1\" name=\"図 1\" descr=\"Check pattern\"/><a:graphic><a:graphicData "
      "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:blipFill>"
      "<a:blip r:embed=\"" +
          picture +
          "\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
          "</wp:inline></w:drawing></w:r>",
      "<w:jc w:val=\"center\"/>");
  body += Para(Run("詳しくは") + "<w:hyperlink r:id=\"" + link + "\">" +
               Run("Quillpage website", "<w:rStyle w:val=\"a4\"/>") + "</w:hyperlink>" +
               Run("をご覧ください。"));
  body +=
      "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1985\" w:right=\"1701\" "
      "w:bottom=\"1701\" w:left=\"1701\" w:header=\"851\" w:footer=\"992\" w:gutter=\"0\"/>"
      "<w:docGrid w:type=\"lines\" w:linePitch=\"360\"/></w:sectPr>";
  return b.Body(body);
}

}  // namespace qp::test
