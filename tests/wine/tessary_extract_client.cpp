// Tessary.hvExtract driven by name under Wine: archives made by zip, loose files, the texts of
// every failure a caller can provoke without tools, the game database through ODBC against a
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
  return FileThere(Input("three.zip"));
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

HV_WINE_TEST(MissingToolsAndBrokenArchives) {
  const std::string source = Data("extract-tools");
  CreateDirectoryA(source.c_str(), nullptr);
  struct Case {
    const char* name;
    const char* bytes;
    std::string text;
  };
  const std::string broken_work = Work("tools");
  const Case cases[] = {
      {"game.lha", "lha",
       "To extract this File you need to put the file LHA.EXE into a folder on "
       "the PATH environment variable."},
      {"game.lzh", "lzh",
       "To extract this File you need to put the file LHA.EXE into a folder on "
       "the PATH environment variable."},
      {"game.gz", "gz",
       "To extract this File you need to put the file GUNZIP.EXE into a folder on the PATH "
       "environment variable.  You can also use Winzip to extract these files if you set it's "
       "path in 'Options...'."},
      {"1!game", "set",
       "To extract this File you need to put the file ZIP2D64.EXE into a folder "
       "on the PATH environment variable."},
      {"game.lnx", "lynx",
       "To extract this File you need to put the file STARLYNX.EXE into a "
       "folder on the PATH environment variable."},
      {"broken.zip", "PK\x03\x04 not really",
       "There was an error unzipping the file:" + kCrLf + kCrLf + broken_work + "\\broken.zip" +
           kCrLf + kCrLf + "The file is possibly corrupt."},
  };
  Dispatch x = NewExtract();
  for (const Case& c : cases) {
    WriteText(source + "\\" + c.name, c.bytes);
    ExtractCall r = RunExtract(x, source + "\\" + c.name, broken_work);
    HV_CHECK(IsFalse(r.outcome));
    HV_CHECK_EQ(r.filename, "");
    if (!HV_CHECK_EQ(r.fail_info, c.text)) std::printf("  for %s\n", c.name);
  }
}

HV_WINE_TEST(DatabaseRemembersTheChoice) {
  if (!InputsThere() || !FileThere(Input("games.db"))) return;
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
  if (!InputsThere() || !FileThere(Input("games.db"))) return;
  Dispatch x = NewExtract();
  const std::string work = Work("dbfail");
  ExtractCall null_row = RunExtract(x, Input("three.zip"), work, "Zenvora", Input("games.db"), 8);
  HV_CHECK(IsFalse(null_row.outcome));
  HV_CHECK_EQ(null_row.filename, "");
  HV_CHECK_EQ(null_row.fail_info,
              FailureReport("Invalid use of Null: the row of table 'Archive' for game 8 holds no "
                            "value in 'FileToRun'.",
                            94));
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
  // Without WinZip, gunzip cannot take a '+' in the name.
  ExtractCall plus = RunExtract(x, source + "\\a+b.gz", work);
  HV_CHECK(IsFalse(plus.outcome));
  HV_CHECK_EQ(plus.fail_info,
              "To extract this File you need to set your WINZIP path in 'Options...'.  This is "
              "needed because GUNZIP.EXE cannot extract files with '+' in the archived filename.");
  const std::string log = ReadText(tools + "\\calls.log");
  HV_CHECK(log.find("lha.exe e /m ") != std::string::npos);
  HV_CHECK(log.find("gunzip.exe -f -q ") != std::string::npos);
  HV_CHECK(log.find("starlynx.exe -x ") != std::string::npos);
  SetEnvironmentVariableA("PATH", old_path);
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "tessary_extract_client");
}
