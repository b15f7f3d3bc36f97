// Power-ups: a random kind where something was destroyed, and the two scripted drops of stage 1.
#pragma once

#include "platform/Types.h"

namespace skyrift {

void DropPowerUp(RECT bounds, RECT position);
// Stage 1's scripted drops, on the timetable's frames: a power-up of the first kind.
void RunScriptedPowerUps();

}  // namespace skyrift
