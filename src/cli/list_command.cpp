#include <cstdio>
#include <string>

#include "cli/commands.h"

namespace hv::cli {

void RegisterList(CLI::App& app) {
  auto* cmd = app.add_subcommand("list", "List a D64, T64, PRG or P00 file");
  static std::string file;
  cmd->add_option("FILE", file, "The image or file to read")->required();
  cmd->callback([] {
    std::fprintf(stderr, "hv list: not yet built\n");
    ResultCode() = kExitFailed;
  });
}

}  // namespace hv::cli
