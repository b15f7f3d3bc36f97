// One frame of each stage, and the switch from stage 1 to stage 2.
#pragma once

namespace skyrift {

void CycleStage1();
void CycleStage2();
void StartStage2();

}  // namespace skyrift
