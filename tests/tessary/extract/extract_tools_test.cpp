// The outside tools, run as stand-ins on the PATH with the Debian tools behind them: the
// arguments they receive, what they leave, and the texts when a tool is missing.

#include <gtest/gtest.h>

#include <cstdint>

#include "common/cmdline.h"

#include "extract_fixture.h"
#include "platform/recording_process.h"
#include "support/bytes.h"
#include "support/tools.h"

namespace hv::tessary::test {
namespace {

using hv::test::Run;
using hv::test::ToolPath;

class ExtractToolsTest : public ExtractTest {};

// A stored-method LHA archive (level-0 headers), as lha would write it.
fs::path Lha(ExtractTest& t, const std::string& name,
             const std::vector<std::pair<std::string, std::string>>& files) {
  auto crc16 = [](const std::string& d) {
    std::uint16_t c = 0;
    for (unsigned char b : d) {
      c ^= b;
      for (int i = 0; i < 8; ++i)
        c = (c & 1) ? static_cast<std::uint16_t>((c >> 1) ^ 0xA001) : c >> 1;
    }
    return c;
  };
  auto le = [](std::string& s, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  std::string out;
  for (const auto& [file, data] : files) {
    std::string body = "-lh0-";
    le(body, static_cast<std::uint32_t>(data.size()), 4);
    le(body, static_cast<std::uint32_t>(data.size()), 4);
    le(body, 0x5A210000u, 4);
    body += '\x20';
    body += '\0';
    body += static_cast<char>(file.size());
    body += file;
    le(body, crc16(data), 2);
    unsigned sum = 0;
    for (unsigned char b : body) sum += b;
    out += static_cast<char>(body.size());
    out += static_cast<char>(sum & 0xFF);
    out += body + data;
  }
  out += '\0';
  return t.Store(name, out);
}

TEST_F(ExtractToolsTest, MissingToolsAreNamed) {
  const auto fail = [this](const fs::path& stored) { return Extract(stored).fail; };
  EXPECT_EQ(fail(Store("g.lha", "x")),
            "To extract this File you need to put the file LHA.EXE into a folder on the PATH "
            "environment variable.");
  EXPECT_EQ(fail(Store("g.gz", "x")),
            "To extract this File you need to put the file GUNZIP.EXE into a folder on the PATH "
            "environment variable.  You can also use Winzip to extract these files if you set "
            "it's path in 'Options...'.");
  EXPECT_EQ(fail(Store("1!game", "x")),
            "To extract this File you need to put the file ZIP2D64.EXE into a folder on the PATH "
            "environment variable.");
  EXPECT_EQ(fail(Store("g.lnx", "x")),
            "To extract this File you need to put the file STARLYNX.EXE into a folder on the "
            "PATH environment variable.");
  EXPECT_TRUE(ToolLog().empty());
}

TEST_F(ExtractToolsTest, LhaUnpacksIntoTheLevelFolder) {
  HV_REQUIRE_TOOL(ToolPath(HV_LHA_TOOL));
  AllStandIns();
  const fs::path lha =
      Lha(*this, "game.lha", {{"game.d64", std::string(174848, 'D')}, {"info.txt", "hello"}});
  const Outcome o = Extract(lha);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/game.d64"));
  EXPECT_TRUE(fs::exists(work() / "ReZip" / "info.txt"));
  EXPECT_EQ(ToolLog(),
            (std::vector<std::string>{"lha.exe|e|/m|" + W("game.lha") + "|" + W("P1") + "/"}));
}

TEST_F(ExtractToolsTest, GunzipUnpacksTheFirstAndDeletesEveryGz) {
  HV_REQUIRE_TOOL(ToolPath(HV_GZIP_TOOL));
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  AllStandIns();
  const fs::path a = Store("a.d64", std::string(5000, 'a'));
  const fs::path b = Store("b.t64", std::string(5000, 'b'));
  ASSERT_EQ(hv::test::Run(ToolPath(HV_GZIP_TOOL), {"-q", a.string(), b.string()}).exit_code, 0);
  const Outcome o = Extract(Zip("gz.zip", {store / "a.d64.gz", store / "b.t64.gz"}));
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/a.d64"));
  EXPECT_EQ(ToolLog(), (std::vector<std::string>{"gunzip.exe|-f|-q|" + W("P1") + "/a.d64.gz"}));
  EXPECT_FALSE(fs::exists(work() / "P1" / "b.t64.gz"));
  EXPECT_FALSE(fs::exists(work() / "ReZip" / "b.t64"));
}

TEST_F(ExtractToolsTest, PlusInGzNameNeedsWinZipAndWinZipMakesItIrrelevant) {
  HV_REQUIRE_TOOL(ToolPath(HV_GZIP_TOOL));
  AllStandIns();
  const fs::path d64 = Store("game+1.d64", std::string(3000, 'g'));
  ASSERT_EQ(hv::test::Run(ToolPath(HV_GZIP_TOOL), {"-q", d64.string()}).exit_code, 0);
  const fs::path gz = store / "game+1.d64.gz";

  Outcome o = Extract(gz, "", 0, (tmp / "no-winzip.exe").string());
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail,
            "To extract this File you need to set your WINZIP path in 'Options...'.  This is "
            "needed because GUNZIP.EXE cannot extract files with '+' in the archived filename.");
  EXPECT_TRUE(ToolLog().empty());

  // WinZip F\N S: unpack into S, leave the archive where it is.
  StandIn("winzip32.exe",
          "n=$(basename \"$2\" .gz); exec '" + ToolPath(HV_GZIP_TOOL) + "' -dc \"$2\" > \"$3/$n\"");
  o = Extract(gz, "", 0, (bin / "winzip32.exe").string());
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/game+1.d64"));
  EXPECT_TRUE(fs::exists(work() / "game+1.d64.gz"));
  EXPECT_EQ(ToolLog(),
            (std::vector<std::string>{"winzip32.exe|-e|" + W("game+1.d64.gz") + "|" + W("P1")}));
}

TEST_F(ExtractToolsTest, DiskSetsAreJoinedOneImagePerBaseName) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  HV_REQUIRE_TOOL(ToolPath(HV_DISK2ZIP_TOOL));
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP2DISK_TOOL));
  AllStandIns();
  const fs::path d64 = D64("source.d64");
  std::vector<fs::path> parts;
  for (const char* base : {"alpha", "beta"}) {
    ASSERT_EQ(
        hv::test::Run(ToolPath(HV_DISK2ZIP_TOOL), {d64.string(), base}, store.string()).exit_code,
        0);
    for (int i = 1; i <= 4; ++i) parts.push_back(store / (std::to_string(i) + "!" + base));
  }
  chooser.answers = {"beta.d64"};
  const Outcome o = Extract(Zip("set.zip", parts));
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(chooser.offered.at(0), (std::vector<std::string>{"alpha.d64", "beta.d64"}));
  EXPECT_EQ(o.file, W("ReZip/beta.d64"));
  EXPECT_EQ(hv::test::ReadFile(o.file), hv::test::ReadFile(d64));
  // "Zip2D64.exe" on the command line finds zip2d64.exe, as Windows would.
  EXPECT_EQ(ToolLog(),
            (std::vector<std::string>{"zip2d64.exe|alpha|" + W("P1/P2") + "/zvTemp.d64",
                                      "zip2d64.exe|beta|" + W("P1/P2") + "/zvTemp.d64"}));
}

TEST_F(ExtractToolsTest, LynxArchivesUnpackIntoTheLevelFolder) {
  HV_REQUIRE_TOOL(hv::test::ToolPath(HV_CBMCONVERT));
  AllStandIns();
  const fs::path lnx = store / "game.lnx";
  const auto r = hv::test::Run(
      ToolPath(HV_CBMCONVERT),
      {"-v0", "-L", lnx.string(), "-n", std::string(HV_SOURCE_DIR) + "/samples/hello.prg"},
      store.string());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Outcome o = Extract(lnx);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/hello.prg"));
  EXPECT_EQ(ToolLog(), (std::vector<std::string>{"starlynx.exe|-x|" + W("game.lnx") + "|/y|" +
                                                 W("P1") + "/game"}));
}

TEST_F(ExtractToolsTest, BlanksInTheWorkFolderSurviveTheCommandLine) {
  HV_REQUIRE_TOOL(ToolPath(HV_LHA_TOOL));
  AllStandIns();
  const fs::path lha = Lha(*this, "my game.lha", {{"game.prg", "\x01\x08"}});
  std::string file, fail;
  const fs::path spaced = tmp / "work dir";
  ASSERT_TRUE(extract->Extract("", lha.string(), "", spaced.string(), file, fail, "", "")) << fail;
  EXPECT_EQ(file, (spaced / "ReZip" / "game.prg").string());
  EXPECT_EQ(ToolLog(),
            (std::vector<std::string>{"lha.exe|e|/m|" + (spaced / "my game.lha").string() + "|" +
                                      (spaced / "P1").string() + "/"}));
}

// The exact lines, with an interpreter configured as on Windows: the classic line without the
// interpreter in front, the tool found by its name and each piece one argument.
TEST_F(ExtractToolsTest, ToolsStartWithoutTheInterpreter) {
  AllStandIns();
  platform::RecordingToolProcessService tools;
  tools.act = [this](const std::string&) {
    hv::test::WriteFile(work() / "P1" / "out.d64", std::string("d"));
  };
  ExtractServices services;
  services.tools = &tools;
  services.command_interpreter = [] { return std::string("/bin/sh"); };
  Rebuild(services);
  EXPECT_EQ(extract->ComSpecPrefix(), "/bin/sh /c ");
  using Args = std::vector<std::string>;

  Outcome o = Extract(Store("game.lzh", "x"));
  ASSERT_TRUE(o.ok) << o.fail;
  ASSERT_EQ(tools.runs.size(), 1u);
  EXPECT_EQ(tools.runs[0].command_line, "lha.exe e /m " + W("game.lzh") + " " + W("P1") + "/");
  EXPECT_EQ(tools.runs[0].program, "lha.exe");
  EXPECT_EQ(tools.runs[0].arguments, (Args{"e", "/m", W("game.lzh"), W("P1") + "/"}));
  EXPECT_EQ(tools.runs[0].window_style, 0);

  tools.runs.clear();
  o = Extract(Store("game.gz", "x"));
  ASSERT_EQ(tools.runs.size(), 1u);
  EXPECT_EQ(tools.runs[0].command_line, "gunzip.exe -f -q " + W("game.gz"));
  EXPECT_EQ(tools.runs[0].arguments, (Args{"-f", "-q", W("game.gz")}));

  tools.runs.clear();
  const std::string winzip = (bin / "gunzip.exe").string();  // any existing file
  o = Extract(Store("game.gz", "x"), "", 0, winzip);
  ASSERT_EQ(tools.runs.size(), 1u);
  EXPECT_EQ(tools.runs[0].command_line,
            "\"" + winzip + "\" -e \"" + W("game.gz") + "\" \"" + W("P1") + "\"");
  EXPECT_EQ(tools.runs[0].program, winzip);
  EXPECT_EQ(tools.runs[0].arguments, (Args{"-e", W("game.gz"), W("P1")}));
  EXPECT_EQ(tools.runs[0].window_style, 6);

  tools.runs.clear();
  o = Extract(Store("1!set", "x"));
  ASSERT_EQ(tools.runs.size(), 1u);
  EXPECT_EQ(tools.runs[0].command_line, "Zip2D64.exe set " + W("P1") + "/zvTemp.d64");
  EXPECT_EQ(tools.runs[0].arguments, (Args{"set", W("P1") + "/zvTemp.d64"}));

  tools.runs.clear();
  o = Extract(Store("arc.lnx", "x"));
  ASSERT_EQ(tools.runs.size(), 1u);
  EXPECT_EQ(tools.runs[0].command_line,
            "starlynx.exe -x " + W("arc.lnx") + " /y " + W("P1") + "/arc");
  EXPECT_EQ(tools.runs[0].arguments, (Args{"-x", W("arc.lnx"), "/y", W("P1") + "/arc"}));
}

// The characters cmd.exe reads as its own, and a blank, in the names of the archives each
// branch hands its tool: every path is one argument, as it is, and the command line splits back
// into exactly the program and those arguments.
TEST_F(ExtractToolsTest, NoCharacterOfANameChangesTheCommand) {
  AllStandIns();
  StandIn("winzip32.exe", "exit 0");
  const std::string winzip = (bin / "winzip32.exe").string();
  platform::RecordingToolProcessService tools;
  ExtractServices services;
  services.tools = &tools;
  services.command_interpreter = [] { return std::string("/bin/sh"); };
  Rebuild(services);
  using Args = std::vector<std::string>;
  const std::string hostile = "&|<>^%!(),;= \"";
  for (const char c : hostile) {
    const std::string base = std::string("X") + c + "PWN" + c + "%PATH%";
    SCOPED_TRACE("name " + base);
    struct Case {
      std::string stored;
      std::string winzip;
      std::string program;
      Args arguments;
    };
    const Case cases[] = {
        {base + ".lha", "", "lha.exe", {"e", "/m", W(base + ".lha"), W("P1") + "/"}},
        {base + ".gz", "", "gunzip.exe", {"-f", "-q", W(base + ".gz")}},
        {base + ".gz", winzip, winzip, {"-e", W(base + ".gz"), W("P1")}},
        {"1!" + base, "", "Zip2D64.exe", {base, W("P1") + "/zvTemp.d64"}},
        {base + ".lnx", "", "starlynx.exe", {"-x", W(base + ".lnx"), "/y", W("P1") + "/" + base}},
    };
    for (const Case& k : cases) {
      tools.runs.clear();
      fs::remove_all(store);
      Extract(Store(k.stored, "x"), "", 0, k.winzip);
      ASSERT_EQ(tools.runs.size(), 1u) << k.stored;
      EXPECT_EQ(tools.runs[0].program, k.program);
      EXPECT_EQ(tools.runs[0].arguments, k.arguments);
      Args split = SplitCommandLine(tools.runs[0].command_line);
      Args expected = k.arguments;
      expected.insert(expected.begin(), k.program);
      EXPECT_EQ(split, expected) << tools.runs[0].command_line;
    }
  }
}

// The same through the real tool service and the stand-ins: the name arrives whole and nothing
// named inside it runs.
TEST_F(ExtractToolsTest, AHostileNameReachesTheRealToolWhole) {
  AllStandIns();
  const fs::path marker = tmp / "pwned";
  for (const char* name : {"PWN", "pwn", "PWN.exe", "pwn.exe"}) {
    StandIn(name, "touch '" + marker.string() + "'");
  }
  StandIn("lha.exe", "printf '%s\\n' \"$#\" \"$3\" \"$4\" > '" + (tmp / "argv").string() + "'");
  const std::string name = "X&PWN&;(a b)^%PATH%!PWN!=,.lha";
  Extract(Store(name, "x"));
  EXPECT_FALSE(fs::exists(marker));
  const hv::test::Bytes argv = hv::test::ReadFile(tmp / "argv");
  EXPECT_EQ(std::string(argv.begin(), argv.end()), "4\n" + W(name) + "\n" + W("P1") + "/\n");
}

}  // namespace
}  // namespace hv::tessary::test
