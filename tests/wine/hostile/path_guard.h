#pragma once
// The hostile client's last line of defence: no string leaves it that could name something
// outside its scratch drive. Under Wine a root such as "Z:\" is the host's "/", and the members
// delete, remake, rewrite and start what they are given.
//
// A string may go out when every way the server can read it resolves inside the scratch drive
// (S:, never its root) or below C:\hostile-nonexistent\, which must not exist. The server turns
// the BSTR into Windows-1252 with '?' for what it cannot map, and the ANSI file functions stop
// at the first NUL, so both readings are checked, and every NUL-separated piece as well.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace hv::wine::hostile {

inline constexpr std::wstring_view kScratchRoot = L"S:\\";
inline constexpr std::wstring_view kNonexistentRoot = L"C:\\hostile-nonexistent\\";

inline bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                              static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

// What the server's Windows-1252 conversion makes of the text, widened again.
inline std::wstring AsServerSees(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      bytes.data(), n, "?", nullptr);
  const int m = MultiByteToWideChar(1252, 0, bytes.data(), n, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(m), L'\0');
  MultiByteToWideChar(1252, 0, bytes.data(), n, wide.data(), m);
  return wide;
}

// One NUL-free piece, resolved against the current folder (which the client keeps in scratch).
inline bool PieceIsSafe(const std::wstring& piece) {
  if (piece.empty()) return true;
  // Device and UNC forms (\\?\unix\... reaches the host even without a Z: drive).
  if (piece.find(L"\\\\") != std::wstring::npos || piece.find(L"//") != std::wstring::npos ||
      StartsWithNoCase(piece, L"\\\\") || StartsWithNoCase(piece, L"\\??"))
    return false;
  if (piece.size() > 30000) {
    // Too long to resolve: only a plain relative name, which lands in the current folder.
    return piece.find_first_of(L":\\/.") == std::wstring::npos;
  }
  std::vector<wchar_t> full(32768);
  const DWORD n =
      GetFullPathNameW(piece.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n == 0 || n >= full.size()) return false;
  std::wstring resolved(full.data(), n);
  if (StartsWithNoCase(resolved, kScratchRoot)) return resolved.size() > kScratchRoot.size();
  if (StartsWithNoCase(resolved, kNonexistentRoot)) {
    return GetFileAttributesW(L"C:\\hostile-nonexistent") == INVALID_FILE_ATTRIBUTES;
  }
  return false;
}

// A bare name is also looked for along the PATH by OpenFile and CreateProcess.
inline bool FoundAlongPath(const std::wstring& piece) {
  if (piece.empty() || piece.size() > 1000 || piece.find_first_of(L":\\/") != std::wstring::npos)
    return false;
  wchar_t found[MAX_PATH];
  const DWORD n = SearchPathW(nullptr, piece.c_str(), nullptr, MAX_PATH, found, nullptr);
  return n > 0 && n < MAX_PATH && !StartsWithNoCase(found, kScratchRoot);
}

inline bool ReadingIsSafe(const std::wstring& text) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t nul = text.find(L'\0', start);
    const std::wstring piece = text.substr(start, nul == std::wstring::npos ? nul : nul - start);
    if (!PieceIsSafe(piece) || FoundAlongPath(piece)) return false;
    if (nul == std::wstring::npos) return true;
    start = nul + 1;
  }
}

inline bool IsSafeString(std::wstring_view text) {
  const std::wstring raw(text);
  return ReadingIsSafe(raw) && ReadingIsSafe(AsServerSees(raw));
}

// The prefix must have no drive but C: and the scratch drive; above all not Z: (the host root).
inline bool OnlyScratchDrives(std::wstring& why) {
  const DWORD drives = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (!(drives & (1u << letter))) continue;
    if (letter == 'C' - 'A' || letter == 'S' - 'A') continue;
    why = std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L": is mapped";
    return false;
  }
  if (GetDriveTypeW(L"Z:\\") != DRIVE_NO_ROOT_DIR) {
    why = L"Z: answers GetDriveType";
    return false;
  }
  if (GetDriveTypeW(L"S:\\") == DRIVE_NO_ROOT_DIR) {
    why = L"no scratch drive S:";
    return false;
  }
  return true;
}

}  // namespace hv::wine::hostile
