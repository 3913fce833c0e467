// Halvane.hvShell end to end: the launchers start a stand-in program (standin_emulator.exe,
// copied under each emulator's file name) which records its command line and working
// directory; configuration files are checked byte for byte. Expected command lines are built
// from the platform's own short forms.
// argv[1]: the Windows path of a data folder the client may write into.

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>
#include <vector>

#include "Halvane.h"
#include "halvane/shell/shell_enums.h"
#include "support/halvane_client.h"
#include "support/run_program.h"

using namespace hv::wine;

namespace {

const char kQ[] = "\"";

std::string StandIn() {
  char self[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, n);
  return path.substr(0, path.rfind('\\') + 1) + "standin_emulator.exe";
}

// A program folder holding the stand-in under `exe`; returns the program's full path.
std::string Program(const std::string& folder, const std::string& exe) {
  const std::string dir = FreshFolder(folder);
  const std::string path = dir + "\\" + exe;
  CopyFileA(StandIn().c_str(), path.c_str(), FALSE);
  return path;
}

std::string DirOf(const std::string& path) {
  return path.substr(0, path.rfind('\\'));
}

struct Started {
  bool seen = false;
  std::string command_line;
  std::string directory;
};

// Waits (bounded) for the record the stand-in at `program` writes, and takes it away.
Started WaitForStart(const std::string& program) {
  const std::string record = program + ".txt";
  Started s;
  // A cold Wine process takes seconds to start on a loaded machine: wait up to a minute.
  for (int i = 0; i < 2400 && !FileThere(record); ++i) Sleep(25);
  if (!FileThere(record)) return s;
  const std::string text = ReadText(record);
  DeleteFileA(record.c_str());
  const std::size_t first = text.find('\n');
  if (first == std::string::npos) return s;
  s.seen = true;
  s.command_line = text.substr(0, first);
  s.directory = text.substr(first + 1, text.find('\n', first + 1) - first - 1);
  return s;
}

// Wine rewrites the command line of a program named without quotation marks whose path holds
// blanks: it puts the program path in quotation marks. Windows passes the line as given. The
// program token is compared without them.
std::string ProgramUnquoted(std::string line) {
  if (line.size() > 1 && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    if (close != std::string::npos) line = line.substr(1, close - 1) + line.substr(close + 1);
  }
  return line;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// A working directory as the platform reports it after changing to `dir`.
std::string AsCurrent(const std::string& dir) {
  const std::string before = CurrentDirectory();
  SetCurrentDirectoryA(dir.c_str());
  const std::string now = CurrentDirectory();
  SetCurrentDirectoryA(before.c_str());
  return now;
}

std::string Game(const std::string& folder, const std::string& name) {
  const std::string dir = FreshFolder(folder);
  WriteText(dir + "\\" + name, "game");
  return dir + "\\" + name;
}

}  // namespace

HV_WINE_TEST(CCS64v109RewritesC64CfgAndStartsCcsdpmi) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string exe = Program("CCS64 Version 109", "CCS64.EXE");
  const std::string dir = DirOf(exe);
  const std::string dpmi = dir + "\\ccsdpmi.exe";
  CopyFileA(StandIn().c_str(), dpmi.c_str(), FALSE);
  const std::string cfg = dir + "\\c64.cfg";
  WriteText(cfg,
            "$JOYSTICK1PC=0\r\n$JOYSTICK2PC=0\r\n\r\n$JOYSTICK1KEY=0\r\n$JOYSTICK2KEY=0\r\n"
            "$LOADPATH=C:\\\r\n$SOUND=1\r\n");
  const std::string game = Game("Games Folder 109", "Some Game.d64");
  const std::string games_dir = DirOf(game);
  Outcome r =
      shell.Get(L"CCS64v109", W(exe), W(games_dir), W(game), short{3}, 1, 0, 2, 1, true, false);
  HV_CHECK_OK(r);
  HV_CHECK_EQ(r.Text(), std::wstring());
  const std::string d = ShortPath(dir) + "\\";
  Started s = WaitForStart(dpmi);
  HV_CHECK(s.seen);
  HV_CHECK_EQ(s.command_line, d + "ccsdpmi.exe ccs64.exe " + ShortPath(game) + ",3");
  HV_CHECK_EQ(s.directory, AsCurrent(d));
  HV_CHECK_EQ(CurrentDirectory(), AsCurrent(d));  // the host keeps the emulator's folder
  HV_CHECK_EQ(ReadText(cfg),
              "$JOYSTICK1PC=1\r\n$JOYSTICK2PC=0\r\n$JOYSTICK1KEY=2\r\n"
              "$JOYSTICK2KEY=1\r\n$LOADPATH=" +
                  ShortPath(games_dir) + "\\\r\n$SOUND=1\r\n");
  // Not asked to write: the file stays as it is. A negative index keeps its sign.
  const std::string written = ReadText(cfg);
  r = shell.Get(L"CCS64v109", W(exe), W(games_dir + "\\missing"), W(game), short{-2}, 0, 0, 0, 0,
                false, true);
  HV_CHECK_EQ(r.Text(), std::wstring());
  s = WaitForStart(dpmi);
  HV_CHECK_EQ(s.command_line, d + "ccsdpmi.exe ccs64.exe " + ShortPath(game) + ",-2");
  HV_CHECK_EQ(ReadText(cfg), written);
}

HV_WINE_TEST(CCS64v109NotFoundMessages) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string exe = Program("CCS64 Missing Parts", "CCS64.EXE");
  const std::string dir = DirOf(exe);
  const std::string game = Game("Games Missing", "GAME.D64");
  const std::string before = CurrentDirectory();
  // No ccsdpmi.exe: its message names the short folder.
  Outcome r =
      shell.Get(L"CCS64v109", W(exe), W(DirOf(game)), W(game), short{0}, 0, 0, 0, 0, true, false);
  HV_CHECK_EQ(r.Text(),
              W("Unable to run CCS64 v1.09.  File: " + ShortPath(dir) + "\\ccsdpmi.exe not found"));
  CopyFileA(StandIn().c_str(), (dir + "\\ccsdpmi.exe").c_str(), FALSE);
  DeleteFileA(exe.c_str());
  r = shell.Get(L"CCS64v109", W(exe), W(DirOf(game)), W(game), short{0}, 0, 0, 0, 0, true, false);
  HV_CHECK_EQ(r.Text(), W("Unable to run CCS64 v1.09.  File: " + exe + " not found"));
  CopyFileA(StandIn().c_str(), exe.c_str(), FALSE);
  r = shell.Get(L"CCS64v109", W(exe), W(DirOf(game)), W(game + "x"), short{0}, 0, 0, 0, 0, true,
                false);
  HV_CHECK_EQ(r.Text(), W("Unable to run CCS64 v1.09.  File: " + game + "x not found"));
  HV_CHECK_EQ(CurrentDirectory(), before);  // a "not found" changes nothing
}

HV_WINE_TEST(CCS64v20AdjustsMouseModes) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string exe = Program("CCS64 Version 20", "CCS64 Win.exe");
  const std::string dir = DirOf(exe);
  const std::string cfg = dir + "\\c64.cfg";
  WriteText(cfg,
            "$CONTROLPORT1=1\r\n$CONTROLPORT2=1\r\n$CONTROLPORT1MODE=0\r\n"
            "$CONTROLPORT2MODE=0\r\n");
  const std::string game = Game("Games Folder 20", "Tape Game.t64");
  Outcome r = shell.Get(L"CCS64v20DosAndWin", W(exe), W(DirOf(game) + "\\"), W(game), short{0}, 2,
                        1, -1, -1, true, false);
  HV_CHECK_OK(r);
  HV_CHECK_EQ(r.Text(), std::wstring());
  Started s = WaitForStart(exe);
  HV_CHECK(s.seen);
  HV_CHECK_EQ(s.command_line, ShortPath(exe) + " " + ShortPath(game) + ",0");
  HV_CHECK_EQ(s.directory, AsCurrent(ShortPath(dir) + "\\"));
  // Mouse on port 1: mode -1 becomes 0; port 2 keeps -1. The load path gets no second slash.
  HV_CHECK_EQ(ReadText(cfg),
              "$CONTROLPORT1=2\r\n$CONTROLPORT2=1\r\n$CONTROLPORT1MODE=0\r\n"
              "$CONTROLPORT2MODE=-1\r\n");
  r = shell.Get(L"CCS64v20DosAndWin", W(exe + ".missing"), W(""), W(game), short{0}, 0, 0, 0, 0,
                false, false);
  HV_CHECK_EQ(r.Text(), W("Unable to run CCS64 v2.0.  File: " + exe + ".missing not found"));
}

HV_WINE_TEST(C64SWritesConfigIniAndTypesTheLoadCommand) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string exe = Program("C64S Emulator", "C64S.EXE");
  const std::string dir = DirOf(exe);
  const std::string ini = dir + "\\Config.ini";
  WriteText(ini, "[Ports]\r\nJoy1=Keyboard\r\nJoy2=Keyboard\r\nSpeed=100\r\n");
  const std::string game = Game("C64S Games", "Disk Game.D64");
  Outcome r = shell.Get(L"C64Sv252", W(exe), W(game), L"GAME", 2, 0, true, false);
  HV_CHECK_OK(r);
  HV_CHECK_EQ(r.Text(), std::wstring());
  Started s = WaitForStart(exe);
  const std::string g = ShortPath(game);
  const std::string gd = DirOf(g), gf = g.substr(g.rfind('\\') + 1);
  HV_CHECK_EQ(s.command_line, ShortPath(exe) + " -diskdir " + gd + " -disk " + gf + " -autotype " +
                                  kQ + "LOAD$20$22GAME$22,8,1$0DRUN$0D" + kQ);
  HV_CHECK_EQ(s.directory, AsCurrent(ShortPath(dir)));
  HV_CHECK_EQ(ReadText(ini), "[Ports]\r\nJoy1=Analogue\r\nJoy2=No\r\nSpeed=100\r\n");
  // A tape with the name left out: the generic text; port values outside the list: Keyboard.
  const std::string tape = Game("C64S Tapes", "tape.t64");
  r = shell.Get(L"C64Sv252", W(exe), W(tape), Arg::Missing(), 3, -1, true, false);
  HV_CHECK_EQ(r.Text(), std::wstring());
  s = WaitForStart(exe);
  HV_CHECK_EQ(s.command_line, ShortPath(exe) + " -tapedir " + DirOf(ShortPath(tape)) +
                                  " -tape tape.t64 -autotype" + kQ + " LOAD$0DRUN$0D" + kQ);
  HV_CHECK_EQ(ReadText(ini), "[Ports]\r\nJoy1=Keyboard\r\nJoy2=Keyboard\r\nSpeed=100\r\n");
  r = shell.Get(L"C64Sv252", W(exe + "x"), W(dir + "\\GAME.PRG"), L"", 0, 0, false, false);
  HV_CHECK_EQ(r.Text(), std::wstring(L"Unable to run this game in C64S v2.52.  This emulator only "
                                     L"supports D64 and T64 files"));
  r = shell.Get(L"C64Sv252", W(exe + "x"), W(game), L"", 0, 0, false, false);
  HV_CHECK_EQ(r.Text(), W("Unable to run C64S v2.52.  File: " + exe + "x not found"));
  r = shell.Get(L"C64Sv252", W(exe), W(game + ".d64"), L"", 0, 0, false, false);
  HV_CHECK_EQ(r.Text(), W("Unable to run C64S v2.52.  File: " + game + ".d64 not found"));
}

HV_WINE_TEST(ViceFamilyCommandLines) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string exe = Program("VICE Emulator", "X64.EXE");
  const std::string dir = DirOf(exe);
  const std::string game = Game("Vice Games", "Big Game.D64");
  const std::string e = ShortPath(exe), g = ShortPath(game);

  Outcome r = shell.Get(L"VICE", W(exe), W(game), L"GAME", 2, 9, false);
  HV_CHECK_EQ(r.Text(), std::wstring());
  Started s = WaitForStart(exe);
  HV_CHECK_EQ(s.command_line,
              Lower(e + " -autostart " + kQ + g + ":GAME" + kQ + " -joydev1 2 -joydev2 9"));
  HV_CHECK_EQ(s.directory, AsCurrent(dir));

  r = shell.Get(L"VICENoSettings", W(exe), W(game), L"", false);
  HV_CHECK_EQ(r.Text(), std::wstring());
  HV_CHECK_EQ(WaitForStart(exe).command_line, Lower(e + " -autostart " + kQ + g + kQ));

  r = shell.Get(L"Comeback64", W(exe), W(game), 0, false);
  HV_CHECK_EQ(r.Text(), std::wstring());
  HV_CHECK_EQ(WaitForStart(exe).command_line, Lower(e + " /L" + g + " /J1"));
  r = shell.Get(L"Comeback64", W(exe), W(game), -1, false);
  HV_CHECK_EQ(WaitForStart(exe).command_line, Lower(e + " /L" + g + " /J2"));

  r = shell.Get(L"Win64Beta", W(exe), W(game), false);
  HV_CHECK_EQ(r.Text(), std::wstring());
  HV_CHECK_EQ(ProgramUnquoted(WaitForStart(exe).command_line), exe + " " + kQ + game + kQ);

  r = shell.Get(L"PC64Win", W(exe), W(game), true);
  HV_CHECK_EQ(r.Text(), std::wstring());
  HV_CHECK_EQ(WaitForStart(exe).command_line, e + " " + g);

  r = shell.Get(L"Frodo", W(exe), false);
  HV_CHECK_EQ(r.Text(), std::wstring());
  s = WaitForStart(exe);
  HV_CHECK_EQ(ProgramUnquoted(s.command_line), exe);
  HV_CHECK_EQ(s.directory, AsCurrent(dir));
}

HV_WINE_TEST(ViceFamilyNotFoundMessages) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string exe = Program("Not There Emulators", "EMU.EXE");
  const std::string game = Game("Not There Games", "GAME.D64");
  const std::string no_exe = exe + "x", no_game = game + "x";
  const std::string before = CurrentDirectory();
  struct Case {
    Outcome got;
    std::string want;
  };
  std::vector<Case> cases;
  cases.push_back({shell.Get(L"VICE", W(no_exe), W(no_game), L"", 0, 0, false),
                   "Unable to run the VICE Emulator.  File: " + no_exe + " not found"});
  cases.push_back({shell.Get(L"VICE", W(exe), W(no_game), L"", 0, 0, false),
                   "Unable to run the VICE Emulator.  File: " + no_game + " not found"});
  cases.push_back({shell.Get(L"VICENoSettings", W(exe), W(no_game), L"", false),
                   "Unable to run the VICE Emulator.  File: " + no_game + " not found"});
  cases.push_back({shell.Get(L"Comeback64", W(no_exe), W(game), 0, false),
                   "Unable to run the Come Back 64 Emulator.  File: " + no_exe + " not found"});
  cases.push_back({shell.Get(L"Win64Beta", W(exe), W(no_game), false),
                   "Unable to run Win64 Beta.  File: " + no_game + " not found"});
  cases.push_back({shell.Get(L"PC64Win", W(no_exe), W(game), false),
                   "Unable to run PC64Win.  File: " + no_exe + " not found"});
  cases.push_back({shell.Get(L"Frodo", W(no_exe), false),
                   "Unable to run Frodo.  File: " + no_exe + " not found"});
  for (const Case& c : cases) {
    HV_CHECK_OK(c.got);
    HV_CHECK_EQ(c.got.Text(), W(c.want));
  }
  HV_CHECK_EQ(CurrentDirectory(), before);
}

// A program that is there but no program Windows runs: the launchers say so in the number and
// text of that failure, not as a missing file.
HV_WINE_TEST(AProgramThatCannotRunSaysWhy) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string dir = FreshFolder("Not A Program");
  const std::string exe = dir + "\\FRODO.EXE";
  WriteText(exe, "no program, only text\r\n");
  const std::string game = Game("Not A Program Games", "GAME.D64");
  HV_CHECK_EQ(shell.Get(L"Frodo", W(exe), false).Text(),
              std::wstring(L"There was an error starting Frodo.  Error 321: Invalid file format"));
  HV_CHECK_EQ(shell.Get(L"VICE", W(exe), W(game), L"", 0, 0, false).Text(),
              std::wstring(L"There was an error starting the VICE Emulator.  Error 321: "
                           L"Invalid file format"));
}

// A name longer than the shell's ANSI entry takes never reaches it: Wine's copies it into
// buffers of MAX_PATH characters on the stack, and the process died in its debugger. Nothing
// is reported, as for any file the shell cannot open.
HV_WINE_TEST(ShellWithDefaultProgramSurvivesANameTooLong) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  for (const std::size_t length : {std::size_t{260}, std::size_t{1000}, std::size_t{1} << 20}) {
    std::wstring name(length, L'h');
    name[3] = L'x';
    HV_CHECK_OK(shell.Call(L"ShellWithDefaultProgram", name, 0L));
  }
  HV_CHECK_OK(shell.Call(L"ShellWithDefaultProgram", W(Data("missing.hvq")), 0L));
}

// hv.exe open says when the shell opened nothing, instead of reporting success.
HV_WINE_TEST(HvOpenReportsWhatTheShellRefused) {
  const std::string tests = StandIn().substr(0, StandIn().rfind('\\'));
  const std::string hv = tests.substr(0, tests.rfind('\\')) + "\\hv.exe";
  if (!FileThere(hv)) return HV_SKIP("hv.exe is not built beside the clients");
  const std::string file = Game("Open Refused", "nothing opens this.hvq");
  const Ran ran = RunProgram("\"" + hv + "\" open \"" + file + "\"");
  HV_CHECK(ran.started);
  HV_CHECK_EQ(ran.exit_code, DWORD{1});
  HV_CHECK(ran.output.find("no program is associated") != std::string::npos);
  HV_CHECK(ran.output.find(file) != std::string::npos);
}

HV_WINE_TEST(PlayMusicStartsThePlayer) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string player = Program("SID Player Folder", "sidplay.exe");
  const std::string tune = Game("Music Folder", "Tune One.sid");
  const std::string music = DirOf(tune);
  const std::string sp = ShortPath(DirOf(player)), sm = ShortPath(music);
  VARIANT_BOOL display = VARIANT_FALSE;
  HV_CHECK_OK(shell.Call(L"PlayMusic", W(player), W(music), L"Tune One.sid", L"Caption",
                         Arg::ByRefBool(&display)));
  Started s = WaitForStart(player);
  HV_CHECK_EQ(s.command_line, sp + "\\sidplay.exe " + sm + "\\Tune One.sid");
  HV_CHECK_EQ(s.directory, AsCurrent(sp));
  short tune_number = -3;
  HV_CHECK_OK(
      shell.Call(L"PlayMusicSong", W(player), W(music), L"Tune One.sid", Arg::ByRef(&tune_number)));
  HV_CHECK_EQ(WaitForStart(player).command_line,
              sp + "\\sidplay.exe -o-3 " + sm + "\\Tune One.sid");
  HV_CHECK_EQ(tune_number, short{-3});
  // A missing tune with no message box: nothing starts, nothing changes, nothing is reported.
  SetCurrentDirectoryA(DataFolder().c_str());
  const std::string before = CurrentDirectory();
  HV_CHECK_OK(shell.Call(L"PlayMusic", W(player), W(music), L"missing.sid", L"Caption",
                         Arg::ByRefBool(&display)));
  HV_CHECK_EQ(CurrentDirectory(), before);
  HV_CHECK(!FileThere(player + ".txt"));
  // A missing player for PlayMusicSong: silent as well.
  HV_CHECK_OK(shell.Call(L"PlayMusicSong", W(player + "x"), W(music), L"Tune One.sid",
                         Arg::ByRef(&tune_number)));
}

HV_WINE_TEST(EnumerationsAreInTheTypeLibrary) {
  ComPtr<ITypeLib> lib;
  if (!HV_CHECK_EQ(LoadRegTypeLib(LIBID_Halvane, 1, 0, LOCALE_NEUTRAL, lib.put()), S_OK)) return;
  // Every member the core knows binds by name, as a client resolving a constant does, to its
  // value in its enumeration.
  ComPtr<ITypeComp> comp;
  HV_CHECK_EQ(lib->GetTypeComp(comp.put()), S_OK);
  for (const hv::halvane::ShellEnumMember& member : hv::halvane::kShellEnumMembers) {
    std::wstring name = FromCp1252(member.name);
    ComPtr<ITypeInfo> info;
    DESCKIND kind = DESCKIND_NONE;
    BINDPTR bind{};
    HRESULT hr = comp->Bind(name.data(), LHashValOfNameSys(SYS_WIN64, LOCALE_NEUTRAL, name.c_str()),
                            0, info.put(), &kind, &bind);
    if (!HV_CHECK(SUCCEEDED(hr) && kind == DESCKIND_VARDESC)) {
      std::printf("  %ls not bound\n", name.c_str());
      continue;
    }
    UniqueBstr type;
    info->GetDocumentation(MEMBERID_NIL, type.put(), nullptr, nullptr, nullptr);
    HV_CHECK_EQ(std::wstring(type.get() ? type.get() : L""), FromCp1252(member.enumeration));
    UniqueVariant value;
    VariantChangeType(value.addr(), bind.lpvardesc->lpvarValue, 0, VT_I4);
    HV_CHECK_EQ(V_I4(&value.get()), static_cast<LONG>(member.value));
    info->ReleaseVarDesc(bind.lpvardesc);
  }
  // With every one of those found, equal counts mean the library has no member the core lacks.
  std::size_t library_members = 0;
  for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
    TYPEKIND kind = TKIND_MAX;
    ComPtr<ITypeInfo> info;
    TYPEATTR* attr = nullptr;
    if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_ENUM) continue;
    if (FAILED(lib->GetTypeInfo(i, info.put())) || FAILED(info->GetTypeAttr(&attr))) continue;
    library_members += attr->cVars;
    info->ReleaseTypeAttr(attr);
  }
  HV_CHECK_EQ(library_members, std::size(hv::halvane::kShellEnumMembers));
  // The launchers' port parameters carry the enumeration type.
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  ComPtr<ITypeInfo> info;
  HV_CHECK_EQ(shell.get()->GetTypeInfo(0, 0, info.put()), S_OK);
  DISPID vice = 0;
  HV_CHECK_EQ(shell.IdOf(L"VICE", vice), S_OK);
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  bool found = false;
  for (UINT i = 0; attr && i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func))) continue;
    if (func->memid == vice && func->cParams >= 5) {
      found = true;
      const TYPEDESC& port = func->lprgelemdescParam[3].tdesc;
      HV_CHECK_EQ(port.vt, VT_USERDEFINED);
      ComPtr<ITypeInfo> ref;
      if (port.vt == VT_USERDEFINED && SUCCEEDED(info->GetRefTypeInfo(port.hreftype, ref.put()))) {
        UniqueBstr name;
        ref->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
        HV_CHECK_EQ(std::wstring(name ? name.get() : L""), std::wstring(L"VICEControlsEnum"));
      }
    }
    info->ReleaseFuncDesc(func);
  }
  if (attr) info->ReleaseTypeAttr(attr);
  HV_CHECK(found);
  // An enumeration value given as a 16-bit number or a string reaches the launcher as a number.
  const std::string exe = Program("VICE Enum", "X64.EXE");
  const std::string game = Game("Vice Enum Games", "G.D64");
  HV_CHECK_EQ(shell.Get(L"VICE", W(exe), W(game), L"", short{4}, L"5", false).Text(),
              std::wstring());
  HV_CHECK_EQ(WaitForStart(exe).command_line,
              Lower(ShortPath(exe) + " -autostart " + kQ + ShortPath(game) + kQ +
                    " -joydev1 4 -joydev2 5"));
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "halvane_shell_client");
}
