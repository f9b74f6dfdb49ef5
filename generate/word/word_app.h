// The Word engine's object model: the calls the generation run makes, and
// nothing more. The engine under generate/word implements it; tests drive
// the run through their own implementations.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "text/ustring.h"

namespace qp::word {

// Error numbers the engine raises (through qp::Raise), beyond qp::err.
namespace err {
constexpr std::int32_t kNoActiveDocument = 4248;   // no document is open
constexpr std::int32_t kNoSuchMember = 5941;       // a style or property that does not exist
constexpr std::int32_t kFileOpenFailed = 5792;     // the file is not a document the engine reads
constexpr std::int32_t kFileCorrupt = 5487;        // a document whose parts cannot be read
constexpr std::int32_t kEncrypted = 5408;          // a password-protected document
constexpr std::int32_t kConverterMissing = 5121;   // no converter for a .doc (LibreOffice missing)
constexpr std::int32_t kConverterFailed = 5122;    // the converter ran and made nothing
constexpr std::int32_t kConverterTimedOut = 5123;  // the converter was stopped at its time limit
constexpr std::int32_t kConverterUnconfined = 5124;  // no sandbox for the converter here
constexpr std::int32_t kSaveFailed = 5153;           // the export could not be written
}  // namespace err

constexpr int kFormatHtml = 8;  // SaveAs file format: Word HTML

// Word's font size where neither a style nor the document's defaults name
// one. (Japanese documents name theirs: 10.5 pt in the Normal style.)
constexpr float kDefaultFontSize = 10.0f;

struct Font {
  Text Name;
  Text NameFarEast;
  float Size = kDefaultFontSize;
};

struct WebOptions {
  bool UseLongFileNames = true;
  bool RelyOnCSS = true;
  bool OptimizeForBrowser = true;
  bool RelyOnVML = false;
  bool AllowPNG = false;
  std::int32_t Encoding = 932;
};

// Points.
struct PageSetup {
  float PageWidth = 595.3f;
  float LeftMargin = 85.05f;
  float RightMargin = 85.05f;
  float Gutter = 0;
};

class Document {
 public:
  virtual ~Document() = default;
  // Styles(name).Font. "標準" names the document's default paragraph style,
  // whatever its name in the file. Raises kNoSuchMember for an unknown style.
  virtual Font& StyleFont(TextView styleName) = 0;
  virtual WebOptions& GetWebOptions() = 0;
  // Writes the HTML file and its supporting-files folder STEM.files beside it.
  virtual void SaveAs(const std::filesystem::path& fileName, int fileFormat) = 0;
  // "Title", "Comments", "KeyWords"; empty when the document has none.
  virtual Text BuiltinDocumentProperty(TextView name) = 0;
  // Sections(index).PageSetup, index from 1.
  virtual PageSetup SectionPageSetup(int index) = 0;
  virtual void SetSaved(bool saved) = 0;
  virtual void Close() = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetScreenUpdating(bool updating) = 0;
  virtual void Quit() = 0;
  // Documents.Open; the opened document becomes the active one. The file is
  // only read, never written.
  virtual Document& Open(const std::filesystem::path& fileName, bool addToRecentFiles) = 0;
  // Raises kNoActiveDocument when no document is open.
  virtual Document& ActiveDocument() = 0;

  // What opening and saving have to tell the user (a picture left out, a
  // converter missing), leaving none behind. Not part of Word's model: the
  // run asks after each export, and the failure report before it shows.
  virtual std::vector<Text> TakeNotes() { return {}; }
};

// Attaches to the engine of another run of the program in progress (one that
// holds the run lock in `settingsFolder`). Raises qp::err::kCannotCreateObject
// (429) when there is none.
std::unique_ptr<Application> AttachRunningApplication(const std::filesystem::path& settingsFolder);

// Starts this process's engine, taking the run lock in `settingsFolder` for
// the engine's lifetime. Raises 429 when the lock is held by another run.
std::unique_ptr<Application> CreateApplication(const std::filesystem::path& settingsFolder);

}  // namespace qp::word
