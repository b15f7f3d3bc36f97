// What the Win32 window tells the key reading: the key messages it receives, and a key the
// window has taken for itself.
#pragma once

#include "platform/win32/Win32.h"

namespace skyrift::platform {

// Every message of the game's window passes here first; key messages say which keys were
// pressed, and whether as the game's or the system's.
void KeyMessage(UINT message, WPARAM wParam, LPARAM lParam);

// The game reads the key as up until it is next released (Enter after Alt+Enter).
void IgnoreUntilReleased(int virtualKey);

}  // namespace skyrift::platform
