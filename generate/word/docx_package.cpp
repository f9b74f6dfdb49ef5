#include "generate/word/docx_package.h"

#include <vector>

#include "generate/word/word_app.h"
#include "generate/word/xml_part.h"
#include "text/failure.h"

namespace qp::word {

std::string ResolvePartName(const std::string& sourcePart, const std::string& target) {
  std::vector<std::string> segments;
  std::string path;
  if (!target.empty() && target.front() == '/') {
    path = target.substr(1);
  } else {
    std::size_t slash = sourcePart.rfind('/');
    path = (slash == std::string::npos ? std::string() : sourcePart.substr(0, slash + 1)) + target;
  }
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string seg = path.substr(start, end - start);
    if (seg == "..") {
      if (segments.empty()) return {};
      segments.pop_back();
    } else if (!seg.empty() && seg != ".") {
      segments.push_back(seg);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& s : segments) out += (out.empty() ? "" : "/") + s;
  return out;
}

DocxPackage::DocxPackage(std::string bytes) : zip_(std::move(bytes)) {
  mainPart_ = TargetOfType("", "officeDocument");
  if (mainPart_.empty() || !zip_.Has(mainPart_)) mainPart_ = "word/document.xml";
  if (!zip_.Has(mainPart_)) Raise(err::kFileCorrupt, T("The package holds no document part."));
}

std::string DocxPackage::ReadXml(const std::string& partName) {
  std::string bytes = zip_.Read(partName, kMaxXmlBytes - xmlRead_);
  xmlRead_ += bytes.size();
  return bytes;
}

bool DocxPackage::LoadXml(const std::string& partName, pugi::xml_document& doc) {
  if (partName.empty() || !zip_.Has(partName)) return false;
  ParseXmlPart(doc, ReadXml(partName), partName);
  return true;
}

Relationships DocxPackage::RelationshipsOf(const std::string& partName) {
  std::size_t slash = partName.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : partName.substr(0, slash + 1);
  std::string file = slash == std::string::npos ? partName : partName.substr(slash + 1);
  std::string relsName = folder + "_rels/" + file + ".rels";
  Relationships out;
  pugi::xml_document doc;
  if (!LoadXml(relsName, doc)) return out;
  for (pugi::xml_node rel : doc.document_element().children()) {
    if (LocalName(rel) != "Relationship") continue;
    Relationship r;
    std::string type = rel.attribute("Type").value();
    std::size_t last = type.rfind('/');
    r.type = last == std::string::npos ? type : type.substr(last + 1);
    r.external = std::string_view(rel.attribute("TargetMode").value()) == "External";
    std::string target = rel.attribute("Target").value();
    r.target = r.external ? target : ResolvePartName(partName, target);
    out[rel.attribute("Id").value()] = std::move(r);
  }
  return out;
}

std::string DocxPackage::TargetOfType(const std::string& partName, std::string_view type) {
  for (const auto& [id, rel] : RelationshipsOf(partName)) {
    if (rel.type == type && !rel.external) return rel.target;
  }
  return {};
}

}  // namespace qp::word
