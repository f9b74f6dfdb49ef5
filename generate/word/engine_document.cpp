#include "generate/word/engine_document.h"

#include <optional>
#include <string>

#include "generate/word/doc_convert.h"
#include "generate/word/html_export.h"
#include "text/failure.h"
#include "text/file_bytes.h"

namespace qp::word {

namespace {

constexpr std::uintmax_t kMaxFileBytes = 512ull << 20;

}  // namespace

FileKind SniffFile(std::string_view b) {
  if (b.substr(0, 4) == std::string_view("PK\x03\x04", 4)) return FileKind::Zip;
  if (b.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
    return FileKind::Ole;
  }
  if (b.substr(0, 5) == "{\\rtf") return FileKind::Rtf;
  return FileKind::Other;
}

bool IsEncryptedPackage(std::string_view b) {
  // The stream name in the compound file's directory, in UTF-16LE.
  static constexpr char16_t kName[] = u"EncryptedPackage";
  std::string pattern;
  for (char16_t c : std::u16string_view(kName)) {
    pattern += static_cast<char>(c);
    pattern += '\0';
  }
  return b.find(pattern) != std::string_view::npos;
}

std::string LoadDocumentBytes(const std::filesystem::path& path, Notes& notes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    Raise(qp::err::kFileNotFound, T("The document does not exist."));
  }
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxFileBytes) {
    Raise(qp::word::err::kFileOpenFailed, T("The document is too large to read."));
  }
  std::optional<std::string> read = ReadFileBytes(path, ec);
  if (!read) Raise(qp::err::kPermissionDenied, T("The document cannot be read."));
  std::string bytes = std::move(*read);
  switch (SniffFile(bytes)) {
    case FileKind::Zip:
      return bytes;
    case FileKind::Ole:
      if (IsEncryptedPackage(bytes)) {
        Raise(word::err::kEncrypted, T("The document is protected by a password."));
      }
      return ConvertDocToDocx(bytes, notes);
    case FileKind::Rtf:
      return ConvertDocToDocx(bytes, notes);
    case FileKind::Other:
      break;
  }
  Raise(word::err::kFileOpenFailed, T("The file is not a Word document."));
}

void EngineDocument::CheckOpen() const {
  if (closed_) Raise(word::err::kNoActiveDocument, T("The document has been closed."));
}

Font& EngineDocument::StyleFont(TextView styleName) {
  CheckOpen();
  const StyleSheet& sheet = content_.styleSheet;
  const StyleDef* style = nullptr;
  // Word's Japanese name of its Normal style, whatever the file calls it.
  if (styleName == u"標準" || EqualsNoCase(styleName, u"Normal")) style = sheet.DefaultParagraph();
  if (!style) style = sheet.FindByName(styleName);
  if (!style) Raise(word::err::kNoSuchMember, T("The style does not exist."));
  auto it = fonts_.find(style->id);
  if (it == fonts_.end()) {
    it = fonts_.emplace(style->id, ResolveStyleFont(content_.Fonts(), style->id, fonts_)).first;
  }
  return it->second;
}

void EngineDocument::SaveAs(const std::filesystem::path& fileName, int fileFormat) {
  CheckOpen();
  if (fileFormat != kFormatHtml) Raise(qp::err::kInvalidArgument, T("Only Word HTML is written."));
  ExportHtml(content_, fonts_, webOptions_, fileName, notes_, drawer_);
}

Text EngineDocument::BuiltinDocumentProperty(TextView name) {
  CheckOpen();
  if (EqualsNoCase(name, u"Title")) return content_.title;
  if (EqualsNoCase(name, u"Comments")) return content_.description;
  if (EqualsNoCase(name, u"KeyWords")) return content_.keywords;
  if (EqualsNoCase(name, u"Author")) return content_.author;
  Raise(qp::err::kInvalidArgument, T("No such document property."));
}

PageSetup EngineDocument::SectionPageSetup(int index) {
  CheckOpen();
  if (index < 1 || static_cast<std::size_t>(index) > content_.sections.size()) {
    Raise(word::err::kNoSuchMember, T("No such section."));
  }
  return content_.sections[static_cast<std::size_t>(index - 1)].page;
}

}  // namespace qp::word
