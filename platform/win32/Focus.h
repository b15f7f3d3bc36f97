// Whether the game's window is the active one, the one the player is typing into: the keyboard
// reads the system's keys only then.
#pragma once

namespace skyrift::platform {

bool GameWindowHasFocus();

}  // namespace skyrift::platform
