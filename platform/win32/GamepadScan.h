// How the Win32 layer finds its pad: the joystick slots are asked on a thread of their own, at
// start and whenever Windows says devices changed, because asking them can take a few hundred
// milliseconds. What a test needs to put slow or fake slots in their place and count the scans.
#pragma once

#include "platform/win32/Win32.h"

#include <mmsystem.h>

namespace skyrift::platform {

// The joystick slots as WINMM answers for them.
class JoystickSlots {
 public:
  virtual ~JoystickSlots() = default;
  virtual UINT Count() = 0;
  virtual bool Read(UINT id, JOYINFOEX& info) = 0;
  virtual bool Capabilities(UINT id, JOYCAPSW& caps) = 0;
};

// The slots the scans and reads ask from now on; null puts the system's back.
void UseJoystickSlots(JoystickSlots* slots);
// Windows said devices were added or removed (WM_DEVICECHANGE): the slots are scanned again.
void GamepadDevicesChanged();
// How many scans have finished.
unsigned GamepadScans();

}  // namespace skyrift::platform
