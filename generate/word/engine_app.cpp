// The engine's application object, and the proxy a second run gets when it
// attaches to an engine that another run holds.
#include <memory>
#include <vector>

#include "generate/word/engine_document.h"
#include "generate/word/run_lock.h"
#include "generate/word/word_app.h"
#include "text/failure.h"

namespace qp::word {

namespace {

class EngineApplication : public Application {
 public:
  explicit EngineApplication(const std::filesystem::path& settingsFolder)
      : lock_(std::make_unique<RunLock>(settingsFolder)) {}

  void SetVisible(bool) override { CheckRunning(); }
  void SetScreenUpdating(bool) override { CheckRunning(); }
  void Quit() override {
    documents_.clear();
    active_ = nullptr;
    if (lock_) lock_->Release();
    lock_.reset();
  }
  Document& Open(const std::filesystem::path& fileName, bool) override {
    CheckRunning();
    auto doc = std::make_unique<EngineDocument>(LoadDocumentBytes(fileName, notes_));
    active_ = doc.get();
    documents_.push_back(std::move(doc));
    return *active_;
  }
  Document& ActiveDocument() override {
    CheckRunning();
    if (!active_ || active_->closed()) {
      Raise(word::err::kNoActiveDocument, T("No document is open."));
    }
    return *active_;
  }
  std::vector<Text> TakeNotes() override {
    for (const auto& doc : documents_) {
      for (Text& note : doc->notes().Take()) notes_.Add(std::move(note));
    }
    return notes_.Take();
  }

 private:
  void CheckRunning() const {
    if (!lock_) Raise(qp::err::kServerUnavailable, T("The engine has been quit."));
  }

  std::unique_ptr<RunLock> lock_;
  std::vector<std::unique_ptr<EngineDocument>> documents_;
  EngineDocument* active_ = nullptr;
  Notes notes_;
};

// Another run's engine, seen from this process: it cannot be driven from
// here, and quitting it is not this run's business.
class AttachedApplication : public Application {
 public:
  void SetVisible(bool) override { Gone(); }
  void SetScreenUpdating(bool) override { Gone(); }
  void Quit() override {}
  Document& Open(const std::filesystem::path&, bool) override { Gone(); }
  Document& ActiveDocument() override { Gone(); }

 private:
  [[noreturn]] static void Gone() {
    Raise(qp::err::kServerUnavailable, T("The engine belongs to another run."));
  }
};

}  // namespace

std::unique_ptr<Application> AttachRunningApplication(const std::filesystem::path& settingsFolder) {
  if (!RunLock::HeldElsewhere(settingsFolder)) {
    Raise(qp::err::kCannotCreateObject, T("No engine is running."));
  }
  return std::make_unique<AttachedApplication>();
}

std::unique_ptr<Application> CreateApplication(const std::filesystem::path& settingsFolder) {
  return std::make_unique<EngineApplication>(settingsFolder);
}

}  // namespace qp::word
