// The program's face: the windows and the message box. The Qt implementation
// lives in ui/; the console one (no display) in app/.
#pragma once

#include "generate/run_state.h"

namespace qp::app {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // A modal message: `text` with CR LF line breaks, the Windows message-box
  // style value (icon + buttons + default button), the caption. Returns the
  // button code (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
  virtual int MessageBox(TextView text, int style, TextView caption) = 0;
  // Frm_RefWd: shows the settings window and returns when it has been closed
  // (its closing saves the options).
  virtual void RunSettingsWindow(gen::RunState& run) = 0;
  // Frm_Guide: shown without waiting before the run, unloaded after it.
  virtual void ShowGuideWindow() = 0;
  virtual void UnloadGuideWindow() = 0;
  virtual void LetMessagesRun() = 0;
  virtual void SetWaitCursor(bool wait) = 0;
  // `text` in the user's language (app/catalogue.h); as it is by default.
  virtual Text Translate(TextView text) const { return Text(text); }
  // The page at `pagePath` was written and is not opened (Prevw off): a
  // desktop with a notification service says so. False when nothing could
  // say it (no notification server answers); the shell then shows a
  // message. A desktop without notifications (the console) stays silent.
  virtual bool AnnouncePage(TextView pagePath) {
    static_cast<void>(pagePath);
    return true;
  }
};

}  // namespace qp::app
