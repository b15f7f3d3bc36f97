// Stage 1's timetable, top to bottom as the stage plays, in frames of the stage ticker (24 a
// second). The enemy waves run first in every frame, and stage 2 replays them; what follows is
// stage 1's alone. What each entry makes lives with its kind: the spawns in EnemyWaves, the
// warning signs in WarningSigns, the boss in BossEntry, the drops in PowerUps, the stage clear
// in StageCycle.
#pragma once

#include "game/EnemyWaves.h"

namespace skyrift {

// One window of a schedule: an enemy comes on every frame T with after < T < before that is a
// multiple of interval.
struct Wave {
  int after;
  int before;
  int interval;
  void (*spawn)();
};

// Every frame runs the swoopers' windows, then the hovering ships', the gunships' and the
// convoys', each table in the order written: the random draws follow that order, and two
// windows open at one frame both spawn (1596: both swoop sides). While the boss fights without
// its engines, swoopers also come at random.
// clang-format off
inline constexpr Wave kSwoopWaves[] = {
    {25, 100, 12, SwoopFromUpperLeft},
    {250, 350, 12, SwoopFromUpperLeft},
    {1250, 1350, 12, SwoopFromUpperLeft},
    {1500, 1700, 12, SwoopFromUpperLeft},
    {675, 900, 4, SwoopFromAnyCorner},
    {150, 250, 12, SwoopFromUpperRight},
    {425, 525, 12, SwoopFromUpperRight},
    {1100, 1200, 12, SwoopFromUpperRight},
    {1400, 1600, 12, SwoopFromUpperRight},
};

inline constexpr Wave kHoverWaves[] = {
    {250, 400, 66, HoverShip},
    {1450, 1800, 66, HoverShip},
    {675, 900, 35, HoverShip},
};

inline constexpr Wave kGunshipWaves[] = {
    {925, 1025, 30, Gunship},
    {1200, 1400, 50, Gunship},
    {1500, 1900, 88, Gunship},
};

inline constexpr Wave kConvoyWaves[] = {
    {1050, 1250, 35, Convoy},
    {1400, 1550, 35, Convoy},
};
// clang-format on

// A warning sign goes up, with its spoken warning, on the first frame past `after`, and comes
// down on the first frame past `until`.
struct WarningWindow {
  int after;
  int until;
};

inline constexpr WarningWindow kFirstWarning{550, 625};     // "large incoming"
inline constexpr int kFirstDrop = 560;                      // a power-up, drifting right and down
inline constexpr WarningWindow kSecondWarning{2025, 2075};  // "massive enemy"
inline constexpr int kSecondDrop = 2030;
inline constexpr int kScriptedDrops[] = {kFirstDrop, kSecondDrop};
inline constexpr int kBossArrives = 2100;  // the boss comes on the first frame past this one

// Counted from the boss's defeat: the stage-clear banner shows from the first of these frames
// up to the second, and the stage-clear screen follows at the third.
inline constexpr int kBannerFirst = 72;
inline constexpr int kBannerEnd = 143;
inline constexpr int kStageClearEnd = 144;

}  // namespace skyrift
