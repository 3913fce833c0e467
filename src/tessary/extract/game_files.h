#pragma once
// Which files an extraction takes for game files. The classic list knows disk and tape images
// and program files of the old emulators; the current list adds every kind VICE autostarts
// today (D71, D81, G64, X64, TAP, CRT) and keeps documents and pictures from ever being taken
// for a program when nothing is recognised.

#include <string>
#include <string_view>

namespace hv::tessary {

enum class GameFileList {
  kClassic,  // the automation interface's list
  kCurrent,  // hv's road: every kind VICE autostarts
};

// ";"-separated wildcard patterns of the game files of `list`.
std::string_view GameFilePatterns(GameFileList list);

// Whether the loose-file rule (any small file is a program) may take `name`: never a known
// document or picture on the current list.
bool LooseCandidate(GameFileList list, std::string_view name);

}  // namespace hv::tessary
