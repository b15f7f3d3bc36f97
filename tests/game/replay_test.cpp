// A whole game replayed headless from a fixed start: two players with a scripted input fly
// stage 1, destroy the engines and the boss, wait through the stage-clear screen, start stage 2
// and play it until both are out. A checksum of the world at fixed frames catches any change of
// behaviour; the milestones are checked on their own.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "Harness.h"
#include "Keys.h"
#include "engine/Engine.h"
#include "game/Stages.h"
#include "platform/Random.h"
#include "sprites/BossShip.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift::testing {
namespace {

// FNV-1a, 64 bits.
class Checksum {
 public:
  void Add(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
      hash_ ^= bytes[i];
      hash_ *= 0x100000001b3ULL;
    }
  }
  void Add(int value) { Add(&value, sizeof value); }
  void Add(const RECT& rect) {
    for (const int side : {rect.left, rect.top, rect.right, rect.bottom}) Add(side);
  }
  void Add(const std::string& text) {
    Add(static_cast<int>(text.size()));
    Add(text.data(), text.size());
  }
  uint64_t Value() const { return hash_; }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// The generator's whole state, read without drawing from it.
void AddRandomState(Checksum& sum) {
  const std::array<int32_t, 32> state = platform::RandomState();
  sum.Add(state.data(), sizeof state);
}

uint64_t WorldChecksum() {
  Checksum sum;
  sum.Add(_iGameState);
  sum.Add(_iStageTicker);
  sum.Add(_iStageClearTimer);
  sum.Add(_bBulletTime);
  for (const BOOL flag : {_bPlayer1Out, _bPlayer2Out, _bGameOver, _bBossSpawned,
                          _bBossEnginesAttached, _bBossDefeated}) {
    sum.Add(flag);
  }
  for (const Sprite* sprite : _pEngine->GetSprites()) {
    sum.Add(sprite->Tag());
    sum.Add(sprite->GetPosition());
    sum.Add(sprite->GetVelocity().x);
    sum.Add(sprite->GetVelocity().y);
    sum.Add(sprite->GetHealth());
    sum.Add(sprite->GetCurrentFrame());
    sum.Add(sprite->IsDying());
  }
  for (const PlayerShip* ship : {_pPlayer1, _pPlayer2}) {
    if (ship == nullptr) {
      sum.Add(-1);
      continue;
    }
    for (const int stat : {ship->GetPoints(), ship->GetLives(), ship->GetBombs(), ship->GetEnergy(),
                           ship->GetPowerLevel(), ship->GetFirepower()}) {
      sum.Add(stat);
    }
  }
  if (_pBoss != nullptr) sum.Add(_pBoss->GetPhase());
  AddRandomState(sum);
  return sum.Value();
}

// Both ships sweep the whole width, in opposite directions, so that their shots cross every
// part of the play area (the boss's engines included) wherever a ship was respawned.
constexpr int kSweepFrames = 110;  // a little more than a crossing at 8 pixels per frame

void Sweep(GameHarness& game, int frame) {
  const bool leftward = (frame / kSweepFrames) % 2 == 0;
  if (frame % kSweepFrames != 0) return;
  game.Release(leftward ? kP1Right : kP1Left);
  game.Press(leftward ? kP1Left : kP1Right);
  game.Release(leftward ? kP2Left : kP2Right);
  game.Press(leftward ? kP2Right : kP2Left);
}

TEST(Replay, TheRandomStateIsReadWithoutDrawing) {
  platform::SeedRandom(42);
  platform::Random();
  const int expected = platform::Random();
  platform::SeedRandom(42);
  platform::Random();
  Checksum first, second;
  AddRandomState(first);
  AddRandomState(second);
  EXPECT_EQ(first.Value(), second.Value());
  EXPECT_EQ(platform::Random(), expected);
  Checksum after;
  AddRandomState(after);
  EXPECT_NE(after.Value(), first.Value()) << "a draw changes the state";
}

// Checksums of the world recorded from this replay. A change of behaviour anywhere in play
// changes them; when a change is meant, record the new ones the failure prints.
struct Checkpoint {
  int frame;
  uint64_t checksum;
};
constexpr Checkpoint kRecorded[] = {
    {100, 0xf16be7d1dd659939ULL},  {200, 0xab2b357a591ea83cULL},  {300, 0x811c0d45d4d97612ULL},
    {400, 0x761a713f2caba377ULL},  {500, 0x0bb077bbb13c5aa3ULL},  {600, 0x79aa490d954cb852ULL},
    {700, 0x279f9153bd227597ULL},  {800, 0x47786162fccbbf33ULL},  {900, 0x42c36c8f3d67594fULL},
    {1000, 0xdbe7880e6c13a63cULL}, {1100, 0xd36bb055ee911a60ULL}, {1200, 0x0c59e79d733fbb7fULL},
    {1300, 0xaa7e94187c8b51fdULL}, {1400, 0xe7d103eb30f4f91dULL}, {1500, 0x571498d723ddd208ULL},
    {1600, 0xd2ea29b0758d1610ULL}, {1700, 0xd6d21caa001bf905ULL}, {1800, 0xee1ff6eae7aafb90ULL},
    {1900, 0x3de999df680a4c34ULL}, {2000, 0xf96b97869f1edf2bULL}, {2100, 0xe9513eff59fa286fULL},
    {2200, 0xb3b47073b0ddde25ULL}, {2300, 0x080072a4af4d5c29ULL}, {2400, 0xd783ea05ecbb577fULL},
    {2500, 0xd3560930bf0aff3bULL}, {2600, 0xe2b568c80823be20ULL}, {2633, 0x201503047a798a52ULL},
};
constexpr int kCheckpointFrames = 100;

TEST(Replay, TwoPlayersClearStageOneAndFallInStageTwoExactlyAsBefore) {
  GameHarness game;
  ASSERT_TRUE(game.Start());

  int frame = 0;
  std::vector<Checkpoint> seen;
  const auto step = [&] {
    game.Step();
    ++frame;
    if (frame % kCheckpointFrames == 0 || _iGameState == GameStateGameOver) {
      seen.push_back({frame, WorldChecksum()});
    }
  };

  // The title: start, then two players.
  for (int i = 0; i < 5; ++i) step();
  game.Press(kEnter);
  for (int i = 0; i < 4; ++i) step();
  game.Release(kEnter);
  game.Press(kTwo);
  for (int i = 0; i < 4; ++i) step();
  game.Release(kTwo);
  ASSERT_EQ(_iGameState, GameStateStage1);
  ASSERT_NE(_pPlayer1, nullptr);
  ASSERT_NE(_pPlayer2, nullptr);

  // Overpowered ships with a hull no shot wears through; enemies that ram them still cost lives.
  for (PlayerShip* ship : {_pPlayer1, _pPlayer2}) {
    ship->UpgradeFirepower(990);
    ship->UpgradeHull(1000000);
  }
  game.Press(kP1Fire);
  game.Press(kP2Fire);

  int enginesDown = 0, bossDefeated = 0, interlude = 0, stage2 = 0, gameOver = 0;
  while (frame < 10000 && gameOver == 0) {
    Sweep(game, frame);
    step();
    if (_pBoss != nullptr && _pBoss->GetPhase() == 2 && enginesDown == 0) enginesDown = frame;
    if (_bBossDefeated && bossDefeated == 0) bossDefeated = frame;
    if (_iGameState == GameStateInterlude && interlude == 0) interlude = frame;
    if (_iGameState == GameStateStage2 && stage2 == 0) {
      stage2 = frame;
      // Stage 2: the ships hold their fire and are made fragile, so that the game ends.
      game.Release(kP1Fire);
      game.Release(kP2Fire);
      for (PlayerShip* ship : {_pPlayer1, _pPlayer2}) {
        if (ship != nullptr) ship->SetHealth(10);
      }
    }
    if (_iGameState == GameStateGameOver) gameOver = frame;
  }

  // The milestones, in order.
  EXPECT_GT(enginesDown, 0) << "both engines destroyed";
  EXPECT_GT(bossDefeated, enginesDown) << "then the boss";
  EXPECT_EQ(_pBoss, nullptr);
  EXPECT_GT(interlude, bossDefeated) << "the stage-clear screen";
  EXPECT_GT(stage2, interlude);
  EXPECT_GT(gameOver, stage2) << "both players out in stage 2";
  EXPECT_TRUE(_bGameOver);
  EXPECT_TRUE(_bPlayer1Out && _bPlayer2Out);

  // The world, frame by frame as recorded.
  bool same = seen.size() == std::size(kRecorded);
  for (size_t i = 0; i < seen.size() && i < std::size(kRecorded); ++i) {
    EXPECT_EQ(seen[i].frame, kRecorded[i].frame);
    EXPECT_EQ(seen[i].checksum, kRecorded[i].checksum) << "frame " << seen[i].frame;
    same = same && seen[i].frame == kRecorded[i].frame && seen[i].checksum == kRecorded[i].checksum;
  }
  EXPECT_EQ(seen.size(), std::size(kRecorded));
  if (!same) {
    std::string table;
    char line[64];
    for (const Checkpoint& checkpoint : seen) {
      std::snprintf(line, sizeof line, "    {%d, 0x%016llxULL},\n", checkpoint.frame,
                    static_cast<unsigned long long>(checkpoint.checksum));
      table += line;
    }
    ADD_FAILURE() << "this run's checkpoints (engines down at " << enginesDown << ", boss at "
                  << bossDefeated << ", interlude at " << interlude << ", stage 2 at " << stage2
                  << ", game over at " << gameOver << "):\n"
                  << table;
  }
}

}  // namespace
}  // namespace skyrift::testing
