// The four enemy schedules that both stages run by the stage ticker, and the spawn functions.
#pragma once

namespace skyrift {

void SpawnSwoopEnemy(int side, int pathLength);
void SpawnHoverEnemy(int stopLine);
void SpawnGunshipEnemy(int stopLine);
void SpawnConvoyEnemy(int followerCount, int startY);

void RunSwoopWaves();
void RunHoverWaves();
void RunGunshipWaves();
void RunConvoyWaves();

}  // namespace skyrift
