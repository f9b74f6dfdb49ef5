// A desktop for window tests: message boxes are written to standard error
// (where death tests look for the failure report) and answered with OK.
#pragma once

#include <iostream>
#include <string>

#include "app/desktop.h"
#include "text/codec.h"

namespace qp::ui::testing {

class FakeDesktop : public app::Desktop {
 public:
  int MessageBox(TextView text, int style, TextView caption) override {
    std::cerr << "[box " << style << "] " << TextToUtf8(caption) << ": " << TextToUtf8(text)
              << std::endl;
    ++boxes;
    return 1;
  }
  void RunSettingsWindow(gen::RunState&) override {}
  void ShowGuideWindow() override {}
  void UnloadGuideWindow() override {}
  void LetMessagesRun() override {}
  void SetWaitCursor(bool) override {}

  int boxes = 0;
};

}  // namespace qp::ui::testing
