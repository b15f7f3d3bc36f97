// One player's run of the real game in a real X server, checked as a player would see it: the
// title and its two prompts, the ship and its full bars, the arrow keys, fire, a kill showing
// on the panel, the first warning banner, a bomb's flash, the upgrade menu, the pause while
// another window has the focus, and the log of the whole run once the window is closed.
//
// The game runs in real time, so the checks share one session that follows stage 1's clock.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Picture.h"
#include "X11Session.h"

namespace skyrift::e2e {
namespace {

using Clock = std::chrono::steady_clock;

struct Box {
  int left, top, right, bottom;  // right- and bottom-exclusive
};

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

constexpr int kShipFrames = 4;
constexpr int kShipStartX = 425;
constexpr int kShipStartY = 500;

// Player 1's full bars, 155 pixels from x = 277, and the number of its experience (points).
constexpr Box kHullBar{277, 657, 432, 663};
constexpr Box kEnergyBar{277, 673, 432, 679};
constexpr Box kExperienceNumber{100, 662, 201, 684};
constexpr Box kBombsNumber{100, 642, 201, 662};

// The upgrade menu's highlight bars and number boxes, by entry.
constexpr Box kMenuBars[4] = {
    {450, 248, 735, 258}, {450, 322, 735, 332}, {450, 396, 735, 406}, {450, 470, 735, 480}};
constexpr Box kMenuNumbers[4] = {
    {756, 219, 861, 242}, {756, 291, 861, 314}, {756, 365, 861, 390}, {756, 436, 861, 457}};

// The swoopers from the upper left cross x = 190 on their way down well above the bottom row;
// they reach the bottom further right.
constexpr int kKillLane = 190;
constexpr int kBottomRow = 536;         // the ship's top on the bottom edge of the play area
constexpr double kKillDeadline = 20.0;  // seconds into the stage, before the warning is due

// The first warning sign: T from 551 to 626 at 24 frames a second, at (145, 465).
constexpr int kWarningX = 145;
constexpr int kWarningY = 465;
constexpr double kWarningFirstSecond = 551.0 / 24.0;
constexpr double kWarningSeconds = 75.0 / 24.0;

int CountColour(const Screenshot& shot, const Box& box, const Rgb& colour) {
  int count = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) count += Same(shot.At(x, y), colour) ? 1 : 0;
  }
  return count;
}

int Area(const Box& box) {
  return (box.right - box.left) * (box.bottom - box.top);
}

// Pixels of the menus' red lettering: anti-aliased, so only the strokes' cores are pure red.
int RedLettering(const Screenshot& shot, const Box& box) {
  int count = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const Rgb c = shot.At(x, y);
      count += c.r > 200 && c.g < 60 && c.b < 60 ? 1 : 0;
    }
  }
  return count;
}

// The panel's black lettering, anti-aliased on its light boxes.
int DarkLettering(const Screenshot& shot, const Box& box) {
  int count = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const Rgb c = shot.At(x, y);
      count += c.r < 60 && c.g < 60 && c.b < 60 ? 1 : 0;
    }
  }
  return count;
}

std::vector<int> Region(const Screenshot& shot, const Box& box) {
  return e2e::Region(shot, box.left, box.top, box.right, box.bottom);
}

bool SameGrab(const Screenshot& a, const Screenshot& b) {
  return Region(a, Box{0, 0, kWindowWidth, kWindowHeight}) ==
         Region(b, Box{0, 0, kWindowWidth, kWindowHeight});
}

class OnePlayerRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const Picture* picture :
         {&title_, &pressEnter_, &howMany_, &ship_, &bullet_, &flash_, &warning_, &menu_}) {
      ASSERT_TRUE(picture->Valid());
    }
    ASSERT_TRUE(game_.Start()) << "no window appeared";
    game_.Focus();
  }

  double StageSeconds() const {
    return std::chrono::duration<double>(Clock::now() - stageStart_).count();
  }

  Screenshot Grab() {
    Screenshot shot = game_.Grab();
    EXPECT_TRUE(shot.Valid());
    return shot;
  }

  // The ship near where it was last seen.
  Found FindShip(const Screenshot& shot, int reach = 160) const {
    return Locate(shot, ship_, kShipFrames, std::max(-25, shipAt_.x - reach),
                  std::max(-32, shipAt_.y - reach), std::min(875, shipAt_.x + reach),
                  std::min(568, shipAt_.y + reach), 0.85);
  }

  // The title picture everywhere but the band the prompts are drawn in.
  void ExpectTitleAround(const Screenshot& shot) {
    int compared = 0, matching = 0;
    for (int y = 10; y < kWindowHeight; y += 37) {
      for (int x = 10; x < kWindowWidth; x += 41) {
        if (y >= 440 && y < 560 && x >= 140 && x < 760) continue;
        if (AmongTheKeyPlates(x, y)) continue;
        ++compared;
        matching += Same(shot.At(x, y), title_.At(x, y)) ? 1 : 0;
      }
    }
    EXPECT_EQ(matching, compared);
  }

  void TitleAndPrompts() {
    Screenshot shot = Grab();
    ExpectTitleAround(shot);
    EXPECT_GT(Coverage(shot, Frame{&pressEnter_}, 300, 450), 0.99);

    game_.Hold("Return");
    shot = Grab();
    ExpectTitleAround(shot);
    EXPECT_GT(Coverage(shot, Frame{&howMany_}, 150, 450), 0.99);
    EXPECT_LT(Coverage(shot, Frame{&pressEnter_}, 300, 450), 0.5);
  }

  void OneShipAndFullBars() {
    game_.Hold("1");
    stageStart_ = Clock::now() - std::chrono::milliseconds(350);  // the hold's time
    const Screenshot shot = Grab();
    const Found ship =
        Locate(shot, ship_, kShipFrames, kShipStartX, kShipStartY, kShipStartX, kShipStartY, 0.95);
    EXPECT_TRUE(ship.found) << "no ship at (425, 500)";
    // Nowhere else: a one-player game has one ship.
    shipAt_ = Found{true, kShipStartX, kShipStartY, 0};
    const Found anywhere = Locate(shot, ship_, kShipFrames, 0, 0, 850, 536, 0.85);
    EXPECT_TRUE(anywhere.found && anywhere.x == kShipStartX && anywhere.y == kShipStartY);

    EXPECT_EQ(CountColour(shot, kHullBar, kRed), Area(kHullBar));
    EXPECT_EQ(CountColour(shot, kEnergyBar, kBlue), Area(kEnergyBar));
    // Full bars end at x = 431.
    EXPECT_FALSE(Same(shot.At(432, 660), kRed));
    EXPECT_FALSE(Same(shot.At(432, 676), kBlue));
    // The other half of the panel has no bars in a one-player game.
    EXPECT_EQ(CountColour(shot, Box{724, 657, 879, 663}, kRed), 0);
  }

  // Holds an arrow key and checks which way the ship went.
  void Steer(const std::string& key, int dx, int dy) {
    SCOPED_TRACE(key);
    game_.Hold(key, 400);
    const Found after = FindShip(Grab());
    ASSERT_TRUE(after.found) << "the ship was lost";
    // About nine frames at 8 pixels each; the other axis does not move.
    if (dx != 0) {
      EXPECT_GT(dx * (after.x - shipAt_.x), 30) << after.x << " from " << shipAt_.x;
    } else {
      EXPECT_EQ(after.x, shipAt_.x);
    }
    if (dy != 0) {
      EXPECT_GT(dy * (after.y - shipAt_.y), 30) << after.y << " from " << shipAt_.y;
    } else {
      EXPECT_EQ(after.y, shipAt_.y);
    }
    shipAt_ = after;
  }

  // The centre shot of a volley flies up from the ship's middle.
  Found FindBullet(const Screenshot& shot) const {
    return Locate(shot, bullet_, 5, shipAt_.x - 5, 0, shipAt_.x + 15, shipAt_.y - 10, 0.9);
  }

  // A shot may meet a swooper at once, so several grabs are looked at.
  void Fire() {
    const Screenshot before = Grab();
    const Found ship = FindShip(before, 100);
    if (ship.found) shipAt_ = ship;
    EXPECT_FALSE(FindBullet(before).found) << "a shot before any was fired";
    std::vector<Screenshot> shots;
    game_.KeyDown("space");
    for (int grab = 0; grab < 8; ++grab) {
      Sleep(40);
      shots.push_back(game_.Grab());
    }
    game_.KeyUp("space");
    EXPECT_TRUE(std::any_of(shots.begin(), shots.end(), [this](const Screenshot& shot) {
      return FindBullet(shot).found;
    })) << "no shot over the ship after fire";
  }

  // Holds an arrow a few frames at a time until the ship is where `arrived` says; the frames
  // run at the game's pace, not the test's.
  template <typename Arrived>
  bool MoveShip(const std::string& key, Arrived arrived, int attempts = 40) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
      if (arrived(shipAt_)) return true;
      game_.Hold(key, 150);
      const Found ship = FindShip(Grab(), 240);
      if (ship.found) shipAt_ = ship;
    }
    return arrived(shipAt_);
  }

  // The first swoopers dive on the bottom centre from about five seconds in: the ship leaves
  // for the bottom of the lane they cross on their way down, where it will bring them down.
  void ToTheLane() {
    game_.Hold("Down", 300);
    game_.Hold("Left", (kShipStartX - kKillLane) * 1000 / (8 * 24));
    const Found ship = FindShip(Grab(), 300);
    if (ship.found) shipAt_ = ship;
    EXPECT_TRUE(MoveShip("Down", [](const Found& at) { return at.y >= kBottomRow; }));
    EXPECT_TRUE(MoveShip("Left", [](const Found& at) { return at.x <= kKillLane; }));
  }

  // Fires from the lane, sweeping a little, until the experience number changes. Swoopers fire
  // down as they fly: the ship is safest where it brings them down.
  void KillShowsOnThePanel() {
    const Screenshot before = Grab();
    const std::vector<int> experience = Region(before, kExperienceNumber);
    EXPECT_GT(DarkLettering(before, kExperienceNumber), 5)
        << "no number where the experience shows";
    game_.KeyDown("space");
    bool changed = false;
    for (int sweep = 0; !changed && StageSeconds() < kKillDeadline; ++sweep) {
      game_.Hold(sweep % 2 == 0 ? "Right" : "Left", 250);
      changed = Region(Grab(), kExperienceNumber) != experience;
    }
    game_.KeyUp("space");
    EXPECT_TRUE(changed) << "no kill showed on the panel in " << StageSeconds() << " s";
  }

  // How much of the sign the grab shows, in the colouring it shows best.
  double WarningCoverage(const Screenshot& shot) const {
    double best = 0;
    for (int frame = 0; frame < 4; ++frame) {
      best = std::max(best, Coverage(shot, Frame{&warning_, frame, 610}, kWarningX, kWarningY));
    }
    return best;
  }
  bool WarningShows(const Screenshot& shot) const { return WarningCoverage(shot) > 0.8; }

  // A ship that lost a life starts again at the bottom centre, where the swoopers' dives meet:
  // it goes back to the lane, a little at a time so that the watch on the sign goes on.
  void BackToTheLane() {
    const Found ship = Locate(Grab(), ship_, kShipFrames, 0, 300, 850, kBottomRow, 0.85);
    if (!ship.found || ship.x <= kKillLane + 60) return;
    shipAt_ = ship;
    MoveShip(
        "Left", [](const Found& at) { return at.x <= kKillLane; }, 2);
  }

  // The ship fires on from the lane while it waits: the swoopers it brings down cannot shoot it.
  void FirstWarning() {
    game_.KeyDown("space");
    struct Release {
      GameProcess& game;
      ~Release() { game.KeyUp("space"); }
    } release{game_};
    for (int look = 0; StageSeconds() < kWarningFirstSecond - 1.5; ++look) {
      EXPECT_FALSE(WarningShows(Grab())) << "the warning at " << StageSeconds() << " s";
      if (look % 2 == 0) BackToTheLane();
      Sleep(250);
    }
    double shown = -1, closest = 0;
    for (int look = 0; shown < 0 && StageSeconds() < kWarningFirstSecond + 15; ++look) {
      const double coverage = WarningCoverage(Grab());
      closest = std::max(closest, coverage);
      if (coverage > 0.8) shown = StageSeconds();
      if (look % 5 == 4) BackToTheLane();
      Sleep(100);
    }
    ASSERT_GE(shown, 0) << "no warning sign by " << StageSeconds() << " s; at best "
                        << closest * 100 << "% of it showed";
    // Never early (the ticker counts no faster than the clock); late only by frames the machine
    // could not run in time.
    EXPECT_GE(shown, kWarningFirstSecond - 0.3);
    double gone = -1;
    while (gone < 0 && StageSeconds() < shown + 15) {
      // Clearly gone, not just flown over by a few enemies.
      if (WarningCoverage(Grab()) < 0.3) gone = StageSeconds();
      Sleep(100);
    }
    ASSERT_GE(gone, 0) << "the warning sign stayed";
    // Shown for about three seconds: seen a little late when the machine is busy, but never a
    // mere blink.
    EXPECT_GE(gone - shown, kWarningSeconds / 3);
  }

  // A bomb's flash shows for two frames: the window is grabbed back to back while the key is
  // held, long enough for both bombs, and the grabs are looked at afterwards.
  void BombFlash() {
    const std::vector<int> bombs = Region(Grab(), kBombsNumber);
    std::vector<Screenshot> shots;
    game_.KeyDown("z");
    for (const auto until = Clock::now() + std::chrono::milliseconds(600); Clock::now() < until;) {
      shots.push_back(game_.Grab());
    }
    game_.KeyUp("z");
    int flashes = 0;
    for (const Screenshot& shot : shots) {
      for (int frame = 0; frame < 3; ++frame) {
        if (shot.Valid() && Coverage(shot, Frame{&flash_, frame, 900}, 0, 0) > 0.8) {
          ++flashes;
          break;
        }
      }
    }
    EXPECT_GT(flashes, 0) << "no bomb flash in " << shots.size() << " grabs";
    Sleep(100);
    EXPECT_NE(Region(Grab(), kBombsNumber), bombs) << "the bombs left did not change";
  }

  int Highlighted(const Screenshot& shot) const {
    int found = -1;
    for (int entry = 0; entry < 4; ++entry) {
      const int red = CountColour(shot, kMenuBars[entry], kRed);
      if (red == Area(kMenuBars[entry])) {
        found = found == -1 ? entry : -2;  // more than one is a fault
      } else {
        EXPECT_LT(red, Area(kMenuBars[entry]) / 2) << "entry " << entry << " half lit";
      }
    }
    return found;
  }

  void UpgradeMenu() {
    // A held menu key toggles again after six frames: a player's short press opens it once.
    game_.Hold("Tab", 150);
    Screenshot shot = Grab();
    EXPECT_GT(Coverage(shot, Frame{&menu_}, 0, 0), 0.95) << "the upgrade menu is not shown";
    EXPECT_EQ(Highlighted(shot), 0);
    for (const Box& number : kMenuNumbers) EXPECT_GT(RedLettering(shot, number), 5);
    // The panel stays under the menu, with its bars.
    EXPECT_GT(CountColour(shot, kEnergyBar, kBlue), 0);

    // The menu pauses play: the picture stands.
    Sleep(300);
    EXPECT_TRUE(SameGrab(shot, Grab()));

    // A held arrow moves the highlight every fourth frame, its count starting from where the
    // title left it: about four frames move it once.
    game_.Hold("Down", 170);
    EXPECT_EQ(Highlighted(Grab()), 1);

    game_.Hold("Tab", 150);
    shot = Grab();
    EXPECT_LT(Coverage(shot, Frame{&menu_}, 0, 0), 0.5) << "the menu did not close";
    Sleep(200);
    EXPECT_FALSE(SameGrab(shot, Grab())) << "play did not go on after the menu";
  }

  void FocusLostPauses() {
    OtherWindow other;
    ASSERT_TRUE(other.Open()) << "the second window did not appear";
    focusLostAt_ = StageSeconds();
    other.Focus();
    const Screenshot first = Grab();
    Sleep(500);
    EXPECT_TRUE(SameGrab(first, Grab())) << "frames ran without the focus";

    game_.Focus();
    const Screenshot resumed = Grab();
    Sleep(300);
    EXPECT_FALSE(SameGrab(resumed, Grab())) << "frames did not resume with the focus";
  }

  void CloseWritesTheWholeLog() {
    ASSERT_EQ(game_.Close(), 0);
    const std::vector<std::string> log = game_.LogLines();
    const std::vector<std::string> start = {"GameInitialize()",
                                            "",
                                            "Controls:",
                                            "38403739329088679878365687071848281",
                                            "",
                                            "CreateBitmaps()",
                                            "GameStart()",
                                            "NewGame()"};
    ASSERT_GE(log.size(), start.size() + 4);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + static_cast<long>(start.size())),
              start);
    EXPECT_EQ(log[log.size() - 2], "DeleteBitmaps() start");
    EXPECT_EQ(log.back(), "GameEnd()");

    // Between them: the focus coming and going, the ships made once, and the ticker told on
    // each loss of focus: frames of stage 1, never more than the clock allowed.
    int players = 0, lastTicker = -1;
    for (auto line = log.begin() + static_cast<long>(start.size()); line != log.end() - 2; ++line) {
      const std::string prefix = "Level 1 Ticker count: ";
      if (line->rfind(prefix, 0) == 0) {
        EXPECT_EQ(*(line - 1), "GameDeactive()");
        lastTicker = std::stoi(line->substr(prefix.size()));
      } else if (*line == "CreatePlayers() start") {
        ++players;
      } else {
        EXPECT_TRUE(*line == "GameActivate()" || *line == "GameDeactive()") << *line;
      }
    }
    EXPECT_EQ(players, 1);
    EXPECT_GT(lastTicker, 0);
    EXPECT_LE(lastTicker, static_cast<int>(24 * focusLostAt_) + 24);
  }

  // Runs one step of the session, saying when it starts. The window at the first failure is
  // kept beside the test as e2e-failure-STEP.png. False after a fatal failure.
  template <typename Body>
  bool Step(const char* name, Body body) {
    std::printf("[%5.1f s] %s\n",
                std::chrono::duration<double>(Clock::now() - sessionStart_).count(), name);
    std::fflush(stdout);
    body();
    if (HasFailure() && !pictureKept_ && game_.Pid() > 0) {
      pictureKept_ = true;
      Shell("import -window " + game_.Window() + " e2e-failure-" + name + ".png 2>/dev/null");
    }
    return !HasFatalFailure();
  }

  const Picture title_ = Picture::Asset("title.bmp");
  const Picture pressEnter_ = Picture::Asset("press_enter.bmp");
  const Picture howMany_ = Picture::Asset("how_many_players.bmp");
  const Picture ship_ = Picture::Asset("player1.bmp");
  const Picture bullet_ = Picture::Asset("bullet_center.bmp");
  const Picture flash_ = Picture::Asset("bomb_flash.bmp");
  const Picture warning_ = Picture::Asset("warning1.bmp");
  const Picture menu_ = Picture::Asset("upgrade_menu1.bmp");

  GameProcess game_;
  const Clock::time_point sessionStart_ = Clock::now();
  Clock::time_point stageStart_ = Clock::now();
  Found shipAt_;
  bool pictureKept_ = false;
  double focusLostAt_ = 0;  // seconds into the stage
};

// Everything that needs the ship in play comes early in the stage, while it has all its spare
// ships; the stage is hard on a ship that waits.
TEST_F(OnePlayerRun, FromTheTitleThroughTheFirstWarningToTheClosedWindow) {
  ASSERT_TRUE(Step("title", [this] { TitleAndPrompts(); }));
  ASSERT_TRUE(Step("ship", [this] { OneShipAndFullBars(); }));
  ASSERT_TRUE(Step("lane", [this] { ToTheLane(); }));
  ASSERT_TRUE(Step("right", [this] { Steer("Right", 1, 0); }));
  ASSERT_TRUE(Step("left", [this] { Steer("Left", -1, 0); }));
  ASSERT_TRUE(Step("up", [this] { Steer("Up", 0, -1); }));
  ASSERT_TRUE(Step("down", [this] { Steer("Down", 0, 1); }));
  ASSERT_TRUE(Step("fire", [this] { Fire(); }));
  ASSERT_TRUE(Step("kill", [this] { KillShowsOnThePanel(); }));
  ASSERT_TRUE(Step("bomb", [this] { BombFlash(); }));
  ASSERT_TRUE(Step("menu", [this] { UpgradeMenu(); }));
  ASSERT_TRUE(Step("focus", [this] { FocusLostPauses(); }));
  ASSERT_TRUE(Step("warning", [this] { FirstWarning(); }));
  ASSERT_TRUE(Step("close", [this] { CloseWritesTheWholeLog(); }));
}

}  // namespace
}  // namespace skyrift::e2e
