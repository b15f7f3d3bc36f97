// The one explosion of the game: fifteen frames played once where something blew up.
#pragma once

namespace skyrift {

// Puts an explosion in play with its top-left at (x, y): it is placed by the wreck's corner,
// not centred on it.
void AddExplosion(int x, int y);

}  // namespace skyrift
