// The desktop without a display: messages (and the failure report) go to
// standard error, the settings window prints its usage texts and options to
// standard output, the other windows do nothing.
#pragma once

#include <cstdio>

#include "app/desktop.h"

namespace qp::app {

class ConsoleDesktop : public Desktop {
 public:
  ConsoleDesktop() = default;
  // For tests: where messages and the settings texts go.
  ConsoleDesktop(std::FILE* messages, std::FILE* usage) : messages_(messages), usage_(usage) {}

  // Prints the caption and the text (CR LF and "|" as line breaks) and
  // answers as if OK had been pressed.
  int MessageBox(TextView text, int style, TextView caption) override;
  void RunSettingsWindow(gen::RunState& run) override;
  void ShowGuideWindow() override {}
  void UnloadGuideWindow() override {}
  void LetMessagesRun() override {}
  void SetWaitCursor(bool) override {}

 private:
  std::FILE* messages_ = stderr;
  std::FILE* usage_ = stdout;
};

// The message as it is printed: caption line, then the text with its line
// breaks as LF, ending in one LF.
Text ConsoleMessage(TextView text, TextView caption);

}  // namespace qp::app
