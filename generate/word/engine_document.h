// The engine's document: one opened file, read whole at open and never
// written; saving exports it as Word's HTML.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "draw/picture.h"
#include "generate/word/docx_content.h"
#include "generate/word/notes.h"
#include "generate/word/style_fonts.h"
#include "generate/word/word_app.h"

namespace qp::word {

enum class FileKind { Zip, Ole, Rtf, Other };

// What the first bytes say the file is; the extension is not trusted.
FileKind SniffFile(std::string_view bytes);
// True for a compound file that wraps an encrypted package.
bool IsEncryptedPackage(std::string_view oleBytes);

// Reads the file at `path` and gives the .docx bytes to open: a zip as it
// is, a .doc (or RTF) through LibreOffice, whose advice goes to `notes`.
// Raises kFileOpenFailed, kEncrypted, kConverterMissing, kConverterFailed,
// qp::err::kFileNotFound.
std::string LoadDocumentBytes(const std::filesystem::path& path, Notes& notes);

class EngineDocument : public Document {
 public:
  // A document whose package shows drawings starts its drawing helper
  // while the rest of it is read.
  explicit EngineDocument(std::string docxBytes)
      : content_(std::move(docxBytes), [this] { drawer_.Prepare(); }) {}

  Font& StyleFont(TextView styleName) override;
  WebOptions& GetWebOptions() override { return webOptions_; }
  void SaveAs(const std::filesystem::path& fileName, int fileFormat) override;
  Text BuiltinDocumentProperty(TextView name) override;
  PageSetup SectionPageSetup(int index) override;
  // Nothing is ever written back to the document, so there is nothing to keep
  // from being saved.
  void SetSaved(bool) override {}
  void Close() override { closed_ = true; }

  bool closed() const { return closed_; }
  int DrawingHelpersStarted() const { return drawer_.Started(); }
  // What the exports so far have to tell the user.
  Notes& notes() { return notes_; }

 private:
  void CheckOpen() const;

  draw::Drawer drawer_;  // before the content, which may start it
  DocxContent content_;
  StyleFonts fonts_;
  WebOptions webOptions_;
  Notes notes_;
  bool closed_ = false;
};

}  // namespace qp::word
