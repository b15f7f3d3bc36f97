// The ships at the start of a game, the volleys by power level, the bomb's flash, explosion
// bursts, and the energy and repair upkeep.
#include "game/Weapons.h"

#include "World.h"
#include "game/PlayerActions.h"
#include "game/Players.h"
#include "platform/Mixer.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

using WeaponsTest = World;

struct Shot {
  int x, y, vx, vy;
  friend bool operator==(const Shot&, const Shot&) = default;
};

std::vector<Shot> ShotsTagged(const std::string& tag) {
  std::vector<Shot> shots;
  for (Sprite* sprite : Tagged(tag)) {
    EXPECT_EQ(sprite->GetFrameCount(), 5);
    EXPECT_EQ(sprite->GetEdgeAction(), EdgeDie);
    shots.push_back({sprite->GetPosition().left, sprite->GetPosition().top, sprite->GetVelocity().x,
                     sprite->GetVelocity().y});
  }
  return shots;
}

TEST_F(WeaponsTest, ShipsStartCentredOrSideBySide) {
  CreatePlayers(FALSE);
  EXPECT_FALSE(_bPlayer1Out);
  EXPECT_TRUE(_bPlayer2Out);
  ASSERT_NE(_pPlayer1, nullptr);
  EXPECT_EQ(_pPlayer1->GetPosition(), (RECT{425, 500, 475, 564}));
  EXPECT_EQ(_pPlayer1->Tag(), TagPlayer1);
  EXPECT_EQ(_pPlayer1->GetMaxHealth(), 100);
  EXPECT_EQ(_pPlayer1->GetBombs(), 2);
  EXPECT_EQ(_pPlayer1->GetFrameCount(), 4);
  EXPECT_EQ(_pPlayer1->GetBounds(), (RECT{0, 0, 900, 600}));
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"CreatePlayers() start"}));

  _pEngine->DeleteAllSprites();
  CreatePlayers(TRUE);
  EXPECT_FALSE(_bPlayer2Out);
  ASSERT_EQ(_pEngine->GetSprites().size(), 2u);
  EXPECT_EQ(_pEngine->GetSprites()[0], _pPlayer1);  // player 1 goes in first
  EXPECT_EQ(_pPlayer1->GetPosition().left, 350);
  EXPECT_EQ(_pPlayer2->GetPosition().left, 550);
  EXPECT_EQ(_pPlayer2->GetPosition().top, 500);
  EXPECT_EQ(_pPlayer2->Tag(), TagPlayer2);
  EXPECT_EQ(_pPlayer2->GetBitmap(), _bmpPlayer2);
}

TEST_F(WeaponsTest, VolleysWidenWithThePowerLevel) {
  CreatePlayers(FALSE);  // at (425, 500), 50 wide; the centre shot is 42 wide
  const Shot centre{429, 476, 0, -25};
  const Shot left18{425, 500, -3, -18}, right18{436, 500, 3, -18};
  const std::vector<std::vector<Shot>> expected = {
      {centre},
      {centre},
      {centre, left18, right18},
      {centre, {425, 500, -6, -20}, {436, 500, 6, -20}},
      {centre, left18, right18, {425, 500, -5, -20}, {436, 500, 5, -20}},
  };
  for (int level = 0; level <= 4; ++level) {
    _pEngine->DeleteAllSprites();
    CreatePlayers(FALSE);
    for (int i = 0; i < level; ++i) _pPlayer1->PowerUp();
    FirePlayerBullets(_pPlayer1);
    // In the order they are made, which is the order of the list.
    EXPECT_EQ(ShotsTagged(TagBulletP1), expected[static_cast<size_t>(level)]) << "level " << level;
  }

  // Only a ship tagged exactly TagPlayer1 fires player 1's shots.
  _pPlayer1->SetTag("Player1");
  FirePlayerBullets(_pPlayer1);
  EXPECT_EQ(ShotsTagged(TagBulletP2).size(), 5u);
}

TEST_F(WeaponsTest, TheBombFlashCoversThePlayAreaAndSurvivesTheClearOut) {
  AddSprite(TagEnemyBullet, 10, 10);
  CreateBombFlash();
  _pEngine->RemoveUnprotectedSprites();
  const auto flashes = Tagged(TagPlayer1);
  ASSERT_EQ(flashes.size(), 1u);
  EXPECT_TRUE(Tagged(TagEnemyBullet).empty());
  EXPECT_EQ(flashes[0]->GetPosition(), (RECT{0, 0, 900, 600}));
  EXPECT_EQ(flashes[0]->GetFrameCount(), 4);
  EXPECT_EQ(flashes[0]->GetVelocity(), (POINT{0, 0}));

  // It plays its four frames once, then the list lets it go.
  for (int i = 0; i < 5; ++i) _pEngine->UpdateAllSprites();
  EXPECT_TRUE(Tagged(TagPlayer1).empty());
}

TEST_F(WeaponsTest, ExplosionBurstsScatterOverTheWreck) {
  Sprite* wreck = AddSprite(TagEnemyShip, 200, 150, 80, 30);
  SpawnExplosionBurst(wreck, 6);
  const auto explosions = Tagged("");
  ASSERT_EQ(explosions.size(), 6u);
  for (const Sprite* explosion : explosions) {
    EXPECT_GE(explosion->GetPosition().left, 200);
    EXPECT_LT(explosion->GetPosition().left, 280);
    EXPECT_GE(explosion->GetPosition().top, 150);
    EXPECT_LT(explosion->GetPosition().top, 180);
    EXPECT_EQ(explosion->GetFrameCount(), 15);
    EXPECT_EQ(explosion->GetWidth(), 60);
  }
}

TEST_F(WeaponsTest, BulletTimeDrainsThePayerAndRegenerationAndRepairKeepTheirRates) {
  _iNumPlayers = 1;
  CreatePlayers(FALSE);
  _pPlayer1->AddEnergy(-400);
  _bBulletTime = TRUE;
  for (int i = 0; i < 22; ++i) UpdatePlayerStatus();
  EXPECT_EQ(_pPlayer1->GetEnergy(), 100 - 22 + 2);  // one point back every 11 frames
  EXPECT_TRUE(_bBulletTime);

  // Repair only in recharge mode: one point every 8 frames, bullet time or not.
  _bBulletTime = FALSE;
  _pPlayer1->TakeDamage(50);
  for (int i = 0; i < 16; ++i) UpdatePlayerStatus();
  EXPECT_EQ(_pPlayer1->GetHealth(), 50);
  _pPlayer1->SetRecharging(1);
  _bBulletTime = TRUE;
  for (int i = 0; i < 16; ++i) UpdatePlayerStatus();
  EXPECT_EQ(_pPlayer1->GetHealth(), 52);
}

// The payer running dry ends bullet time silently: the ship keeps its own flag, so it is still
// the one to pay when bullet time comes back on, whoever switches it on; only the loop stops.
TEST_F(WeaponsTest, BulletTimeRunningDryEndsItWithoutASoundAndLeavesThePayerFlagged) {
  const struct {
    const char* name;
    bool twoPlayers;
    bool player1Out;
    int payer;
  } cases[] = {
      {"one player", false, false, 1},
      {"player 1 pays, player 2 in", true, false, 1},
      {"player 2 pays, player 1 in", true, false, 2},
      {"player 2 pays, player 1 out", true, true, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetPlay();
    StartGame(c.twoPlayers);
    _bPlayer1Out = c.player1Out ? TRUE : FALSE;
    PlayerShip* payer = c.payer == 1 ? _pPlayer1 : _pPlayer2;
    payer->AddEnergy(1 - payer->GetEnergy());
    payer->SetBulletTime(1);
    _bBulletTime = TRUE;
    PlaySample(kBulletTimeChannel, _sndBulletTimeDur);
    ClearPlayRequests();
    UpdatePlayerStatus();
    EXPECT_FALSE(_bBulletTime);
    EXPECT_TRUE(payer->HasBulletTime()) << "the payer's own flag stays set";
    EXPECT_TRUE(PlayRequests().empty()) << "no switch-off sound";
    EXPECT_FALSE(platform::ChannelPlaying(kBulletTimeChannel)) << "the loop stops with it";
  }

  // Player 1 ran dry; player 2 switching bullet time on leaves player 1 to pay, with nothing left.
  ResetPlay();
  StartGame(true);
  _pPlayer1->AddEnergy(-_pPlayer1->GetEnergy());
  _pPlayer1->SetBulletTime(1);
  _bBulletTime = TRUE;
  UpdatePlayerStatus();
  ASSERT_FALSE(_bBulletTime);
  _iBulletTimeDelay = 0;
  ToggleBulletTime(_pPlayer2);
  UpdatePlayerStatus();
  EXPECT_FALSE(_bBulletTime) << "one frame, paid by player 1";
  EXPECT_EQ(_pPlayer2->GetEnergy(), 500);
}

TEST_F(WeaponsTest, WithTwoPlayersOnlyOneShipPaysForBulletTime) {
  _iNumPlayers = 2;
  CreatePlayers(TRUE);
  _bBulletTime = TRUE;
  _pPlayer1->SetBulletTime(1);
  _pPlayer2->SetBulletTime(1);
  for (int i = 0; i < 10; ++i) UpdatePlayerStatus();
  EXPECT_EQ(_pPlayer1->GetEnergy(), 490);
  EXPECT_EQ(_pPlayer2->GetEnergy(), 500);

  _pPlayer1->SetBulletTime(0);
  UpdatePlayerStatus();  // the 11th frame also gives each ship a point back
  EXPECT_EQ(_pPlayer1->GetEnergy(), 491);
  EXPECT_EQ(_pPlayer2->GetEnergy(), 500);

  // With player 1 out, player 2 pays whatever the flags say.
  _pPlayer2->SetBulletTime(0);
  _bPlayer1Out = TRUE;
  UpdatePlayerStatus();
  EXPECT_EQ(_pPlayer1->GetEnergy(), 491);
  EXPECT_EQ(_pPlayer2->GetEnergy(), 499);
}

}  // namespace
}  // namespace skyrift::testing
