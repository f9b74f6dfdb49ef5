// A .docx package: the zip, its relationships, and the XML parts the engine
// reads, parsed once when the document is opened.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "generate/word/zip_archive.h"

namespace qp::word {

struct Relationship {
  std::string target;  // resolved part name, or the URL as written when external
  std::string type;    // last segment of the relationship type ("image", "hyperlink")
  bool external = false;
};

using Relationships = std::map<std::string, Relationship>;  // by id

class DocxPackage {
 public:
  // Raises kFileOpenFailed / kFileCorrupt (see ZipArchive) and kFileCorrupt
  // when the main document part is missing.
  explicit DocxPackage(std::string bytes);

  // The XML a document's parts may hold together. A page takes about
  // fifteen times its XML in memory at its peak: 64 MB (far beyond the
  // largest real documents, whose text Word itself caps at 32 MB) keeps a
  // small zip of megabytes of paragraphs from taking gigabytes.
  static constexpr std::uint64_t kMaxXmlBytes = 64ull << 20;

  const std::string& MainPartName() const { return mainPart_; }
  // Parses `partName` into `doc`; false when the package has no such part.
  // Raises kFileCorrupt when the parts read so far pass kMaxXmlBytes.
  bool LoadXml(const std::string& partName, pugi::xml_document& doc);
  // The bytes of an XML part, counted against kMaxXmlBytes as LoadXml
  // counts them; raises kFileCorrupt when the part is missing.
  std::string ReadXml(const std::string& partName);
  const std::vector<std::string>& PartNames() const { return zip_.Names(); }
  std::string ReadPart(const std::string& partName) { return zip_.Read(partName); }
  bool HasPart(const std::string& partName) const { return zip_.Has(partName); }
  // The relationships of a part (empty when it has none).
  Relationships RelationshipsOf(const std::string& partName);
  // The target of the first relationship of `type` from `partName`, or "".
  std::string TargetOfType(const std::string& partName, std::string_view type);

 private:
  ZipArchive zip_;
  std::string mainPart_;
  std::uint64_t xmlRead_ = 0;
};

// A target relative to the folder of `sourcePart`, with "." and ".."
// resolved; "" when it climbs out of the package.
std::string ResolvePartName(const std::string& sourcePart, const std::string& target);

}  // namespace qp::word
