// The stages as records: the layers and music a stage is entered with, the GameState it is
// played in, what it runs each frame after the common work and how it ends. A new stage is a
// play state and a row here, with its schedule and its pictures.
#pragma once

#include <iterator>

#include "game/EnemyWaves.h"
#include "game/Stage1.h"
#include "graphics/Background.h"
#include "world/Globals.h"

namespace skyrift {

// The GameState each stage is played in; the state machine's other states are in
// world/Globals.h, and a new stage takes a number none of them has.
constexpr int GameStateStage1 = 1;
constexpr int GameStateStage2 = 2;

struct StageLayer {
  Bitmap* const* image;  // the image global, read when the stage is entered
  int direction;         // a ScrollDirection
  int speed;             // pixels per frame
  BOOL transparent;      // magenta left out
};

struct Stage {
  int state;  // the GameState of play in this stage
  StageLayer far;
  StageLayer near;
  const char* music;   // streamed from the working directory, looping
  int musicVolume;     // of 255
  void (*schedule)();  // after the ticker advances: the enemy waves
  void (*script)();    // then the stage's own events; null for none
  // Whether the stage is won, asked every frame after its script: from then on the stage-clear
  // sequence runs and leads to the interlude. Null for a stage without an end.
  BOOL (*cleared)();
};

// Stage 1's music is the title's: NewGame starts it, and the title leads straight into stage 1.
// The file names are used as they stand.
inline constexpr Stage kStages[] = {
    {GameStateStage1,
     {&_bmpStage1Far, ViewUp, 2, FALSE},
     {&_bmpStage1Near, ViewUp, 3, TRUE},
     "stage2.mp3",
     175,
     RunEnemyWaves,
     RunStage1Script,
     Stage1Cleared},
    {GameStateStage2,
     {&_bmpStage2Far, ViewUp, 1, FALSE},
     {&_bmpStage2Near, ViewRight, 2, TRUE},
     "stage1.mp3",
     175,
     RunEnemyWaves,
     nullptr,
     nullptr},
};
inline constexpr int kStageCount = static_cast<int>(std::size(kStages));

// The row played in `state`; null outside play.
inline const Stage* StageOfState(int state) {
  for (const Stage& stage : kStages) {
    if (stage.state == state) return &stage;
  }
  return nullptr;
}

}  // namespace skyrift
