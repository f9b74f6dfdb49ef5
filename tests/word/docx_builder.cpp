#include "tests/word/docx_builder.h"

#include <zip.h>

#include <fstream>
#include <stdexcept>

namespace qp::test {

namespace {

constexpr const char* kW =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"";
constexpr const char* kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kXml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

}  // namespace

DocxBuilder& DocxBuilder::Body(std::string xml) {
  body_ = std::move(xml);
  return *this;
}
DocxBuilder& DocxBuilder::Background(std::string xml) {
  background_ = std::move(xml);
  return *this;
}
DocxBuilder& DocxBuilder::Styles(std::string innerXml) {
  styles_ = std::move(innerXml);
  return *this;
}
DocxBuilder& DocxBuilder::Numbering(std::string innerXml) {
  numbering_ = std::move(innerXml);
  return *this;
}
DocxBuilder& DocxBuilder::Fonts(std::string innerXml) {
  fonts_ = std::move(innerXml);
  return *this;
}

DocxBuilder& DocxBuilder::Footnotes(std::string innerXml) {
  footnotes_ = std::move(innerXml);
  return *this;
}
DocxBuilder& DocxBuilder::Core(std::string title, std::string description, std::string keywords) {
  title_ = std::move(title);
  description_ = std::move(description);
  keywords_ = std::move(keywords);
  core_ = true;
  return *this;
}
DocxBuilder& DocxBuilder::Part(std::string name, std::string bytes) {
  parts_[std::move(name)] = std::move(bytes);
  return *this;
}

std::string DocxBuilder::Relate(std::string type, std::string target, bool external) {
  std::string id = "rId" + std::to_string(nextRel_++);
  rels_ += "<Relationship Id=\"" + id + "\" Type=\"" + kRelNs + type + "\" Target=\"" + target +
           "\"" + (external ? " TargetMode=\"External\"" : "") + "/>";
  return id;
}

std::string DocxBuilder::Build() const {
  std::map<std::string, std::string> entries = parts_;
  std::string rels = rels_;
  auto add = [&](const std::string& id, const std::string& type, const std::string& target) {
    rels += "<Relationship Id=\"" + id + "\" Type=\"" + kRelNs + type + "\" Target=\"" + target +
            "\"/>";
  };
  entries["[Content_Types].xml"] =
      std::string(kXml) +
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Default Extension=\"png\" ContentType=\"image/png\"/>"
      "<Default Extension=\"gif\" ContentType=\"image/gif\"/>"
      "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"
      "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
  std::string rootRels = std::string(kXml) +
                         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                         "relationships\"><Relationship Id=\"rId1\" Type=\"" +
                         kRelNs + "officeDocument\" Target=\"word/document.xml\"/>";
  if (core_) {
    rootRels +=
        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/"
        "relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>";
    entries["docProps/core.xml"] =
        std::string(kXml) +
        "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
        "core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>" +
        title_ + "</dc:title><dc:description>" + description_ + "</dc:description><cp:keywords>" +
        keywords_ + "</cp:keywords></cp:coreProperties>";
  }
  entries["_rels/.rels"] = rootRels + "</Relationships>";
  if (!styles_.empty()) {
    entries["word/styles.xml"] =
        std::string(kXml) + "<w:styles " + kW + ">" + styles_ + "</w:styles>";
    add("rId1", "styles", "styles.xml");
  }
  if (!numbering_.empty()) {
    entries["word/numbering.xml"] =
        std::string(kXml) + "<w:numbering " + kW + ">" + numbering_ + "</w:numbering>";
    add("rId2", "numbering", "numbering.xml");
  }
  if (!footnotes_.empty()) {
    entries["word/footnotes.xml"] =
        std::string(kXml) + "<w:footnotes " + kW +
        "><w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p>"
        "</w:footnote>" +
        footnotes_ + "</w:footnotes>";
    add("rId3", "footnotes", "footnotes.xml");
  }
  if (!fonts_.empty()) {
    entries["word/fontTable.xml"] =
        std::string(kXml) + "<w:fonts " + kW + ">" + fonts_ + "</w:fonts>";
    add("rId4", "fontTable", "fontTable.xml");
  }
  entries["word/document.xml"] = std::string(kXml) + "<w:document " + kW + ">" + background_ +
                                 "<w:body>" + body_ + "</w:body></w:document>";
  entries["word/_rels/document.xml.rels"] =
      std::string(kXml) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
      rels + "</Relationships>";
  return ZipOf(entries);
}

void DocxBuilder::WriteTo(const std::string& path) const {
  std::string bytes = Build();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ZipOf(const std::map<std::string, std::string>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* zip = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  if (!zip) throw std::runtime_error("zip_open_from_source");
  zip_source_keep(target);
  for (const auto& [name, bytes] : entries) {
    zip_source_t* s = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    zip_int64_t index = zip_file_add(zip, name.c_str(), s, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) throw std::runtime_error("zip_file_add " + name);
    // Fixed times make the sample document's bytes the same on every run.
    zip_file_set_mtime(zip, static_cast<zip_uint64_t>(index), 315532800, 0);
  }
  if (zip_close(zip) < 0) throw std::runtime_error("zip_close");
  zip_source_open(target);
  zip_source_seek(target, 0, SEEK_END);
  zip_int64_t size = zip_source_tell(target);
  zip_source_seek(target, 0, SEEK_SET);
  std::string out(static_cast<std::size_t>(size), '\0');
  zip_source_read(target, out.data(), static_cast<zip_uint64_t>(size));
  zip_source_close(target);
  zip_source_free(target);
  zip_error_fini(&error);
  return out;
}

}  // namespace qp::test
