// One frame of a stage, the one way into a stage, and stage 1's script. CycleStage1,
// CycleStage2 and StartStage2 are the stage table's first two rows by their old names.
#pragma once

#include "platform/Types.h"

namespace skyrift {

struct Stage;

// The row's layers in place of the current ones.
void MakeStageLayers(const Stage& stage);
// The row's music in place of the current stream, on the music channel at the row's volume.
void StartStageMusic(const Stage& stage);
// From the interlude into `stage`: the world cleared of all but the players, their shots and
// the power-ups, the players on the bottom edge, the row's layers and music, the ticker at 0.
void EnterStage(const Stage& stage);
// The stage after the one last cleared; the stage-clear keys call it.
void EnterNextStage();
// One frame of play in `stage`.
void CycleStage(const Stage& stage);

void CycleStage1();
void CycleStage2();
void StartStage2();

// Stage 1's events after its enemy waves: the warning signs, the scripted power-ups, the boss.
void RunStage1Script();
// Stage 1 is won once its boss is defeated.
BOOL Stage1Cleared();

}  // namespace skyrift
