// What the Win32 window tells the key reading: a key the window has taken for itself.
#pragma once

namespace skyrift::platform {

// The game reads the key as up until it is next released (Enter after Alt+Enter).
void IgnoreUntilReleased(int virtualKey);

}  // namespace skyrift::platform
