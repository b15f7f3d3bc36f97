// What a key is called on screen: a short name in capitals for every Windows virtual-key code
// controls.txt may bind, short enough for a key plate.
#pragma once

#include <string>

namespace skyrift {

// "A", "7", "SPACE", "NUM 4", "F11", "LEFT"...; "NONE" for 0 (unbound); "KEY 200" for a code
// no keyboard names.
std::string KeyName(int code);

// How a player's four direction keys are shown together: "ARROWS" for the arrow keys, otherwise
// their names in the order a hand lies on them, up, left, down, right ("W A S D").
std::string MovementKeysName(int up, int down, int left, int right);

}  // namespace skyrift
