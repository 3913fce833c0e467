#pragma once
// What hv play reads from a game file and its name: the program VICE should start, and the
// joystick port a collection's name tag asks for.

#include <string>

namespace hv::cli {

struct StartProgram {
  std::string name;   // the text behind `-autostart "image:`; "" lets VICE choose
  bool exact = true;  // the drive finds that very program by it
};

// A disk's first PRG (matched by a pattern the drive finds it by first), a tape's first
// entry, as VICE takes them; a tape whose header counts no entries still has its first record,
// which VICE starts. Nothing for the other kinds (VICE starts their first program itself).
// `game` is core text.
StartProgram FirstProgram(const std::string& game);

// 1 or 2 when `name` carries a joystick tag ("(J1)", "[j2]", "_j1"), else 0.
int JoystickPortTag(const std::string& name);

}  // namespace hv::cli
