#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <type_traits>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/list_render.h"
#include "platform/file_ops.h"

namespace hv::cli {
namespace {

enum class Kind { kD64, kT64, kPrg, kP00 };

// The P00 header: signature, C64 name and two bytes before the data.
constexpr int kP00HeaderBytes = 26;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::optional<Kind> KindFromName(const std::string& name) {
  const auto lower = Lower(name);
  if (lower == "d64") return Kind::kD64;
  if (lower == "t64") return Kind::kT64;
  if (lower == "prg") return Kind::kPrg;
  if (lower.size() == 3 && lower[0] == 'p' && lower[1] == '0' && lower[2] >= '0' &&
      lower[2] <= '9') {
    return Kind::kP00;  // .p00 to .p09 are all containers
  }
  return std::nullopt;
}

std::optional<Kind> KindFromPath(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
  return KindFromName(path.substr(dot + 1));
}

struct Options {
  std::string file;
  std::string type;
  bool json = false;
};

// Loads with the reader of the kind and prints what it holds, whatever Load returned.
template <class Reader>
int ListWith(const Options& options) {
  Reader reader;
  const bool loaded = reader.Load(ArgToCoreText(options.file));
  UseBinaryStdout();
  WriteOut(options.json ? ListJson(reader, loaded) : ListText(reader));
  if constexpr (std::is_same_v<Reader, tessary::hvP00>) {
    // The reader accepts any length; a file without the whole header holds no container, and
    // its negative FileSize says nothing a user can use.
    if (loaded && platform::FileLength(ArgToCoreText(options.file)) < kP00HeaderBytes) {
      std::fprintf(stderr, "hv list: %s: shorter than the %d-byte P00 header; not a P00 file\n",
                   options.file.c_str(), kP00HeaderBytes);
      return kExitFailed;
    }
  }
  if (loaded) return kExitOk;
  const auto& why = reader.LastFailure();
  std::fprintf(stderr, "hv list: %s: Error %d: %s\n", options.file.c_str(), why.number,
               why.description.c_str());
  return kExitFailed;
}

int RunList(const Options& options) {
  const auto kind = options.type.empty() ? KindFromPath(options.file) : KindFromName(options.type);
  if (!kind) {
    std::fprintf(stderr,
                 "hv list: cannot tell the type of %s from its extension; use --type "
                 "d64|t64|prg|p00\n",
                 options.file.c_str());
    return kExitUsage;
  }
  switch (*kind) {
    case Kind::kD64:
      return ListWith<tessary::hvD64>(options);
    case Kind::kT64:
      return ListWith<tessary::hvT64>(options);
    case Kind::kPrg:
      return ListWith<tessary::hvPRG>(options);
    case Kind::kP00:
      return ListWith<tessary::hvP00>(options);
  }
  return kExitUsage;
}

}  // namespace

void RegisterList(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "list",
      "List a D64 or T64 directory or a PRG or P00 header, C64-style or as JSON (--json); "
      "the type comes from the extension or --type");
  static Options options;
  cmd->add_option("FILE", options.file, "The image or file to read")->required();
  cmd->add_option("--type", options.type,
                  "Read the file as this type instead of going by its extension "
                  "(.d64, .t64, .prg, .p00 to .p09, any case)")
      ->check(CLI::IsMember({"d64", "t64", "prg", "p00"}, CLI::ignore_case));
  cmd->add_flag("--json", options.json,
                "Print one JSON object: \"Load\" and the reader's properties, texts exactly "
                "as held (padding and NULs kept) in UTF-8");
  cmd->footer(
      "JSON fields:\n"
      "  D64: Load, DiskName, DiskID, Entries [{Filename, FileSizeInBlocks, FileType}]\n"
      "  T64: Load, Signature, Version, TapeImageName, EntriesCount, EntriesUsed,\n"
      "       Entries [{C64Filename}]\n"
      "  PRG: Load, FileSize, LoadAddress, SYSAddress\n"
      "  P00: Load, Signature, Filename, FileSize\n"
      "The properties are printed as they stand after loading, also when loading failed.\n"
      "Exit status: 0 loaded, 1 the file could not be read (reason on stderr), 2 usage error.\n");
  cmd->callback([] { ResultCode() = RunList(options); });
}

}  // namespace hv::cli
