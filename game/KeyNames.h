// What a key is called on screen: a short name in capitals for every Windows virtual-key code
// controls.txt may bind, short enough for a key plate; and the names the title's legend and the
// upgrade menus show for a player's keys. The forge letters the shipped keys with these too.
#pragma once

#include <array>
#include <string>

#include "resources/KeyPlaces.h"

namespace skyrift {

// "A", "7", "SPACE", "NUM 4", "F11", "LEFT"...; "NONE" for 0 (unbound); "KEY 200" for a code
// no keyboard names.
std::string KeyName(int code);

// How a player's four direction keys are shown together: "ARROWS" for the arrow keys, otherwise
// their names in the order a hand lies on them, up, left, down, right ("W A S D").
std::string MovementKeysName(int up, int down, int left, int right);

// One player's keys, in controls.txt's order.
struct PlayerKeys {
  int up, down, left, right, fire, bomb, bulletTime, recharge, menu;
};

// A player's (1 or 2) keys as the game ships them in controls.txt.
PlayerKeys ShippedKeys(int player);

// The names on a player's plates in the title's legend, in the columns' order: move, fire,
// bomb, bullet time, recharge, upgrades.
std::array<std::string, keyplaces::kColumns> LegendNames(const PlayerKeys& keys);

// The line of keys under a player's upgrade menu.
std::string MenuKeysLine(const PlayerKeys& keys);

}  // namespace skyrift
