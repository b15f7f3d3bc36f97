// The test's own connection to the X server of $DISPLAY (XServer.cpp).
#pragma once

#include <string>
#include <vector>

namespace skyrift::e2e {

// The id of a window on screen whose name is exactly `name`, or "" if there is none.
std::string FindWindow(const std::string& name);

// Whether a window manager runs on the server.
bool WindowManagerRunning();

// The window's `width` x `height` pixels from (left, top) as red, green, blue bytes; none if the
// window is gone or does not hold them all.
std::vector<unsigned char> WindowPixels(const std::string& window, int left, int top, int width,
                                        int height);

// Presses (`down`) or lets go of keys named as xdotool names them, such as "Left", "space" or
// "alt+Return"; false if a name is unknown.
bool PressKeys(const std::string& keys, bool down);

}  // namespace skyrift::e2e
