#include "app/start_up.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/dispatch.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/shell.h"
#include "generate/folders.h"
#include "text/codec.h"

namespace qp::app {

namespace fs = std::filesystem;

Text ProcessProgramFolder() {
  const fs::path self = fs::read_symlink("/proc/self/exe");
  // The desktop program lives apart from the command (with the programs a
  // user does not call), yet both share one settings file and help page.
  if (self.filename() == QP_DESKTOP_PROGRAM_NAME) {
    return FromPath((self.parent_path() / QP_COMMAND_FOLDER_FROM_DESKTOP).lexically_normal());
  }
  return FromPath(self.parent_path());
}

Text SettingsFolderFor(TextView programFolder, TextView configHome) {
  if (InStr(programFolder, kDevelopmentMarker) > 0) return Text(programFolder);
  return Text(configHome) + kSettingsSubfolder;
}

bool PrepareSettingsFile(TextView folder, bool mayCreateFolder) {
  std::error_code ec;
  const fs::path dir = ToPath(folder);
  if (mayCreateFolder) fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir, ec)) return false;
  const fs::path file = dir / "Control.ini";
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) return ::close(fd) == 0;
  return errno == EEXIST;
}

Text CommandLineText(int argc, char** argv) {
  Text line;
  // Two arguments of which only the second holds a space would otherwise
  // read as one path with spaces in it.
  const bool several = argc > 2;
  for (int i = 1; i < argc; ++i) {
    const Text argument = Utf8ToText(argv[i]);
    if (i > 1) line += u' ';
    if (several || argument.empty() || argument.find(u' ') != Text::npos) {
      line += u'"' + argument + u'"';
    } else {
      line += argument;
    }
  }
  return line;
}

bool ArgumentHasQuote(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strchr(argv[i], '"') != nullptr) return true;
  }
  return false;
}

int DisposeArguments(gen::RunState& run, Desktop& desktop, int argc, char** argv) {
  run.CommandLine = CommandLineText(argc, argv);
  if (ArgumentHasQuote(argc, argv)) {
    Srv_Dsp_Msg(desktop, kQuoteInPathMessage, 3, 0, 0);
    return kExitRefused;
  }
  return DisposeDocument(run, desktop);
}

int Main(gen::RunState& run, Desktop& desktop, int argc, char** argv) {
  Trap trap("Mod_Main -> Main");
  try {
    trap.Step(2);
    run.ProgramFolder = ProcessProgramFolder();
    trap.Step(3);
    // Without a configuration folder there is nowhere to create the settings
    // folder: it would land at the root of the file system.
    const Text configHome = gen::Get_Spe_Fdr(gen::kFolderAppData);
    run.SettingsFolder = SettingsFolderFor(run.ProgramFolder, configHome);
    const bool developmentTree = run.SettingsFolder == run.ProgramFolder;
    trap.Step(4);
    // Nothing installs the settings folder on this platform, so start-up
    // creates it; only a failure to do so ends the run here.
    bool ready = false;
    IgnoreFailures([&] {
      ready = PrepareSettingsFile(run.SettingsFolder, developmentTree || !configHome.empty());
    });
    if (!ready) {
      Srv_Dsp_Msg(desktop, u"設定ファイルを作成できません。\r\n" + run.SettingsFolder, 3, 0, 0);
      return kExitRefused;
    }
    trap.Step(6);
    Get_Opt_Inf(run);
    trap.Step(7);
    run.CommandLine = CommandLineText(argc, argv);
    trap.Step(8);
    if (run.CommandLine.empty()) {
      desktop.RunSettingsWindow(run);
      return kExitDone;
    }
    return DisposeArguments(run, desktop, argc, argv);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::app
