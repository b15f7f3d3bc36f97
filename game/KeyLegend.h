// The keys the players bound, lettered where the pictures leave room for them
// (resources/KeyPlaces.h): the title's legend and the line of keys under each upgrade menu.
#pragma once

#include "platform/Surface.h"

namespace skyrift {

void DrawTitleKeyLegend(HDC dc);
// `player` 1 or 2: that player's menu keys.
void DrawUpgradeMenuKeys(HDC dc, int player);

}  // namespace skyrift
