// The painters, read back from the off-screen frame: the panel's bars and numbers per player,
// the banners over the world, the interlude page and the upgrade menu.
#include "game/Screens.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "World.h"
#include "game/Players.h"
#include "game/Presenting.h"
#include "game/StageCycle.h"
#include "game/StageTimetable.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class ScreensTest : public World {
 protected:
  static COLORREF At(int x, int y) { return _hOffscreenDC->GetPixel(x, y); }
  // How many pixels of row y from x0 on, up to x1, have the colour.
  static int Run(int x0, int x1, int y, COLORREF colour) {
    int n = 0;
    for (int x = x0; x < x1 && At(x, y) == colour; ++x) ++n;
    return n;
  }
  // Whether any pixel of the rectangle has the colour.
  static bool Any(const RECT& area, COLORREF colour) {
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (At(x, y) == colour) return true;
      }
    }
    return false;
  }
  static bool Only(const RECT& area, COLORREF colour) {
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (At(x, y) != colour) return false;
      }
    }
    return true;
  }
  struct Number {
    RECT box;
    int value;
  };
  // Whether the region of the frame shows exactly the numbers printed in their boxes over a
  // ground of one colour.
  static bool Shows(const RECT& region, COLORREF ground, const std::vector<Number>& numbers,
                    COLORREF ink) {
    auto expected = platform::Surface::CreateTarget(900, 732, ground);
    for (const Number& number : numbers) {
      expected->WriteText(number.box, std::to_string(number.value).c_str(), ink);
    }
    for (int y = region.top; y < region.bottom; ++y) {
      for (int x = region.left; x < region.right; ++x) {
        if (At(x, y) != expected->GetPixel(x, y)) return false;
      }
    }
    return true;
  }
  // The first and last columns of the region that hold a pixel of the colour.
  static std::pair<int, int> Columns(const RECT& area, COLORREF colour) {
    int first = area.right, last = area.left - 1;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (At(x, y) == colour) first = std::min(first, x), last = std::max(last, x);
      }
    }
    return {first, last};
  }
};

TEST_F(ScreensTest, BarsShowHullAndEnergyInSinglePrecision) {
  StartGame(true);
  _pPlayer2->TakeDamage(50);
  _pPlayer2->AddEnergy(-250);
  DrawPlayScreen(_hOffscreenDC);

  EXPECT_EQ(At(276, 660), kPanelColour);
  EXPECT_EQ(Run(277, 500, 657, kRed), 155);  // 277 to 431
  EXPECT_EQ(Run(277, 500, 662, kRed), 155);
  EXPECT_EQ(At(277, 663), kPanelColour);
  EXPECT_EQ(Run(277, 500, 673, kBlue), 155);
  EXPECT_EQ(Run(277, 500, 678, kBlue), 155);
  EXPECT_EQ(Run(724, 900, 660, kRed), 77);  // 77.5 truncated
  EXPECT_EQ(Run(724, 900, 676, kBlue), 77);

  // 1/3 of 155 in single precision is 51.666..., drawn 51 long.
  _pPlayer1->TakeDamage(100 - 33);
  DrawPlayScreen(_hOffscreenDC);
  EXPECT_EQ(Run(277, 500, 660, kRed), 51);
  _pPlayer1->TakeDamage(40);  // below zero draws nothing
  DrawPlayScreen(_hOffscreenDC);
  EXPECT_EQ(At(277, 660), kPanelColour);
  EXPECT_EQ(Run(277, 500, 676, kBlue), 155);
}

TEST_F(ScreensTest, AnOutPlayersHalfKeepsItsLastNumbersWithNoShipsAndNoBars) {
  StartGame(true);
  _pPlayer1->AddPoints(1234);
  _pPlayer1->AddBombs(1);
  DrawPlayScreen(_hOffscreenDC);
  EXPECT_EQ(_iHudBombs1, 3);
  EXPECT_EQ(_iHudPoints1, 1234);
  EXPECT_EQ(_iHudLives1, 5);
  EXPECT_TRUE(Any(RECT{100, 645, 200, 660}, RGB(0, 0, 0)));  // black lettering

  // The last life goes; the list deletes the ship at its next update.
  for (int i = 0; i < 6; ++i) _pPlayer1->LoseLife();
  _bPlayer1Out = TRUE;
  _pEngine->UpdateAllSprites();
  EXPECT_EQ(_pPlayer1, nullptr);
  DrawPlayScreen(_hOffscreenDC);
  EXPECT_EQ(_iHudBombs1, 3);
  EXPECT_EQ(_iHudPoints1, 1234);
  EXPECT_EQ(_iHudLives1, 0);
  EXPECT_TRUE(Only(RECT{277, 655, 433, 681}, kPanelColour));
  EXPECT_EQ(Run(724, 900, 660, kRed), 155);  // player 2 plays on

  _bPlayer2Out = TRUE;
  DrawPlayScreen(_hOffscreenDC);
  EXPECT_EQ(_iHudLives2, 0);
  EXPECT_EQ(_iHudBombs2, 2);
  EXPECT_TRUE(Only(RECT{724, 655, 880, 681}, kPanelColour));
}

TEST_F(ScreensTest, OneGameOfOnePlayerLeavesTheRightHalfToThePanelImage) {
  StartGame(false);
  DrawPlayScreen(_hOffscreenDC);
  EXPECT_EQ(Run(277, 500, 660, kRed), 155);
  EXPECT_TRUE(Only(RECT{450, 600, 900, 732}, kPanelColour));
  EXPECT_EQ(At(10, 10), kFarColour);
  EXPECT_EQ(At(430, 520), kShipColour);
}

TEST_F(ScreensTest, BannersLieOverTheWorld) {
  StartGame(false);
  _bShowStageClear = TRUE;
  DrawPlayScreen(_hOffscreenDC);
  EXPECT_EQ(At(10, 10), kBannerColour);
  EXPECT_EQ(At(10, 150), kFarColour);
  EXPECT_EQ(At(430, 520), kShipColour);
  _bShowStageClear = FALSE;
  DrawPlayScreen(_hOffscreenDC);
  EXPECT_EQ(At(10, 10), kFarColour);

  // The frame's paint dispatch shows it in stage 1 only.
  _bShowStageClear = TRUE;
  for (const int state : {GameStateStage1, GameStateStage2}) {
    _iGameState = state;
    GameDraw(_hOffscreenDC);
    EXPECT_EQ(At(10, 10), state == GameStateStage1 ? kBannerColour : kFarColour) << state;
  }

  // Game over: the frozen world, its panel, and the banner on top, on a frame never drawn.
  MakeOffscreenFrame();
  DrawGameOver(_hOffscreenDC);
  EXPECT_EQ(At(10, 10), kBannerColour);
  EXPECT_EQ(At(10, 150), kFarColour);
  EXPECT_EQ(At(430, 520), kShipColour);
  EXPECT_EQ(Run(277, 500, 660, kRed), 155);
}

// The panel is drawn again only when what it shows changed, or when the frame may no longer hold
// it: a mark left on it between two frames tells which.
TEST_F(ScreensTest, ThePanelIsDrawnAgainWhenItsNumbersChangeOrTheFrameLostIt) {
  constexpr RECT kMark{20, 700, 30, 710};
  constexpr COLORREF kMarkColour = RGB(1, 2, 3);
  const struct {
    const char* step;
    std::function<void()> between;
    bool drawnAgain;
  } cases[] = {
      {"nothing changed", [] {}, false},
      {"a sprite reaching under the panel",
       [this] { AddSprite(TagEnemyShip, 400, 580, 40, 80, kShipColour); }, false},
      {"player 1's points", [] { _pPlayer1->AddPoints(5); }, true},
      {"player 2's bombs", [] { _pPlayer2->AddBombs(1); }, true},
      {"player 1's energy bar", [] { _pPlayer1->AddEnergy(-40); }, true},
      {"player 2 out", [] { _bPlayer2Out = TRUE; }, true},
      {"a new frame", [] { MakeOffscreenFrame(); }, true},
      {"the title", [] { DrawTitleScreen(_hOffscreenDC); }, true},
      {"the interlude", [] { DrawInterlude(_hOffscreenDC); }, true},
  };
  for (const auto& step : cases) {
    StartGame(true);
    DrawPlayScreen(_hOffscreenDC);
    _hOffscreenDC->Fill(kMark, kMarkColour);
    step.between();
    DrawPlayScreen(_hOffscreenDC);
    EXPECT_EQ(At(kMark.left, kMark.top) == kPanelColour, step.drawnAgain) << step.step;
    EXPECT_FALSE(Any(RECT{0, 600, 900, 732}, kShipColour)) << step.step;
    _bPlayer2Out = FALSE;
  }
}

TEST_F(ScreensTest, TheInterludePageLiesOnStage1sLastFrameAsItWasWhenTheStageWasCleared) {
  StartGame(false);
  _bGameStarted = TRUE;             // the pad acts once the players are chosen
  _pPlayer1->SetPosition(20, 480);  // where the page leaves the frame to show
  AddSprite(TagEnemyShip, 800, 100);
  _bBossDefeated = TRUE;
  _iStageClearTimer = kStageClearEnd - 1;
  CycleStage(*StageOfState(GameStateStage1));
  ASSERT_EQ(_iGameState, GameStateInterlude);
  auto cleared = platform::Surface::CreateTarget(900, 732, 0);
  cleared->Blit(*_hOffscreenDC, 0, 0, 900, 732, 0, 0, false, 0);

  // The pad fires and bombs beside the page, and player 1's menu opens and closes over it.
  for (int frame = 0; frame < 9; ++frame) {
    GameJoystick(StickButton1 | StickButton4);
    GameFrame();
  }
  ASSERT_FALSE(Tagged(TagBulletP1).empty());
  ASSERT_EQ(_pPlayer1->GetBombs(), 1);
  for (int frame = 0; frame < 12; ++frame) {
    GameJoystick(StickButton5);
    GameFrame();
  }
  ASSERT_EQ(_iGameState, GameStateInterlude);

  for (int y = 0; y < 732; ++y) {
    for (int x = 0; x < 900; x += x == 166 ? 567 : 1) {
      ASSERT_EQ(At(x, y), cleared->GetPixel(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(At(30, 490), kShipColour);
  EXPECT_EQ(At(810, 110), RGB(255, 0, 0)) << "the enemy the bomb took, as it was";
  EXPECT_EQ(At(100, 660), kPanelColour);  // the panel shows at both sides
  EXPECT_EQ(At(800, 700), kPanelColour);
  // The page, centred.
  EXPECT_EQ(At(167, 0), kPageColour);
  EXPECT_EQ(At(732, 731), kPageColour);
}

TEST_F(ScreensTest, ThePanelAndTheMenuPrintTheirNumbersRightAlignedInTheirBoxes) {
  StartGame(true);
  _pPlayer1->AddBombs(5);
  _pPlayer1->AddPoints(4321);
  _pPlayer1->LoseLife();
  _pPlayer2->AddPoints(98765);
  // A menu shows the upgrades bought, not what the moment makes of them: a damaged hull,
  // spent energy and the slow speed of recharge mode do not show.
  _pPlayer2->UpgradeFirepower(3);
  _pPlayer2->UpgradeHull(10);
  _pPlayer2->TakeDamage(30);
  _pPlayer2->UpgradeEnergy(25);
  _pPlayer2->AddEnergy(-200);
  _pPlayer2->SetRecharging(1);
  _pPlayer2->UseSlowSpeed();

  DrawPlayScreen(_hOffscreenDC);
  const COLORREF black = RGB(0, 0, 0);
  const RECT halves[2] = {{100, 625, 200, 700}, {550, 625, 650, 700}};
  EXPECT_TRUE(Shows(
      halves[0], kPanelColour,
      {{{100, 625, 200, 680}, 7}, {{100, 645, 200, 700}, 4321}, {{100, 685, 200, 700}, 4}}, black));
  EXPECT_TRUE(
      Shows(halves[1], kPanelColour,
            {{{550, 625, 650, 680}, 2}, {{550, 645, 650, 700}, 98765}, {{550, 685, 650, 700}, 5}},
            black));
  for (const RECT& half : halves) {
    const auto [first, last] = Columns(half, black);
    EXPECT_GE(last, half.right - 3) << "the numbers end at their boxes' right edge";
    EXPECT_GT(first, half.left + 40);
  }

  DrawUpgradeMenu2(_hOffscreenDC);
  EXPECT_TRUE(Shows(RECT{756, 219, 861, 457}, kMenuColour,
                    {{{756, 219, 861, 242}, 13},
                     {{756, 291, 861, 314}, 8},
                     {{756, 365, 861, 390}, 110},
                     {{756, 436, 861, 457}, 525}},
                    kRed));
}

TEST_F(ScreensTest, TheUpgradeMenuShowsTheShipsNumbersAndOneHighlight) {
  StartGame(true);
  const RECT numbers[4] = {
      {756, 219, 861, 242}, {756, 291, 861, 314}, {756, 365, 861, 390}, {756, 436, 861, 457}};
  const RECT bars[4] = {
      {450, 248, 735, 258}, {450, 322, 735, 332}, {450, 396, 735, 406}, {450, 470, 735, 480}};
  _iUpgradeChoice = 2;
  DrawUpgradeMenu2(_hOffscreenDC);
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(Any(numbers[i], kRed)) << "entry " << i;
    if (i == 2) {
      EXPECT_TRUE(Only(bars[i], kRed));
    } else {
      EXPECT_TRUE(Only(bars[i], kMenuColour)) << "entry " << i;
    }
  }
  EXPECT_EQ(At(449, 400), kMenuColour);
  EXPECT_EQ(At(735, 400), kMenuColour);
  EXPECT_EQ(Run(724, 900, 660, kRed), 155);  // the panel below

  _iUpgradeChoice = 4;  // no such entry: no bar
  DrawUpgradeMenu1(_hOffscreenDC);
  for (const RECT& bar : bars) EXPECT_TRUE(Only(bar, kMenuColour));
}

}  // namespace
}  // namespace skyrift::testing
