#pragma once
// Each hv subcommand registers itself on the application; the registered callback sets the
// process exit code through the shared ExitCode.

#include <CLI/CLI.hpp>

namespace hv::cli {

// Exit codes every command uses: 0 success, 1 the operation reported failure, 2 usage.
enum ExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// Where a command's callback leaves its exit code.
int& ResultCode();

void RegisterList(CLI::App& app);
void RegisterReg(CLI::App& app);
void RegisterLaunch(CLI::App& app);
void RegisterPlaySid(CLI::App& app);
void RegisterOpen(CLI::App& app);
void RegisterConfig(CLI::App& app);
void RegisterSid(CLI::App& app);
void RegisterFind(CLI::App& app);
void RegisterPath(CLI::App& app);
void RegisterExtract(CLI::App& app);
void RegisterDb(CLI::App& app);
void RegisterPlay(CLI::App& app);
void RegisterCache(CLI::App& app);
// Completion scripts and the manual page from the commands registered before it.
void RegisterGenerate(CLI::App& app);

}  // namespace hv::cli
