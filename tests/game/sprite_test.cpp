// The sprite base: placement, the collision rectangle, the four edge actions, animation and
// the slowed velocity of bullet time.
#include "sprites/Sprite.h"

#include <gtest/gtest.h>

#include <memory>

#include "graphics/Bitmap.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

class SpriteBase : public ::testing::Test {
 protected:
  SpriteBase() : target(platform::Surface::CreateTarget(900, 732, 0)) {}
  ~SpriteBase() override { _bBulletTime = FALSE; }

  std::unique_ptr<Bitmap> Image(int width, int height) {
    return std::make_unique<Bitmap>(target.get(), width, height, RGB(10, 200, 30));
  }

  std::unique_ptr<platform::Surface> target;
};

TEST_F(SpriteBase, ConstructorsPlaceTheSprite) {
  auto image = Image(50, 39);
  Sprite plain(image.get());
  EXPECT_EQ(plain.GetPosition(), (RECT{0, 0, 50, 39}));
  EXPECT_EQ(plain.GetBounds(), (RECT{0, 0, 640, 480}));
  Sprite unplaced(image.get(), PlayArea(), EdgeDie);
  EXPECT_EQ(unplaced.GetPosition(), (RECT{-100, -100, -50, -61}))
      << "off the play area until placed";
  Sprite moving(image.get(), POINT{10, 20}, POINT{-5, 7}, 3, PlayArea(), EdgeWrap);
  EXPECT_EQ(moving.GetPosition(), (RECT{10, 20, 60, 59}));
  EXPECT_EQ(moving.GetZOrder(), 3);
  _bBulletTime = TRUE;
  moving.Update();
  EXPECT_EQ(moving.GetVelocity(), (POINT{-1, 1})) << "the slowed velocity is a quarter, truncated";
}

TEST_F(SpriteBase, CollisionRectangleIsInsetByATwelfth) {
  auto image = Image(50, 39);
  Sprite sprite(image.get(), PlayArea(), EdgeStop);
  sprite.SetPosition(100, 200);
  EXPECT_EQ(sprite.GetCollisionRect(), (RECT{104, 203, 146, 236}));
  auto small = Image(11, 11);
  Sprite tiny(small.get(), PlayArea(), EdgeStop);
  tiny.SetPosition(5, 5);
  EXPECT_EQ(tiny.GetCollisionRect(), tiny.GetPosition()) << "11 pixels or fewer: no inset";
}

TEST_F(SpriteBase, OverlapIsInclusiveSoTouchingEdgesCollide) {
  auto small = Image(10, 10);
  Sprite a(small.get(), PlayArea(), EdgeStop), b(small.get(), PlayArea(), EdgeStop);
  a.SetPosition(0, 0);
  b.SetPosition(10, 0);  // a.right == b.left
  EXPECT_TRUE(a.Overlaps(&b));
  EXPECT_TRUE(b.Overlaps(&a));
  b.SetPosition(11, 0);
  EXPECT_FALSE(a.Overlaps(&b));
  b.SetPosition(10, 11);
  EXPECT_FALSE(a.Overlaps(&b));
}

TEST_F(SpriteBase, ContainsPointUsesThePositionRightAndBottomExclusive) {
  auto image = Image(20, 10);
  Sprite sprite(image.get(), PlayArea(), EdgeStop);
  sprite.SetPosition(100, 50);
  EXPECT_TRUE(sprite.ContainsPoint(100, 50));
  EXPECT_TRUE(sprite.ContainsPoint(119, 59));
  EXPECT_FALSE(sprite.ContainsPoint(120, 55));
  EXPECT_FALSE(sprite.ContainsPoint(110, 60));
}

TEST_F(SpriteBase, EdgeDieRemovesOnlyOnceWhollyOutsideAndDoesNotMove) {
  auto image = Image(10, 10);
  Sprite bullet(image.get(), PlayArea(), EdgeDie);
  bullet.SetPosition(50, 590);
  bullet.SetVelocity(0, 5);
  EXPECT_EQ(bullet.Update(), UpdateNone);  // top 595: partly outside, lives on
  EXPECT_EQ(bullet.Update(), UpdateNone);  // top 600: on the edge
  EXPECT_EQ(bullet.Update(), UpdateKill);  // top would be 605
  EXPECT_EQ(bullet.GetPosition().top, 600) << "not moved on the removing update";
}

TEST_F(SpriteBase, EdgeWrapCarriesAWhollyOutsideSpriteToTheOtherSide) {
  auto image = Image(10, 10);
  Sprite sprite(image.get(), PlayArea(), EdgeWrap);
  sprite.SetPosition(-5, 100);
  sprite.SetVelocity(-6, 0);
  sprite.Update();  // new x + w = -1 < 0
  EXPECT_EQ(sprite.GetPosition().left, 900);
  sprite.SetVelocity(0, 0);
  sprite.SetPosition(100, 595);
  sprite.SetVelocity(0, 6);
  sprite.Update();  // new y 601 > 600
  EXPECT_EQ(sprite.GetPosition().top, -10);
}

TEST_F(SpriteBase, EdgeBounceClampsAndReversesTheVelocityForGood) {
  auto image = Image(30, 30);
  Sprite powerUp(image.get(), PlayArea(), EdgeBounce);
  powerUp.SetPosition(885, 10);
  powerUp.SetVelocity(6, -12);
  _bBulletTime = TRUE;  // slowed: (1, -3)
  powerUp.Update();
  EXPECT_EQ(powerUp.GetPosition().left, 870);
  EXPECT_EQ(powerUp.GetPosition().top, 7);
  _bBulletTime = FALSE;
  powerUp.Update();
  EXPECT_EQ(powerUp.GetVelocity(), (POINT{-1, -3}))
      << "a bounce in bullet time keeps the slowed speed";
  EXPECT_EQ(powerUp.GetPosition().left, 869);
  powerUp.SetPosition(10, 2);
  powerUp.Update();
  EXPECT_EQ(powerUp.GetPosition(), (RECT{9, 0, 39, 30})) << "clamped at the top";
  EXPECT_EQ(powerUp.GetVelocity(), (POINT{-1, 3}));
}

TEST_F(SpriteBase, EdgeStopClampsAndLosesAllVelocity) {
  auto image = Image(50, 64);
  Sprite ship(image.get(), PlayArea(), EdgeStop);
  ship.SetPosition(5, 300);
  ship.SetVelocity(-8, 4);
  ship.Update();
  EXPECT_EQ(ship.GetPosition().left, 0);
  EXPECT_EQ(ship.GetPosition().top, 304);
  EXPECT_EQ(ship.GetVelocity(), (POINT{0, 0}));
  ship.Update();
  EXPECT_EQ(ship.GetPosition().top, 304) << "the normal velocity was cleared too";
  _bBulletTime = TRUE;
  ship.Update();
  EXPECT_EQ(ship.GetPosition().top, 304) << "and the slowed one";
}

TEST_F(SpriteBase, PlayOnceAnimationDiesAfterItsLastFrame) {
  auto image = Image(900, 60);
  Sprite explosion(image.get(), PlayArea(), EdgeDie);
  explosion.SetFrameCount(15, TRUE);
  EXPECT_EQ(explosion.GetWidth(), 60);
  EXPECT_EQ(explosion.GetPosition().right - explosion.GetPosition().left, 60);
  explosion.SetPosition(100, 100);
  for (int update = 1; update <= 14; ++update) {
    EXPECT_EQ(explosion.Update(), UpdateNone);
    EXPECT_FALSE(explosion.IsDying()) << update;
  }
  EXPECT_EQ(explosion.Update(), UpdateNone);
  EXPECT_TRUE(explosion.IsDying()) << "dying on the 15th update";
  EXPECT_EQ(explosion.GetCurrentFrame(), 15) << "one past the last frame";
  EXPECT_EQ(explosion.Update(), UpdateKill);
}

TEST_F(SpriteBase, CyclingAnimationWrapsAndDrawsTheCurrentFrame) {
  auto strip = std::make_unique<Bitmap>(target.get(), 40, 10, RGB(0, 0, 0));
  Sprite sprite(strip.get(), PlayArea(), EdgeStop);
  sprite.SetFrameCount(4);
  sprite.SetPosition(0, 0);
  for (int i = 0; i < 5; ++i) sprite.Update();
  EXPECT_EQ(sprite.GetCurrentFrame(), 1);
}

TEST_F(SpriteBase, BulletTimeSlowsEverythingButTheShips) {
  auto image = Image(10, 10);
  Sprite shot(image.get(), PlayArea(), EdgeStop), ship(image.get(), PlayArea(), EdgeStop);
  shot.SetTag(TagBulletP1);
  ship.SetTag(TagPlayer1);
  for (Sprite* sprite : {&shot, &ship}) {
    sprite->SetPosition(100, 100);
    sprite->SetVelocity(3, -25);
  }
  _bBulletTime = TRUE;
  shot.Update();
  ship.Update();
  EXPECT_EQ(shot.GetPosition().left, 100) << "3 / 4 truncates to 0";
  EXPECT_EQ(shot.GetPosition().top, 94);
  EXPECT_EQ(ship.GetPosition().top, 75);
  _bBulletTime = FALSE;
  shot.Update();
  EXPECT_EQ(shot.GetPosition().top, 69) << "the normal velocity comes back";
}

TEST_F(SpriteBase, DyingSpriteAsksForRemovalWithoutMoving) {
  auto image = Image(10, 10);
  Sprite sprite(image.get(), PlayArea(), EdgeStop);
  sprite.SetPosition(10, 10);
  sprite.SetVelocity(5, 5);
  sprite.Kill();
  EXPECT_EQ(sprite.Update(), UpdateKill);
  EXPECT_EQ(sprite.GetPosition().left, 10);
  EXPECT_EQ(sprite.SpawnSprite(), nullptr);
}

TEST_F(SpriteBase, TakeDamageReportsDestructionAtZeroOrBelow) {
  auto image = Image(10, 10);
  Sprite enemy(image.get(), PlayArea(), EdgeDie);
  enemy.SetHealth(12);
  EXPECT_FALSE(enemy.TakeDamage(10));
  EXPECT_EQ(enemy.GetHealth(), 2);
  EXPECT_TRUE(enemy.TakeDamage(2));
  EXPECT_TRUE(enemy.TakeDamage(10)) << "already destroyed: counts again";
  EXPECT_EQ(enemy.GetMaxHealth(), 12);
}

}  // namespace
}  // namespace skyrift
