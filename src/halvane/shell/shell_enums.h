#pragma once
// The control settings the launchers accept. Parameters of these types take any 32-bit value:
// no launcher checks the range, and values outside it are written as they are.

#include <cstdint>
#include <string_view>

// Every member of every enumeration once: enumeration, member, value. The constants below, the
// member names hv accepts and the automation layer's check against its type library are all
// made from this list, so they cannot disagree. One type serves the joystick and key-set ports
// of CCS64 1.09, so values repeat.
#define HV_SHELL_ENUM_MEMBERS(X)                    \
  X(CCS64v109ControlsEnum, eCCS109_PCJoystick1, 0)  \
  X(CCS64v109ControlsEnum, eCCS109_PCJoystick2, 1)  \
  X(CCS64v109ControlsEnum, eCCS109_KeySet1, 0)      \
  X(CCS64v109ControlsEnum, eCCS109_KeySet2, 1)      \
  X(CCS64v109ControlsEnum, eCCS109_KeySet3, 2)      \
  X(CCS64v20ControlEnum, eCCS20_None, 0)            \
  X(CCS64v20ControlEnum, eCCS20_Joystick, 1)        \
  X(CCS64v20ControlEnum, eCCS20_MouseC1351, 2)      \
  X(CCS64v20ControlModeEnum, eCCS20_PCJoystick1, 0) \
  X(CCS64v20ControlModeEnum, eCCS20_PCJoystick2, 1) \
  X(CCS64v20ControlModeEnum, eCCS20_KeySet1, 2)     \
  X(CCS64v20ControlModeEnum, eCCS20_KeySet2, 3)     \
  X(CCS64v20ControlModeEnum, eCCS20_KeySet3, 4)     \
  X(CCS64v20ControlModeEnum, eCCS20_PCMouse, -1)    \
  X(C64SControlsEnum, Disable, 0)                   \
  X(C64SControlsEnum, Keyboard, 1)                  \
  X(C64SControlsEnum, AnalogueJoystick, 2)          \
  X(VICEControlsEnum, eVICE_None, 0)                \
  X(VICEControlsEnum, eVICE_NumpadRCtrl, 1)         \
  X(VICEControlsEnum, eVICE_KeysetA, 2)             \
  X(VICEControlsEnum, eVICE_KeysetB, 3)             \
  X(VICEControlsEnum, eVICE_PCJoystick1, 4)         \
  X(VICEControlsEnum, eVICE_PCJoystick2, 5)         \
  X(CB64ControlsEnum, SelectPort1, 0)               \
  X(CB64ControlsEnum, SelectPort2, 1)

namespace hv::halvane {

enum CCS64v109ControlsEnum : std::int32_t {};
enum CCS64v20ControlEnum : std::int32_t {};
enum CCS64v20ControlModeEnum : std::int32_t {};
enum C64SControlsEnum : std::int32_t {};
enum VICEControlsEnum : std::int32_t {};
enum CB64ControlsEnum : std::int32_t {};

#define HV_SHELL_ENUM_CONSTANT(type, member, value) inline constexpr type member{value};
HV_SHELL_ENUM_MEMBERS(HV_SHELL_ENUM_CONSTANT)
#undef HV_SHELL_ENUM_CONSTANT

struct ShellEnumMember {
  std::string_view enumeration;
  std::string_view name;
  std::int32_t value;
};

#define HV_SHELL_ENUM_ROW(type, member, value) ShellEnumMember{#type, #member, value},
inline constexpr ShellEnumMember kShellEnumMembers[] = {HV_SHELL_ENUM_MEMBERS(HV_SHELL_ENUM_ROW)};
#undef HV_SHELL_ENUM_ROW

}  // namespace hv::halvane
