// One frame of a stage, driven by the stage ticker, and the way into a stage. Stage 1 adds its
// script (warnings, power-ups, the boss) and ends when the boss is defeated, with the stage-clear
// sequence; stage 2 replays the enemy schedules over its own layers and music until both players
// are out.
#include "game/StageCycle.h"

#include "engine/Engine.h"
#include "engine/Sound.h"
#include "game/EnemyWaves.h"
#include "game/PlayerActions.h"
#include "game/Players.h"
#include "game/Presenting.h"
#include "game/Screens.h"
#include "game/StageTimetable.h"
#include "game/Stages.h"
#include "game/Trace.h"
#include "graphics/Background.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// What every stage does every frame, in this order.
void RunStageFrame(const Stage& stage) {
  // The rest of the frame still runs after the game is over: the last world is painted once
  // more under the banner.
  if (_bPlayer1Out && _bPlayer2Out) {
    _iGameState = GameStateGameOver;
    _bGameOver = TRUE;
  }
  if (_pFarBackground != nullptr) _pFarBackground->Update();
  if (_pNearBackground != nullptr) _pNearBackground->Update();
  _pEngine->UpdateAllSprites();
  UpdatePlayerStatus();
  PresentFrame();
  ++_iStageTicker;
  stage.schedule();
}

// From the frame the stage is won: the banner with its sound, then the interlude.
void RunStageClear(const Stage& stage) {
  ++_iStageClearTimer;
  if (_iStageClearTimer >= kBannerFirst && _iStageClearTimer < kBannerEnd) {
    _bShowStageClear = TRUE;
    if (!_bStageClearSoundPlayed) {
      PlaySample(kAnyFreeChannel, _sndStage1Complete);
      _bStageClearSoundPlayed = TRUE;
    }
  } else {
    _bShowStageClear = FALSE;
  }
  // Game over, set at the start of this frame, is never left.
  if (_iStageClearTimer >= kStageClearEnd && _iGameState == stage.state) {
    KeepStageClearedFrame();  // presented earlier in this frame
    _iGameState = GameStateInterlude;
    _iStageClearTimer = 0;
  }
}

// The frame that finds both players out runs to its end in bullet time; after it no key is read,
// so nothing else would end bullet time and stop its loop. The ships may be gone.
void EndBulletTimeAfterGameOver() {
  if (_bGameOver && _bBulletTime) EndBulletTime(nullptr);
}

}  // namespace

void CycleStage(const Stage& stage) {
  RunStageFrame(stage);
  if (stage.script != nullptr) stage.script();
  if (stage.cleared != nullptr && stage.cleared()) RunStageClear(stage);
  EndBulletTimeAfterGameOver();
}

void MakeStageLayers(const Stage& stage) {
  // The old layers only point at their images, which the game keeps; the layers themselves go.
  const auto make = [](const StageLayer& layer) {
    return new ScrollingLayer(*layer.image, _iPlayWidth, _iPlayHeight, layer.direction, layer.speed,
                              layer.transparent, layer.transparent ? kMagenta : 0);
  };
  delete _pFarBackground;
  _pFarBackground = make(stage.far);
  delete _pNearBackground;
  _pNearBackground = make(stage.near);
}

void StartStageMusic(const Stage& stage) {
  // The last stage's music is closed before the next starts, so no stream is left behind.
  CloseStream(_sngCurrentStage);
  _sngCurrentStage = OpenStream(stage.music, kSoundLoop);
  if (_sngCurrentStage == nullptr) TraceLine("_sngCurrentStage = NULL");
  PlayStream(kMusicChannel, _sngCurrentStage);
  SetChannelVolume(kMusicChannel, stage.musicVolume);
}

void EnterStage(const Stage& stage) {
  _pEngine->RemoveUnprotectedSprites();

  // At a third and two thirds of the width, on the bottom edge; a ship that is out is left be.
  if (!_bPlayer1Out && _pPlayer1 != nullptr) {
    _pPlayer1->SetPosition(300 - _pPlayer1->GetWidth() / 2, 600 - _pPlayer1->GetHeight());
  }
  if (!_bPlayer2Out && _pPlayer2 != nullptr) {
    _pPlayer2->SetPosition(600 - _pPlayer2->GetWidth() / 2, 600 - _pPlayer2->GetHeight());
  }

  MakeStageLayers(stage);
  StartStageMusic(stage);

  _iStageTicker = 0;
  _iGameState = stage.state;
  _iCurrentStage = static_cast<int>(&stage - kStages);
}

void EnterNextStage() {
  // The last row has no stage after it: its interlude stays.
  if (_iCurrentStage + 1 < kStageCount) EnterStage(kStages[_iCurrentStage + 1]);
}

}  // namespace skyrift
