// The game's answers to the engine's life-cycle calls: start-up, the first game (and what a new
// game starts from), pausing and resuming with the window's focus, and the end of the run, which
// frees whatever exists.
#include <new>
#include <string>

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/Sound.h"
#include "game/Controls.h"
#include "game/Lifecycle.h"
#include "game/Pause.h"
#include "game/PicturesAndSounds.h"
#include "game/Presenting.h"
#include "game/Settings.h"
#include "game/StageCycle.h"
#include "game/Stages.h"
#include "game/Trace.h"
#include "game/Volume.h"
#include "graphics/Background.h"
#include "platform/Clock.h"
#include "platform/Keyboard.h"
#include "platform/Random.h"
#include "sprites/Sprite.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kFramesPerSecond = 24;
constexpr int kSoundRate = 44100;  // Hz
constexpr int kSoundChannels = 32;

bool InSpriteList(const Sprite* sprite) {
  if (_pEngine == nullptr) return false;
  for (const Sprite* listed : _pEngine->GetSprites()) {
    if (listed == sprite) return true;
  }
  return false;
}

// The boss's engines are made some frames before they are handed to the sprite list; until
// then they belong to the game. Once attached, only the list may delete them.
void DeleteUnattachedEngine(Sprite*& engine) {
  if (engine != nullptr && !_bBossEnginesAttached && !InSpriteList(engine)) delete engine;
  engine = nullptr;
}

// Nulls the game's pointers to sprites the list owned, once the list has been emptied.
void ForgetListedSprites() {
  _pPlayer1 = nullptr;
  _pPlayer2 = nullptr;
  _pBoss = nullptr;
  _pWarning1 = nullptr;
  _pWarning2 = nullptr;
  if (_bBossEnginesAttached) {
    _pBossLeftEngine = nullptr;
    _pBossRightEngine = nullptr;
  }
}

// The world in its starting state, on the title screen with its music.
void NewGame() {
  if (_pEngine != nullptr) _pEngine->DeleteAllSprites();
  ForgetListedSprites();

  ResetNewGameGlobals();

  // The title plays stage 1's music, which goes on into stage 1.
  StartStageMusic(kStages[0]);
  TraceLine("NewGame()");
}

}  // namespace

void GamePlaceFiles(const std::string& logFile, const std::string& controlsFile,
                    const std::string& defaultControls, const std::string& settingsFile) {
  SetTraceFile(logFile);
  SetControlsFile(controlsFile, defaultControls);
  SetSettingsFile(settingsFile);
}

Engine* MakeGameEngine(HINSTANCE instance) {
  _iPlayWidth = 900;
  _iPlayHeight = 600;
  _iFrameRate = kFramesPerSecond;
  auto* engine = new (std::nothrow)
      Engine(instance, "Skyrift", "Skyrift", 1000, 1001, _iPlayWidth, kFrameHeight);
  if (engine != nullptr) engine->SetFramesPerSecond(_iFrameRate);
  return engine;
}

BOOL GameInitialize(HINSTANCE instance) {
  StartTrace();
  _pEngine = MakeGameEngine(instance);
  if (_pEngine == nullptr) return FALSE;
  _pEngine->OpenJoystick();
  _hInstance = instance;
  // Without a sound device the game still runs; every sound call then plays nothing.
  StartSoundLibrary(kSoundRate, kSoundChannels);
  TraceLine("GameInitialize()");
  return TRUE;
}

void GameStart(HWND) {
  LoadControls();
  LoadVolume();
  // A key a player is given keeps that action alone, whatever the window or the system would
  // otherwise make of it (F11, a held Alt).
  platform::SetGameKeys(BoundToAnAction);
  platform::SeedRandom(platform::GetTickCount());

  CurrentFrame();

  CreateBitmaps();
  LoadSounds();

  MakeStageLayers(kStages[0]);

  TraceLine("GameStart()");
  NewGame();
}

void GameEnd() {
  if (_pEngine != nullptr) _pEngine->CloseMidi();

  FreeOffscreenFrame();
  delete _hStageClearedFrame;
  _hStageClearedFrame = nullptr;

  DeleteBitmaps();

  delete _pFarBackground;
  _pFarBackground = nullptr;
  delete _pNearBackground;
  _pNearBackground = nullptr;

  DeleteUnattachedEngine(_pBossLeftEngine);
  DeleteUnattachedEngine(_pBossRightEngine);
  if (_pEngine != nullptr) _pEngine->DeleteAllSprites();
  ForgetListedSprites();

  CloseStream(_sngCurrentStage);
  _sngCurrentStage = nullptr;
  FreeSounds();
  CloseSoundLibrary();

  delete _pEngine;
  _pEngine = nullptr;
  TraceLine("GameEnd()");
}

void GameActivate(HWND) {
  ForgetLostFocus();
  // Play paused by key stays paused, its sound with it, when the focus comes back.
  if (!PlayPaused()) {
    SetChannelPaused(kMusicChannel, FALSE);
    SetChannelPaused(kBulletTimeChannel, FALSE);
  }
  if (_pEngine != nullptr) _pEngine->AcquireJoystick();
  TraceLine("GameActivate()");
}

void GameDeactive(HWND) {
  // The bullet-time loop is the one sample that never ends by itself: it waits with the music.
  SetChannelPaused(kMusicChannel, TRUE);
  SetChannelPaused(kBulletTimeChannel, TRUE);
  if (_pEngine != nullptr) _pEngine->UnacquireJoystick();
  // The sign is on the screen before the log says the focus is lost: what reads the log then
  // sees the picture the game stays on.
  ShowSignForLostFocus();
  TraceLine("GameDeactive()");
  TraceLine("Level 1 Ticker count: " + std::to_string(_iStageTicker));
}

}  // namespace skyrift
