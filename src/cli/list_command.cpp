#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/extract_run.h"
#include "cli/list_render.h"
#include "common/text.h"
#include "platform/file_ops.h"

namespace hv::cli {
namespace {

enum class Kind { kD64, kD71, kD81, kG64, kT64, kPrg, kP00, kArchive };

// The P00 header: signature, C64 name and two bytes before the data.
constexpr int kP00HeaderBytes = 26;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::optional<Kind> KindFromName(const std::string& name) {
  static const std::pair<const char*, Kind> kNames[] = {
      {"d64", Kind::kD64},     {"d71", Kind::kD71},     {"d81", Kind::kD81},
      {"g64", Kind::kG64},     {"t64", Kind::kT64},     {"prg", Kind::kPrg},
      {"zip", Kind::kArchive}, {"lha", Kind::kArchive}, {"lzh", Kind::kArchive},
      {"gz", Kind::kArchive},  {"lnx", Kind::kArchive}};
  const auto lower = Lower(name);
  for (const auto& [text, kind] : kNames) {
    if (lower == text) return kind;
  }
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
  std::vector<std::string> files;
  std::string type;
  bool json = false;
};

// What listing one file gave: the text or JSON for stdout, and messages for stderr.
struct Listing {
  int code = kExitOk;
  std::string text;
  Json json;
  std::vector<std::string> messages;
};

class Lister {
 public:
  Lister(std::string file, bool json)
      : file_(std::move(file)), core_(ArgToCoreText(file_)), json_(json) {}

  Listing Run(Kind kind) {
    switch (kind) {
      case Kind::kD64:
        Disk(tessary::DiskFormat::kD64);
        break;
      case Kind::kD71:
        Disk(tessary::DiskFormat::kD71);
        break;
      case Kind::kD81:
        Disk(tessary::DiskFormat::kD81);
        break;
      case Kind::kG64:
        Disk(tessary::DiskFormat::kG64);
        break;
      case Kind::kT64:
        Tape();
        break;
      case Kind::kPrg:
        Program();
        break;
      case Kind::kP00:
        Container();
        break;
      case Kind::kArchive:
        Archive();
        break;
    }
    return std::move(out_);
  }

 private:
  void Fail(const std::string& why) {
    out_.code = kExitFailed;
    out_.text.clear();
    out_.messages.push_back(why);
    if (json_) {
      out_.json["Load"] = false;
      out_.json["Error"] = why;
    }
  }

  void FailWith(const FailureReason& why) {
    Fail("Error " + std::to_string(why.number) + ": " + Cp1252ToUtf8(why.description));
  }

  void Disk(tessary::DiskFormat format) {
    static constexpr const char* kNames[] = {"D64", "D71", "D81", "G64"};
    tessary::DiskDirectory directory;
    try {
      directory = tessary::ReadDiskDirectoryFile(core_, format);
    } catch (const Error& e) {
      if (json_) out_.json = ListJson(tessary::hvD64(), false, nullptr);
      if (e.Number() == vberr::kInvalidFileFormat) {
        Fail(std::string("not a ") + kNames[static_cast<int>(format)] +
             " image: " + Cp1252ToUtf8(e.Description()));
      } else {
        FailWith({e.Number(), e.Description()});
      }
      return;
    }
    if (!json_) {
      out_.text = ListText(directory);
    } else if (format == tessary::DiskFormat::kD64) {
      // The reader's own properties, as the automation interface gives them.
      tessary::hvD64 d64;
      const bool loaded = d64.Load(core_);
      out_.json = ListJson(d64, loaded, &directory);
      if (!loaded) return FailWith(d64.LastFailure());
    } else {
      out_.json = ListJson(directory);
    }
    if (!directory.chain_problem.empty()) {
      out_.messages.push_back("warning: " + directory.chain_problem +
                              "; each sector is listed once");
      if (json_) out_.json["Warning"] = directory.chain_problem;
    }
  }

  void Tape() {
    tessary::hvT64 t64;
    const bool loaded = t64.Load(core_);
    const std::string first = loaded ? tessary::T64FirstRecordName(core_) : std::string();
    if (json_) out_.json = ListJson(t64, loaded);
    // A header was read when loading got past opening the file: its signature says first
    // whether this is a tape at all.
    const bool header_read = loaded || !t64.Signature().empty() || t64.EntriesCount() != 0;
    if (header_read && t64.Signature().rfind("C64", 0) != 0) {
      return Fail("not a T64 image: no C64 tape signature at its start");
    }
    if (!loaded) return FailWith(t64.LastFailure());
    if (!json_) out_.text = ListText(t64, first);
    if (!first.empty()) {
      const std::string note =
          "the header says no entry is used; VICE takes the first record, listed as entry 1";
      out_.messages.push_back("note: " + note);
      if (json_) {
        out_.json["Note"] = note;
        out_.json["FirstRecord"] = {{"C64Filename", Cp1252ToUtf8(first)}};
      }
    }
  }

  void Program() {
    tessary::hvPRG prg;
    const bool loaded = prg.Load(core_);
    const std::uint64_t bytes = loaded ? platform::FileLength(core_) : 0;
    if (json_) out_.json = ListJson(prg, loaded, bytes);
    if (!loaded) return FailWith(prg.LastFailure());
    if (bytes < 2) {
      return Fail("not a PRG file: it holds " + std::to_string(bytes) +
                  " bytes, fewer than its 2-byte load address");
    }
    if (!json_) out_.text = ListText(prg);
  }

  void Container() {
    tessary::hvP00 p00;
    const bool loaded = p00.Load(core_);
    const auto length = loaded ? static_cast<std::int64_t>(platform::FileLength(core_)) : 0;
    if (json_) out_.json = ListJson(p00, loaded, length - kP00HeaderBytes);
    if (!loaded) return FailWith(p00.LastFailure());
    // The reader accepts any length; a file without the whole header holds no container, and
    // its negative FileSize says nothing a user can use.
    if (length < kP00HeaderBytes) {
      return Fail("shorter than the " + std::to_string(kP00HeaderBytes) +
                  "-byte P00 header; not a P00 file");
    }
    if (p00.Signature() != "C64File") {
      return Fail("not a P00 file: no C64File signature at its start");
    }
    if (!json_) out_.text = ListText(p00);
  }

  // The game files the extraction finds in the archive, each listed as a file of its own kind
  // under its name in the archive. Unpacked into a temporary folder that goes afterwards.
  void Archive() {
    TempFolder temp;
    if (temp.path.empty()) return Fail("no temporary folder to unpack into");
    RecordingChooser offered;
    ExtractArgs a;
    a.command = "hv list";
    a.archive = file_;
    a.work = (temp.path / "work").string();
    const ExtractOutcome o = RunExtract(a, &offered);
    std::vector<std::filesystem::path> games;
    if (o.ok) {
      games.emplace_back(CoreTextToArg(o.file));
    } else {
      for (const std::string& name : offered.names) {
        if (auto found = FindUnder(temp.path, CoreTextToArg(name)); !found.empty()) {
          games.push_back(found);
        }
      }
    }
    if (games.empty()) {
      if (json_) out_.json = {{"Load", false}};
      return Fail(PeopleText(Cp1252ToUtf8(o.fail)));
    }
    Json entries = Json::array();
    for (const auto& game : games) {
      const std::string name = game.filename().string();
      const auto kind = KindFromPath(name);
      if (!kind || *kind == Kind::kArchive) continue;
      Listing inner = Lister(game.string(), json_).Run(*kind);
      out_.code = std::max(out_.code, inner.code);
      for (const std::string& m : inner.messages) out_.messages.push_back(name + ": " + m);
      if (json_) {
        Json item = {{"Filename", name}};
        item.update(inner.json);
        entries.push_back(std::move(item));
      } else if (!inner.text.empty()) {
        out_.text += (out_.text.empty() ? "" : "\n") + name + ":\n" + inner.text;
      }
    }
    if (json_) out_.json = {{"Load", out_.code == kExitOk}, {"GameFiles", std::move(entries)}};
  }

  struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
      namespace fs = std::filesystem;
      std::error_code ec;
      const fs::path base = fs::temp_directory_path(ec);
      std::random_device random;
      for (int i = 0; i < 16 && !ec; ++i) {
        const fs::path candidate = base / ("hv-list-" + std::to_string(random()));
        if (fs::create_directory(candidate, ec)) {
          path = candidate;
          return;
        }
      }
    }
    ~TempFolder() {
      std::error_code ec;
      if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
  };

  // Declines, keeping the names it was offered: all the game files of the level.
  struct RecordingChooser : platform::FileChooser {
    std::vector<std::string> names;
    std::string Choose(const std::vector<std::string>& offered, std::size_t) override {
      names = offered;
      return {};
    }
  };

  static std::filesystem::path FindUnder(const std::filesystem::path& root,
                                         const std::string& name) {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_regular_file(ec) && it->path().filename() == name) return it->path();
    }
    return {};
  }

  std::string file_;
  std::string core_;
  bool json_;
  Listing out_;
};

Listing ListOne(const std::string& file, const Options& options) {
  const auto kind = options.type.empty() ? KindFromPath(file) : KindFromName(options.type);
  if (!kind) {
    Listing usage;
    usage.code = kExitUsage;
    usage.messages.push_back(
        "cannot tell the type from the extension; use --type d64|d71|d81|g64|t64|prg|p00 "
        "(archives: .zip, .lha, .lzh, .gz, .lnx)");
    return usage;
  }
  return Lister(file, options.json).Run(*kind);
}

// Lists every file; the exit status is the worst of theirs. With several files each listing
// is headed by the file's name, and JSON is an array of the objects, each with its "File".
int RunList(const Options& options) {
  const bool several = options.files.size() > 1;
  int code = kExitOk;
  Json all = Json::array();
  bool first_text = true;
  UseBinaryStdout();
  for (const std::string& file : options.files) {
    Listing listing = ListOne(file, options);
    code = std::max(code, listing.code);
    if (options.json && !listing.json.is_null()) {
      if (!several) {
        WriteOut(JsonText(listing.json));
      } else {
        Json item = {{"File", file}};
        item.update(listing.json);
        all.push_back(std::move(item));
      }
    } else if (!listing.text.empty()) {
      if (several) {
        WriteOut((first_text ? "" : "\n") + file + ":\n");
        first_text = false;
      }
      WriteOut(listing.text);
    }
    for (const std::string& message : listing.messages) {
      PrintMessage("hv list", file + ": " + message);
    }
  }
  if (options.json && several) WriteOut(JsonText(all));
  return code;
}

}  // namespace

void RegisterList(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "list",
      "List disk directories (D64, D71, D81, G64), T64 tapes, PRG or P00 headers and the game "
      "files of archives as c1541 does, or as JSON (--json); the type comes from the extension "
      "or --type");
  static Options options;
  cmd->add_option("FILE", options.files, "The images or files to read")->required();
  cmd->add_option("--type", options.type,
                  "Read the files as this type instead of going by their extensions "
                  "(.d64, .d71, .d81, .g64, .t64, .prg, .p00 to .p09, any case)")
      ->check(CLI::IsMember({"d64", "d71", "d81", "g64", "t64", "prg", "p00"}, CLI::ignore_case));
  cmd->add_flag("--json", options.json,
                "Print one JSON object per file (an array of them for several files): \"Load\", "
                "the reader's properties as held (padding and NULs kept) in UTF-8, and numbers");
  cmd->footer(
      "JSON fields:\n"
      "  D64, D71, D81, G64: Load, DiskName, DiskID,\n"
      "       Entries [{Filename, FileSizeInBlocks, FileType, Blocks}], BlocksFree\n"
      "  T64: Load, Signature, Version, TapeImageName, EntriesCount, EntriesUsed,\n"
      "       Entries [{C64Filename}]\n"
      "  PRG: Load, FileSize, LoadAddress, SYSAddress, Bytes, Address\n"
      "  P00: Load, Signature, Filename, FileSize, Bytes\n"
      "  zip, lha, lzh, gz, lnx: Load, GameFiles [{Filename, ...the fields of its type}]\n"
      "A file that could not be read has \"Load\": false and \"Error\".\n"
      "Exit status: 0 every file listed, 1 a file could not be read (reason on stderr),\n"
      "2 usage error.\n");
  cmd->callback([] { ResultCode() = RunList(options); });
}

}  // namespace hv::cli
