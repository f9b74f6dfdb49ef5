// Writes .docx packages from XML text held by the caller: the tests and the
// sample document make their documents with it.
#pragma once

#include <map>
#include <string>

namespace qp::test {

class DocxBuilder {
 public:
  // The body's inner XML (paragraphs, tables) in the w: namespace.
  DocxBuilder& Body(std::string xml);
  DocxBuilder& Background(std::string xml);      // before w:body (w:background)
  DocxBuilder& Styles(std::string innerXml);     // inside <w:styles>
  DocxBuilder& Numbering(std::string innerXml);  // inside <w:numbering>
  DocxBuilder& Footnotes(std::string innerXml);  // footnotes after the separators
  DocxBuilder& Fonts(std::string innerXml);      // inside <w:fonts> (fontTable.xml)
  DocxBuilder& Core(std::string title, std::string description, std::string keywords);
  // A relationship from the document part; returns its id ("rId10", ...).
  std::string Relate(std::string type, std::string target, bool external = false);
  // A part stored as is (pictures, or anything a test needs).
  DocxBuilder& Part(std::string name, std::string bytes);

  // The package bytes (stored uncompressed when `store`, else deflated).
  std::string Build() const;
  void WriteTo(const std::string& path) const;

 private:
  std::string body_, background_, styles_, numbering_, footnotes_, fonts_;
  std::string title_, description_, keywords_;
  bool core_ = false;
  std::map<std::string, std::string> parts_;
  std::string rels_;
  int nextRel_ = 10;
};

// Zip bytes of the given entries as they are (names unchecked), for hostile
// packages.
std::string ZipOf(const std::map<std::string, std::string>& entries);

// A 1x1 PNG, a tiny GIF and a tiny JPEG.
std::string TinyPng();
std::string TinyGif();
std::string TinyJpeg();

// The project's sample document (Japanese and English text, a heading, a
// list, a table, a picture, a link).
DocxBuilder SampleDocument();

}  // namespace qp::test
