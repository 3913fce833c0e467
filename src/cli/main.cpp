// hv: the command-line face of the Tessary and Halvane cores.

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/failure_texts.h"

namespace hv::cli {

int& ResultCode() {
  static int code = kExitOk;
  return code;
}

namespace {

// The first word that names no command where one is expected: CLI11 would only say that a
// subcommand is required. Returns the message, or "" when every command word is known.
std::string UnknownCommand(CLI::App& app, int argc, char** argv) {
  CLI::App* current = &app;
  std::string where = "hv";
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const auto subs = current->get_subcommands([](CLI::App*) { return true; });
    if (subs.empty() || word.empty() || word[0] == '-') return {};
    CLI::App* next = nullptr;
    std::vector<std::string> names;
    for (CLI::App* sub : subs) {
      if (sub->get_name().empty()) continue;                            // an option group
      if (!sub->get_group().empty()) names.push_back(sub->get_name());  // hidden ones unnamed
      if (next == nullptr && sub->check_name(word)) next = sub;
    }
    if (next == nullptr) return UnknownCommandText(where, word, names);
    current = next;
    where += " " + next->get_name();
  }
  return {};
}

struct Command {
  const char* name;
  void (*add)(CLI::App&);
};

// In the order `hv --help` lists them.
constexpr Command kCommands[] = {
    {"list", RegisterList},        {"reg", RegisterReg},   {"launch", RegisterLaunch},
    {"play-sid", RegisterPlaySid}, {"open", RegisterOpen}, {"config", RegisterConfig},
    {"sid", RegisterSid},          {"find", RegisterFind}, {"path", RegisterPath},
    {"extract", RegisterExtract},  {"db", RegisterDb},     {"play", RegisterPlay},
    {"cache", RegisterCache},
};

// Building a command's options costs thousands of allocations in all, most of hv's start-up:
// when the first word names a command, only that one is built, since nothing else can take
// part in parsing it. Help, an option first or an unknown word need them all.
void AddCommands(CLI::App& app, int argc, char** argv) {
  if (argc > 1) {
    for (const Command& c : kCommands) {
      if (std::strcmp(argv[1], c.name) == 0) {
        c.add(app);
        return;
      }
    }
  }
  for (const Command& c : kCommands) c.add(app);
}

}  // namespace

}  // namespace hv::cli

int main(int argc, char** argv) {
  using namespace hv::cli;
  CLI::App app{"hv - C64 game files: read images, extract archives, launch emulators"};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Print help for every command");
  app.set_version_flag("--version", "hv " HV_VERSION, "Print hv's version and exit");
  AddCommands(app, argc, argv);
  RegisterGenerate(app);
  if (const std::string unknown = UnknownCommand(app, argc, argv); !unknown.empty()) {
    std::fprintf(stderr, "%s\n", unknown.c_str());
    return kExitUsage;
  }
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
