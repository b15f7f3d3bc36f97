// The engine's sprite list: order by layer, the update pass with spawning and removal, the
// first-overlap collision with its put-back, drawing, and the bulk removals.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "graphics/Bitmap.h"
#include "sprites/PlayerShip.h"
#include "sprites/Sprite.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// A sprite whose update the test scripts, counting how often it ran.
class ScriptedSprite : public Sprite {
 public:
  ScriptedSprite(Bitmap* image, std::string name, int layer = 0)
      : Sprite(image, POINT{0, 0}, POINT{0, 0}, layer, PlayArea(), EdgeStop) {
    SetTag(std::move(name));
  }
  UpdateResult Update() override {
    ++updates;
    if (onUpdate) return onUpdate(*this);
    return Sprite::Update();
  }
  Sprite* SpawnSprite() override { return spawn ? spawn() : nullptr; }

  int updates = 0;
  std::function<UpdateResult(ScriptedSprite&)> onUpdate;
  std::function<Sprite*()> spawn;
};

class SpriteList : public ::testing::Test {
 protected:
  SpriteList()
      : target(platform::Surface::CreateTarget(900, 732, 0)),
        image(target.get(), 10, 10, RGB(200, 200, 200)),
        engine(platform::ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732) {
    _pEngine = &engine;
  }
  ~SpriteList() override {
    engine.DeleteAllSprites();
    _pEngine = nullptr;
    _pPlayer1 = nullptr;
  }

  ScriptedSprite* Add(const std::string& tag, int layer = 0) {
    auto* sprite = new ScriptedSprite(&image, tag, layer);
    engine.InsertSprite(sprite);
    return sprite;
  }
  std::vector<std::string> Tags() const {
    std::vector<std::string> tags;
    for (const Sprite* sprite : engine.GetSprites()) tags.push_back(sprite->GetTag());
    return tags;
  }

  std::unique_ptr<platform::Surface> target;
  Bitmap image;
  Engine engine;
};

TEST_F(SpriteList, InsertionKeepsLayersInOrderAndEqualLayersInArrivalOrder) {
  Add("first", 0);
  Add("second", 0);
  Add("fourth", 1);
  Add("third", 0);
  engine.InsertSprite(nullptr);
  EXPECT_EQ(Tags(), (std::vector<std::string>{"first", "second", "third", "fourth"}));
}

TEST_F(SpriteList, AKilledSpriteLeavesAndTheNextIsStillUpdated) {
  ScriptedSprite* doomed = Add("doomed");
  ScriptedSprite* next = Add("next");
  doomed->onUpdate = [](ScriptedSprite&) { return UpdateKill; };
  engine.UpdateAllSprites();
  EXPECT_EQ(Tags(), (std::vector<std::string>{"next"}));
  EXPECT_EQ(next->updates, 1);
}

TEST_F(SpriteList, ASpawnedSpriteIsUpdatedInTheSamePass) {
  ScriptedSprite* child = nullptr;
  ScriptedSprite* parent = Add("parent");
  parent->onUpdate = [](ScriptedSprite&) { return UpdateSpawn; };
  parent->spawn = [&] { return child = new ScriptedSprite(&image, "child"); };
  engine.UpdateAllSprites();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->updates, 1);
  EXPECT_EQ(Tags(), (std::vector<std::string>{"parent", "child"}));
}

TEST_F(SpriteList, ASpawnInALowerLayerDoesNotUpdateTheSpawnerTwice) {
  ScriptedSprite* parent = Add("parent", 5);
  parent->onUpdate = [](ScriptedSprite& self) {
    return self.updates == 1 ? UpdateSpawn : UpdateNone;
  };
  parent->spawn = [&] { return new ScriptedSprite(&image, "below", 0); };
  engine.UpdateAllSprites();
  EXPECT_EQ(parent->updates, 1);
  EXPECT_EQ(Tags(), (std::vector<std::string>{"below", "parent"}));
}

TEST_F(SpriteList, BulkRemovalKeepsOnlyProtectedKindsInOrder) {
  for (const char* tag : {TagPlayer1, TagEnemyShip, TagEnemyBullet, TagPowerUp, "", "Player2",
                          TagWarning, TagBossLeftEngine}) {
    Add(tag);
  }
  engine.RemoveUnprotectedSprites();
  EXPECT_EQ(Tags(),
            (std::vector<std::string>{TagPlayer1, TagPowerUp, TagWarning, TagBossLeftEngine}))
      << "the comparison is exact and case-sensitive";
  engine.DeleteAllSprites();
  EXPECT_TRUE(engine.GetSprites().empty());
  engine.DeleteAllSprites();
}

TEST_F(SpriteList, SpriteAtPointFindsTheFirstVisibleSpriteThere) {
  ScriptedSprite* a = Add("a");
  ScriptedSprite* b = Add("b");
  a->SetPosition(100, 100);
  b->SetPosition(105, 105);
  EXPECT_EQ(engine.SpriteAtPoint(106, 106), a);
  EXPECT_EQ(engine.SpriteAtPoint(112, 112), b);
  EXPECT_EQ(engine.SpriteAtPoint(50, 50), nullptr);
}

TEST_F(SpriteList, OnlyTheFirstOverlapIsHandledAndItsResultPutsTheMoverBack) {
  // The player's ship moves onto two power-ups; the collision rules collect the first in list
  // order only, and the ship is put back where it stood.
  auto shipImage = std::make_unique<Bitmap>(target.get(), 200, 64, RGB(0, 0, 255));
  auto* ship = new PlayerShip(shipImage.get(), PlayArea(), EdgeStop);
  ship->SetFrameCount(4);
  ship->SetTag(TagPlayer1);
  ship->SetHealth(100);
  ship->SetPosition(100, 100);
  ship->SetVelocity(8, 0);
  _pPlayer1 = ship;
  ScriptedSprite* repair = Add(TagRepairPowerUp);
  ScriptedSprite* bomb = Add(TagBombPowerUp);
  repair->SetPosition(150, 120);
  bomb->SetPosition(152, 130);
  engine.InsertSprite(ship);
  ship->TakeDamage(50);
  engine.UpdateAllSprites();
  EXPECT_EQ(ship->GetPosition().left, 100) << "put back";
  EXPECT_EQ(ship->GetHealth(), 60) << "the repair was collected";
  EXPECT_EQ(ship->GetBombs(), 0) << "the second power-up was not handled";
  EXPECT_TRUE(repair->IsDying());
  EXPECT_FALSE(bomb->IsDying());
}

}  // namespace
}  // namespace skyrift
