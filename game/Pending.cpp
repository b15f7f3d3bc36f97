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

// --- upgrade menu, joystick and MIDI ---
void HandleUpgradeMenuKeys(PlayerShip*, int, int, int) {}
void GameJoystick(StickState) {}
BOOL Engine::OpenJoystick() { return FALSE; }
void Engine::AcquireJoystick() {}
void Engine::UnacquireJoystick() {}
void Engine::PollJoystick() { GameJoystick(0); }
void Engine::PlayMidiFile(const char*, BOOL) {}
void Engine::PauseMidi() {}
void Engine::CloseMidi() {}

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
