// The desktop without a display: messages (and the failure report) go to
// standard error, the settings window prints its usage texts and options to
// standard output, the other windows do nothing.
#pragma once

#include <cstdio>
#include <utility>

#include "app/catalogue.h"
#include "app/desktop.h"

namespace qp::app {

class ConsoleDesktop : public Desktop {
 public:
  // Messages in the user's language.
  ConsoleDesktop() : catalogue_(UserCatalogue()) {}
  // For tests: where messages and the settings texts go, and in what words.
  ConsoleDesktop(std::FILE* messages, std::FILE* usage, Catalogue catalogue = {})
      : messages_(messages), usage_(usage), catalogue_(std::move(catalogue)) {}

  // Prints the caption and the text (CR LF and "|" as line breaks) and
  // answers as if OK had been pressed.
  int MessageBox(TextView text, int style, TextView caption) override;
  void RunSettingsWindow(gen::RunState& run) override;
  void ShowGuideWindow() override {}
  void UnloadGuideWindow() override {}
  void LetMessagesRun() override {}
  void SetWaitCursor(bool) override {}
  Text Translate(TextView text) const override { return catalogue_.Translate(text); }

 private:
  std::FILE* messages_ = stderr;
  std::FILE* usage_ = stdout;
  Catalogue catalogue_;
};

// The message as it is printed: caption line, then the text with its line
// breaks as LF, ending in one LF.
Text ConsoleMessage(TextView text, TextView caption);

}  // namespace qp::app
