// The painters of the title, the play screens, the interlude, the upgrade menus and game over.
#pragma once

#include "platform/Surface.h"
#include "platform/Types.h"

namespace skyrift {

void DrawTitleScreen(HDC dc);
// The world and the status panel, under the stage-clear banner while it shows.
void DrawPlayScreen(HDC dc);
void DrawInterlude(HDC dc);
void DrawGameOver(HDC dc);
void DrawUpgradeMenu1(HDC dc);
void DrawUpgradeMenu2(HDC dc);

// Keeps the frame last presented as the picture the interlude page lies on.
void KeepStageClearedFrame();

}  // namespace skyrift
