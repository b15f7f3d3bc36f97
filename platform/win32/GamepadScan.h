// How often the joystick slots have been scanned for a pad, so that a test can tell a scan
// from a read of the known pad.
#pragma once

namespace skyrift::platform {

unsigned GamepadScans();

}  // namespace skyrift::platform
