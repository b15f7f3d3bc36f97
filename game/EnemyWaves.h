// The spawn functions of the enemy kinds, and the four schedules of the timetable that both
// stages run by the stage ticker.
#pragma once

namespace skyrift {

void SpawnSwoopEnemy(int side, int pathLength);
void SpawnHoverEnemy(int stopLine);
void SpawnGunshipEnemy(int stopLine);
void SpawnConvoyEnemy(int followerCount, int startY);

// The spawns as the timetable's waves call them, each drawing its own random choices: where a
// swooper enters and how far it flies, where a hovering ship or gunship stops, how high a
// convoy comes in.
void SwoopFromUpperLeft();
void SwoopFromUpperRight();
void SwoopFromAnyCorner();
void HoverShip();
void Gunship();
void Convoy();

void RunSwoopWaves();
void RunHoverWaves();
void RunGunshipWaves();
void RunConvoyWaves();
// The four in this order: the random draws follow it.
void RunEnemyWaves();

}  // namespace skyrift
