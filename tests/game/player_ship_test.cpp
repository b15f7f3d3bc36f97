// The ship's arithmetic: power-up levels and upgrades, losing a life, the clamps.
#include "World.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

class PlayerShipTest : public World {
 protected:
  PlayerShip* NewShip() {
    auto* ship = new PlayerShip(_bmpPlayer1, PlayArea(), EdgeStop);
    ship->SetFrameCount(4);
    ship->SetTag(TagPlayer1);
    ship->SetHealth(100);
    ship->SetPosition(200, 300);
    _pEngine->InsertSprite(ship);
    return ship;
  }
};

TEST_F(PlayerShipTest, PowerUpsAddAFifthOfTheBaseThreeTimesAndUpgradesReapplyIt) {
  PlayerShip* ship = NewShip();
  std::vector<int> firepower{ship->GetFirepower()};
  for (int i = 0; i < 5; ++i) {
    ship->PowerUp();
    firepower.push_back(ship->GetFirepower());
  }
  EXPECT_EQ(firepower, (std::vector<int>{10, 12, 14, 16, 16, 16}));
  EXPECT_EQ(ship->GetPowerLevel(), 4);

  PlayerShip* other = NewShip();
  other->PowerUp();
  other->PowerUp();
  other->UpgradeFirepower(3);
  EXPECT_EQ(other->GetFirepower(), 17);  // 13 + 2 + 2
  EXPECT_EQ(other->GetPowerLevel(), 2);
}

TEST_F(PlayerShipTest, LosingALifeRespawnsAtTheBottomCentreUntilNoneIsLeft) {
  PlayerShip* ship = NewShip();
  ship->PowerUp();
  ship->PowerUp();
  ship->TakeDamage(100);
  ship->SetRecharging(1);
  ship->SetBulletTime(1);

  EXPECT_FALSE(ship->LoseLife());
  EXPECT_EQ(ship->GetLives(), 4);
  EXPECT_EQ(ship->GetPowerLevel(), 0);
  EXPECT_EQ(ship->GetFirepower(), 14);  // the bonus stays with the firepower
  EXPECT_EQ(ship->GetHealth(), 100);
  EXPECT_FALSE(ship->IsRecharging());
  EXPECT_FALSE(ship->HasBulletTime());
  EXPECT_EQ(ship->GetPosition().left, 425);
  EXPECT_EQ(ship->GetPosition().top, 536);
  const auto explosions = Tagged("");
  ASSERT_EQ(explosions.size(), 1u);
  EXPECT_EQ(explosions[0]->GetPosition().left, 200);
  EXPECT_EQ(explosions[0]->GetPosition().top, 300);
  EXPECT_EQ(explosions[0]->GetWidth(), 60);

  for (int i = 0; i < 4; ++i) EXPECT_FALSE(ship->LoseLife());
  EXPECT_EQ(ship->GetLives(), 0);
  ship->SetPosition(100, 100);
  const size_t sprites = _pEngine->GetSprites().size();
  EXPECT_TRUE(ship->LoseLife());
  EXPECT_EQ(ship->GetLives(), -1);
  EXPECT_TRUE(ship->IsDying());
  EXPECT_EQ(_pEngine->GetSprites().size(), sprites);  // no explosion
  EXPECT_EQ(ship->GetPosition().left, 100);
}

TEST_F(PlayerShipTest, HealAndEnergyStopAtTheirMaximaAndSpeedUpgradesAlwaysApply) {
  PlayerShip* ship = NewShip();
  ship->TakeDamage(30);
  ship->Heal(29);
  EXPECT_EQ(ship->GetHealth(), 99);
  ship->Heal(5);
  EXPECT_EQ(ship->GetHealth(), 100);

  ship->AddEnergy(-600);  // no lower clamp
  EXPECT_EQ(ship->GetEnergy(), -100);
  ship->AddEnergy(700);
  EXPECT_EQ(ship->GetEnergy(), 500);

  ship->SetRecharging(1);
  ship->UseSlowSpeed();
  ship->UpgradeSpeed(1);
  EXPECT_EQ(ship->GetBaseSpeed(), 9);
  EXPECT_EQ(ship->GetSpeed(), 9);
  ship->UseSlowSpeed();
  EXPECT_EQ(ship->GetSpeed(), 4);
}

}  // namespace
}  // namespace skyrift::testing
