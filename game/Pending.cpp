// Temporary: the functions whose work has not landed yet. Each block goes away as its part
// of the game is built.
#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/Sound.h"
#include "game/BossEntry.h"
#include "game/Controls.h"
#include "game/EnemyWaves.h"
#include "game/GameResources.h"
#include "game/Globals.h"
#include "game/Input.h"
#include "game/PowerUps.h"
#include "game/Screens.h"
#include "game/StageCycle.h"
#include "game/UpgradeMenu.h"
#include "game/Weapons.h"

namespace skyrift {

// --- run lifetime and sound ---
BOOL GameInitialize(HINSTANCE instance) {
  _hInstance = instance;
  _pEngine = new Engine(instance, "Skyrift", "Skyrift", 1000, 1001, 900, 732);
  _pEngine->SetFramesPerSecond(24);
  return TRUE;
}
void GameStart(HWND) {}
void GameEnd() {
  delete _pEngine;
  _pEngine = nullptr;
}
void GameActivate(HWND) {}
void GameDeactive(HWND) {}
void CreateBitmaps(HDC) {}
void DeleteBitmaps() {}
void LoadSounds() {}
void NewGame() {}
void LoadControls() {}
BOOL StartSoundLibrary(int, int) { return FALSE; }
void CloseSoundLibrary() {}
Sample* LoadSample(const char*, unsigned) { return nullptr; }
int PlaySample(int, Sample*) { return -1; }
void StopChannel(int) {}
Stream* OpenStream(const char*, unsigned) { return nullptr; }
void PlayStream(int, Stream*) {}
void SetChannelVolume(int, int) {}
void SetChannelPaused(int, BOOL) {}
void CloseStream(Stream*) {}

// --- play ---
void HandleTitleKeys() {}
void DrawTitleScreen(HDC) {}
void HandleStageClearKeys() {}
void HandlePlayer1Keys() {}
void HandlePlayer2Keys() {}
void CreatePlayers(BOOL) {}
void FirePlayerBullets(PlayerShip*) {}
void CreateBombFlash() {}
void SpawnExplosionBurst(Sprite*, int) {}
void UpdatePlayerStatus() {}
void DrawPlayScreen(HDC, BOOL) {}
void DrawInterlude(HDC) {}
void DrawGameOver(HDC) {}
void DrawUpgradeMenu1(HDC) {}
void DrawUpgradeMenu2(HDC) {}
void DrawStatusPanel(HDC) {}
void CycleStage1() {}
void CycleStage2() {}
void StartStage2() {}
void SpriteRemoved(Sprite*) {}

// --- stage script ---
BOOL SpritesCollided(Sprite*, Sprite*) { return FALSE; }
void DropPowerUp(RECT, RECT) {}
void RunScriptedPowerUps() {}
void RunWarningSigns() {}
void RunBossEntry() {}
void SpawnSwoopEnemy(int, int) {}
void SpawnHoverEnemy(int) {}
void SpawnGunshipEnemy(int) {}
void SpawnConvoyEnemy(int, int) {}
void RunSwoopWaves() {}
void RunHoverWaves() {}
void RunGunshipWaves() {}
void RunConvoyWaves() {}

}  // namespace skyrift
