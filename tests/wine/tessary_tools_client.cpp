// Tessary.hvExtract's outside tools under Wine, with archives whose member names hold the
// characters the command interpreter reads as its own (& | < > ^ % ! ( ) , ; =) and a blank.
// Each name goes through every tool branch (LHA, gzip, disk set, Lynx, WinZip via WinzipPath)
// with recording stand-ins on the PATH: the tool must get each path as exactly one argument,
// and "pwn.exe", which the names call for, must never start.
// argv[1]: the Windows path of the data folder run.sh filled.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "support/extract_client.h"

using namespace hv::wine;

namespace {

using Args = std::vector<std::string>;

// ---- zip archives, stored (no compression), written byte by byte -----------------------------

std::uint32_t Crc32(const std::string& data) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : data) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return ~crc;
}

void Le(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct Member {
  std::string name;
  std::string data;
};

std::string MakeZip(const std::vector<Member>& members) {
  std::string out, directory;
  for (const Member& m : members) {
    const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
    const std::uint32_t crc = Crc32(m.data);
    const auto size = static_cast<std::uint32_t>(m.data.size());
    const auto name_size = static_cast<std::uint32_t>(m.name.size());
    Le(out, 0x04034B50u, 4);
    Le(out, 20, 2);    // version needed
    Le(out, 0, 2);     // flags
    Le(out, 0, 2);     // stored
    Le(out, 0, 2);     // time
    Le(out, 0x21, 2);  // date: 1 January 1980
    Le(out, crc, 4);
    Le(out, size, 4);
    Le(out, size, 4);
    Le(out, name_size, 2);
    Le(out, 0, 2);  // extra field
    out += m.name + m.data;

    Le(directory, 0x02014B50u, 4);
    Le(directory, 20, 2);  // made by
    Le(directory, 20, 2);  // needed
    Le(directory, 0, 2);
    Le(directory, 0, 2);
    Le(directory, 0, 2);
    Le(directory, 0x21, 2);
    Le(directory, crc, 4);
    Le(directory, size, 4);
    Le(directory, size, 4);
    Le(directory, name_size, 2);
    Le(directory, 0, 2);  // extra
    Le(directory, 0, 2);  // comment
    Le(directory, 0, 2);  // disk
    Le(directory, 0, 2);  // internal attributes
    Le(directory, 0, 4);  // external attributes
    Le(directory, offset, 4);
    directory += m.name;
  }
  const auto directory_offset = static_cast<std::uint32_t>(out.size());
  out += directory;
  Le(out, 0x06054B50u, 4);
  Le(out, 0, 2);
  Le(out, 0, 2);
  Le(out, static_cast<std::uint32_t>(members.size()), 2);
  Le(out, static_cast<std::uint32_t>(members.size()), 2);
  Le(out, static_cast<std::uint32_t>(directory.size()), 4);
  Le(out, directory_offset, 4);
  Le(out, 0, 2);
  return out;
}

// ---- the stand-ins ---------------------------------------------------------------------------

std::string OwnFolder() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = self;
  return path.substr(0, path.find_last_of('\\') + 1);
}

std::string FileNamePart(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

// The recorded command lines of one stand-in folder, one per start.
std::vector<std::string> Calls(const std::string& folder) {
  std::vector<std::string> lines;
  const std::string text = ReadText(folder + "\\calls.log");
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();  // the log is a text file
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The arguments a program sees in `line`, split by the platform's own rule.
Args SplitByWindows(const std::string& line) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(W(line).c_str(), &count);
  Args args;
  for (int i = 0; wide && i < count; ++i) args.push_back(Narrow(wide[i]));
  if (wide) LocalFree(wide);
  return args;
}

// The stand-in tools in one folder, "pwn.exe" in another, both first on the PATH; the
// variable PWN holds what %PWN% or !PWN! would turn into a second command.
struct Bench {
  std::string tools;
  std::string pwn;
  std::string scratch;
  std::string old_path;
  bool ready = false;

  Bench() {
    const std::string standin = OwnFolder() + "standin_tool.exe";
    if (!HV_CHECK(FileThere(standin))) return;
    tools = FreshFolder("tools-names");
    pwn = FreshFolder("tools-pwn");
    scratch = Data("tools-scratch");
    for (const char* tool :
         {"lha.exe", "gunzip.exe", "zip2d64.exe", "starlynx.exe", "winzip32.exe"}) {
      CopyFileA(standin.c_str(), (tools + "\\" + tool).c_str(), FALSE);
    }
    CopyFileA(standin.c_str(), (pwn + "\\pwn.exe").c_str(), FALSE);
    char buffer[16384] = {};
    GetEnvironmentVariableA("PATH", buffer, sizeof buffer);
    old_path = buffer;
    SetEnvironmentVariableA("PATH", (tools + ";" + pwn + ";" + old_path).c_str());
    SetEnvironmentVariableA("PWN", "&pwn.exe&");
    ready = true;
  }
  ~Bench() {
    if (!ready) return;
    SetEnvironmentVariableA("PATH", old_path.c_str());
    SetEnvironmentVariableA("PWN", nullptr);
  }

  // The file-name part of the short form `name` gets in a folder of its own, as the oracle for
  // what Long2Short gives in the level folder (also after the tool removed the file).
  std::string ShortName(const std::string& name) const {
    const std::string folder = FreshFolder("tools-scratch");
    WriteText(folder + "\\" + name, "x");
    return FileNamePart(ShortPath(folder + "\\" + name));
  }
};

// What the zip branch writes for a member name: the characters no Windows name may hold become
// underscores and trailing blanks go.
std::string OnDisk(std::string name) {
  for (char& c : name) {
    if (c == '<' || c == '>' || c == '|') c = '_';
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name;
}

struct Branch {
  const char* label;
  std::string member;  // the member's name in the zip
  std::string data;
  bool winzip = false;
};

const char kHostile[] = "&|<>^%!(),;= ";

}  // namespace

HV_WINE_TEST(HostileNamesReachEveryToolAsOneArgument) {
  Bench bench;
  if (!bench.ready) return;
  const std::string winzip = bench.tools + "\\winzip32.exe";
  const std::string source = FreshFolder("tools-archives");
  const std::string work = Data("work-tools");
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");

  for (const char* c = kHostile; *c; ++c) {
    const std::string base = std::string("X") + *c + "PWN" + *c;
    const Branch branches[] = {
        {"lha", base + ".LHA", "one.prg=lha-made\n"},
        {"gzip", base + ".GZ", "packed game"},
        {"disk set", "1!" + base, "first side"},
        {"lynx", base + ".LNX", "lynxed.prg=lynx-made\n"},
        {"winzip", base + ".GZ", "plus.t64=winzip-made\n", true},
    };
    for (const Branch& b : branches) {
      const std::string what = std::string(b.label) + " '" + b.member + "'";
      const std::string zip = source + "\\case.zip";
      WriteText(zip, MakeZip({{b.member, b.data}}));
      const std::size_t calls_before = Calls(bench.tools).size();
      ExtractCall r = RunExtract(x, zip, work, "", "", {}, b.winzip ? winzip : "");

      const std::string n = OnDisk(b.member);
      const std::string short_n = bench.ShortName(n);
      const std::string p1 = work + "\\P1";
      const std::string short_p1 = ShortPath(p1);
      Args expected;
      std::string result;
      std::string content;
      if (std::string(b.label) == "lha") {
        expected = {"lha.exe", "e", "/m", short_p1 + "\\" + short_n, short_p1 + "\\P2\\"};
        result = "one.prg";
        content = "lha-made";
      } else if (std::string(b.label) == "gzip") {
        expected = {"gunzip.exe", "-f", "-q", short_p1 + "\\" + short_n};
        // The stand-in unpacks to the short name without ".gz": a loose file.
        result = short_n.substr(0, short_n.size() - 3) + ".prg";
        content = "packed game";
      } else if (std::string(b.label) == "disk set") {
        expected = {"Zip2D64.exe", short_n.substr(2), short_p1 + "\\P2\\zvTemp.d64"};
        result = n.substr(2) + ".d64";
        content = "disk set " + short_n.substr(2);
      } else if (std::string(b.label) == "lynx") {
        expected = {"starlynx.exe", "-x", short_p1 + "\\" + short_n, "/y",
                    short_p1 + "\\P2\\" + short_n.substr(0, short_n.size() - 4)};
        result = "lynxed.prg";
        content = "lynx-made";
      } else {
        expected = {winzip, "-e", p1 + "\\" + n, p1 + "\\P2"};
        result = "plus.t64";
        content = "winzip-made";
      }

      if (!HV_CHECK(r.found())) {
        std::printf("  %s: %s %ls\n", what.c_str(), r.fail_info.c_str(),
                    r.outcome.description.c_str());
      }
      HV_CHECK_EQ(r.filename, work + "\\ReZip\\" + result);
      HV_CHECK_EQ(ReadText(r.filename), content);
      const std::vector<std::string> calls = Calls(bench.tools);
      // Exactly one start of the tool, with exactly the classic arguments.
      if (HV_CHECK_EQ(calls.size(), calls_before + 1)) {
        if (!HV_CHECK_EQ(SplitByWindows(calls.back()), expected)) {
          std::printf("  %s: command line %s\n", what.c_str(), calls.back().c_str());
        }
      }
      // Nothing named inside the archive ran.
      if (!HV_CHECK(!FileThere(bench.pwn + "\\calls.log"))) {
        std::printf("  %s: pwn.exe started: %s\n", what.c_str(),
                    ReadText(bench.pwn + "\\calls.log").c_str());
        DeleteFileA((bench.pwn + "\\calls.log").c_str());
      }
    }
  }
}

// Where the line is safe, the tool sees the classic command line that followed ComSpecPrefix,
// character for character.
HV_WINE_TEST(PlainNamesKeepTheClassicCommandLines) {
  Bench bench;
  if (!bench.ready) return;
  const std::string source = FreshFolder("tools-plain");
  const std::string work = Data("work-tools-plain");
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  WriteText(source + "\\game.zip", MakeZip({{"GAME.LHA", "one.prg=lha-made\n"}}));
  ExtractCall r = RunExtract(x, source + "\\game.zip", work);
  HV_CHECK(r.found());
  const std::string p1 = ShortPath(work + "\\P1");
  HV_CHECK_EQ(Calls(bench.tools),
              (std::vector<std::string>{"lha.exe e /m " + p1 + "\\GAME.LHA " + p1 + "\\P2\\"}));
}

// A member named like the tool lands in the folder the tool runs in; it is not the tool.
HV_WINE_TEST(AnArchivesOwnToolNeverRuns) {
  Bench bench;
  if (!bench.ready) return;
  const std::string source = FreshFolder("tools-own");
  const std::string work = Data("work-tools-own");
  const std::string standin = ReadText(OwnFolder() + "standin_tool.exe");
  WriteText(
      source + "\\own.zip",
      MakeZip({{"lha.exe", standin}, {"game.lha", "one.prg=lha-made\n"}, {"gunzip.exe", standin}}));
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  ExtractCall r = RunExtract(x, source + "\\own.zip", work);
  HV_CHECK(r.found());
  HV_CHECK_EQ(ReadText(r.filename), "lha-made");
  // The member would have written its own log beside itself.
  HV_CHECK(FileThere(work + "\\P1\\lha.exe"));
  HV_CHECK(!FileThere(work + "\\P1\\calls.log"));
  HV_CHECK_EQ(Calls(bench.tools).size(), 1u);
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "tessary_tools_client");
}
