// One frame of each stage, driven by the stage ticker, and the switch from stage 1 to stage 2.
// Stage 1 adds its script (warnings, power-ups, the boss) and the stage-clear sequence; stage 2
// replays the enemy schedules over its own layers and music until both players are out.
#include "game/StageCycle.h"

#include "engine/Engine.h"
#include "engine/Sound.h"
#include "game/BossEntry.h"
#include "game/EnemyWaves.h"
#include "game/PlayerActions.h"
#include "game/Players.h"
#include "game/PowerUps.h"
#include "game/Screens.h"
#include "game/StageTimetable.h"
#include "game/StateMachine.h"
#include "game/Trace.h"
#include "graphics/Background.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kStage2MusicVolume = 175;

// What both stages do every frame, in this order.
void RunStageFrame() {
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
  RunSwoopWaves();
  RunHoverWaves();
  RunGunshipWaves();
  RunConvoyWaves();
}

void RunStageClear() {
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
  if (_iStageClearTimer >= kStageClearEnd && _iGameState == GameStateStage1) {
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

void CycleStage1() {
  RunStageFrame();
  RunWarningSigns();
  RunScriptedPowerUps();
  RunBossEntry();
  if (_bBossDefeated) RunStageClear();
  EndBulletTimeAfterGameOver();
}

void CycleStage2() {
  RunStageFrame();
  EndBulletTimeAfterGameOver();
}

void StartStage2() {
  _pEngine->RemoveUnprotectedSprites();

  // At a third and two thirds of the width, on the bottom edge; a ship that is out is left be.
  if (!_bPlayer1Out && _pPlayer1 != nullptr) {
    _pPlayer1->SetPosition(300 - _pPlayer1->GetWidth() / 2, 600 - _pPlayer1->GetHeight());
  }
  if (!_bPlayer2Out && _pPlayer2 != nullptr) {
    _pPlayer2->SetPosition(600 - _pPlayer2->GetWidth() / 2, 600 - _pPlayer2->GetHeight());
  }

  // The old layers only point at their images, which the game keeps; the layers themselves go.
  delete _pFarBackground;
  _pFarBackground =
      new ScrollingLayer(_bmpStage2Far, _iPlayWidth, _iPlayHeight, ViewUp, 1, FALSE, 0);
  delete _pNearBackground;
  _pNearBackground =
      new ScrollingLayer(_bmpStage2Near, _iPlayWidth, _iPlayHeight, ViewRight, 2, TRUE, kMagenta);

  // Stage 1's music is closed before stage 2's starts, so no stream is left behind.
  if (_sngCurrentStage != nullptr) CloseStream(_sngCurrentStage);
  _sngCurrentStage = OpenStream("stage1.mp3", kSoundLoop);
  if (_sngCurrentStage == nullptr) TraceLine("_sngCurrentStage = NULL");
  PlayStream(kMusicChannel, _sngCurrentStage);
  SetChannelVolume(kMusicChannel, kStage2MusicVolume);

  _iStageTicker = 0;
  _iGameState = GameStateStage2;
}

}  // namespace skyrift
