// Gives the open game window a client of another size, as fullscreen or a window fitted to a
// small screen does, so that presenting can be measured at that size. Each platform's own: on
// Windows by the fullscreen key, so the size must be the monitor's.
#pragma once

namespace skyrift::bench {

// False if there is no game window or it did not take the size within a second or two.
bool ResizeGameWindow(const char* title, int width, int height);

}  // namespace skyrift::bench
