// Making and freeing everything the game draws and plays, and putting the world in its
// starting state.
#pragma once

namespace skyrift {

void CreateBitmaps();
void DeleteBitmaps();
void LoadSounds();
// Frees the fifteen samples and nulls their globals.
void FreeSounds();
// Nulls the game's pointers to sprites the list owned, once the list has been emptied.
void ForgetListedSprites();
void NewGame();

}  // namespace skyrift
