// Stand-ins for the Word engine and the user interface: the fake document
// writes a given Word-HTML text and picture files when saved, and records
// what the run did to it.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "generate/run_state.h"
#include "generate/word/word_app.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen::testing {

// What the document holds and what the run did with it; shared between the
// test and the fakes the run owns.
struct FakeWordScript {
  // The document
  std::string html;  // code page 932 bytes written to the export
  std::vector<std::pair<std::string, std::string>> pictures;  // name, bytes
  bool picturesBeside = false;  // written beside the export, not in STEM.files
  bool saveWritesNothing = false;
  std::map<Text, Text> properties;
  word::PageSetup setup{595.3f, 85.05f, 85.05f, 0};
  word::Font normal{u"Century", u"ＭＳ 明朝", 10.5f};
  word::WebOptions ownOptions{false, false, true, true, false, 65001};
  std::vector<Text> notes;  // what the engine has to tell, taken by the run

  // What happened
  std::filesystem::path openedPath;
  bool openedAddToRecent = true;
  std::filesystem::path savedPath;
  int savedFormat = 0;
  Text fontNameAtSave;
  word::WebOptions optionsAtSave;
  bool savedFlag = false;
  bool closed = false;
  bool visible = true;
  bool screenUpdating = true;
  int quits = 0;
  int instances = 0;
};

class FakeDocument : public word::Document {
 public:
  explicit FakeDocument(FakeWordScript& script)
      : script_(script), normal_(script.normal), web_(script.ownOptions) {}

  word::Font& StyleFont(TextView styleName) override {
    if (styleName != u"標準") Raise(word::err::kNoSuchMember);
    return normal_;
  }
  word::WebOptions& GetWebOptions() override { return web_; }
  void SaveAs(const std::filesystem::path& fileName, int fileFormat) override {
    script_.savedPath = fileName;
    script_.savedFormat = fileFormat;
    script_.fontNameAtSave = normal_.Name;
    script_.optionsAtSave = web_;
    if (script_.saveWritesNothing) return;
    Write(fileName, script_.html);
    std::filesystem::path pictureFolder = fileName.parent_path();
    if (!script_.picturesBeside && !script_.pictures.empty()) {
      pictureFolder /= fileName.stem().string() + ".files";
      std::filesystem::create_directory(pictureFolder);
    }
    for (const auto& [name, bytes] : script_.pictures) Write(pictureFolder / name, bytes);
  }
  Text BuiltinDocumentProperty(TextView name) override {
    auto it = script_.properties.find(Text(name));
    return it == script_.properties.end() ? Text() : it->second;
  }
  word::PageSetup SectionPageSetup(int index) override {
    if (index != 1) Raise(err::kSubscriptOutOfRange);
    return script_.setup;
  }
  void SetSaved(bool saved) override { script_.savedFlag = saved; }
  void Close() override {
    script_.closed = true;
    // What the document kept after the run; the test compares with its own.
    script_.normal = normal_;
    script_.ownOptions = web_;
  }

 private:
  static void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  }
  FakeWordScript& script_;
  word::Font normal_;
  word::WebOptions web_;
};

class FakeApplication : public word::Application {
 public:
  explicit FakeApplication(FakeWordScript& script) : script_(script) { ++script_.instances; }
  void SetVisible(bool visible) override { script_.visible = visible; }
  void SetScreenUpdating(bool updating) override { script_.screenUpdating = updating; }
  void Quit() override { ++script_.quits; }
  word::Document& Open(const std::filesystem::path& fileName, bool addToRecentFiles) override {
    script_.openedPath = fileName;
    script_.openedAddToRecent = addToRecentFiles;
    doc_ = std::make_unique<FakeDocument>(script_);
    return *doc_;
  }
  word::Document& ActiveDocument() override {
    if (!doc_ || script_.closed) Raise(word::err::kNoActiveDocument);
    return *doc_;
  }
  std::vector<Text> TakeNotes() override { return std::exchange(script_.notes, {}); }

 private:
  FakeWordScript& script_;
  std::unique_ptr<FakeDocument> doc_;
};

// Attach answers with `attachError` (0: an engine), Create with `createError`.
class FakeEngine : public WordEngine {
 public:
  explicit FakeEngine(FakeWordScript& script) : script_(script) {}
  std::int32_t attachError = err::kCannotCreateObject;
  std::int32_t createError = 0;
  int attaches = 0;
  int creates = 0;

  std::unique_ptr<word::Application> Attach(const Text&) override {
    ++attaches;
    if (attachError != 0) Raise(attachError);
    return std::make_unique<FakeApplication>(script_);
  }
  std::unique_ptr<word::Application> Create(const Text&) override {
    ++creates;
    if (createError != 0) Raise(createError);
    return std::make_unique<FakeApplication>(script_);
  }

 private:
  FakeWordScript& script_;
};

struct ShownMessage {
  Text text;
  int icon;
};

class FakeUi : public UserInterface {
 public:
  std::vector<ShownMessage> messages;
  int messageTurns = 0;
  std::vector<bool> cursor;

  int Srv_Dsp_Msg(TextView text, int iconKind, int, int) override {
    messages.push_back({Text(text), iconKind});
    return 1;
  }
  void LetMessagesRun() override { ++messageTurns; }
  void SetWaitCursor(bool wait) override { cursor.push_back(wait); }
  void Note(TextView note) override { notes.emplace_back(note); }
  std::vector<Text> notes;
};

}  // namespace qp::gen::testing
