// Making and freeing everything the game draws and plays, and putting the world in its
// starting state.
#pragma once

#include "platform/Surface.h"

namespace skyrift {

void CreateBitmaps(HDC dc);
void DeleteBitmaps();
void LoadSounds();
void NewGame();

}  // namespace skyrift
