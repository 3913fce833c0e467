// Tessary.hvExtract driven by name under Wine: archives made by zip and the other Linux tools,
// loose files, the texts of failures a caller can provoke, the game database through ODBC against a
// SQLite file, and the errors that reach the caller. No case here shows the chooser.
// argv[1]: the Windows path of the data folder run.sh filled.

#include "support/extract_client.h"

using namespace hv::wine;

namespace {

Dispatch NewExtract() {
  return CreateHalvane(L"Tessary.hvExtract");
}

std::string Work(const std::string& name) {
  return Data("work-" + name);
}

bool InputsThere() {
  return InputsMade({"three.zip"});
}

}  // namespace

HV_WINE_TEST(ZipWithOneTapeImage) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  const std::string work = Work("one");
  ExtractCall r = RunExtract(x, Input("one_t64.zip"), work, "", "", 0, "", "stale", "stale");
  HV_CHECK(r.found());
  HV_CHECK_EQ(r.filename, work + "\\ReZip\\game.t64");
  HV_CHECK_EQ(r.fail_info, "");
  HV_CHECK_EQ(ReadText(r.filename), "tape");
  // Every file of the archive's folder moves along.
  HV_CHECK_EQ(ReadText(work + "\\ReZip\\readme.txt"), "notes");
  // A working folder given with a trailing backslash works the same.
  ExtractCall again = RunExtract(x, Input("one_t64.zip"), work + "\\");
  HV_CHECK(again.found());
  HV_CHECK_EQ(ReadText(again.filename), "tape");
}

HV_WINE_TEST(ZipInsideZip) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  const std::string work = Work("nested");
  ExtractCall r = RunExtract(x, Input("nested.zip"), work);
  HV_CHECK(r.found());
  HV_CHECK_EQ(r.filename, work + "\\ReZip\\inner.d64");
  HV_CHECK_EQ(ReadText(r.filename), "disk");
}

HV_WINE_TEST(MembersOfTheSameNameAreAllKept) {
  if (!InputsMade({"ninja.zip", "games.db"})) return;
  Dispatch x = NewExtract();
  const std::string work = Work("ninja");
  // Disk 1\NINJA.D64 and Disk 2\NINJA.D64: the second is named after its folder, and the
  // remembered choice picks it.
  ExtractCall r = RunExtract(x, Input("ninja.zip"), work, "Zenvora", Input("games.db"), 11);
  HV_CHECK(r.found());
  HV_CHECK_EQ(r.filename, work + "\\ReZip\\NINJA (Disk 2).D64");
  HV_CHECK_EQ(ReadText(r.filename), "two");
  HV_CHECK_EQ(ReadText(work + "\\ReZip\\NINJA.D64"), "one");
}

HV_WINE_TEST(LooseFilesBecomeProgramFiles) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  const std::string work = Work("loose");
  ExtractCall r = RunExtract(x, Input("loose.zip"), work);
  HV_CHECK(r.found());
  HV_CHECK_EQ(r.filename, work + "\\ReZip\\small.bin.prg");
  HV_CHECK_EQ(ReadText(r.filename).size(), 100u);
  // The large file stays where it was unpacked.
  HV_CHECK(FileThere(work + "\\P1\\big.bin"));
  HV_CHECK(!FileThere(work + "\\ReZip\\big.bin.prg"));
}

HV_WINE_TEST(AStoredGameFileIsItsOwnResult) {
  const std::string source = Data("extract-plain");
  CreateDirectoryA(source.c_str(), nullptr);
  WriteText(source + "\\solo.d64", "image");
  Dispatch x = NewExtract();
  const std::string work = Work("solo");
  ExtractCall r = RunExtract(x, source + "\\solo.d64", work);
  HV_CHECK(r.found());
  HV_CHECK_EQ(r.filename, work + "\\ReZip\\solo.d64");
  HV_CHECK_EQ(ReadText(r.filename), "image");
}

HV_WINE_TEST(FilesTooLargeAreNotCompatible) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  const std::string work = Work("toobig");
  ExtractCall r = RunExtract(x, Input("toobig.zip"), work, "", "", {}, "", "keep", "keep");
  HV_CHECK(IsFalse(r.outcome));
  HV_CHECK_EQ(r.filename, "");
  HV_CHECK_EQ(r.fail_info, "This archive file is not compatible with Zenvora or Tirrel." + kCrLf +
                               kSeparator + kCrLf + "huge.bin" + kCrLf + kSeparator);
}

// With none of the outside tools on the PATH, every archive kind unpacks in-process: archives
// made by gzip, disk2zip and cbmconvert from a cc1541 image and an LHA archive of lhasa's samples
// (LHA, then gzip, then a loose file) give the files the Linux tools give (run.sh put them in
// "expect"). Damaged archives end in a failure report that says why.
HV_WINE_TEST(EveryKindUnpacksWithoutOutsideTools) {
  if (!FileThere(Input("builtin\\expect\\done"))) {
    return HV_SKIP("the Linux tools that make the archives of the other kinds are missing");
  }
  for (const char* tool : {"lha.exe", "gunzip.exe", "zip2d64.exe", "starlynx.exe"}) {
    char found[MAX_PATH] = {};
    HV_CHECK_EQ(SearchPathA(nullptr, tool, nullptr, MAX_PATH, found, nullptr), 0u);
  }
  struct Case {
    const char* stored;
    const char* result;  // in ReZip
    const char* expect;  // in builtin\expect
  };
  const Case cases[] = {
      {"demo.d64.gz", "demo.d64", "demo.d64"},
      {"set.zip", "demo.d64", "demo.d64"},
      {"demo.lnx", "HELLO WORLD.prg", "hello world.prg"},
      {"h1_lh5.lzh", "gpl-2.prg", "gpl-2"},
  };
  Dispatch x = NewExtract();
  const std::string work = Work("builtin");
  for (const Case& c : cases) {
    ExtractCall r = RunExtract(x, Input(std::string("builtin\\") + c.stored), work);
    if (!HV_CHECK(r.found())) std::printf("  %s: %s\n", c.stored, r.fail_info.c_str());
    HV_CHECK_EQ(r.filename, work + "\\ReZip\\" + c.result);
    const std::string expected = ReadText(Input(std::string("builtin\\expect\\") + c.expect));
    HV_CHECK(!expected.empty());
    if (!HV_CHECK(ReadText(r.filename) == expected)) std::printf("  for %s\n", c.stored);
  }
}

// Zips in every compression method (7-Zip's of the cc1541 image, real archives of other
// programs) unpack exactly: run.sh listed each with what Debian's unzip or 7z unpacks it to.
HV_WINE_TEST(EveryZipMethodUnpacksExactly) {
  const std::string list = ReadText(Input("methods\\list.txt"));
  if (list.empty()) return HV_SKIP("7z, unzip or cc1541 missing: no zips in every method");
  Dispatch x = NewExtract();
  std::size_t start = 0;
  while (start < list.size()) {
    const std::size_t end = list.find('\n', start);
    const std::string line = list.substr(start, end - start);
    start = end == std::string::npos ? list.size() : end + 1;
    const std::size_t bar1 = line.find('|');
    const std::size_t bar2 = line.find('|', bar1 + 1);
    const std::string archive = line.substr(0, bar1);
    const std::string member = line.substr(bar1 + 1, bar2 - bar1 - 1);
    const std::string expect = line.substr(bar2 + 1);
    const std::string work = Work("method-" + archive);
    ExtractCall r = RunExtract(x, Input("methods\\" + archive), work);
    // A game file is the result; another file becomes a program or, too large for one, stays
    // where the level unpacked it. Either way it was unpacked, not reported as corrupt.
    if (!HV_CHECK(r.fail_info.find("error unzipping") == std::string::npos)) {
      std::printf("  %s: %s\n", archive.c_str(), r.fail_info.c_str());
    }
    std::string unpacked;
    for (const std::string& path :
         {r.filename, work + "\\P1\\" + member, work + "\\ReZip\\" + member + ".prg"}) {
      if (!path.empty() && FileThere(path)) {
        unpacked = ReadText(path);
        break;
      }
    }
    if (!HV_CHECK(!unpacked.empty())) std::printf("  %s: nothing unpacked\n", archive.c_str());
    if (expect == "-") continue;
    const std::string expected = ReadText(Input("methods\\" + expect));
    if (!HV_CHECK(unpacked == expected)) std::printf("  %s differs\n", archive.c_str());
  }
}

HV_WINE_TEST(DamagedArchivesSayWhy) {
  const std::string source = Data("extract-tools");
  CreateDirectoryA(source.c_str(), nullptr);
  const std::string broken_work = Work("tools");
  Dispatch x = NewExtract();
  for (const char* name : {"game.lha", "game.lzh", "game.gz", "1!game", "game.lnx"}) {
    WriteText(source + "\\" + name, "not an archive");
    ExtractCall r = RunExtract(x, source + "\\" + name, broken_work);
    HV_CHECK(IsFalse(r.outcome));
    HV_CHECK_EQ(r.filename, "");
    if (!HV_CHECK_EQ(
            r.fail_info.rfind(
                "An error was encountered while extracting this archive: " + kCrLf + kCrLf, 0),
            0u)) {
      std::printf("  for %s: %s\n", name, r.fail_info.c_str());
    }
  }
  WriteText(source + "\\broken.zip", "PK\x03\x04 not really");
  ExtractCall r = RunExtract(x, source + "\\broken.zip", broken_work);
  HV_CHECK(IsFalse(r.outcome));
  HV_CHECK_EQ(r.fail_info, "There was an error unzipping the file:" + kCrLf + kCrLf + broken_work +
                               "\\broken.zip" + kCrLf + kCrLf + "The file is possibly corrupt.");
}

HV_WINE_TEST(DatabaseRemembersTheChoice) {
  if (!InputsMade({"three.zip", "games.db"})) return;
  Dispatch x = NewExtract();
  const std::string work = Work("db");
  // The stored name is compared ignoring case; the result is the name as listed.
  ExtractCall r = RunExtract(x, Input("three.zip"), work, "Zenvora", Input("games.db"), 7);
  HV_CHECK(r.found());
  HV_CHECK_EQ(r.filename, work + "\\ReZip\\beta.prg");
  HV_CHECK_EQ(r.fail_info, "");
  // Leaving GameID out looks up game 0.
  ExtractCall omitted = RunExtract(x, Input("three.zip"), work, "Zenvora", Input("games.db"));
  HV_CHECK(omitted.found());
  HV_CHECK_EQ(omitted.filename, work + "\\ReZip\\gamma.prg");
}

HV_WINE_TEST(DatabaseFailuresAreReported) {
  if (!InputsMade({"three.zip", "games.db"})) return;
  Dispatch x = NewExtract();
  const std::string work = Work("dbfail");
  ExtractCall null_row = RunExtract(x, Input("three.zip"), work, "Zenvora", Input("games.db"), 8);
  HV_CHECK(IsFalse(null_row.outcome));
  HV_CHECK_EQ(null_row.filename, "");
  HV_CHECK_EQ(null_row.fail_info, FailureReport("Invalid use of Null", 94));
  ExtractCall no_table = RunExtract(x, Input("three.zip"), work, "Zenvora", Input("notable.db"), 7);
  HV_CHECK(IsFalse(no_table.outcome));
  HV_CHECK_EQ(no_table.fail_info,
              FailureReport(
                  "The game database '" + Input("notable.db") + "' has no table 'Archive'.", 3078));
  const std::string missing = Input("missing.db");
  ExtractCall no_file = RunExtract(x, Input("three.zip"), work, "Zenvora", missing, 7);
  HV_CHECK(IsFalse(no_file.outcome));
  HV_CHECK_EQ(no_file.fail_info, FailureReport("Could not find file '" + missing + "'.", 3024));
  HV_CHECK(!FileThere(missing));
}

HV_WINE_TEST(PreparationErrorsReachTheCaller) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  // A bare drive is never deleted as a working folder.
  ExtractCall root =
      RunExtract(x, Input("three.zip"), "C:\\", "", "", {}, "", "name in", "info in");
  HV_CHECK_EQ(root.outcome.hr, DISP_E_EXCEPTION);
  HV_CHECK_EQ(root.outcome.VbNumber(), hv::vberr::kPathFileAccess);
  HV_CHECK(root.outcome.description.find(L"C:\\") != std::wstring::npos);
  HV_CHECK_EQ(root.outcome.source, L"Tessary.hvExtract");
  HV_CHECK_EQ(root.filename, "name in");
  HV_CHECK_EQ(root.fail_info, "info in");
  // A stored file that is not there cannot be copied in.
  ExtractCall missing =
      RunExtract(x, Input("no such.zip"), Work("missing"), "", "", {}, "", "name in", "info in");
  HV_CHECK_EQ(missing.outcome.hr, DISP_E_EXCEPTION);
  HV_CHECK(!missing.outcome.description.empty());
  HV_CHECK_EQ(missing.filename, "name in");
  HV_CHECK_EQ(missing.fail_info, "info in");
  // The object stays usable after an error.
  ExtractCall fine = RunExtract(x, Input("one_t64.zip"), Work("after"));
  HV_CHECK(fine.found());
}

HV_WINE_TEST(OnlyExtractIsExposed) {
  Dispatch x = NewExtract();
  DISPID id = 0;
  HV_CHECK_EQ(x.IdOf(L"Extract", id), S_OK);
  for (const wchar_t* hidden :
       {L"Status", L"Level", L"LevelName", L"ResultFolder", L"ProcessFolder"}) {
    HV_CHECK_EQ(x.IdOf(hidden, id), DISP_E_UNKNOWNNAME);
  }
}

// The outside unpackers, played by a stand-in copied under each tool's name into a folder put
// on the PATH, started through the command interpreter as a user's tools would be.
HV_WINE_TEST(OutsideToolsRunThroughTheCommandInterpreter) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string standin = self;
  standin = standin.substr(0, standin.find_last_of('\\') + 1) + "standin_tool.exe";
  if (!HV_CHECK(FileThere(standin))) return;
  const std::string tools = FreshFolder("tools");
  for (const char* tool : {"lha.exe", "gunzip.exe", "zip2d64.exe", "starlynx.exe", "winzip32.exe"})
    CopyFileA(standin.c_str(), (tools + "\\" + tool).c_str(), FALSE);
  char old_path[8192] = {};
  GetEnvironmentVariableA("PATH", old_path, sizeof old_path);
  SetEnvironmentVariableA("PATH", (tools + ";" + old_path).c_str());

  const std::string source = FreshFolder("extract-standins");
  struct Case {
    const char* name;
    const char* bytes;
    const char* result;
    const char* content;
    std::string winzip;
  };
  const Case cases[] = {
      {"game.lha", "one.prg=lha-made\n", "one.prg", "lha-made", ""},
      {"game.lzh", "two.t64=lzh-made\n", "two.t64", "lzh-made", ""},
      // gunzip is handed the short name and unpacks to it without ".gz": a loose file.
      {"game.gz", "packed game", "game.prg", "packed game", ""},
      {"1!alpha", "first side", "alpha.d64", nullptr, ""},
      {"game.lnx", "lynxed.prg=lynx-made\n", "lynxed.prg", "lynx-made", ""},
      // With WinZip configured a '+' in the name does not matter.
      {"a+b.gz", "plus.t64=winzip-made\n", "plus.t64", "winzip-made", tools + "\\winzip32.exe"},
  };
  Dispatch x = NewExtract();
  const std::string work = Work("standins");
  for (const Case& c : cases) {
    WriteText(source + "\\" + c.name, c.bytes);
    ExtractCall r = RunExtract(x, source + "\\" + c.name, work, "", "", {}, c.winzip);
    if (!HV_CHECK(r.found()))
      std::printf("  %s: %s %ls\n", c.name, r.fail_info.c_str(), r.outcome.description.c_str());
    HV_CHECK_EQ(r.filename, work + "\\ReZip\\" + c.result);
    if (c.content) HV_CHECK_EQ(ReadText(r.filename), c.content);
  }
  // The WinZip run leaves the archive where it was.
  HV_CHECK(FileThere(work + "\\a+b.gz"));
  // Without WinZip, gunzip cannot take a '+' in the name: the built-in reader gets it, and
  // finds the stand-in's text no gzip file.
  const std::string before = ReadText(tools + "\\calls.log");
  ExtractCall plus = RunExtract(x, source + "\\a+b.gz", work);
  HV_CHECK(IsFalse(plus.outcome));
  HV_CHECK(plus.fail_info.find("gzip") != std::string::npos);
  const std::string log = ReadText(tools + "\\calls.log");
  HV_CHECK_EQ(log.size(), before.size());
  HV_CHECK(log.find("lha.exe e /m ") != std::string::npos);
  HV_CHECK(log.find("gunzip.exe -f -q ") != std::string::npos);
  HV_CHECK(log.find("starlynx.exe -x ") != std::string::npos);
  SetEnvironmentVariableA("PATH", old_path);
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "tessary_extract_client");
}
