#include "tests/robust/hostile_documents.h"

#include <cstdio>

#include "tests/word/docx_builder.h"

namespace qp::robust {

namespace {

using test::DocxBuilder;
using test::ZipOf;

std::string Para(const std::string& text) {
  return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}

std::string Picture(const std::string& relId, int id) {
  const std::string n = std::to_string(id);
  return "<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"95250\" cy=\"95250\"/>"
         "<wp:docPr id=\"" +
         n + "\" name=\"pic " + n +
         "\"/><a:graphic><a:graphicData "
         "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
         "<pic:blipFill><a:blip r:embed=\"" +
         relId +
         "\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline>"
         "</w:drawing></w:r></w:p>";
}

// A PNG that differs from the tiny one in its last bytes, so that every
// picture of a document is its own file.
std::string NumberedPng(int n) {
  std::string png = test::TinyPng();
  char tag[16];
  std::snprintf(tag, sizeof tag, "%08d", n);
  // Trailing bytes after IEND are ignored by readers.
  return png + tag;
}

}  // namespace

std::string PlainDocx() {
  DocxBuilder b;
  b.Body(Para("Robust 本文です。"));
  return b.Build();
}

std::string ZipBombPictureDocx() {
  DocxBuilder b;
  // 300 MiB of zeros deflate to about 300 KiB.
  b.Part("word/media/image1.png", std::string(300u << 20, '\0'));
  const std::string rel = b.Relate("image", "media/image1.png");
  b.Body(Para("bomb") + Picture(rel, 1));
  return b.Build();
}

std::string ZipBombDocumentDocx() {
  std::string body;
  body.reserve(300u << 20);
  while (body.size() < (300u << 20)) body += "<w:p/><w:p/><w:p/><w:p/><w:p/><w:p/><w:p/><w:p/>";
  DocxBuilder b;
  b.Body(std::move(body));
  return b.Build();
}

std::string EscapingNamesDocx() {
  DocxBuilder b;
  b.Body(Para("escape"));
  b.Part("../../escaped.txt", "written outside");
  b.Part("/tmp/qp-robust-absolute.txt", "written outside");
  b.Part("word/../../../escaped-too.txt", "written outside");
  return b.Build();
}

std::string EntityExpansionDocx() {
  std::string doctype = "<!DOCTYPE w:document [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">";
  std::string prev = "a";
  for (char c = 'b'; c <= 'k'; ++c) {
    doctype += std::string("<!ENTITY ") + c + " \"";
    for (int i = 0; i < 10; ++i) doctype += "&" + prev + ";";
    doctype += "\">";
    prev = std::string(1, c);
  }
  doctype += "<!ENTITY ext SYSTEM \"file:///etc/passwd\">]>";
  const std::string document =
      "<?xml version=\"1.0\"?>" + doctype +
      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<w:body><w:p><w:r><w:t>&k;&ext;</w:t></w:r></w:p></w:body></w:document>";
  return ZipOf({{"[Content_Types].xml",
                 "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/"
                 "package/2006/content-types\"/>"},
                {"word/document.xml", document}});
}

std::string NestedTablesDocx(int depth) {
  std::string open, close;
  open.reserve(static_cast<std::size_t>(depth) * 40);
  for (int i = 0; i < depth; ++i) open += "<w:tbl><w:tr><w:tc>";
  for (int i = 0; i < depth; ++i) close += "<w:p/></w:tc></w:tr></w:tbl>";
  DocxBuilder b;
  b.Body(open + Para("deep") + close + Para("after"));
  return b.Build();
}

std::string NestedControlsDocx(int depth) {
  std::string open, close;
  for (int i = 0; i < depth; ++i) open += "<w:sdt><w:sdtContent>";
  for (int i = 0; i < depth; ++i) close += "</w:sdtContent></w:sdt>";
  DocxBuilder b;
  b.Body(open + Para("deep") + close);
  return b.Build();
}

std::string NestedLinksDocx(int depth) {
  std::string open, close;
  for (int i = 0; i < depth; ++i) open += "<w:hyperlink w:anchor=\"a\">";
  for (int i = 0; i < depth; ++i) close += "</w:hyperlink>";
  DocxBuilder b;
  b.Body("<w:p>" + open + "<w:r><w:t>deep</w:t></w:r>" + close + "</w:p>");
  return b.Build();
}

std::string ManyParagraphsDocx(int count) {
  std::string body;
  body.reserve(static_cast<std::size_t>(count) * 80);
  for (int i = 1; i <= count; ++i) body += Para("段落paragraph-" + std::to_string(i));
  DocxBuilder b;
  b.Body(body);
  return b.Build();
}

std::string ManyPicturesDocx(int count) {
  DocxBuilder b;
  std::string body;
  for (int i = 1; i <= count; ++i) {
    const std::string name = "media/image" + std::to_string(i) + ".png";
    b.Part("word/" + name, NumberedPng(i));
    body += Picture(b.Relate("image", name), i);
  }
  b.Body(body);
  return b.Build();
}

std::string MismatchedPictureDocx() {
  DocxBuilder b;
  b.Part("word/media/image1.png", test::TinyJpeg());
  b.Part("word/media/image2.jpg", "this is not a picture at all");
  const std::string one = b.Relate("image", "media/image1.png");
  const std::string two = b.Relate("image", "media/image2.jpg");
  b.Body(Para("pictures") + Picture(one, 1) + Picture(two, 2));
  return b.Build();
}

std::string MissingDocumentDocx() {
  return ZipOf({{"[Content_Types].xml",
                 "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/"
                 "package/2006/content-types\"/>"},
                {"_rels/.rels",
                 "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats."
                 "org/package/2006/relationships\"><Relationship Id=\"rId1\" "
                 "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                 "officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
                {"word/styles.xml", "<?xml version=\"1.0\"?><w:styles/>"}});
}

std::string EncryptedDocx() {
  // A compound-file header, then a directory entry naming the stream.
  std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  ole += std::string(504, '\0');
  for (char c : std::string("EncryptedPackage")) ole += std::string{c, '\0'};
  ole += std::string(2048, '\0');
  return ole;
}

std::string TextAsDoc() {
  return "Meeting notes\r\nThis was saved as plain text and renamed.\r\n";
}

std::string ScriptLinksDocx() {
  DocxBuilder b;
  std::string body;
  int n = 0;
  auto link = [&](const std::string& target, const char* kind) {
    const std::string id = b.Relate("hyperlink", target, true);
    body += "<w:p><w:hyperlink r:id=\"" + id + "\">" + "<w:r><w:t>" + kind + " " +
            std::to_string(++n) + "</w:t></w:r></w:hyperlink></w:p>";
  };
  auto field = [&](const std::string& target, const char* kind) {
    body +=
        "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText "
        "xml:space=\"preserve\"> HYPERLINK \"" +
        target +
        "\" </w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"
        "<w:r><w:t>" +
        kind + " " + std::to_string(++n) +
        "</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>";
  };
  link("javascript:alert(document.domain)", "bad");
  link("JaVaScRiPt:alert(2)", "bad");
  link("java&#9;script:alert(3)", "bad");  // a tab the XML reader decodes
  link("vbscript:msgbox(4)", "bad");
  link("data:,hello", "bad");
  link("file:secret.txt", "bad");
  field("javascript:alert(7)", "bad");
  field("java&#x0A;script:alert(8)", "bad");  // a line break in the field's text
  link("http://example.com/", "good");
  link("https://example.com/a?b=1&amp;c=2", "good");
  link("mailto:someone@example.com", "good");
  link("ftp://ftp.example.com/file.txt", "good");
  field("other.htm", "good");
  body += "<w:p><w:hyperlink w:anchor=\"top\"><w:r><w:t>good 14</w:t></w:r></w:hyperlink></w:p>";
  b.Body(body);
  return b.Build();
}

std::string JunkPicturesDocx() {
  DocxBuilder b;
  // A PNG signature and a whole IHDR chunk of a 100 x 100 picture, then
  // 8 MiB of junk instead of its chunks.
  std::string png = test::TinyPng().substr(0, 33);
  png[18] = 0;
  png[19] = 100;
  png[22] = 0;
  png[23] = 100;
  png += std::string(8u << 20, 'J');
  // A JPEG that starts like one and never says what size it is.
  const std::string jpeg =
      std::string("\xFF\xD8\xFF\xE0\x00\x04xx", 8) + std::string(1u << 20, 'J');
  // A GIF whose logical screen is 65535 px square.
  const std::string gif = std::string("GIF89a\xFF\xFF\xFF\xFF", 10) + std::string(1000, '\0');
  b.Part("word/media/junk.png", png);
  b.Part("word/media/junk.jpg", jpeg);
  b.Part("word/media/huge.gif", gif);
  b.Part("word/media/real.png", test::TinyPng());
  b.Body(Para("pictures") + Picture(b.Relate("image", "media/junk.png"), 1) +
         Picture(b.Relate("image", "media/junk.jpg"), 2) +
         Picture(b.Relate("image", "media/huge.gif"), 3) +
         Picture(b.Relate("image", "media/real.png"), 4));
  return b.Build();
}

std::string MissingPicturesDocx(int count) {
  DocxBuilder b;
  std::string body;
  for (int i = 1; i <= count; ++i) {
    body += Picture(b.Relate("image", "media/missing" + std::to_string(i) + ".png"), i);
  }
  b.Body(body + Para("after"));
  return b.Build();
}

std::string IncludePictureRtf(const std::string& picturePath) {
  return "{\\rtf1\\ansi {\\field{\\*\\fldinst INCLUDEPICTURE \"file://" + picturePath +
         "\" \\\\d}{\\fldrslt }}\\par Text after the picture.\\par}";
}

}  // namespace qp::robust
