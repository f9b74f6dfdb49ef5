#include "app/dropped_files.h"

#include "app/start_up.h"

namespace qp::app {

int DisposeDroppedFiles(const gen::RunState& shell, const gen::Options& options, Desktop& desktop,
                        const std::vector<std::string>& paths) {
  gen::RunState run;
  run.ProgramFolder = shell.ProgramFolder;
  run.SettingsFolder = shell.SettingsFolder;
  run.Engine = shell.Engine;
  run.Opt = options;
  // The arguments the launcher would have been given, after a program name.
  std::vector<char*> argv{const_cast<char*>("quillpage")};
  for (const std::string& path : paths) argv.push_back(const_cast<char*>(path.c_str()));
  argv.push_back(nullptr);
  return DisposeArguments(run, desktop, static_cast<int>(argv.size()) - 1, argv.data());
}

}  // namespace qp::app
