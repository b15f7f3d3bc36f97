// The keys the players bound, shown where the pictures leave room for them
// (resources/KeyPlaces.h): the title's legend and the line of keys under each upgrade menu. A
// key bound as shipped shows as the forge lettered it; any other is lettered by the game.
#pragma once

#include "platform/Surface.h"

namespace skyrift {

void DrawTitleKeyLegend(HDC dc);
// `player` 1 or 2: that player's menu keys.
void DrawUpgradeMenuKeys(HDC dc, int player);

}  // namespace skyrift
