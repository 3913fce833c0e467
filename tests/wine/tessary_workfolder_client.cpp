// Tessary.hvExtract's working folder under Wine: relative names, the user's and the system's
// folders, folders of other files, a file, and folders of earlier runs with and without the
// marker. After every call, nothing outside the working folder has changed.
// argv[1]: the Windows path of the data folder run.sh filled.

#include <map>

#include "platform/win32/handle.h"
#include "support/extract_client.h"

using namespace hv::wine;

namespace {

const char kMarker[] = ".hvExtract-work";

// Every entry below `top` but `skip`'s subtree: path -> "dir" or the file's bytes.
void Walk(const std::string& top, const std::string& skip,
          std::map<std::string, std::string>& out) {
  WIN32_FIND_DATAA data;
  const hv::platform::win32::UniqueFind find(FindFirstFileA((top + "\\*").c_str(), &data));
  if (!find) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = top + "\\" + name;
    if (_stricmp(path.c_str(), skip.c_str()) == 0) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out[path] = "dir";
      Walk(path, skip, out);
    } else {
      out[path] = "file:" + ReadText(path);
    }
  } while (FindNextFileA(find.get(), &data));
}

std::map<std::string, std::string> Snapshot(const std::string& top, const std::string& skip = "") {
  std::map<std::string, std::string> out;
  Walk(top, skip, out);
  return out;
}

struct Area {
  std::string top = FreshFolder("wf-area");
  std::string cwd = top + "\\cwd";
  std::string stored = top + "\\store\\game.t64";
  Area() {
    CreateDirectoryA(cwd.c_str(), nullptr);
    CreateDirectoryA((top + "\\store").c_str(), nullptr);
    WriteText(stored, "tape");
    WriteText(top + "\\sibling.txt", "next door");
  }
};

// A refusal: error 75 naming the folder and `reason`, the outputs and the area untouched.
void ExpectRefused(const Dispatch& x, const Area& area, const std::string& work,
                   const std::wstring& reason) {
  const auto before = Snapshot(area.top);
  ExtractCall r = RunExtract(x, area.stored, work, "", "", {}, "", "name in", "info in");
  HV_CHECK_EQ(r.outcome.hr, DISP_E_EXCEPTION);
  HV_CHECK_EQ(r.outcome.VbNumber(), hv::vberr::kPathFileAccess);
  HV_CHECK(r.outcome.description.find(L"is not deleted: " + reason) != std::wstring::npos);
  if (r.outcome.description.find(reason) == std::wstring::npos) {
    std::printf("  %s: %s\n", work.c_str(), Narrow(r.outcome.description).c_str());
  }
  HV_CHECK_EQ(r.filename, "name in");
  HV_CHECK_EQ(r.fail_info, "info in");
  HV_CHECK(Snapshot(area.top) == before);
}

// A success into `effective`, with everything outside it unchanged.
void ExpectExtracted(const Dispatch& x, const Area& area, const std::string& work,
                     const std::string& effective) {
  const auto before = Snapshot(area.top, effective);
  ExtractCall r = RunExtract(x, area.stored, work);
  HV_CHECK(r.found());
  HV_CHECK_EQ(ReadText(effective + "\\ReZip\\game.t64"), "tape");
  HV_CHECK(Snapshot(area.top, effective) == before);
  const DWORD marker = GetFileAttributesA((effective + "\\" + kMarker).c_str());
  HV_CHECK(marker != INVALID_FILE_ATTRIBUTES && (marker & FILE_ATTRIBUTE_HIDDEN));
}

}  // namespace

HV_WINE_TEST(RelativeNamesNameOneFolder) {
  Area area;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  SetCurrentDirectoryA(area.cwd.c_str());
  ExpectExtracted(x, area, "work", area.cwd + "\\work");
  SetCurrentDirectoryA((area.cwd + "\\work").c_str());
  ExpectExtracted(x, area, ".", area.cwd + "\\work");
  SetCurrentDirectoryA((area.cwd + "\\work").c_str());
  ExpectExtracted(x, area, ".\\", area.cwd + "\\work");
  // ".." from the empty cwd is the area, which holds the stored file.
  SetCurrentDirectoryA(area.cwd.c_str());
  ExpectRefused(x, area, "..", L"it holds the stored file");
  SetCurrentDirectoryA(DataFolder().c_str());
}

HV_WINE_TEST(TheSystemsAndTheUsersFoldersAreRefused) {
  Area area;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  char profile[MAX_PATH] = {}, windows[MAX_PATH] = {}, programs[MAX_PATH] = {};
  GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetEnvironmentVariableA("ProgramFiles", programs, MAX_PATH);
  ExpectRefused(x, area, profile, L"it is the user's home folder");
  const std::string users(profile, std::string(profile).rfind('\\'));
  ExpectRefused(x, area, users, L"it holds the user's home folder");
  ExpectRefused(x, area, windows, L"it is the Windows folder");
  ExpectRefused(x, area, std::string(windows) + "\\system32\\..", L"it is the Windows folder");
  ExpectRefused(x, area, programs, L"it is a Program Files folder");
  ExpectRefused(x, area, "C:", L"it names a drive or its root");
  ExpectRefused(x, area, "", L"no working folder was given");
}

HV_WINE_TEST(OtherFilesAreNeverCleared) {
  Area area;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  const std::string user = area.top + "\\My Files";
  CreateDirectoryA(user.c_str(), nullptr);
  WriteText(user + "\\letter.txt", "dear");
  WriteText(user + "\\game.d64", "mine");
  ExpectRefused(x, area, user, L"it is not empty");
  ExpectRefused(x, area, area.top + "\\sibling.txt", L"it is a file, not a folder");
  ExpectRefused(x, area, area.top + "\\store", L"it holds the stored file");
  ExpectRefused(x, area, area.top, L"it holds the stored file");
}

HV_WINE_TEST(EarlierRunsAreCleared) {
  Area area;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  // The layout an earlier version left, without a marker.
  const std::string old = area.top + "\\old";
  CreateDirectoryA(old.c_str(), nullptr);
  CreateDirectoryA((old + "\\P1").c_str(), nullptr);
  CreateDirectoryA((old + "\\ReZip").c_str(), nullptr);
  WriteText(old + "\\game.zip", "z");
  WriteText(old + "\\P1\\x.prg", "p");
  ExpectExtracted(x, area, old, old);
  HV_CHECK(!FileThere(old + "\\game.zip"));
  // Once marked, the folder is ours whatever was put into it since.
  WriteText(old + "\\stray.txt", "s");
  ExpectExtracted(x, area, old, old);
  HV_CHECK(!FileThere(old + "\\stray.txt"));
  // A failure never lists the marker, and the result folder never receives it.
  const std::string plain = area.top + "\\plain";
  CreateDirectoryA(plain.c_str(), nullptr);
  WriteText(plain + "\\notes.txt", "n");
  ExtractCall r = RunExtract(x, plain + "\\notes.txt", old);
  HV_CHECK(IsTrue(r.outcome));
  HV_CHECK(!FileThere(old + "\\ReZip\\" + kMarker));
  if (InputsMade({"toobig.zip"})) {
    ExtractCall big = RunExtract(x, Input("toobig.zip"), old);
    HV_CHECK(IsFalse(big.outcome));
    HV_CHECK(big.fail_info.find("huge.bin") != std::string::npos);
    HV_CHECK(big.fail_info.find(kMarker) == std::string::npos);
  }
  // A run that failed before its first level left the stored file alone, without a marker.
  const std::string failed = area.top + "\\failed";
  CreateDirectoryA(failed.c_str(), nullptr);
  WriteText(failed + "\\huge.bin", "h");
  ExpectExtracted(x, area, failed, failed);
  HV_CHECK(!FileThere(failed + "\\huge.bin"));
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "tessary_workfolder_client");
}
