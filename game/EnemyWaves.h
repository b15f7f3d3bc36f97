// The enemy kinds, one row each (its picture, hit points, points, and the windows of the stage
// ticker in which it spawns, each with its spawn), the spawn functions that put each kind into
// play, and the run of every kind's waves that both stages make each frame.
#pragma once

#include <initializer_list>

#include "world/Globals.h"

namespace skyrift {

// One window of a schedule: an enemy comes on every frame T with after < T < before that is a
// multiple of interval, made by `spawn`, which draws the random choices it needs.
struct Wave {
  int after;
  int before;
  int interval;
  void (*spawn)();
};

// A kind's windows, in the order they are tested each frame.
class Waves {
 public:
  constexpr Waves(std::initializer_list<Wave> waves) {
    for (const Wave& wave : waves) rows_[count_++] = wave;  // too many stops the build
  }
  constexpr const Wave* begin() const { return rows_; }
  constexpr const Wave* end() const { return rows_ + count_; }

 private:
  Wave rows_[12]{};
  int count_ = 0;
};

struct EnemyKind {
  Bitmap* const* image;  // its picture, which also tells a destroyed enemy's kind
  int health;            // hit points it enters with; 0 keeps its class's own
  int points;            // to the player whose shot destroys it
  Waves waves;
  void (*alsoEachFrame)();  // spawns outside the windows, run after them; null for none
};

// The row of the kind drawn with `image`; null for any other picture.
const EnemyKind* EnemyKindOf(const Bitmap* image);

// The kinds' spawn functions, each making one enemy in play with its row's hit points.
void SpawnSwoopEnemy(int side, int pathLength);
void SpawnHoverEnemy(int stopLine);
void SpawnGunshipEnemy(int stopLine);
void SpawnConvoyEnemy(int followerCount, int startY);

// One kind's windows for this frame's stage ticker, then its other spawns.
void RunWaves(const EnemyKind& kind);
// Every kind's, in the order of the rows: the random draws follow it.
void RunEnemyWaves();

}  // namespace skyrift
