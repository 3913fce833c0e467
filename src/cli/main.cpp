// hv: the command-line face of the Tessary and Halvane cores.

#include <cstdio>
#include <exception>

#include "cli/commands.h"

namespace hv::cli {

int& ResultCode() {
  static int code = kExitOk;
  return code;
}

}  // namespace hv::cli

int main(int argc, char** argv) {
  using namespace hv::cli;
  CLI::App app{"hv - C64 game files: read images, extract archives, launch emulators"};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Print help for every command");
  RegisterList(app);
  RegisterReg(app);
  RegisterLaunch(app);
  RegisterPlaySid(app);
  RegisterOpen(app);
  RegisterFunctions(app);
  RegisterExtract(app);
  RegisterDb(app);
  RegisterPlay(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? kExitOk : kExitUsage;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "hv: %s\n", e.what());
    return kExitFailed;
  }
  return ResultCode();
}
