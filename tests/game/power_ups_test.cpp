// Power-ups: the random kind, heading and speeds of a drop in their draw order, and stage 1's
// two scripted drops.
#include <vector>

#include "World.h"
#include "game/PowerUps.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

class PowerUps : public World {};

TEST_F(PowerUps, ADropTakesItsKindHeadingAndSpeedsFromTheDrawsInOrder) {
  const char* const tags[] = {TagPowerUp, TagRepairPowerUp, TagBombPowerUp, TagFocusPowerUp};
  const Bitmap* const images[] = {_bmpPowerUp, _bmpRepairPowerUp, _bmpBombPowerUp,
                                  _bmpFocusPowerUp};
  const POINT signs[] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};  // by heading
  for (int kind = 0; kind < 4; ++kind) {
    for (int heading = 0; heading < 4; ++heading) {
      // Different vertical and horizontal speeds, so that swapping them would show.
      const unsigned seed = SeedWhere(4, [&](const std::vector<int>& d) {
        return d[0] % 4 == kind && d[1] % 4 == heading && d[2] % 3 != d[3] % 3;
      });
      const std::vector<int> draws = DrawsAfter(seed, 4);
      DropPowerUp(PlayArea(), RECT{300, 200, 364, 229});
      const Sprite* drop = _pEngine->GetSprites().back();
      SCOPED_TRACE(::testing::Message() << "kind " << kind << ", heading " << heading);
      EXPECT_EQ(drop->Tag(), tags[kind]);
      EXPECT_EQ(drop->GetBitmap(), images[kind]);
      EXPECT_EQ(drop->GetEdgeAction(), EdgeBounce);
      EXPECT_EQ(drop->GetPosition().left, 300);
      EXPECT_EQ(drop->GetPosition().top, 200);
      EXPECT_EQ(drop->GetVelocity().y, signs[heading].y * (4 + draws[2] % 3));
      EXPECT_EQ(drop->GetVelocity().x, signs[heading].x * (4 + draws[3] % 3));
    }
  }
}

TEST_F(PowerUps, StageOneDropsOneOnTicks560And2030MovingRightAndDown) {
  std::vector<int> dropTicks;
  for (int t = 1; t <= 2500; ++t) {
    _iStageTicker = t;
    const unsigned seed = static_cast<unsigned>(t);
    const std::vector<int> draws = DrawsAfter(seed, 4);
    const size_t before = _pEngine->GetSprites().size();
    RunScriptedPowerUps();
    if (_pEngine->GetSprites().size() == before) continue;
    dropTicks.push_back(t);
    ASSERT_EQ(_pEngine->GetSprites().size(), before + 1);
    const Sprite* drop = _pEngine->GetSprites().back();
    EXPECT_EQ(drop->Tag(), TagPowerUp);
    EXPECT_EQ(drop->GetEdgeAction(), EdgeBounce);
    // y is drawn first, then x; then the vertical speed, then the horizontal one.
    EXPECT_EQ(drop->GetPosition().top, draws[0] % 600);
    EXPECT_EQ(drop->GetPosition().left, draws[1] % 900);
    EXPECT_EQ(drop->GetVelocity().y, 4 + draws[2] % 3);
    EXPECT_EQ(drop->GetVelocity().x, 4 + draws[3] % 3);
  }
  EXPECT_EQ(dropTicks, (std::vector<int>{560, 2030}));
}

}  // namespace
}  // namespace skyrift::testing
