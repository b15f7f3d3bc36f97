// The one verb by which a sprite puts another in play. It is declared here, below the engine,
// and defined by the engine, which owns the list, so that no sprite includes the engine.
#pragma once

namespace skyrift {

class Sprite;

// Hands a sprite to the engine's list, which owns it from then on. Without an engine there is
// nowhere for it to live, so it is deleted rather than leaked.
void AddToPlay(Sprite* sprite);

}  // namespace skyrift
