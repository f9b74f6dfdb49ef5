#include "app/program.h"

#include <cstdio>
#include <string_view>

#include "app/catalogue.h"
#include "app/shell.h"
#include "app/usage.h"
#include "text/codec.h"

namespace qp::app {

int RunInformationOption(int argc, char** argv) {
  if (argc != 2) return -1;
  const std::string_view option = argv[1];
  if (option == "--help" || option == "-h") {
    std::fputs(TextToUtf8(UserCatalogue().Translate(Utf8ToText(HelpText()))).c_str(), stdout);
  } else if (option == "--version") {
    std::printf("quillpage %s\n", VersionText().c_str());
  } else {
    return -1;
  }
  std::fflush(stdout);
  return kExitDone;
}

int RunProgram(int argc, char** argv, gen::WordEngine& engine,
               const std::function<std::unique_ptr<Desktop>()>& makeDesktop) {
  if (const int status = RunInformationOption(argc, argv); status >= 0) return status;
  const std::unique_ptr<Desktop> desktop = makeDesktop();
  gen::RunState run;
  run.Engine = &engine;
  try {
    return Main(run, *desktop, argc, argv);
  } catch (const Failure& failure) {
    Srv_Dsp_Err(failure, run, *desktop);
  } catch (...) {
    // Main's trap locates everything; this is the last guard.
    Srv_Dsp_Err(Failure("Mod_Main -> Main", 0, ErrorNumberOf(std::current_exception()), {}), run,
                *desktop);
  }
}

}  // namespace qp::app
