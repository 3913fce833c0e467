// Halvane.hvFunctions driven as the front-end drives it: by ProgID and member names, with typed
// by-reference variables, record arrays built from the type library, and an event sink.
// argv[1]: the Windows path of a data folder the client may write into.

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Halvane.h"
#include "support/halvane_client.h"
#include "support/run_program.h"

using namespace hv::wine;

namespace {

// ConfigFileType's id, bound by name in the registered type library.
GUID ConfigFileTypeId() {
  ComPtr<ITypeLib> lib;
  ComPtr<ITypeComp> comp;
  if (FAILED(LoadRegTypeLib(LIBID_Halvane, 1, 0, LOCALE_NEUTRAL, lib.put())) ||
      FAILED(lib->GetTypeComp(comp.put()))) {
    return GUID_NULL;
  }
  std::wstring name = L"ConfigFileType";
  ComPtr<ITypeInfo> info;
  ComPtr<ITypeComp> members;
  TYPEATTR* attr = nullptr;
  if (FAILED(comp->BindType(name.data(), LHashValOfNameSys(SYS_WIN64, LOCALE_NEUTRAL, name.c_str()),
                            info.put(), members.put())) ||
      !info || FAILED(info->GetTypeAttr(&attr))) {
    return GUID_NULL;
  }
  const GUID id = attr->guid;
  info->ReleaseTypeAttr(attr);
  return id;
}

// The record as the type library lays it out.
struct ConfigFileRecord {
  BSTR KeyToChange;
  BSTR ValueToSet;
};

// `Dim a(lower To ...) As ConfigFileType`, filled with key/value pairs.
SAFEARRAY* RecordArray(const std::vector<std::pair<std::wstring, std::wstring>>& entries,
                       LONG lower = 0) {
  ComPtr<IRecordInfo> info;
  if (!HV_CHECK_EQ(GetRecordInfoFromGuids(LIBID_Halvane, 1, 0, 0, ConfigFileTypeId(), info.put()),
                   S_OK))
    return nullptr;
  SAFEARRAYBOUND bound{static_cast<ULONG>(entries.size()), lower};
  SAFEARRAY* array = SafeArrayCreateEx(VT_RECORD, 1, &bound, info.get());
  if (!HV_CHECK(array != nullptr)) return nullptr;
  void* data = nullptr;
  SafeArrayAccessData(array, &data);
  auto* records = static_cast<ConfigFileRecord*>(data);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    records[i].KeyToChange = SysAllocString(entries[i].first.c_str());
    records[i].ValueToSet = SysAllocString(entries[i].second.c_str());
  }
  SafeArrayUnaccessData(array);
  return array;
}

std::string MissingDriveLetter() {
  for (char letter = 'Q'; letter <= 'Y'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR) return std::string(1, letter) + ":";
  }
  return "";
}

// A PSID header: name, author, copyright, song count and start song as given.
std::string Psid(const std::string& name, const std::string& author, std::uint16_t songs,
                 std::uint16_t start) {
  std::string bytes(0x7C, '\0');
  bytes.replace(0, 4, "PSID");
  bytes[5] = 2;
  bytes[7] = 0x7C;
  bytes[0x0E] = static_cast<char>(songs >> 8);
  bytes[0x0F] = static_cast<char>(songs & 0xFF);
  bytes[0x10] = static_cast<char>(start >> 8);
  bytes[0x11] = static_cast<char>(start & 0xFF);
  bytes.replace(0x16, name.size(), name);
  bytes.replace(0x36, author.size(), author);
  bytes.replace(0x56, 9, "1987 Acme");
  return bytes + "music data";
}

std::wstring Padded(const std::wstring& text) {
  return text + std::wstring(32 - text.size(), L'\0');
}

}  // namespace

HV_WINE_TEST(PathsComeBackThroughTheInOutStrings) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  StringVar path(L"old path"), file(L"old file");
  HV_CHECK_OK(fn.Call(L"GetFileAndPath", L"C:\\GAMES\\A.D64", path.ByRef(), file.ByRef()));
  HV_CHECK_EQ(path.Text(), std::wstring(L"C:\\GAMES"));
  HV_CHECK_EQ(file.Text(), std::wstring(L"A.D64"));
  HV_CHECK_OK(fn.Call(L"GetFileAndPath", L"C:/X/A.D64", path.ByRef(), file.ByRef()));
  HV_CHECK_EQ(path.Text(), std::wstring());
  HV_CHECK_EQ(file.Text(), std::wstring(L"C:/X/A.D64"));
  HV_CHECK_OK(fn.Call(L"GetFileAndPath", L"C:\\GAMES\\", path.ByRef(), file.ByRef()));
  HV_CHECK_EQ(path.Text(), std::wstring(L"C:\\GAMES"));
  HV_CHECK_EQ(file.Text(), std::wstring());
  // One variable for both outputs ends up holding the file name.
  StringVar both(L"x");
  HV_CHECK_OK(fn.Call(L"GetFileAndPath", L"C:\\GAMES\\A.D64", both.ByRef(), both.ByRef()));
  HV_CHECK_EQ(both.Text(), std::wstring(L"A.D64"));
  // Text outside ASCII travels as Windows-1252 and back.
  HV_CHECK_OK(
      fn.Call(L"GetFileAndPath", L"C:\\Sp\u00E9le\\\u20AC.d64", path.ByRef(), file.ByRef()));
  HV_CHECK_EQ(path.Text(), std::wstring(L"C:\\Sp\u00E9le"));
  HV_CHECK_EQ(file.Text(), std::wstring(L"\u20AC.d64"));
  HV_CHECK_EQ(fn.Get(L"JustFileName", L"C:\\GAMES\\A.D64").Text(), std::wstring(L"A.D64"));
  HV_CHECK_EQ(fn.Get(L"JustFileName", L"C:\\GAMES\\").Text(), std::wstring());
  HV_CHECK_EQ(fn.Get(L"JustFileName", L"A.D64").Text(), std::wstring(L"A.D64"));
}

HV_WINE_TEST(Long2ShortGivesThePlatformsShortForm) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string folder = FreshFolder("Long Folder Name");
  WriteText(folder + "\\a rather long file name.d64", "x");
  const std::string expected = ShortPath(folder + "\\a rather long file name.d64");
  HV_CHECK(!expected.empty());
  Outcome got = fn.Get(L"Long2Short", W(folder + "\\a rather long file name.d64"));
  HV_CHECK_EQ(got.type(), VT_BSTR);
  HV_CHECK_EQ(got.Text(), W(expected));
  HV_CHECK(got.Text().find(L' ') == std::wstring::npos);
  HV_CHECK_EQ(fn.Get(L"Long2Short", W(folder + "\\missing.d64")).Text(), std::wstring());
  HV_CHECK_EQ(fn.Get(L"Long2Short", L"").Text(), std::wstring());
}

HV_WINE_TEST(FileExistsFindsAToolOnThePath) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string tools = FreshFolder("tools on path");
  WriteText(tools + "\\HVTOOL.EXE", "MZ");
  char old_path[32768] = {};
  GetEnvironmentVariableA("PATH", old_path, sizeof old_path);
  SetEnvironmentVariableA("PATH", (tools + ";" + old_path).c_str());
  HV_CHECK(IsTrue(fn.Get(L"FileExists", L"HVTOOL.EXE", false, L"")));
  HV_CHECK(IsFalse(fn.Get(L"FileExists", L"HVNOTOOL.EXE", false, L"")));
  SetEnvironmentVariableA("PATH", old_path);
  HV_CHECK(IsFalse(fn.Get(L"FileExists", L"HVTOOL.EXE", false, L"")));
  // A file that exists never shows a box, whatever DisplayMsgBox says.
  HV_CHECK(IsTrue(fn.Get(L"FileExists", W(tools + "\\HVTOOL.EXE"), true, L"Caption")));
  HV_CHECK(IsFalse(fn.Get(L"FileExists", L"", false, L"")));
  HV_CHECK(IsFalse(fn.Get(L"FileExists", W(tools + "\\no such folder\\x.d64"), false, L"")));
}

HV_WINE_TEST(DrivesAndVolumes) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string missing = MissingDriveLetter();
  if (!HV_CHECK(!missing.empty())) return;
  // A drive that does not exist counts as a CD-ROM drive (invalid root).
  HV_CHECK(IsTrue(fn.Get(L"DriveTypeIsCDRom", W(missing))));
  HV_CHECK(IsFalse(fn.Get(L"DriveTypeIsCDRom", L"C:")));
  HV_CHECK_EQ(fn.Get(L"GetVolumeName", W(missing)).Text(), std::wstring());
  char label[MAX_PATH + 1] = {};
  GetVolumeInformationA("C:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
  Outcome c = fn.Get(L"GetVolumeName", L"C:");
  HV_CHECK_EQ(c.type(), VT_BSTR);
  HV_CHECK_EQ(c.Text(), W(label));
}

HV_WINE_TEST(DirExistsLeavesTheFolderCurrent) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string folder = FreshFolder("current here");
  const std::string before = CurrentDirectory();
  HV_CHECK(IsFalse(fn.Get(L"DirExists", W(folder + "\\missing"))));
  HV_CHECK_EQ(CurrentDirectory(), before);
  HV_CHECK(IsTrue(fn.Get(L"DirExists", W(folder))));
  HV_CHECK_EQ(CurrentDirectory(), folder);
  HV_CHECK(IsFalse(fn.Get(L"DirExists", L"")));
  SetCurrentDirectoryA(before.c_str());
}

HV_WINE_TEST(DeletePathSilentRemovesATree) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string folder = FreshFolder("to delete");
  CreateDirectoryA((folder + "\\inner").c_str(), nullptr);
  WriteText(folder + "\\inner\\f.txt", "x");
  HV_CHECK_OK(fn.Call(L"DeletePathSilent", W(folder)));
  HV_CHECK(!FileThere(folder));
}

HV_WINE_TEST(ChangeConfigFileTakesAnArrayOfRecords) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string cfg = FreshFolder("config") + "\\c64.cfg";
  const std::string original = "$JOYSTICK1PC=0\r\n\r\n$LOADPATH=C:\\GAMES\r\n";
  WriteText(cfg, original);
  // By reference, as `ByRef arr() As ConfigFileType` arrives.
  SAFEARRAY* array = RecordArray({{L"$loadpath", L"D:\\C64"}, {L"$JOYSTICK1PC", L"1"}});
  HV_CHECK_OK(fn.Call(L"ChangeConfigFile", W(cfg), Arg::ByRefRecords(&array)));
  HV_CHECK_EQ(ReadText(cfg), std::string("$JOYSTICK1PC=1\r\n$loadpath=D:\\C64\r\n"));
  SafeArrayDestroy(array);
  // By value, and wrapped in a by-reference variant.
  array = RecordArray({{L"$JOYSTICK1PC", L"\u00E9"}});
  UniqueVariant by_value;
  V_VT(by_value.addr()) = VT_ARRAY | VT_RECORD;
  V_ARRAY(by_value.addr()) = array;  // owned by by_value now
  HV_CHECK_OK(fn.Call(L"ChangeConfigFile", W(cfg), Arg::Raw(by_value.get())));
  HV_CHECK_EQ(ReadText(cfg), std::string("$JOYSTICK1PC=\xE9\r\n$loadpath=D:\\C64\r\n"));
  SAFEARRAY* again = RecordArray({{L"$JOYSTICK1PC", L"2"}});
  VARIANT inner;
  VariantInit(&inner);
  V_VT(&inner) = VT_BYREF | VT_ARRAY | VT_RECORD;
  V_ARRAYREF(&inner) = &again;
  HV_CHECK_OK(fn.Call(L"ChangeConfigFile", W(cfg), Arg::ByRef(&inner)));
  HV_CHECK_EQ(ReadText(cfg), std::string("$JOYSTICK1PC=2\r\n$loadpath=D:\\C64\r\n"));
  SafeArrayDestroy(again);
}

HV_WINE_TEST(ChangeConfigFileErrorsReachTheClient) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string cfg = FreshFolder("config errors") + "\\c64.cfg";
  const std::string original = "$JOYSTICK1PC=0\r\n\r\n$LOADPATH=C:\\GAMES\r\n";
  WriteText(cfg, original);
  // An array never dimensioned: subscript out of range, nothing written.
  SAFEARRAY* none = nullptr;
  Outcome undimensioned = fn.Call(L"ChangeConfigFile", W(cfg), Arg::ByRefRecords(&none));
  HV_CHECK_EQ(undimensioned.hr, DISP_E_EXCEPTION);
  HV_CHECK_EQ(undimensioned.VbNumber(), hv::vberr::kSubscriptOutOfRange);
  HV_CHECK_EQ(undimensioned.description, std::wstring(L"Subscript out of range"));
  HV_CHECK_EQ(undimensioned.source, std::wstring(L"Halvane.hvFunctions"));
  HV_CHECK_EQ(ReadText(cfg), original);
  // An array starting at 1.
  SAFEARRAY* from_one = RecordArray({{L"$LOADPATH", L"X"}}, 1);
  HV_CHECK_EQ(fn.Call(L"ChangeConfigFile", W(cfg), Arg::ByRefRecords(&from_one)).VbNumber(),
              hv::vberr::kSubscriptOutOfRange);
  HV_CHECK_EQ(ReadText(cfg), original);
  SafeArrayDestroy(from_one);
  // A missing file: the file layer's error.
  SAFEARRAY* array = RecordArray({{L"$LOADPATH", L"X"}});
  Outcome missing = fn.Call(L"ChangeConfigFile", W(cfg + ".missing"), Arg::ByRefRecords(&array));
  HV_CHECK_EQ(missing.VbNumber(), hv::vberr::kFileNotFound);
  HV_CHECK(!FileThere(cfg + ".missing"));
  SafeArrayDestroy(array);
  // No array of records at all.
  SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 1);
  UniqueVariant wrong;
  V_VT(wrong.addr()) = VT_ARRAY | VT_BSTR;
  V_ARRAY(wrong.addr()) = strings;
  HV_CHECK_EQ(fn.Call(L"ChangeConfigFile", W(cfg), Arg::Raw(wrong.get())).VbNumber(),
              hv::vberr::kTypeMismatch);
  HV_CHECK_EQ(fn.Call(L"ChangeConfigFile", W(cfg)).hr, DISP_E_PARAMNOTFOUND);
  HV_CHECK_EQ(ReadText(cfg), original);
}

// Line ends: a lone LF ends a line as CR LF and CR do, and Windows writes every line back
// with CR LF; the empty key keeps replacing the first line.
HV_WINE_TEST(ChangeConfigFileKeepsEveryLineOfAnLfFile) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string cfg = FreshFolder("config line ends") + "\\vice.ini";
  const auto change = [&](const std::vector<std::pair<std::wstring, std::wstring>>& entries) {
    SAFEARRAY* array = RecordArray(entries);
    HV_CHECK_OK(fn.Call(L"ChangeConfigFile", W(cfg), Arg::ByRefRecords(&array)));
    SafeArrayDestroy(array);
  };
  WriteText(cfg, "[C64]\nSound=1\nVideo=2\n\nJoy=0\n");
  change({{L"Sound", L"0"}});
  HV_CHECK_EQ(ReadText(cfg), std::string("[C64]\r\nSound=0\r\nVideo=2\r\nJoy=0\r\n"));
  WriteText(cfg, "A=1\rB=2\nC=3\r\n");
  change({{L"c", L"4"}, {L"b", L"5"}});
  HV_CHECK_EQ(ReadText(cfg), std::string("A=1\r\nb=5\r\nc=4\r\n"));
  WriteText(cfg, "A=1\nB=2");
  change({{L"", L"v"}});
  HV_CHECK_EQ(ReadText(cfg), std::string("=v\r\nB=2\r\n"));
}

// The file is replaced whole, and keeps what it was: a hidden system file stays one.
HV_WINE_TEST(ChangeConfigFileKeepsTheAttributes) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string folder = FreshFolder("config attributes");
  const std::string cfg = folder + "\\c64.cfg";
  WriteText(cfg, "$JOYSTICK1PC=0\r\n\r\n");
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  SetFileAttributesA(cfg.c_str(), kKept);
  if ((GetFileAttributesA(cfg.c_str()) & kKept) != kKept) {
    return HV_SKIP("the file system of the data folder keeps no hidden or system attribute");
  }
  SAFEARRAY* array = RecordArray({{L"$JOYSTICK1PC", L"1"}});
  HV_CHECK_OK(fn.Call(L"ChangeConfigFile", W(cfg), Arg::ByRefRecords(&array)));
  SafeArrayDestroy(array);
  HV_CHECK_EQ(ReadText(cfg), std::string("$JOYSTICK1PC=1\r\n"));
  HV_CHECK_EQ(GetFileAttributesA(cfg.c_str()) & kKept, kKept);
  // Nothing else is left in the folder.
  WIN32_FIND_DATAA found;
  int files = 0;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  }
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  HV_CHECK_EQ(files, 1);
  SetFileAttributesA(cfg.c_str(), FILE_ATTRIBUTE_NORMAL);
}

HV_WINE_TEST(SidHeadersThroughInOutArguments) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string folder = FreshFolder("sid");
  const std::string tune = folder + "\\tune.sid";
  WriteText(tune, Psid("ABC",
                       "Some \xE9"
                       "composer",
                       0x0100, 0x0002));
  StringVar name(L"n"), author(L"a"), copyright(L"c");
  short total = -7, start = -7;
  Outcome info = fn.Get(L"GetSidInfo", W(tune), name.ByRef(), author.ByRef(), copyright.ByRef(),
                        Arg::ByRef(&total), Arg::ByRef(&start));
  HV_CHECK(IsTrue(info));
  HV_CHECK_EQ(name.Text(), Padded(L"ABC"));
  HV_CHECK_EQ(author.Text(), Padded(L"Some \u00E9composer"));
  HV_CHECK_EQ(copyright.Text(), Padded(L"1987 Acme"));
  HV_CHECK_EQ(total, short{256});
  HV_CHECK_EQ(start, short{2});
  total = start = 0;
  HV_CHECK(IsTrue(fn.Get(L"GetSidSongInfo", W(tune), Arg::ByRef(&total), Arg::ByRef(&start))));
  HV_CHECK_EQ(total, short{256});
  HV_CHECK_EQ(fn.Get(L"GetSidAuthor", W(tune)).Text(), Padded(L"Some \u00E9composer"));
  // The start song is written as two bytes at 0x10; everything else stays.
  short song = 256;
  HV_CHECK(IsTrue(fn.Get(L"SaveDefaultSidSong", W(tune), Arg::ByRef(&song))));
  std::string bytes = ReadText(tune);
  HV_CHECK_EQ(bytes.substr(0x10, 2), std::string("\x01\x00", 2));
  HV_CHECK_EQ(bytes, [&] {
    std::string want = Psid("ABC",
                            "Some \xE9"
                            "composer",
                            0x0100, 0x0100);
    return want;
  }());
  song = 300;
  HV_CHECK(IsFalse(fn.Get(L"SaveDefaultSidSong", W(tune), Arg::ByRef(&song))));
  HV_CHECK_EQ(ReadText(tune), bytes);
  // Not a PSID file: false, the caller's values stay, the file is untouched.
  const std::string text = folder + "\\notes.txt";
  std::string notes(0x60, '.');
  notes.replace(0x36, 6, "Author");
  WriteText(text, notes);
  StringVar keep(L"keep");
  total = 5;
  HV_CHECK(IsFalse(fn.Get(L"GetSidInfo", W(text), keep.ByRef(), author.ByRef(), copyright.ByRef(),
                          Arg::ByRef(&total), Arg::ByRef(&start))));
  HV_CHECK_EQ(keep.Text(), std::wstring(L"keep"));
  HV_CHECK_EQ(total, short{5});
  song = 3;
  HV_CHECK(IsFalse(fn.Get(L"SaveDefaultSidSong", W(text), Arg::ByRef(&song))));
  HV_CHECK_EQ(ReadText(text), notes);
  HV_CHECK_EQ(fn.Get(L"GetSidAuthor", W(text)).Text(), W("Author" + std::string(26, '.')));
  HV_CHECK(IsFalse(fn.Get(L"GetSidSongInfo", W(folder + "\\missing.sid"), Arg::ByRef(&total),
                          Arg::ByRef(&start))));
  HV_CHECK(!FileThere(folder + "\\missing.sid"));
}

HV_WINE_TEST(FindFilesRaisesFoundFileForEveryMatch) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string root = FreshFolder("search");
  WriteText(root + "\\a.sid", std::string(10, 'a'));
  WriteText(root + "\\x.txt", "x");
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  WriteText(root + "\\sub\\b.sid", std::string(20, 'b'));
  CreateDirectoryA((root + "\\sub\\deeper").c_str(), nullptr);
  WriteText(root + "\\sub\\deeper\\c.SID", std::string(5, 'c'));
  CreateDirectoryA((root + "\\empty").c_str(), nullptr);
  ComPtr<IConnectionPoint> point = DefaultEventPoint(fn);
  if (!point) return;
  RecordingSink sink;
  DWORD cookie = 0;
  HV_CHECK_EQ(point->Advise(&sink, &cookie), S_OK);
  StringVar path(W(root)), pattern(L"*.sid");
  Outcome total = fn.Get(L"FindFiles", path.ByRef(), pattern.ByRef());
  HV_CHECK_OK(total);
  HV_CHECK_EQ(total.Long(), 35L);
  HV_CHECK_EQ(path.Text(), W(root + "\\"));  // the caller's variable got its backslash
  HV_CHECK_EQ(pattern.Text(), std::wstring(L"*.sid"));
  const std::vector<std::wstring> expected = {W(root + "\\a.sid"), W(root + "\\sub\\b.sid"),
                                              W(root + "\\sub\\deeper\\c.SID")};
  HV_CHECK_EQ(sink.calls.size(), expected.size());
  for (std::size_t i = 0; i < sink.calls.size() && i < expected.size(); ++i) {
    HV_CHECK_EQ(sink.calls[i].first, DISPID{1});
    HV_CHECK_EQ(sink.calls[i].second, expected[i]);
  }
  // No match and no subfolder: the empty value and no event.
  sink.calls.clear();
  StringVar empty_path(W(root + "\\empty\\"));
  Outcome nothing = fn.Get(L"FindFiles", empty_path.ByRef(), pattern.ByRef());
  HV_CHECK_OK(nothing);
  HV_CHECK_EQ(nothing.type(), VT_EMPTY);
  HV_CHECK(sink.calls.empty());
  HV_CHECK_EQ(point->Unadvise(cookie), S_OK);
  HV_CHECK_EQ(sink.refs, 1UL);
}

// A Unix symbolic link seen through Z: is what Wine shows as a reparse point (the folder bit
// and the reparse-point bit), as a junction or a folder link is on Windows: the searches go
// into it, and walk each folder once however many ways lead to it.
HV_WINE_TEST(SearchesGoIntoLinkedFoldersOnce) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string root = Data("linked search"), outside = Data("linked target");
  const std::vector<std::string> links = {root + "\\a\\linked", root + "\\same",
                                          root + "\\a\\self"};
  for (const std::string& link : links) RemoveUnixLink(link);  // left by an earlier run
  FreshFolder("linked search");
  FreshFolder("linked target");
  CreateDirectoryA((root + "\\a").c_str(), nullptr);
  WriteText(root + "\\a\\t.sid", std::string(5, 't'));
  WriteText(outside + "\\u.sid", std::string(7, 'u'));
  if (!MakeUnixLink(outside, links[0]) || !MakeUnixLink(outside, links[1]) ||
      !MakeUnixLink(root + "\\a", links[2])) {
    return HV_SKIP("no Unix symbolic link could be made with /bin/ln under the data folder");
  }
  HV_CHECK_EQ(GetFileAttributesA(links[0].c_str()),
              DWORD{FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT});
  ComPtr<IConnectionPoint> point = DefaultEventPoint(fn);
  if (!point) return;
  RecordingSink sink;
  DWORD cookie = 0;
  HV_CHECK_EQ(point->Advise(&sink, &cookie), S_OK);
  StringVar path(W(root)), pattern(L"*.sid");
  Outcome total = fn.Get(L"FindFiles", path.ByRef(), pattern.ByRef());
  HV_CHECK_OK(total);
  HV_CHECK_EQ(total.Long(), 12L);
  std::vector<std::wstring> hits;
  for (const auto& call : sink.calls) hits.push_back(call.second);
  HV_CHECK_EQ(hits.size(), std::size_t{2});
  const auto count = [&](const std::string& hit) {
    return std::count(hits.begin(), hits.end(), W(hit));
  };
  HV_CHECK_EQ(count(root + "\\a\\t.sid"), 1);
  // Whichever way in was listed first reports it.
  HV_CHECK_EQ(count(root + "\\a\\linked\\u.sid") + count(root + "\\same\\u.sid"), 1);
  HV_CHECK_EQ(point->Unadvise(cookie), S_OK);
  const std::wstring found = fn.Get(L"FindFile", L"u.sid", W(root)).Text();
  HV_CHECK(found == W(root + "\\a\\linked\\u.sid") || found == W(root + "\\same\\u.sid"));
  HV_CHECK_EQ(fn.Get(L"FindFile", L"none.sid", W(root)).Text(), std::wstring());
  for (const std::string& link : links) RemoveUnixLink(link);
}

// The system reads a path only up to a NUL: the searches walk the folder before it, once.
HV_WINE_TEST(SearchesEndAtANulInThePath) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string root = FreshFolder("nul search");
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  WriteText(root + "\\b.sid", std::string(4, 'b'));
  WriteText(root + "\\sub\\a.sid", std::string(3, 'a'));
  ComPtr<IConnectionPoint> point = DefaultEventPoint(fn);
  if (!point) return;
  RecordingSink sink;
  DWORD cookie = 0;
  HV_CHECK_EQ(point->Advise(&sink, &cookie), S_OK);
  const std::wstring cut = W(root) + std::wstring(1, L'\0') + L"junk";
  StringVar path(cut), pattern(std::wstring(L"*.sid\0junk", 10));
  Outcome total = fn.Get(L"FindFiles", path.ByRef(), pattern.ByRef());
  HV_CHECK_OK(total);
  HV_CHECK_EQ(total.Long(), 7L);
  HV_CHECK_EQ(path.Text(), cut + L"\\");
  HV_CHECK_EQ(sink.calls.size(), std::size_t{2});
  if (sink.calls.size() == 2) {
    HV_CHECK_EQ(sink.calls[0].second, W(root + "\\b.sid"));
    HV_CHECK_EQ(sink.calls[1].second, W(root + "\\sub\\a.sid"));
  }
  HV_CHECK_EQ(point->Unadvise(cookie), S_OK);
  HV_CHECK_EQ(fn.Get(L"FindFile", L"a.sid", cut).Text(), W(root + "\\sub\\a.sid"));
}

HV_WINE_TEST(FindFileReturnsTheFirstHit) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string root = FreshFolder("find one");
  CreateDirectoryA((root + "\\a").c_str(), nullptr);
  CreateDirectoryA((root + "\\a\\b").c_str(), nullptr);
  WriteText(root + "\\a\\b\\GAME.D64", "x");
  HV_CHECK_EQ(fn.Get(L"FindFile", L"GAME.D64", W(root)).Text(), W(root + "\\a\\b\\GAME.D64"));
  HV_CHECK_EQ(fn.Get(L"FindFile", L"NONE.D64", W(root)).Text(), std::wstring());
  HV_CHECK_EQ(fn.Get(L"FindFile", L"GAME.D64", W(root + "\\missing")).Text(), std::wstring());
}

HV_WINE_TEST(CdPromptsThatNeedNoPrompt) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string folder = FreshFolder("on cd");
  WriteText(folder + "\\A.D64", "x");
  const std::string before = CurrentDirectory();
  HV_CHECK(IsTrue(fn.Get(L"WaitForCDRomPath", W(folder))));
  HV_CHECK_EQ(CurrentDirectory(), folder);
  SetCurrentDirectoryA(before.c_str());
  HV_CHECK(IsTrue(fn.Get(L"WaitForCDRomFile", W(folder + "\\A.D64"))));
  // A drive that is not there has no label: an empty name matches at once.
  HV_CHECK(IsTrue(fn.Get(L"WaitForCDRom", W(MissingDriveLetter()), L"")));
  // Null cannot become a path: the conversion error, before any prompt.
  UniqueVariant null_value;
  V_VT(null_value.addr()) = VT_NULL;
  Outcome null_path = fn.Get(L"WaitForCDRomPath", Arg::Raw(null_value.get()));
  HV_CHECK_EQ(null_path.hr, DISP_E_EXCEPTION);
  HV_CHECK_EQ(null_path.VbNumber(), hv::vberr::kInvalidUseOfNull);
  HV_CHECK_EQ(null_path.description, std::wstring(L"Invalid use of Null"));
  HV_CHECK_EQ(fn.Get(L"WaitForCDRomFile", Arg::Raw(null_value.get())).VbNumber(),
              hv::vberr::kInvalidUseOfNull);
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "halvane_functions_client");
}
