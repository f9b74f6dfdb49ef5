#include "app/dispatch.h"

#include <sys/stat.h>

#include <optional>

#include "app/everyday_problems.h"
#include "app/messages.h"
#include "app/quietly.h"
#include "app/run_interface.h"
#include "app/shell.h"
#include "generate/folders.h"
#include "generate/generation.h"
#include "text/codec.h"

namespace qp::app {

namespace {

// What tells a file written by this run from one left by an earlier run.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  long long seconds = 0;
  long long nanoseconds = 0;
  off_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const Text& path) {
  struct stat st {};
  if (::stat(ToPath(path).c_str(), &st) != 0) return {};
  return {true, st.st_dev, st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_size};
}

// Two runs started at the same moment both find no engine at step 2, and
// the loser would fail later, halfway into its run. So the engine is started
// here, before any folder is touched: the run lock decides at once which run
// goes on. False when another run got the engine first; when the engine
// cannot start for another reason, the generation run tries again and says
// why.
bool TakeEngine(gen::RunState& run) {
  if (run.Engine == nullptr) return true;
  const std::int32_t error =
      IgnoreFailures([&] { run.WordApp = run.Engine->Create(run.SettingsFolder); });
  if (error == 0 && run.WordApp) return true;
  run.WordApp.reset();
  std::unique_ptr<word::Application> other;
  IgnoreFailures([&] { other = run.Engine->Attach(run.SettingsFolder); });
  return other == nullptr;
}

}  // namespace

const char16_t* DocumentRefusal(TextView commandLine) {
  const Pos q = InStr(commandLine, u"\"");
  const Pos s = InStr(commandLine, u" ");
  const Pos qs = InStr(commandLine, u"\" ");
  // An unquoted argument holds no space, and a closing quote followed by a
  // space means a second argument.
  if ((q == 0 && s >= 1) || qs >= 1) return kSeveralFilesMessage;
  const Text path = Replace(commandLine, u"\"", u"");
  const Pos d = InStrRev(path, u".");
  if (d == 0) return kNotWordMessage;
  // A last dot inside a folder name leaves a "/" in the extension.
  const Text x = Mid(path, d + 1);
  if (x != u"doc" && x != u"docx") return kNotWordMessage;
  return nullptr;
}

DocumentNames NamesOf(TextView commandLine) {
  DocumentNames names;
  names.DocPath = Replace(commandLine, u"\"", u"");
  names.DocFileName = Mid(names.DocPath, InStrRev(names.DocPath, u"/") + 1);
  const Pos dot = InStr(names.DocFileName, u".");
  names.PageName = dot == 0 ? names.DocFileName : Left(names.DocFileName, dot - 1);
  return names;
}

void AnnounceWrittenPage(Desktop& desktop, TextView pagePath) {
  if (desktop.AnnouncePage(pagePath)) return;
  Srv_Dsp_Msg(desktop, u"ページ（htmlファイル）を作成しました。    |" + Text(pagePath), 4, 0, 0);
}

int DisposeDocument(gen::RunState& run, Desktop& desktop) {
  Trap trap("Mod_Main -> Generate_Dispose");
  // Steps 1 and 2 ignore failures: no run holding the engine is the normal case.
  trap.Step(2);
  run.WordApp.reset();
  IgnoreFailures([&] {
    if (run.Engine != nullptr) run.WordApp = run.Engine->Attach(run.SettingsFolder);
  });

  // Steps 3 to 9 have no trap of their own: a failure there is reported by
  // Main's.
  if (run.WordApp) {
    run.WordApp.reset();
    Srv_Dsp_Msg(desktop, kWordRunningMessage, 3, 0, 0);
    return kExitRefused;
  }
  if (const char16_t* refusal = DocumentRefusal(run.CommandLine)) {
    Srv_Dsp_Msg(desktop, refusal, 3, 0, 0);
    return kExitRefused;
  }
  if (!TakeEngine(run)) {
    Srv_Dsp_Msg(desktop, kWordRunningMessage, 3, 0, 0);
    return kExitRefused;
  }
  DocumentNames names = NamesOf(run.CommandLine);
  run.CommandLine = names.DocPath;
  run.DocPath = std::move(names.DocPath);
  run.DocFileName = std::move(names.DocFileName);
  run.PageName = std::move(names.PageName);

  // The run's messages and cursor go through this desktop for its length.
  RunInterface ui(run, desktop);
  desktop.ShowGuideWindow();
  desktop.SetWaitCursor(true);
  const Text expectedPage = gen::Get_Spe_Fdr(gen::kFolderDesktop) + u"/" + run.PageName + u".htm";
  const FileStamp before = StampOf(expectedPage);
  std::optional<Text> problem;
  try {
    gen::Generate_Page(run);
  } catch (const Failure& failure) {
    problem = EverydayProblemMessage(failure, run);
    if (!problem) throw;
  }

  // Step 10: Word is let go whatever state it is in.
  if (run.WordApp) Quietly([&] { run.WordApp->Quit(); });
  Quietly([&] { run.WordApp.reset(); });

  if (problem) {
    // One message says what went wrong and what to do; what the engine
    // noted on the way (the converter it missed) is in it already.
    desktop.UnloadGuideWindow();
    desktop.SetWaitCursor(false);
    Srv_Dsp_Msg(desktop, *problem, 3, 0, 0);
    return kExitRefused;
  }

  try {
    trap.Step(11);
    desktop.UnloadGuideWindow();
    desktop.SetWaitCursor(false);
    // What the page lacks, told once the guide is gone.
    ui.ShowNotes();
  } catch (...) {
    trap.Fail();
  }
  if (run.OutputFolder.empty()) return kExitRefused;
  const Text page = run.OutputFolder + run.PageName + u".htm";
  const FileStamp after = StampOf(page);
  const bool written = after.exists && (page != expectedPage || after != before);
  if (written && run.Opt.Prevw != 1) AnnounceWrittenPage(desktop, page);
  return written ? kExitDone : kExitRefused;
}

void Generate_Dispose(gen::RunState& run, Desktop& desktop) {
  DisposeDocument(run, desktop);
}

}  // namespace qp::app
