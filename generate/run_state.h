// The state of one program run: the shell's folders and names, the options,
// the Word engine, and the page record. Passed by reference; no globals.
#pragma once

#include <cstdint>
#include <memory>

#include "generate/word/word_app.h"
#include "revise/state.h"
#include "text/ustring.h"

namespace qp::gen {

struct Options {
  std::uint8_t SetCt = 0;
  std::uint8_t SetPW = 0;
  std::uint8_t LGrid = 1;
  std::uint8_t Prevw = 1;
  std::uint8_t Encod = 0;
  std::uint8_t AddSS = 0;
};

// What the run needs from the user interface; the shell implements it (a
// message box with a display, standard error without one).
class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Srv_Dsp_Msg: shows `text` ("|" is a line break) and returns the button
  // code (1 OK, 2 Cancel, ... 7 No).
  virtual int Srv_Dsp_Msg(TextView text, int iconKind, int buttons, int defaultButton) = 0;
  // Lets pending window messages run once (the guide window repaints).
  virtual void LetMessagesRun() = 0;
  virtual void SetWaitCursor(bool wait) = 0;
  // Something the engine tells about the page (a picture left out, a
  // drawing put in as a placeholder). The shell shows the run's notes
  // together in one message at the end of the run.
  virtual void Note(TextView note) = 0;
};

// How the run reaches the Word engine; tests put their own in its place.
class WordEngine {
 public:
  virtual ~WordEngine() = default;
  virtual std::unique_ptr<word::Application> Attach(const Text& settingsFolder) = 0;
  virtual std::unique_ptr<word::Application> Create(const Text& settingsFolder) = 0;
};

struct RunState {
  // Start-up and dispatch
  Text ProgramFolder;
  Text SettingsFolder;
  Text CommandLine;
  Text DocPath;
  Text DocFileName;
  Text PageName;
  Options Opt;

  // The Word engine of the run
  std::unique_ptr<word::Application> WordApp;
  std::int32_t WordStartError = 0;

  // Page assembly
  Text OutputFolder;  // ends with "/"
  Text WorkFolder;    // ends with "/"
  revise::PageInfoRecord PageInfo;

  UserInterface* Ui = nullptr;
  WordEngine* Engine = nullptr;
};

}  // namespace qp::gen
