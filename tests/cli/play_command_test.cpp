// hv play through the real program, on a corpus stored the way collections store games (images
// and archives made by Debian's tools, TOSEC names, one zip per disk, joystick tags), with a
// fake VICE on the PATH that records its arguments: every run checks that the drive would load
// the program meant.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/autostart_name.h"
#include "support/bytes.h"
#include "support/temp_dir.h"
#include "support/tools.h"
#include "tessary/readers/hvD64.h"

namespace hv::test {
namespace {

namespace fs = std::filesystem;

const std::string kHv = std::string(HV_BIN_DIR) + "/hv";

std::string Text(const Bytes& b) {
  return std::string(b.begin(), b.end());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

class PlayCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
    HV_REQUIRE_TOOL(ToolPath(HV_CC1541));
    WriteFile(tmp / "a.prg", std::string("\x01\x08\x0b\x08\x0a\x00\x9e\x32\x30\x36\x31\0\0\0", 14));
    WriteFile(tmp / "x64", std::string());
    // A fake VICE: writes its arguments one a line, then stays as long as asked.
    fs::create_directories(tmp / "bin");
    WriteFile(tmp / "bin" / "x64sc",
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$HV_FAKE_LOG.part\"\n"
              "mv \"$HV_FAKE_LOG.part\" \"$HV_FAKE_LOG\"\n"
              "while [ -n \"$HV_FAKE_STAY\" ] && [ -e \"$HV_FAKE_STAY\" ]; do sleep 0.05; done\n");
    fs::permissions(tmp / "bin" / "x64sc", fs::perms::owner_all);
    saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", ((tmp / "bin").string() + ":" + saved_path_).c_str(), 1);
    ::setenv("XDG_CACHE_HOME", P("cache").c_str(), 1);
    ::setenv("HV_FAKE_LOG", P("vice.log").c_str(), 1);
    ::unsetenv("HV_FAKE_STAY");
  }
  void TearDown() override { ::setenv("PATH", saved_path_.c_str(), 1); }

  std::string P(const std::string& rel) const { return (tmp.path() / rel).string(); }
  // A disk made by cc1541: a SEQ file, then the programs `programs` (first the one to start).
  void Disk(const std::string& name, const std::vector<std::string>& programs) {
    std::vector<std::string> args = {"-q", "-f", "notes", "-T", "SEQ", "-w", "a.prg"};
    for (const std::string& p : programs) {
      for (const std::string& a : {std::string("-f"), p, std::string("-w"), std::string("a.prg")})
        args.push_back(a);
    }
    args.push_back(P(name));
    ASSERT_EQ(hv::test::Run(ToolPath(HV_CC1541), args, tmp.path().string()).exit_code, 0) << name;
  }
  void Disk(const std::string& name, const std::string& program) {
    Disk(name, std::vector<std::string>{program});
  }
  std::string Zip(const std::string& zip, const std::vector<std::string>& names) {
    std::vector<std::string> args = {"-q", "-j", P(zip)};
    for (const auto& n : names) args.push_back(P(n));
    EXPECT_EQ(hv::test::Run(ToolPath(HV_ZIP_TOOL), args).exit_code, 0);
    return P(zip);
  }
  std::string Zip(const std::vector<std::string>& names) { return Zip("game.zip", names); }
  RunResult Play(const std::string& zip, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {
        "play",   zip,      "--emulator", "vice",     "--emulator-path",
        P("x64"), "--work", P("work"),    "--dry-run"};
    args.insert(args.end(), more.begin(), more.end());
    return hv::test::Run(kHv, args, tmp.path().string());
  }
  // hv play ARCHIVE as a user types it, the fake VICE found on the PATH; its arguments.
  std::vector<std::string> PlayForReal(const std::string& archive,
                                       std::vector<std::string> more = {}) {
    fs::remove(P("vice.log"));
    std::vector<std::string> args = {"play", archive};
    args.insert(args.end(), more.begin(), more.end());
    last = hv::test::Run(kHv, args, tmp.path().string());
    EXPECT_EQ(last.exit_code, 0) << last.err;
    for (int i = 0; i < 200 && !fs::exists(P("vice.log")); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return Lines(Text(ReadFile(P("vice.log"))));
  }
  // The image and name of `-autostart "image:name"`.
  static std::pair<std::string, std::string> Autostart(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
      if (args[i] != "-autostart") continue;
      const std::string& a = args[i + 1];
      const std::size_t colon = a.rfind(':');
      if (colon == std::string::npos || a.find('/', colon) != std::string::npos) return {a, ""};
      return {a.substr(0, colon), a.substr(colon + 1)};
    }
    return {};
  }
  // The name of the entry the drive loads for `name` from `image`, as a LOAD looks it up.
  static std::string Loaded(const std::string& image, const std::string& name) {
    tessary::hvD64 d64;
    if (!d64.Load(image)) return "(no image)";
    for (const auto& e : d64.Entries()->All()) {
      if (cli::DriveMatches(name, e->NameBytes())) {
        return e->NameBytes().substr(0, e->NameBytes().find('\xA0'));
      }
    }
    return "(not found)";
  }
  TempDir tmp;
  RunResult last;
  std::string saved_path_;
};

TEST_F(PlayCommandTest, ViceGetsTheNameInItsOwnCaseWithEscapes) {
  Disk("game.d64", "MiXeD$#c1");  // cc1541 writes "MiXeD", a dollar and 0xC1
  const auto r = Play(Zip({"game.d64"}));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("program: MiXeD$24A\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" -autostart \"" + P("work") + "/ReZip/game.d64:MiXeD$24A\""),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("-flipname"), std::string::npos);
  EXPECT_FALSE(fs::exists(P("work"))) << "a dry run wrote the work folder";
}

TEST_F(PlayCommandTest, ATwoDiskZipStartsDiskOneWithAFliplistInViceOrder) {
  Disk("Game (Disk 1).d64", "part one");
  Disk("Game (Disk 2).d64", "part two");
  const std::string zip = Zip({"Game (Disk 2).d64", "Game (Disk 1).d64"});
  const auto r = Play(zip, {"--m3u"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string rezip = P("work") + "/ReZip/";
  EXPECT_NE(r.out.find("game file: " + rezip + "Game (Disk 1).d64\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("disks: 2\n"), std::string::npos) << r.out;
  EXPECT_NE(
      r.out.find("command line: " + P("x64") + " -flipname \"" + rezip +
                 "Game (Disk 1).vfl\" -autostart \"" + rezip + "Game (Disk 1).d64:part one\""),
      std::string::npos)
      << r.out;
  // For real: the lists are written, disk 1 first as VICE 3.6 and later read it.
  const auto args = PlayForReal(zip, {"--m3u"});
  ASSERT_GE(args.size(), 4U);
  EXPECT_EQ(args[0], "-flipname");
  EXPECT_EQ(Text(ReadFile(args[1])),
            "# Vice fliplist file\r\n\r\nUNIT 8\r\n" + fs::path(args[1]).parent_path().string() +
                "/Game (Disk 1).d64\r\n" + fs::path(args[1]).parent_path().string() +
                "/Game (Disk 2).d64\r\n");
  const std::string m3u = fs::path(args[1]).replace_extension(".m3u").string();
  const std::string dir = fs::path(args[1]).parent_path().string();
  EXPECT_EQ(Text(ReadFile(m3u)), dir + "/Game (Disk 1).d64\r\n" + dir + "/Game (Disk 2).d64\r\n");
}

TEST_F(PlayCommandTest, EveryUsualNumberingIsASet) {
  const std::vector<std::vector<std::string>> sets = {
      {"Quest side b.d64", "Quest side a.d64"},
      {"quest_2.d64", "quest_1.d64"},
      {"Quest (3 of 3).d64", "Quest (1 of 3).d64", "Quest (2 of 3).d64"},
      {"Q (1987)(M)(Disk 2 of 2)(Side A).d64", "Q (1987)(M)(Disk 1 of 2)(Side A).d64",
       "Q (1987)(M)(Disk 1 of 2)(Side B).d64"}};
  for (const auto& names : sets) {
    fs::remove(tmp / "game.zip");
    for (const auto& n : names) Disk(n, "go");
    const auto r = Play(Zip(names));
    ASSERT_EQ(r.exit_code, 0) << names[0] << r.err;
    EXPECT_NE(r.out.find("/ReZip/" + names[1] + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("disks: " + std::to_string(names.size()) + "\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("playlist:"), std::string::npos);
  }
}

TEST_F(PlayCommandTest, UnrelatedImagesStillGoToTheChooser) {
  Disk("Alpha.d64", "a");
  Disk("Beta.d64", "b");
  auto r = Play(Zip({"Alpha.d64", "Beta.d64"}));  // no terminal: the chooser declines
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("You need to specify a default file"), std::string::npos) << r.err;
  r = Play(P("game.zip"), {"--choose", "beta.d64"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find(":b\""), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("-flipname"), std::string::npos);
}

// Names no LOAD can carry become the drive's wildcard, and the drive still finds the program
// meant: not the file before it that the pattern would match as well.
TEST_F(PlayCommandTest, TheDriveLoadsTheProgramMeantWhateverItsName) {
  const std::vector<std::vector<std::string>> disks = {
      {"$MONEY\""}, {"a,b=c:d"}, {"@home"}, {"say#22hi#22"}, {"shift#c1#41#dax"}};
  int n = 0;
  for (const auto& programs : disks) {
    const std::string name = "g" + std::to_string(++n) + ".d64";
    Disk(name, programs);
    const auto args = PlayForReal(Zip("g" + std::to_string(n) + ".zip", {name}));
    const auto [image, pattern] = Autostart(args);
    ASSERT_FALSE(image.empty()) << last.out;
    tessary::hvD64 d64;
    ASSERT_TRUE(d64.Load(image));
    const std::string meant = d64.Entries()->All().at(1)->NameBytes();
    EXPECT_EQ(Loaded(image, pattern), meant.substr(0, meant.find('\xA0'))) << pattern;
  }
  // "a?b" would find the SEQ file "a=b" before the program "a,b": hv says it cannot name it.
  ASSERT_EQ(hv::test::Run(ToolPath(HV_CC1541),
                          {"-q", "-f", "a=b", "-T", "SEQ", "-w", "a.prg", "-f", "a,b", "-w",
                           "a.prg", P("amb.d64")},
                          tmp.path().string())
                .exit_code,
            0);
  const auto r = hv::test::Run(kHv, {"play", Zip("amb.zip", {"amb.d64"}), "--dry-run", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_FALSE(nlohmann::json::parse(r.out)["program_exact"].get<bool>()) << r.out;
}

TEST_F(PlayCommandTest, GameFilesOfEveryKindAndNeverAReadme) {
  Disk("Game.d71", "seventy one");
  Disk("Game.d81", "eighty one");
  WriteFile(tmp / "Game.tap", std::string("C64-TAPE-RAW\x01\0\0\0", 16));
  WriteFile(tmp / "Game.crt", std::string("C64 CARTRIDGE   \0\0\0\x40", 20));
  WriteFile(tmp / "readme.txt", std::string("read me"));
  WriteFile(tmp / "shot.png", std::string("\x89PNG", 4));
  for (const auto& [zip, files, game] :
       std::vector<std::tuple<std::string, std::vector<std::string>, std::string>>{
           {"tap.zip", {"Game.tap", "readme.txt"}, "Game.tap"},
           {"crt.zip", {"Game.crt", "readme.txt", "shot.png"}, "Game.crt"},
           {"d71.zip", {"Game.d71", "readme.txt"}, "Game.d71"},
           {"d81.zip", {"Game.d81", "shot.png"}, "Game.d81"}}) {
    const auto args = PlayForReal(Zip(zip, files));
    EXPECT_EQ(fs::path(Autostart(args).first).filename(), game) << zip << last.out;
  }
  // Nothing but documents: not compatible, never readme.txt.prg.
  const auto r =
      hv::test::Run(kHv, {"play", Zip("docs.zip", {"readme.txt", "shot.png"}), "--dry-run"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out.find(".prg"), std::string::npos) << r.out;
  // The automation interface's list, on request: the tape is no game file there.
  const auto classic =
      hv::test::Run(kHv, {"extract", P("tap.zip"), "--work", P("cw"), "--classic"});
  EXPECT_NE((classic.out + classic.err).find("readme.txt.prg"), std::string::npos)
      << classic.out << classic.err;
}

// The other ways collections wrap a game: gzip, a zip inside a zip, a PC64 file and a Lynx
// archive made by cbmconvert, a path with blanks and non-ASCII letters.
TEST_F(PlayCommandTest, EveryWrapperReachesTheProgramMeant) {
  const std::string gzip = ToolPath(HV_GZIP_TOOL), cbmconvert = ToolPath(HV_CBMCONVERT);
  HV_REQUIRE_TOOL(gzip);
  HV_REQUIRE_TOOL(cbmconvert);
  Disk("Gz Game.d64", "gz start");
  ASSERT_EQ(hv::test::Run(gzip, {"-k", P("Gz Game.d64")}).exit_code, 0);
  auto args = PlayForReal(P("Gz Game.d64.gz"));
  EXPECT_EQ(Loaded(Autostart(args).first, Autostart(args).second), "GZ START") << last.out;
  Disk("inner.d64", "nested");
  Zip("inner.zip", {"inner.d64"});
  fs::create_directories(tmp / "Spiele für alle");
  args = PlayForReal(Zip("Spiele für alle/outer game.zip", {"inner.zip"}));
  EXPECT_EQ(Loaded(Autostart(args).first, Autostart(args).second), "NESTED") << last.out;
  fs::copy_file(tmp / "a.prg", tmp / "pcgame");
  ASSERT_EQ(hv::test::Run(cbmconvert, {"-P", "-n", "pcgame"}, tmp.path().string()).exit_code, 0);
  std::string p00;
  for (const auto& f : fs::directory_iterator(tmp.path())) {
    if (f.path().extension() == ".p00") p00 = f.path().filename().string();
  }
  ASSERT_FALSE(p00.empty());
  args = PlayForReal(Zip("p00.zip", {p00}));
  EXPECT_EQ(fs::path(Autostart(args).first).filename(), p00) << last.out;
  ASSERT_EQ(hv::test::Run(cbmconvert, {"-L", P("game.lnx"), "-n", "pcgame"}, tmp.path().string())
                .exit_code,
            0);
  args = PlayForReal(Zip("lynx.zip", {"game.lnx"}));
  EXPECT_NE(Autostart(args).first.find("/ReZip/"), std::string::npos) << last.out << last.err;
}

TEST_F(PlayCommandTest, OneZipPerDiskIsOneGameInTosecOrder) {
  const std::vector<std::string> stems = {"Epic (1987)(Maker)(Disk 2 of 2)(Side A)",
                                          "Epic (1987)(Maker)(Disk 1 of 2)(Side B)",
                                          "Epic (1987)(Maker)(Disk 1 of 2)(Side A)"};
  fs::create_directories(tmp / "set");
  for (const std::string& stem : stems) {
    Disk(stem + ".d64", stem.substr(25, 14));
    Zip("set/" + stem + ".zip", {stem + ".d64"});
  }
  Disk("Other (Disk 1 of 2).d64", "other");
  Zip("set/Other (Disk 1 of 2).zip", {"Other (Disk 1 of 2).d64"});
  const auto args = PlayForReal(P("set/" + stems[0] + ".zip"));
  ASSERT_GE(args.size(), 2U);
  ASSERT_EQ(args[0], "-flipname") << last.out;
  const std::vector<std::string> list = Lines(Text(ReadFile(args[1])));
  ASSERT_EQ(list.size(), 6U);
  EXPECT_NE(list[3].find(stems[2] + ".d64"), std::string::npos) << list[3];
  EXPECT_NE(list[4].find(stems[1] + ".d64"), std::string::npos) << list[4];
  EXPECT_NE(list[5].find(stems[0] + ".d64"), std::string::npos) << list[5];
  EXPECT_NE(Autostart(args).first.find(stems[2]), std::string::npos);
}

TEST_F(PlayCommandTest, JoystickTagsChooseThePortUnlessTheUserDoes) {
  Disk("Jet (J1).d64", "jet");
  Disk("run_j2.d64", "run");
  const auto joy = [](const std::vector<std::string>& args) {
    std::string out;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
      if (args[i].rfind("-joydev", 0) == 0) out += args[i] + "=" + args[i + 1] + " ";
    }
    return out;
  };
  EXPECT_EQ(joy(PlayForReal(Zip("Jet (J1).zip", {"Jet (J1).d64"}))), "-joydev1=4 -joydev2=0 ");
  EXPECT_EQ(joy(PlayForReal(Zip("[j2] run.zip", {"run_j2.d64"}))), "-joydev1=0 -joydev2=4 ");
  EXPECT_EQ(joy(PlayForReal(P("Jet (J1).zip"), {"--port2", "2"})), "-joydev1=0 -joydev2=2 ");
}

// No tool here writes that quirk, so the tape is made byte by byte: one record, a header that
// counts none in use.
TEST_F(PlayCommandTest, ATapeCountingNoEntriesStartsItsFirstRecord) {
  std::string t64(0x60, '\0');
  t64.replace(0, 20, "C64S tape image file");
  t64[0x20] = 0x00;
  t64[0x21] = 0x01;
  t64[0x22] = 1;  // one slot, and 0x24 (used) stays 0
  t64.replace(0x28, 4, "TAPE");
  t64[0x40] = 1;                                             // a normal file
  t64[0x41] = static_cast<char>(0x82);                       // PRG
  t64.replace(0x42, 4, std::string("\x01\x08\x05\x08", 4));  // $0801-$0805
  t64[0x48] = 0x60;                                          // its data
  t64.replace(0x50, 16, "FIRST           ");
  t64 += std::string("\x00\x00\x00\x00", 4);
  WriteFile(tmp / "zero.t64", t64);
  const auto args = PlayForReal(Zip("zero.zip", {"zero.t64"}));
  EXPECT_EQ(Autostart(args).second, "first") << last.out;
}

TEST_F(PlayCommandTest, TheCacheKeepsGamesAndNeverTouchesARunningOne) {
  Disk("Game.d64", "game");
  const std::string zip = Zip({"Game.d64"});
  // A dry run changes nothing on disk.
  ASSERT_EQ(hv::test::Run(kHv, {"play", zip, "--dry-run"}).exit_code, 0);
  EXPECT_FALSE(fs::exists(P("cache")));
  auto args = PlayForReal(zip);
  EXPECT_NE(last.out.find("(cold)"), std::string::npos) << last.out;
  const std::string image = Autostart(args).first;
  // A saved game: VICE writes into the image; it survives the next launch, which unpacks
  // nothing.
  { std::ofstream(image, std::ios::app) << "saved"; }
  const auto before = fs::last_write_time(image);
  args = PlayForReal(zip);
  EXPECT_NE(last.out.find("(warm)"), std::string::npos) << last.out;
  EXPECT_EQ(Autostart(args).first, image);
  EXPECT_EQ(fs::last_write_time(image), before);
  // A running game's folder stays through clear and eviction.
  WriteFile(tmp / "stay", std::string());
  ::setenv("HV_FAKE_STAY", P("stay").c_str(), 1);
  PlayForReal(zip);
  ::unsetenv("HV_FAKE_STAY");
  auto r = hv::test::Run(kHv, {"cache", "clear"});
  EXPECT_NE(r.out.find("kept (running)"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::exists(image));
  Disk("Next.d64", "next");
  PlayForReal(Zip("next.zip", {"Next.d64"}), {"--cache-limit", "0"});
  EXPECT_TRUE(fs::exists(image)) << "evicted while running";
  r = hv::test::Run(kHv, {"cache", "list", "--json"});
  const auto list = nlohmann::json::parse(r.out);
  ASSERT_EQ(list.size(), 2U) << r.out;
  // Both may have been played within one second, so the order does not say which is which.
  const auto running = std::find_if(list.begin(), list.end(), [&image](const auto& e) {
    return e["game_file"].template get<std::string>() == image;
  });
  ASSERT_NE(running, list.end()) << r.out;
  EXPECT_TRUE((*running)["running"].get<bool>()) << r.out;
  fs::remove(tmp / "stay");  // the game ends
  for (int i = 0;
       i < 100 && hv::test::Run(kHv, {"cache", "list"}).out.find("running") != std::string::npos;
       ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  // Once the game has ended, a launch over the limit evicts it; clear empties the rest.
  PlayForReal(P("next.zip"), {"--cache-limit", "0"});
  EXPECT_FALSE(fs::exists(image));
  EXPECT_TRUE(hv::test::Run(kHv, {"cache", "clear"}).out.empty());
  EXPECT_TRUE(fs::is_empty(P("cache/hv/games")));
}

TEST_F(PlayCommandTest, NoEmulatorToFindIsSaidAndADryRunNeedsNone) {
  Disk("Game.d64", "game");
  const std::string zip = Zip({"Game.d64"});
  ::setenv("PATH", P("nowhere").c_str(), 1);
  auto r = hv::test::Run(kHv, {"play", zip});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("looked for x64sc and x64"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--emulator-path"), std::string::npos) << r.err;
  r = hv::test::Run(kHv, {"play", zip, "--dry-run", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(fs::path(j["arguments"][0].get<std::string>()).filename(), "x64sc");
  EXPECT_EQ(j["program"], "game");
  EXPECT_FALSE(j["started"].get<bool>());
  EXPECT_TRUE(j["dry_run"].get<bool>());
  EXPECT_FALSE(j["warm"].get<bool>());
}

TEST_F(PlayCommandTest, NothingTypedAddsAnArgument) {
  Disk("Game.d64", "game");
  auto r = hv::test::Run(kHv, {"launch", "VICE", "--emulator", P("x64"), "--game", P("Game.d64"),
                               "--prg", "x\" -config /etc/passwd \"", "--dry-run"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("quotation mark"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("-config"), std::string::npos) << r.out;
  fs::create_directories(tmp / "q\"dir");
  Zip("q\"dir/game.zip", {"Game.d64"});
  r = hv::test::Run(kHv, {"play", P("q\"dir/game.zip"), "--work", P("q\"dir/work"), "--dry-run"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("quotation mark"), std::string::npos) << r.err;
  // What can be passed is passed as one argument each.
  r = hv::test::Run(kHv, {"launch", "VICE", "--emulator", P("x64"), "--game", P("Game.d64"),
                          "--prg", "two words", "--dry-run", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["arguments"], nlohmann::json({P("x64"), "-autostart", P("Game.d64") + ":two words",
                                            "-joydev1", "0", "-joydev2", "0"}));
}

}  // namespace
}  // namespace hv::test
