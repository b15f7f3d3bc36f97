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
