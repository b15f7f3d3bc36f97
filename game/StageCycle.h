// One frame of a stage and the one way into a stage, for any row of the stage table.
#pragma once

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

}  // namespace skyrift
