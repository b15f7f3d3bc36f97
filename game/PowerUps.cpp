// Power-ups: a random kind dropped where something was destroyed, and stage 1's two scripted
// drops. They drift diagonally and bounce around the play area until a player collects one.
#include "game/PowerUps.h"

#include <array>

#include "game/StageTimetable.h"
#include "platform/Random.h"
#include "sprites/Play.h"
#include "sprites/Sprite.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

struct PowerUpKind {
  const char* tag;
  Bitmap** image;  // the global, read when the drop is made
};

// Indexed by the drawn kind; the collision rules give each tag its gain.
constexpr std::array<PowerUpKind, 4> kKinds = {{
    {TagPowerUp, &_bmpPowerUp},
    {TagRepairPowerUp, &_bmpRepairPowerUp},
    {TagBombPowerUp, &_bmpBombPowerUp},
    {TagFocusPowerUp, &_bmpFocusPowerUp},
}};

// Indexed by the drawn direction: the signs of the horizontal and vertical speeds.
struct Heading {
  int x;
  int y;
};
constexpr std::array<Heading, 4> kHeadings = {{{1, 1}, {-1, 1}, {1, -1}, {-1, -1}}};

// 4, 5 or 6 pixels per frame.
int DriftSpeed() {
  return 4 + platform::Random() % 3;
}

Sprite* MakePowerUp(const PowerUpKind& kind, const RECT& bounds) {
  auto* powerUp = new Sprite(*kind.image, bounds, EdgeBounce);
  powerUp->SetTag(kind.tag);
  return powerUp;
}

}  // namespace

void DropPowerUp(RECT bounds, RECT position) {
  const PowerUpKind& kind = kKinds[static_cast<size_t>(platform::Random() % 4)];
  Sprite* powerUp = MakePowerUp(kind, bounds);
  powerUp->SetPosition(position.left, position.top);
  const Heading& heading = kHeadings[static_cast<size_t>(platform::Random() % 4)];
  const int down = DriftSpeed();
  const int across = DriftSpeed();
  powerUp->SetVelocity(heading.x * across, heading.y * down);
  AddToPlay(powerUp);
}

void RunScriptedPowerUps() {
  for (const int tick : kScriptedDrops) {
    if (_iStageTicker != tick) continue;
    Sprite* powerUp = MakePowerUp(kKinds[0], PlayArea());
    const int y = platform::Random() % _iPlayHeight;
    const int x = platform::Random() % _iPlayWidth;
    powerUp->SetPosition(x, y);
    // Always away from the top-left corner: right and down.
    const int down = DriftSpeed();
    const int across = DriftSpeed();
    powerUp->SetVelocity(across, down);
    AddToPlay(powerUp);
  }
}

}  // namespace skyrift
