// The outside tools, run as stand-ins on the PATH with the Debian tools behind them, the way
// Windows runs a tool that is found: the arguments they receive, what they leave, and the
// built-in unpackers taking over when a tool is missing.

#include <gtest/gtest.h>

#include <cstdint>

#include "common/cmdline.h"
#include "tessary/extract/extract_texts.h"

#include "extract_fixture.h"
#include "lha/lha_builder.h"
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
  std::vector<hv::test::LhaMember> members;
  for (const auto& [file, data] : files) {
    members.push_back({file, hv::test::Bytes(data.begin(), data.end())});
  }
  const fs::path out = t.store / name;
  hv::test::WriteFile(out, hv::test::BuildLha(members));
  return out;
}

// Without a tool of its name the built-in unpacker takes the archive; a damaged one ends in the
// failure report with the reader's reason instead of a request to install the tool.
TEST_F(ExtractToolsTest, AMissingToolLeavesTheArchiveToTheBuiltInUnpacker) {
  UseFoundTools();
  for (const char* name : {"g.lha", "g.gz", "1!game", "g.lnx"}) {
    const Outcome o = Extract(Store(name, "x"));
    EXPECT_FALSE(o.ok) << name;
    EXPECT_EQ(o.fail.rfind(texts::kErrorPrefix, 0), 0u) << name << ": " << o.fail;
    EXPECT_EQ(o.fail.find(".EXE"), std::string::npos) << o.fail;
  }
  // The same archive a stand-in would get, unpacked without it.
  const fs::path lha = Lha(*this, "game.lha", {{"game.d64", std::string(174848, 'D')}});
  const Outcome o = Extract(lha);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/game.d64"));
  EXPECT_TRUE(ToolLog().empty());
}

// A tool that only the archive brought along is never taken for the tool: the tool service
// does not look in the folder the archive was unpacked into.
TEST_F(ExtractToolsTest, AToolInTheArchiveFolderIsNotTheTool) {
  UseFoundTools();
  const fs::path marker = tmp / "ran";
  const fs::path lha = Lha(*this, "game.lha", {{"game.prg", "\x01\x08"}});
  const fs::path own = Store("lha.exe", "#!/bin/sh\ntouch '" + marker.string() + "'\n");
  fs::permissions(own, fs::perms::owner_all);
  const Outcome o = Extract(Zip("both.zip", {lha, own}));
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/game.prg"));
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(ExtractToolsTest, LhaUnpacksIntoTheLevelFolder) {
  HV_REQUIRE_TOOL(ToolPath(HV_LHA_TOOL));
  UseFoundTools();
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
  UseFoundTools();
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

// gunzip cannot take a '+' in the archived name: the built-in reader does, and with WinZip
// configured WinZip does.
TEST_F(ExtractToolsTest, PlusInGzNameGoesToTheBuiltInReaderOrToWinZip) {
  HV_REQUIRE_TOOL(ToolPath(HV_GZIP_TOOL));
  UseFoundTools();
  AllStandIns();
  const fs::path d64 = Store("game+1.d64", std::string(3000, 'g'));
  ASSERT_EQ(hv::test::Run(ToolPath(HV_GZIP_TOOL), {"-q", d64.string()}).exit_code, 0);
  const fs::path gz = store / "game+1.d64.gz";

  Outcome o = Extract(gz, "", 0, (tmp / "no-winzip.exe").string());
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/game+1.d64"));
  EXPECT_EQ(hv::test::ReadFile(o.file), hv::test::Bytes(3000, 'g'));
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
  UseFoundTools();
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
  UseFoundTools();
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
  UseFoundTools();
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
  UseFoundTools();
  AllStandIns();
  platform::RecordingToolProcessService tools;
  tools.act = [this](const std::string&) {
    hv::test::WriteFile(work() / "P1" / "out.d64", std::string("d"));
  };
  ExtractServices services;
  services.tools = &tools;
  services.run_found_tools = true;
  Rebuild(services);
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
  UseFoundTools();
  AllStandIns();
  StandIn("winzip32.exe", "exit 0");
  const std::string winzip = (bin / "winzip32.exe").string();
  platform::RecordingToolProcessService tools;
  ExtractServices services;
  services.tools = &tools;
  services.run_found_tools = true;
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
  UseFoundTools();
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
