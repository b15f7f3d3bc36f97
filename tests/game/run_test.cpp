// Whole runs of the real game, headless: what start-up makes, the story log.txt tells, pausing
// with the window's focus, missing music, and an end that frees whatever exists, however far
// the run got.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "Harness.h"
#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/Sound.h"
#include "game/StageCycle.h"
#include "game/Stages.h"
#include "graphics/Background.h"
#include "graphics/Bitmap.h"
#include "platform/Mixer.h"
#include "platform/Resources.h"
#include "sprites/Sprite.h"
#include "world/Globals.h"
#include "world/Images.h"

namespace skyrift {
namespace {

namespace fs = std::filesystem;
using testing::GameHarness;
using Lines = std::vector<std::string>;

const Lines kControlsDump = {"", "Controls:", "38403739329088679878365687071848281", ""};

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::array<Sample**, 15> kSamples = {
    &_sndExplosion,     &_sndBoss1Enter,   &_sndBulletTimeAct,  &_sndBulletTimeDeact,
    &_sndBulletTimeDur, &_sndPlayerFire,   &_sndPlayerBomb,     &_sndEnemyFire,
    &_sndEnemyFire2,    &_sndUpgradeDing,  &_sndBtDepleted,     &_sndShieldsDepleted,
    &_sndLargeIncoming, &_sndMassiveEnemy, &_sndStage1Complete,
};

int LiveImages() {
  return static_cast<int>(
      std::count_if(std::begin(kImageResources), std::end(kImageResources),
                    [](const ImageResource& row) { return *row.image != nullptr; }));
}

int LiveSamples() {
  return static_cast<int>(
      std::count_if(kSamples.begin(), kSamples.end(), [](Sample** s) { return *s != nullptr; }));
}

long Position(const Lines& lines, const std::string& line) {
  const auto found = std::find(lines.begin(), lines.end(), line);
  return found == lines.end() ? -1 : static_cast<long>(found - lines.begin());
}

TEST(Run, AShortRunTellsItsStoryAndTheNextRunStartsTheLogAfresh) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  game.Step(10);
  game.Activate(false);
  game.Close();
  const Lines start = Join({{"GameInitialize()"},
                            kControlsDump,
                            {"CreateBitmaps()", "GameStart()", "NewGame()", "GameActivate()"}});
  EXPECT_EQ(
      game.LogLines(),
      Join({start,
            {"GameDeactive()", "Level 1 Ticker count: 0", "DeleteBitmaps() start", "GameEnd()"}}));

  // The same folder, a second run that never loses the focus.
  ASSERT_TRUE(game.Start());
  game.Step(3);
  game.Close();
  EXPECT_EQ(game.LogLines(), Join({start, {"DeleteBitmaps() start", "GameEnd()"}}));
}

TEST(Run, StartUpMakesEveryImageSampleLayerAndTheFrameBeforeTheFirstFrame) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  // Nothing has been stepped: only the window's first paint has happened.
  for (const ImageResource& row : kImageResources) {
    ASSERT_NE(*row.image, nullptr) << row.file;
    EXPECT_NE((*row.image)->GetHandle(), nullptr) << row.file << " is empty";
    EXPECT_EQ((*row.image)->GetWidth(), row.width) << row.file;
    EXPECT_EQ((*row.image)->GetHeight(), row.height) << row.file;
  }
  EXPECT_EQ(LiveImages(), kImageCount);
  EXPECT_EQ(LiveSamples(), 15);
  EXPECT_NE(_pFarBackground, nullptr);
  EXPECT_NE(_pNearBackground, nullptr);
  ASSERT_NE(_hOffscreenDC, nullptr);
  // Painted where the window shows it, with no frame of the game's own to copy from.
  EXPECT_EQ(_hOffscreenDC, _pEngine->GetWindow()->Frame());
  EXPECT_EQ(_hOffscreenBitmap, nullptr);
  EXPECT_EQ(_hOffscreenDC->Width(), 900);
  EXPECT_EQ(_hOffscreenDC->Height(), 732);
  EXPECT_EQ(_pEngine->GetFrameDelay(), 41);

  game.Step(5);
  game.Close();
  EXPECT_EQ(LiveImages(), 0);
  EXPECT_EQ(LiveSamples(), 0);
  EXPECT_EQ(_pFarBackground, nullptr);
  EXPECT_EQ(_pNearBackground, nullptr);
  EXPECT_EQ(_hOffscreenDC, nullptr);
  EXPECT_EQ(_hOffscreenBitmap, nullptr);
  EXPECT_EQ(_sngCurrentStage, nullptr);
  EXPECT_EQ(_pEngine, nullptr);
  EXPECT_EQ(Engine::Current, nullptr);
  EXPECT_FALSE(platform::MixerIsOpen());
}

TEST(Run, TheTitlePlaysItsMusicAndANewGameStartsFromScratch) {
  GameHarness game;
  // Leftovers a new game must clear.
  _iGameState = GameStateGameOver;
  _bGameOver = TRUE;
  _iStageTicker = 99;
  _iNumPlayers = 2;
  _iFireDelay = 3;
  _iUpgradeChoice = 2;
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(_iGameState, GameStateTitle);
  EXPECT_FALSE(_bGameOver);
  EXPECT_EQ(_iStageTicker, 0);
  EXPECT_EQ(_iNumPlayers, 0);
  EXPECT_EQ(_iFireDelay, 0);
  EXPECT_EQ(_iUpgradeChoice, 0);
  EXPECT_EQ(_iUpgradeCost, 2500);
  EXPECT_EQ(_iKeyP1Fire, 32);  // read from the shipped controls.txt

  ASSERT_NE(_sngCurrentStage, nullptr);
  EXPECT_TRUE(platform::MusicPlaying());
  EXPECT_FALSE(platform::MusicPaused());
  EXPECT_EQ(platform::MusicVolume(), 175 * 128 / 255);
}

TEST(Run, LosingTheFocusPausesTheMusicAndTheFramesAndLogsTheTicker) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  game.Step(2);
  _iStageTicker = 1520;
  PlaySample(kBulletTimeChannel, _sndBulletTimeDur);  // as in bullet time
  game.Activate(false);
  Lines log = game.LogLines();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "GameDeactive()");
  EXPECT_EQ(log.back(), "Level 1 Ticker count: 1520");
  EXPECT_TRUE(platform::MusicPaused());
  EXPECT_TRUE(platform::ChannelPaused(kBulletTimeChannel)) << "the loop waits with the music";
  EXPECT_TRUE(_pEngine->IsAsleep());

  game.Activate(true);
  EXPECT_EQ(game.LogLines().back(), "GameActivate()");
  EXPECT_FALSE(platform::MusicPaused());
  EXPECT_TRUE(platform::MusicPlaying());
  EXPECT_FALSE(platform::ChannelPaused(kBulletTimeChannel));
  EXPECT_TRUE(platform::ChannelPlaying(kBulletTimeChannel));
  EXPECT_FALSE(_pEngine->IsAsleep());
}

// What one update adds to a layer's view width, view height and offset (its direction and
// speed), and whether what lies under it shows through its magenta.
struct LayerRule {
  Background** layer;
  int width, height, offset;
  bool keyed;
};

void ExpectLayer(const LayerRule& rule) {
  auto* layer = dynamic_cast<ScrollingLayer*>(*rule.layer);
  ASSERT_NE(layer, nullptr);
  const int width = layer->GetViewWidth(), height = layer->GetViewHeight();
  const int offset = layer->GetOffset();
  layer->Update();
  EXPECT_EQ(layer->GetViewWidth() - width, rule.width);
  EXPECT_EQ(layer->GetViewHeight() - height, rule.height);
  EXPECT_EQ(layer->GetOffset() - offset, rule.offset);

  const COLORREF under = RGB(1, 2, 3);
  _hOffscreenDC->Fill(RECT{0, 0, 900, 600}, under);
  layer->Draw(_hOffscreenDC);
  int showing = 0, magenta = 0;
  for (int y = 0; y < 600; y += 2) {
    for (int x = 0; x < 900; x += 2) {
      showing += _hOffscreenDC->GetPixel(x, y) == under ? 1 : 0;
      magenta += _hOffscreenDC->GetPixel(x, y) == kMagenta ? 1 : 0;
    }
  }
  EXPECT_EQ(showing > 0, rule.keyed);
  if (rule.keyed) {
    EXPECT_EQ(magenta, 0);
  }
}

TEST(Run, EachStageScrollsItsTwoLayersItsOwnWayAndStage2PlaysItsOwnMusic) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  for (const LayerRule& rule :
       {LayerRule{&_pFarBackground, 0, 2, 0, false}, LayerRule{&_pNearBackground, 0, 3, 0, true}}) {
    SCOPED_TRACE(rule.layer == &_pFarBackground ? "stage 1 far" : "stage 1 near");
    ExpectLayer(rule);
  }

  SetChannelVolume(kMusicChannel, 255);
  EnterStage(*StageOfState(GameStateStage2));
  for (const LayerRule& rule :
       {LayerRule{&_pFarBackground, 0, 1, 0, false}, LayerRule{&_pNearBackground, 0, 0, 2, true}}) {
    SCOPED_TRACE(rule.layer == &_pFarBackground ? "stage 2 far" : "stage 2 near");
    ExpectLayer(rule);
  }
  EXPECT_TRUE(platform::MusicPlaying());
  EXPECT_EQ(platform::MusicVolume(), 175 * 128 / 255);
  // Without its file stage 2 is silent, though the title's stage2.mp3 is still there.
  fs::remove(game.Folder() / "stage1.mp3");
  EnterStage(*StageOfState(GameStateStage2));
  EXPECT_FALSE(platform::MusicPlaying());
}

TEST(Run, WithoutTheTitleMusicTheGameRunsOnSilently) {
  GameHarness game;
  fs::remove(game.Folder() / "stage2.mp3");
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(_sngCurrentStage, nullptr);
  EXPECT_FALSE(platform::MusicPlaying());
  const Lines log = game.LogLines();
  const long missing = Position(log, "_sngCurrentStage = NULL");
  ASSERT_GE(missing, 0);
  EXPECT_EQ(Position(log, "NewGame()"), missing + 1);

  game.Step(24);
  game.Activate(false);
  game.Activate(true);
  game.Step(24);
  EXPECT_EQ(LiveImages(), kImageCount);
  game.Close();
  EXPECT_EQ(game.LogLines().back(), "GameEnd()");
}

TEST(Run, AnUnwritableLogNeverStopsTheGame) {
  GameHarness game;
  // A folder where log.txt should be: no one, not even root, can open it for writing.
  fs::create_directory(game.Folder() / "log.txt");
  ASSERT_TRUE(game.Start());
  game.Step(24);
  game.Activate(false);
  game.Activate(true);
  game.Step(24);
  EXPECT_EQ(_iKeyP2Menu, 81);
  EXPECT_EQ(LiveImages(), kImageCount);
  EXPECT_EQ(LiveSamples(), 15);
  game.Close();
  EXPECT_EQ(_pEngine, nullptr);
  EXPECT_EQ(LiveImages(), 0);
}

// A sprite that counts its own deletions, to show each is deleted exactly once.
int deletions = 0;
class CountedSprite : public Sprite {
 public:
  explicit CountedSprite(Bitmap* image) : Sprite(image) {}
  ~CountedSprite() override { ++deletions; }
};

TEST(Run, TheEndFreesBossEnginesThatWereMadeButNeverHandedToTheSpriteList) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  deletions = 0;
  _pBossLeftEngine = new CountedSprite(_bmpBoss1LeftEngine);
  _pBossRightEngine = new CountedSprite(_bmpBoss1RightEngine);
  _bBossEnginesAttached = FALSE;
  _pEngine->InsertSprite(new CountedSprite(_bmpBoss1));
  game.Close();
  EXPECT_EQ(deletions, 3);
  EXPECT_EQ(_pBossLeftEngine, nullptr);
  EXPECT_EQ(_pBossRightEngine, nullptr);
}

TEST(Run, TheEndLeavesEnginesInTheSpriteListToTheList) {
  // Attached as the flag says, and (should the flag lag behind) already in the list anyway.
  for (const BOOL attached : {TRUE, FALSE}) {
    GameHarness game;
    ASSERT_TRUE(game.Start());
    deletions = 0;
    _pBossLeftEngine = new CountedSprite(_bmpBoss1LeftEngine);
    _pBossRightEngine = new CountedSprite(_bmpBoss1RightEngine);
    _pEngine->InsertSprite(_pBossLeftEngine);
    _pEngine->InsertSprite(_pBossRightEngine);
    _bBossEnginesAttached = attached;
    game.Close();
    EXPECT_EQ(deletions, 2) << attached;
    EXPECT_EQ(_pBossLeftEngine, nullptr);
    EXPECT_EQ(_pBossRightEngine, nullptr);
  }
}

TEST(Run, TheEndAfterAFailedOrPartialStartReleasesOnlyWhatExists) {
  GameHarness game;
  // Never initialised: nothing to free, but the end is still traced.
  GameEnd();
  EXPECT_EQ(game.LogLines(), (Lines{"DeleteBitmaps() start", "GameEnd()"}));

  // Initialised, but the window never came: the engine and the sound library exist.
  ASSERT_TRUE(GameInitialize(platform::ProgramModule()));
  EXPECT_TRUE(platform::MixerIsOpen());
  GameEnd();
  EXPECT_EQ(game.LogLines(), (Lines{"GameInitialize()", "DeleteBitmaps() start", "GameEnd()"}));
  EXPECT_EQ(_pEngine, nullptr);
  EXPECT_EQ(Engine::Current, nullptr);
  EXPECT_FALSE(platform::MixerIsOpen());

  // Ending twice frees nothing twice.
  GameEnd();
  EXPECT_EQ(game.LogLines().back(), "GameEnd()");
}

}  // namespace
}  // namespace skyrift
