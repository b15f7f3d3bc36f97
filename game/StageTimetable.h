// Stage 1's script, top to bottom as the stage plays, in frames of the stage ticker (24 a
// second). The enemy waves, which run first in every frame and which stage 2 replays, are the
// rows of the enemy kinds (EnemyWaves.cpp). What each entry makes lives with its kind: the
// warning signs in WarningSigns, the boss in BossEntry, the drops in PowerUps, the stage clear
// in StageCycle.
#pragma once

namespace skyrift {

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
