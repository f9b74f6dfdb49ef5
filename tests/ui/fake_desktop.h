// A desktop for window tests: message boxes are written to standard error
// (where death tests look for the failure report) and answered with OK.
#pragma once

#include <iostream>
#include <string>
#include <vector>

#include "app/desktop.h"
#include "text/codec.h"

namespace qp::ui::testing {

class FakeDesktop : public app::Desktop {
 public:
  int MessageBox(TextView text, int style, TextView caption) override {
    std::cerr << "[box " << style << "] " << TextToUtf8(caption) << ": " << TextToUtf8(text)
              << std::endl;
    ++boxes;
    texts.push_back(TextToUtf8(text));
    return 1;
  }
  void RunSettingsWindow(gen::RunState&) override {}
  void ShowGuideWindow() override { ++guidesShown; }
  void UnloadGuideWindow() override { ++guidesUnloaded; }
  void LetMessagesRun() override {}
  void SetWaitCursor(bool) override {}
  bool AnnouncePage(TextView pagePath) override {
    announced.push_back(TextToUtf8(pagePath));
    return true;
  }

  int boxes = 0;
  std::vector<std::string> texts;
  int guidesShown = 0;
  int guidesUnloaded = 0;
  std::vector<std::string> announced;
};

}  // namespace qp::ui::testing
