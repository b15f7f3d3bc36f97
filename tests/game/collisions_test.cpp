// The collision rules, rule by rule in both orders of the two sprites and for both players:
// shots on enemies, engines and the boss; enemies and their shots on the ships; power-ups;
// pairs without a rule; the game being over; the bomb flash; shots that outlive their ship.
#include <string>
#include <vector>

#include "World.h"
#include "engine/GameCallbacks.h"
#include "game/Players.h"
#include "game/Weapons.h"
#include "platform/Mixer.h"
#include "platform/Random.h"
#include "sprites/BossShip.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

class Collisions : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    _iNumPlayers = 2;
    _iGameState = GameStateStage1;
    CreatePlayers(TRUE);
  }

  static PlayerShip* Ship(int player) { return player == 1 ? _pPlayer1 : _pPlayer2; }
  static PlayerShip* OtherShip(int player) { return player == 1 ? _pPlayer2 : _pPlayer1; }
  static BOOL Out(int player) { return player == 1 ? _bPlayer1Out : _bPlayer2Out; }

  // A player's centre shot, as the fire key makes it.
  Sprite* Shot(int player, int x = 0, int y = 0) {
    Sprite* shot = Put(_bmpBulletCenter, player == 1 ? TagBulletP1 : TagBulletP2, x, y, EdgeDie);
    shot->SetFrameCount(5);
    return shot;
  }

  Sprite* Enemy(Bitmap* image, int health, int x = 400, int y = 200) {
    Sprite* enemy = Put(image, TagEnemyShip, x, y, EdgeDie);
    enemy->SetHealth(health);
    return enemy;
  }

  Sprite* EnemyShot(int x = 0, int y = 0) {
    Sprite* bullet = Put(_bmpEnemyBullet, TagEnemyBullet, x, y, EdgeDie);
    bullet->SetFrameCount(7);
    return bullet;
  }

  // A boss standing at the top of the play area, in the list and named by _pBoss.
  static BossShip* Boss() {
    auto* boss = new BossShip(_bmpBoss1, PlayArea(), EdgeDie);
    boss->SetTag(TagBoss);
    boss->SetPosition(125, 0);
    boss->SetHealth(7500);
    _pEngine->InsertSprite(boss);
    _pBoss = boss;
    boss->Update();
    return boss;
  }

  // The two parties in the order asked for: `firstFound` puts `a` first.
  static BOOL Collide(Sprite* a, Sprite* b, bool firstFound) {
    return firstFound ? SpritesCollided(a, b) : SpritesCollided(b, a);
  }

  static std::vector<Sprite*> Explosions() { return Showing(_bmpExplosion); }
  static int ListSize() { return static_cast<int>(_pEngine->GetSprites().size()); }

  // Seeds rand so that the next kill drops nothing.
  void NoDrop() {
    platform::SeedRandom(SeedWhere(1, [](const std::vector<int>& d) { return d[0] % 10 != 0; }));
  }
};

// Runs `body` for both players and both orders.
template <typename Body>
void ForBothPlayersAndOrders(Body body) {
  for (const int player : {1, 2}) {
    for (const bool shotFirst : {true, false}) {
      SCOPED_TRACE(::testing::Message()
                   << "player " << player << (shotFirst ? ", found first" : ", moved first"));
      body(player, shotFirst);
    }
  }
}

TEST_F(Collisions, PlayerShotsDamageEnemiesAndAKillPaysByTheEnemysKind) {
  _pPlayer2->UpgradeFirepower(5);  // 15, so that each player's own firepower shows
  struct Kind {
    Bitmap* image;
    int points;
  };
  const Kind kinds[] = {
      {_bmpHoverEnemy, 200}, {_bmpSwoopEnemy, 100}, {_bmpGunshipEnemy, 0}, {_bmpConvoyEnemy, 0}};

  ForBothPlayersAndOrders([&](int player, bool shotFirst) {
    PlayerShip* ship = Ship(player);
    const int firepower = ship->GetFirepower();

    // A hit that leaves the enemy alive removes only the shot.
    Sprite* gunship = Enemy(_bmpGunshipEnemy, 50);
    Sprite* shot = Shot(player);
    int size = ListSize();
    EXPECT_TRUE(Collide(shot, gunship, shotFirst));
    EXPECT_EQ(gunship->GetHealth(), 50 - firepower);
    EXPECT_TRUE(shot->IsDying());
    EXPECT_FALSE(gunship->IsDying());
    EXPECT_EQ(ListSize(), size) << "no explosion";

    for (const Kind& kind : kinds) {
      Sprite* enemy = Enemy(kind.image, firepower, 420, 180);
      shot = Shot(player);
      const int points = ship->GetPoints(), otherPoints = OtherShip(player)->GetPoints();
      const int booms = Requests(_sndExplosion);
      size = ListSize();
      NoDrop();
      EXPECT_TRUE(Collide(shot, enemy, shotFirst));
      EXPECT_TRUE(enemy->IsDying());
      EXPECT_TRUE(shot->IsDying());
      EXPECT_EQ(ship->GetPoints(), points + kind.points);
      EXPECT_EQ(OtherShip(player)->GetPoints(), otherPoints);
      EXPECT_EQ(Requests(_sndExplosion), booms + 1);
      ASSERT_EQ(ListSize(), size + 1);
      const Sprite* explosion = _pEngine->GetSprites().back();
      EXPECT_EQ(explosion->GetBitmap(), _bmpExplosion);
      EXPECT_EQ(explosion->GetPosition().left, 420) << "the wreck's corner, not its centre";
      EXPECT_EQ(explosion->GetPosition().top, 180);
      EXPECT_EQ(explosion->GetFrameCount(), 15);
    }
  });
}

TEST_F(Collisions, AConvoyShipOfTwelveTakesTwoShotsOfTen) {
  Sprite* convoy = Enemy(_bmpConvoyEnemy, 12);
  EXPECT_TRUE(SpritesCollided(convoy, Shot(1)));
  EXPECT_EQ(convoy->GetHealth(), 2);
  EXPECT_FALSE(convoy->IsDying());
  NoDrop();
  EXPECT_TRUE(SpritesCollided(Shot(1), convoy));
  EXPECT_TRUE(convoy->IsDying());
}

TEST_F(Collisions, AKillDropsAPowerUpAtTheWreckOnOneDrawInTen) {
  const auto dropsAfter = [&](bool lucky) {
    platform::SeedRandom(
        SeedWhere(1, [lucky](const std::vector<int>& d) { return (d[0] % 10 == 0) == lucky; }));
    Sprite* enemy = Enemy(_bmpSwoopEnemy, 10, 333, 111);
    SpritesCollided(enemy, Shot(1));
    std::vector<Sprite*> drops;
    for (const char* tag : {TagPowerUp, TagRepairPowerUp, TagBombPowerUp, TagFocusPowerUp}) {
      for (Sprite* drop : Tagged(tag)) drops.push_back(drop);
    }
    return drops;
  };
  EXPECT_TRUE(dropsAfter(false).empty());
  const std::vector<Sprite*> drops = dropsAfter(true);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0]->GetPosition().left, 333);
  EXPECT_EQ(drops[0]->GetPosition().top, 111);
}

TEST_F(Collisions, ASecondShotOnAnEnemyDestroyedInTheSameFrameCountsAgain) {
  Sprite* swooper = Enemy(_bmpSwoopEnemy, 10, 400, 200);
  // Both shots reach the swooper on this frame's move, one after the other.
  for (const int x : {405, 410}) Shot(1, x, 252)->SetVelocity(0, -25);
  platform::SeedRandom(
      SeedWhere(2, [](const std::vector<int>& d) { return d[0] % 10 != 0 && d[1] % 10 != 0; }));
  _pEngine->UpdateAllSprites();
  EXPECT_EQ(_pPlayer1->GetPoints(), 200);
  EXPECT_EQ(swooper->GetHealth(), -10);
  const std::vector<Sprite*> explosions = Explosions();
  ASSERT_EQ(explosions.size(), 2u);
  for (const Sprite* explosion : explosions) EXPECT_EQ(explosion->GetPosition().left, 400);
}

TEST_F(Collisions, AnEnemyShipRammingAShipCostsALifeWithTwoExplosionsAndNoPoints) {
  ForBothPlayersAndOrders([&](int player, bool shipFirst) {
    PlayerShip* ship = Ship(player);
    ship->SetPosition(300, 400);
    Sprite* enemy = Enemy(_bmpHoverEnemy, 15, 310, 390);
    const int lives = ship->GetLives();
    const size_t explosions = Explosions().size();
    EXPECT_TRUE(Collide(ship, enemy, shipFirst));
    EXPECT_EQ(ship->GetLives(), lives - 1);
    EXPECT_FALSE(Out(player));
    EXPECT_TRUE(enemy->IsDying());
    EXPECT_EQ(enemy->GetHealth(), 15) << "the enemy takes no damage";
    EXPECT_EQ(ship->GetPoints(), 0);
    EXPECT_TRUE(Tagged(TagPowerUp).empty());
    // One from losing the life, one from the rule, both where the ship was.
    const std::vector<Sprite*> now = Explosions();
    ASSERT_EQ(now.size(), explosions + 2);
    for (size_t i = explosions; i < now.size(); ++i) {
      EXPECT_EQ(now[i]->GetPosition().left, 300);
      EXPECT_EQ(now[i]->GetPosition().top, 400);
    }
    EXPECT_EQ(ship->GetPosition().left, 425) << "the fresh ship at the bottom centre";
  });

  // The ram that finds no life left puts the player out.
  while (_pPlayer2->GetLives() > 0) _pPlayer2->LoseLife();
  EXPECT_TRUE(SpritesCollided(Enemy(_bmpSwoopEnemy, 10), _pPlayer2));
  EXPECT_TRUE(_bPlayer2Out);
  EXPECT_TRUE(_pPlayer2->IsDying());
  EXPECT_FALSE(_bPlayer1Out);
}

TEST_F(Collisions, ALostLifeLeavesTheShipInNormalModeAndEndsBulletTimeOnlyWhenNoShipPays) {
  // Player 1 rammed, player 2 shot down, each in recharge mode and paying for bullet time.
  for (const int player : {1, 2}) {
    SCOPED_TRACE(player);
    PlayerShip* ship = Ship(player);
    ship->SetRecharging(1);
    ship->UseSlowSpeed();
    ship->SetBitmap(player == 1 ? _bmpPlayer1Recharge : _bmpPlayer2Recharge);
    _bBulletTime = TRUE;
    ship->SetBulletTime(1);
    PlaySample(kBulletTimeChannel, _sndBulletTimeDur);
    const int switchOffs = Requests(_sndBulletTimeDeact);
    if (player == 1) {
      EXPECT_TRUE(Collide(ship, Enemy(_bmpSwoopEnemy, 10), true));
    } else {
      ship->TakeDamage(90);
      EXPECT_TRUE(Collide(ship, EnemyShot(), false));
    }
    ASSERT_FALSE(Out(player));
    EXPECT_FALSE(ship->IsRecharging());
    EXPECT_EQ(ship->GetSpeed(), 8);
    EXPECT_EQ(ship->GetBitmap(), player == 1 ? _bmpPlayer1 : _bmpPlayer2);
    EXPECT_FALSE(_bBulletTime) << "nobody would pay for it";
    EXPECT_FALSE(platform::ChannelPlaying(kBulletTimeChannel));
    EXPECT_EQ(Requests(_sndBulletTimeDeact), switchOffs + 1);
  }

  // While a ship is left to pay after the lost life, bullet time goes on and that ship pays;
  // outside bullet time a lost life ends nothing. Neither plays the switch-off.
  const struct {
    const char* name;
    int players;
    bool bulletTime;
    bool flag1, flag2;  // the ships' own bullet-time flags
    int loser;
    bool lastLife;
    int payerBefore, payerAfter;  // 0: nobody
  } goOn[] = {
      {"a ship that does not pay", 2, true, true, false, 2, false, 1, 1},
      {"the payer's last life, the other still in", 2, true, true, false, 1, true, 1, 2},
      {"player 2 pays and loses its last life, player 1 still in", 2, true, false, true, 2, true, 2,
       1},
      {"both flags set, the payer loses a life", 2, true, true, true, 1, false, 1, 2},
      {"a one-player game", 1, true, true, false, 1, false, 1, 1},
      {"a one-player game, the flag never set", 1, true, false, false, 1, false, 1, 1},
      {"outside bullet time", 2, false, false, false, 1, false, 0, 0},
  };
  auto payer = [](int player) { return player == 0 ? nullptr : Ship(player); };
  for (const auto& c : goOn) {
    SCOPED_TRACE(c.name);
    ResetPlay();  // the earlier cases' ships stay in the list, out of the game
    StartGame(c.players == 2);
    PlayerShip* loser = Ship(c.loser);
    if (c.lastLife) {
      while (loser->GetLives() > 0) loser->LoseLife();
    }
    _pPlayer1->SetBulletTime(c.flag1 ? 1 : 0);
    if (c.players == 2) _pPlayer2->SetBulletTime(c.flag2 ? 1 : 0);
    _bBulletTime = c.bulletTime ? TRUE : FALSE;
    ASSERT_EQ(BulletTimePayer(), payer(c.payerBefore));
    const int switchOffs = Requests(_sndBulletTimeDeact);
    EXPECT_TRUE(Collide(loser, Enemy(_bmpSwoopEnemy, 10), true));
    EXPECT_EQ(Out(c.loser), c.lastLife ? TRUE : FALSE);
    EXPECT_EQ(_bBulletTime, c.bulletTime ? TRUE : FALSE);
    EXPECT_EQ(BulletTimePayer(), payer(c.payerAfter));
    EXPECT_EQ(Requests(_sndBulletTimeDeact), switchOffs);
  }
}

TEST_F(Collisions, AShipSurvivesNineEnemyShotsAndLosesALifeOnTheTenth) {
  ForBothPlayersAndOrders([&](int player, bool shipFirst) {
    PlayerShip* ship = Ship(player);
    ship->Heal(100);
    const int lives = ship->GetLives();
    const size_t explosions = Explosions().size();
    for (int hit = 1; hit <= 9; ++hit) {
      Sprite* bullet = EnemyShot();
      EXPECT_TRUE(Collide(ship, bullet, shipFirst));
      EXPECT_TRUE(bullet->IsDying());
    }
    EXPECT_EQ(ship->GetHealth(), 10);
    EXPECT_EQ(ship->GetLives(), lives);
    EXPECT_EQ(Explosions().size(), explosions) << "a hit the hull takes shows nothing";

    const int booms = Requests(_sndExplosion);
    EXPECT_TRUE(Collide(ship, EnemyShot(), shipFirst));
    EXPECT_EQ(ship->GetLives(), lives - 1);
    EXPECT_EQ(ship->GetHealth(), 100) << "the fresh ship is repaired";
    EXPECT_EQ(Explosions().size(), explosions + 2);
    EXPECT_EQ(Requests(_sndExplosion), booms + 1);
    EXPECT_FALSE(Out(player));
  });
}

TEST_F(Collisions, TheShipThatFliesIntoAShotIsPutBackAndTheOneThatIsHitStaysAtTheRespawnPoint) {
  // Player 1 flies into a standing enemy shot with its last ten points of hull.
  _pPlayer1->SetPosition(100, 300);
  _pPlayer1->SetVelocity(8, 0);
  _pPlayer1->TakeDamage(90);
  EnemyShot(150, 320);
  // An enemy shot flies into player 2, standing with its last ten points.
  _pPlayer2->SetPosition(600, 300);
  _pPlayer2->TakeDamage(90);
  EnemyShot(620, 370)->SetVelocity(0, -15);

  _pEngine->UpdateAllSprites();
  EXPECT_EQ(_pPlayer1->GetLives(), 4);
  EXPECT_EQ(_pPlayer1->GetPosition().left, 100);
  EXPECT_EQ(_pPlayer1->GetPosition().top, 300);
  EXPECT_EQ(_pPlayer2->GetLives(), 4);
  EXPECT_EQ(_pPlayer2->GetPosition().left, 425);
  EXPECT_EQ(_pPlayer2->GetPosition().top, 536);
}

TEST_F(Collisions, ShotsWearTheEnginesDownAndEachEngineLostTellsTheBody) {
  ForBothPlayersAndOrders([&](int player, bool shotFirst) {
    BossShip* boss = Boss();
    ASSERT_EQ(boss->GetPhase(), 1);
    Sprite* left = Put(_bmpBoss1LeftEngine, TagBossLeftEngine, 219, 245, EdgeBounce);
    Sprite* right = Put(_bmpBoss1RightEngine, TagBossRightEngine, 543, 244, EdgeBounce);
    _pBossLeftEngine = left;
    _pBossRightEngine = right;
    left->SetHealth(15);
    right->SetHealth(10);
    PlayerShip* ship = Ship(player);

    // While an engine stands, shots fly on over the body.
    Sprite* shot = Shot(player);
    EXPECT_FALSE(Collide(shot, boss, shotFirst));
    EXPECT_FALSE(shot->IsDying());
    EXPECT_EQ(boss->GetHealth(), 7500);

    // A shot the engine survives is removed.
    EXPECT_TRUE(Collide(shot, left, shotFirst));
    EXPECT_TRUE(shot->IsDying());
    EXPECT_EQ(left->GetHealth(), 5);
    EXPECT_FALSE(left->IsDying());

    for (Sprite* engine : {left, right}) {
      const int points = ship->GetPoints(), otherPoints = OtherShip(player)->GetPoints();
      const size_t explosions = Explosions().size();
      shot = Shot(player);
      EXPECT_TRUE(Collide(shot, engine, shotFirst));
      EXPECT_TRUE(engine->IsDying());
      EXPECT_TRUE(shot->IsDying());
      EXPECT_EQ(ship->GetPoints(), points + 1000);
      EXPECT_EQ(OtherShip(player)->GetPoints(), otherPoints);
      EXPECT_EQ(Explosions().size(), explosions + 20);
      boss->Update();
      EXPECT_EQ(boss->GetPhase(), engine == left ? 1 : 2) << "the last phase once both are down";
    }
  });
}

TEST_F(Collisions, TheBossDiesOnlyWithoutEnginesAndPaysEveryPlayerStillInTheGame) {
  ForBothPlayersAndOrders([&](int player, bool shotFirst) {
    BossShip* boss = Boss();
    boss->SetLeftEngineDown(1);
    boss->SetRightEngineDown(1);
    boss->Update();
    ASSERT_EQ(boss->GetPhase(), 2);
    boss->SetHealth(20);
    _bBossDefeated = FALSE;

    Sprite* shot = Shot(player);
    EXPECT_TRUE(Collide(shot, boss, shotFirst));
    EXPECT_TRUE(shot->IsDying());
    EXPECT_EQ(boss->GetHealth(), 10);
    EXPECT_FALSE(_bBossDefeated);

    const int points1 = _pPlayer1->GetPoints(), points2 = _pPlayer2->GetPoints();
    const size_t explosions = Explosions().size();
    EXPECT_TRUE(Collide(Shot(player), boss, shotFirst));
    EXPECT_TRUE(boss->IsDying());
    EXPECT_TRUE(_bBossDefeated);
    EXPECT_EQ(_pPlayer1->GetPoints(), points1 + 10000) << "whoever fired";
    EXPECT_EQ(_pPlayer2->GetPoints(), points2 + 10000);
    EXPECT_EQ(Explosions().size(), explosions + 75);
  });

  // With player 1 out, its last shot still kills, and only player 2 is paid.
  BossShip* boss = Boss();
  boss->SetLeftEngineDown(1);
  boss->SetRightEngineDown(1);
  boss->Update();
  boss->SetHealth(10);
  _bPlayer1Out = TRUE;
  const int points1 = _pPlayer1->GetPoints(), points2 = _pPlayer2->GetPoints();
  EXPECT_TRUE(SpritesCollided(boss, Shot(1)));
  EXPECT_TRUE(boss->IsDying());
  EXPECT_EQ(_pPlayer1->GetPoints(), points1);
  EXPECT_EQ(_pPlayer2->GetPoints(), points2 + 10000);
}

TEST_F(Collisions, ShipsCollectEachKindOfPowerUp) {
  struct Kind {
    Bitmap* image;
    const char* tag;
    int (PlayerShip::*measure)() const;
    int gain;
  };
  const Kind kinds[] = {
      {_bmpPowerUp, TagPowerUp, &PlayerShip::GetPowerLevel, 1},
      {_bmpRepairPowerUp, TagRepairPowerUp, &PlayerShip::GetHealth, 10},
      {_bmpBombPowerUp, TagBombPowerUp, &PlayerShip::GetBombs, 1},
      {_bmpFocusPowerUp, TagFocusPowerUp, &PlayerShip::GetEnergy, 50},
  };
  for (PlayerShip* ship : {_pPlayer1, _pPlayer2}) {
    ship->TakeDamage(50);
    ship->AddEnergy(-200);
  }
  ForBothPlayersAndOrders([&](int player, bool shipFirst) {
    for (const Kind& kind : kinds) {
      SCOPED_TRACE(kind.tag);
      Sprite* powerUp = Put(kind.image, kind.tag, 10, 10, EdgeBounce);
      const int before = (Ship(player)->*kind.measure)();
      const int other = (OtherShip(player)->*kind.measure)();
      EXPECT_TRUE(Collide(Ship(player), powerUp, shipFirst));
      EXPECT_TRUE(powerUp->IsDying());
      EXPECT_EQ((Ship(player)->*kind.measure)(), before + kind.gain);
      EXPECT_EQ((OtherShip(player)->*kind.measure)(), other);
    }
  });
}

TEST_F(Collisions, PairsWithoutARuleChangeNothing) {
  BossShip* boss = Boss();
  Sprite* left = Put(_bmpBoss1LeftEngine, TagBossLeftEngine, 219, 245, EdgeBounce);
  Sprite* right = Put(_bmpBoss1RightEngine, TagBossRightEngine, 543, 244, EdgeBounce);
  Sprite* shot1 = Shot(1);
  Sprite* shot2 = Shot(2);
  Sprite* enemy = Enemy(_bmpHoverEnemy, 15);
  Sprite* otherEnemy = Enemy(_bmpSwoopEnemy, 10);
  Sprite* enemyShot = EnemyShot();
  Sprite* powerUp = Put(_bmpPowerUp, TagPowerUp, 10, 10, EdgeBounce);
  Sprite* explosion = Put(_bmpExplosion, "", 10, 10, EdgeDie);
  Sprite* warning = Put(_bmpWarning1, TagWarning, 145, 465, EdgeDie);
  const std::vector<std::pair<Sprite*, Sprite*>> pairs = {
      {_pPlayer1, boss},      {_pPlayer2, boss},   {_pPlayer1, left},    {_pPlayer2, right},
      {boss, left},           {boss, right},       {shot1, shot2},       {shot1, enemyShot},
      {shot2, powerUp},       {enemy, otherEnemy}, {enemy, enemyShot},   {enemy, powerUp},
      {_pPlayer1, _pPlayer2}, {_pPlayer1, shot1},  {_pPlayer1, shot2},   {_pPlayer2, shot1},
      {_pPlayer1, explosion}, {shot1, explosion},  {_pPlayer2, warning}, {enemyShot, warning},
  };
  const int size = ListSize();
  for (const auto& [a, b] : pairs) {
    for (const bool aFirst : {true, false}) {
      SCOPED_TRACE(::testing::Message() << "'" << a->Tag() << "' and '" << b->Tag() << "'");
      const int healthA = a->GetHealth(), healthB = b->GetHealth();
      EXPECT_FALSE(Collide(a, b, aFirst));
      EXPECT_FALSE(a->IsDying());
      EXPECT_FALSE(b->IsDying());
      EXPECT_EQ(a->GetHealth(), healthA);
      EXPECT_EQ(b->GetHealth(), healthB);
    }
  }
  EXPECT_EQ(ListSize(), size);
  EXPECT_EQ(_pPlayer1->GetLives(), 5);
  EXPECT_EQ(_pPlayer2->GetLives(), 5);
  EXPECT_EQ(Requests(_sndExplosion), 0);
}

TEST_F(Collisions, NothingHappensOnceTheGameIsOver) {
  _bGameOver = TRUE;
  Sprite* enemy = Enemy(_bmpHoverEnemy, 15);
  Sprite* shot = Shot(1);
  Sprite* powerUp = Put(_bmpBombPowerUp, TagBombPowerUp, 10, 10, EdgeBounce);
  for (const bool firstFound : {true, false}) {
    EXPECT_FALSE(Collide(shot, enemy, firstFound));
    EXPECT_FALSE(Collide(_pPlayer1, powerUp, firstFound));
    EXPECT_FALSE(Collide(_pPlayer2, enemy, firstFound));
    EXPECT_FALSE(Collide(_pPlayer2, EnemyShot(), firstFound));
  }
  EXPECT_EQ(enemy->GetHealth(), 15);
  EXPECT_FALSE(enemy->IsDying() || shot->IsDying() || powerUp->IsDying());
  EXPECT_EQ(_pPlayer1->GetBombs(), 2);
  EXPECT_EQ(_pPlayer2->GetLives(), 5);
  EXPECT_EQ(_pPlayer2->GetHealth(), 100);
}

TEST_F(Collisions, TheBombFlashHurtsNoOneAndCollectsForPlayerOneOnlyWhilePlayerOneIsInPlay) {
  CreateBombFlash();
  Sprite* flash = _pEngine->GetSprites().back();
  ASSERT_EQ(flash->Tag(), TagPlayer1);
  ASSERT_NE(flash, _pPlayer1);

  Sprite* enemy = Enemy(_bmpHoverEnemy, 15);
  Sprite* enemyShot = EnemyShot();
  const int size = ListSize();
  for (const bool flashFirst : {true, false}) {
    EXPECT_FALSE(Collide(flash, enemy, flashFirst));
    EXPECT_FALSE(Collide(flash, enemyShot, flashFirst));
  }
  EXPECT_FALSE(enemy->IsDying() || enemyShot->IsDying() || flash->IsDying());
  EXPECT_EQ(enemy->GetHealth(), 15);
  EXPECT_EQ(_pPlayer1->GetLives(), 5);
  EXPECT_EQ(_pPlayer1->GetHealth(), 100);
  EXPECT_EQ(flash->GetHealth(), 10);
  EXPECT_EQ(ListSize(), size);

  // Player 1 in play: the flash gathers for it.
  for (const bool flashFirst : {true, false}) {
    Sprite* bomb = Put(_bmpBombPowerUp, TagBombPowerUp, 10, 10, EdgeBounce);
    const int bombs = _pPlayer1->GetBombs();
    EXPECT_TRUE(Collide(flash, bomb, flashFirst));
    EXPECT_TRUE(bomb->IsDying());
    EXPECT_EQ(_pPlayer1->GetBombs(), bombs + 1);
    EXPECT_EQ(_pPlayer2->GetBombs(), 2);
  }

  // Player 1 out, then its ship deleted: the flash gathers for no one.
  _bPlayer1Out = TRUE;
  Sprite* bomb = Put(_bmpBombPowerUp, TagBombPowerUp, 10, 10, EdgeBounce);
  const int bombs = _pPlayer1->GetBombs();
  EXPECT_FALSE(SpritesCollided(flash, bomb));
  EXPECT_FALSE(bomb->IsDying());
  EXPECT_EQ(_pPlayer1->GetBombs(), bombs);
  EXPECT_EQ(_pPlayer2->GetBombs(), 2);
  while (!_pPlayer1->LoseLife()) {
  }
  _pEngine->UpdateAllSprites();
  ASSERT_EQ(_pPlayer1, nullptr);
  EXPECT_FALSE(SpritesCollided(bomb, flash));
  EXPECT_FALSE(SpritesCollided(flash, enemyShot));
  EXPECT_FALSE(bomb->IsDying());
}

TEST_F(Collisions, ShotsOutlivingTheirShipHitWithItsLastFirepowerAndEarnNothing) {
  _pPlayer1->UpgradeFirepower(15);  // 25
  Sprite* lateShot = Shot(1, 10, 10);
  Sprite* lastShot = Shot(1, 10, 10);
  while (!_pPlayer1->LoseLife()) {
  }
  _pEngine->UpdateAllSprites();
  ASSERT_EQ(_pPlayer1, nullptr);
  EXPECT_TRUE(_bPlayer1Out);

  Sprite* gunship = Enemy(_bmpGunshipEnemy, 50);
  EXPECT_TRUE(SpritesCollided(gunship, lateShot));
  EXPECT_EQ(gunship->GetHealth(), 25);
  Sprite* hover = Enemy(_bmpHoverEnemy, 25);
  NoDrop();
  EXPECT_TRUE(SpritesCollided(lastShot, hover));
  EXPECT_TRUE(hover->IsDying());
  EXPECT_EQ(_pPlayer2->GetPoints(), 0) << "the other player is not paid for it";
}

}  // namespace
}  // namespace skyrift::testing
