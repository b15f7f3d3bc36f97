// The waveOut calls the output makes, gathered so that a test can stand in a device that
// fails; and what the output has had to do about failing devices.
#pragma once

#include "platform/win32/Win32.h"

#include <mmsystem.h>

namespace skyrift::platform {

struct WaveOutCalls {
  decltype(&waveOutOpen) open = waveOutOpen;
  decltype(&waveOutPrepareHeader) prepare = waveOutPrepareHeader;
  decltype(&waveOutWrite) write = waveOutWrite;
};

// The calls in use; a test replaces one to make the device fail, and puts it back.
WaveOutCalls& DeviceCalls();

// How often the open output has given up a failed device and opened the default one again.
int DeviceReopenings();
// Whether the output is playing on a device now (not silent for want of one).
bool DevicePlaying();

}  // namespace skyrift::platform
