// Stage 1's script by the stage ticker, after its enemy waves: the two warning signs, the two
// scripted power-ups and the boss, whose defeat wins the stage.
#include "game/Stage1.h"

#include "game/BossEntry.h"
#include "game/PowerUps.h"
#include "game/WarningSigns.h"
#include "world/Globals.h"

namespace skyrift {

void RunStage1Script() {
  RunWarningSigns();
  RunScriptedPowerUps();
  RunBossEntry();
}

BOOL Stage1Cleared() {
  return _bBossDefeated;
}

}  // namespace skyrift
