// Stage 1's own part: what it runs each frame after its enemy waves, and how it is won.
#pragma once

#include "platform/Types.h"

namespace skyrift {

// Stage 1's events after its enemy waves: the warning signs, the scripted power-ups, the boss.
void RunStage1Script();
// Stage 1 is won once its boss is defeated.
BOOL Stage1Cleared();

}  // namespace skyrift
