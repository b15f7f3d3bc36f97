// The master volume, in the player's hands: - and + (or =), on the main keyboard and the
// keypad, step it from 10 (full) down to 0 and back; M mutes and unmutes. A key that
// controls.txt gives a player's action keeps that action. The level is kept for the next start,
// and a small bar shows it for a moment after each change, over the picture shown but never
// in the game's own frame.
#pragma once

#include "platform/Surface.h"

namespace skyrift {

// At start: the kept level, applied to the mix.
void LoadVolume();
// Once per frame, before anything else reads keys: true when the level or the muting changed.
bool PollVolumeKeys();
// Once per frame: true on the frame the bar is due to go away.
bool VolumeBarEnds();
// Over the picture about to be shown, while the bar is due.
void DrawVolumeBar(HDC dc);
// Where DrawVolumeBar draws while the bar is due; empty otherwise.
RECT VolumeBarArea();

}  // namespace skyrift
