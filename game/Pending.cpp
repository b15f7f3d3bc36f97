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

}  // namespace skyrift
