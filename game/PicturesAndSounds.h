// Making and freeing everything the game draws and plays.
#pragma once

namespace skyrift {

void CreateBitmaps();
void DeleteBitmaps();
void LoadSounds();
// Frees the fifteen samples and nulls their globals.
void FreeSounds();

}  // namespace skyrift
