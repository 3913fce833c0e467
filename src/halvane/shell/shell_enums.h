#pragma once
// The control settings the launchers accept. Parameters of these types take any 32-bit value:
// no launcher checks the range, and values outside it are written as they are.

#include <cstdint>

namespace hv::halvane {

enum CCS64v109ControlsEnum : std::int32_t {
  eCCS109_PCJoystick1 = 0,
  eCCS109_PCJoystick2 = 1,
  eCCS109_KeySet1 = 0,
  eCCS109_KeySet2 = 1,
  eCCS109_KeySet3 = 2,
};

enum CCS64v20ControlEnum : std::int32_t {
  eCCS20_None = 0,
  eCCS20_Joystick = 1,
  eCCS20_MouseC1351 = 2,
};

enum CCS64v20ControlModeEnum : std::int32_t {
  eCCS20_PCJoystick1 = 0,
  eCCS20_PCJoystick2 = 1,
  eCCS20_KeySet1 = 2,
  eCCS20_KeySet2 = 3,
  eCCS20_KeySet3 = 4,
  eCCS20_PCMouse = -1,
};

enum C64SControlsEnum : std::int32_t {
  Disable = 0,
  Keyboard = 1,
  AnalogueJoystick = 2,
};

enum VICEControlsEnum : std::int32_t {
  eVICE_None = 0,
  eVICE_NumpadRCtrl = 1,
  eVICE_KeysetA = 2,
  eVICE_KeysetB = 3,
  eVICE_PCJoystick1 = 4,
  eVICE_PCJoystick2 = 5,
};

enum CB64ControlsEnum : std::int32_t {
  SelectPort1 = 0,
  SelectPort2 = 1,
};

}  // namespace hv::halvane
