// A desktop that records what the shell shows, and a Word engine whose
// answers a test chooses.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/desktop.h"
#include "generate/run_state.h"
#include "text/failure.h"

namespace qp::app::testing {

struct ShownMessage {
  Text text;
  int style;
  Text caption;
};

class RecordingDesktop : public Desktop {
 public:
  int MessageBox(TextView text, int style, TextView caption) override {
    messages.push_back({Text(text), style, Text(caption)});
    return 1;
  }
  void RunSettingsWindow(gen::RunState&) override { ++settingsWindows; }
  void ShowGuideWindow() override { events.push_back("guide shown"); }
  void UnloadGuideWindow() override { events.push_back("guide unloaded"); }
  void LetMessagesRun() override {}
  void SetWaitCursor(bool wait) override { events.push_back(wait ? "wait" : "arrow"); }

  std::vector<ShownMessage> messages;
  std::vector<std::string> events;
  int settingsWindows = 0;
};

// An engine instance that only counts; nothing else of it is used here.
class CountingWordApp : public word::Application {
 public:
  explicit CountingWordApp(int* quits) : quits_(quits) {}
  void SetVisible(bool) override {}
  void SetScreenUpdating(bool) override {}
  void Quit() override { ++*quits_; }
  word::Document& Open(const std::filesystem::path&, bool) override { Raise(5792); }
  word::Document& ActiveDocument() override { Raise(4248); }

 private:
  int* quits_;
};

// Attach finds another run when `otherRunHoldsEngine`; Create always fails
// as an engine that cannot start.
class ChosenEngine : public gen::WordEngine {
 public:
  std::unique_ptr<word::Application> Attach(const Text&) override {
    ++attaches;
    if (!otherRunHoldsEngine) Raise(err::kCannotCreateObject);
    return std::make_unique<CountingWordApp>(&quits);
  }
  std::unique_ptr<word::Application> Create(const Text&) override {
    Raise(err::kCannotCreateObject);
  }

  bool otherRunHoldsEngine = false;
  int attaches = 0;
  int quits = 0;
};

}  // namespace qp::app::testing
