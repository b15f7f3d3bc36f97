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

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

constexpr int kShipFrames = 4;
constexpr int kShipWidth = 50, kShipHeight = 64;
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
constexpr double kKillDeadline = 60.0;  // seconds into the stage; the first kills come in five

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

// The play area above the panel.
constexpr Box kPlayArea{0, 0, kWindowWidth, 600};

// The ship's top-left corner may be this far outside the window.
constexpr Box kShipCorners{-25, -32, 875, 568};

// The first rows of a full-window picture: enough to tell it is shown, quick to grab.
constexpr int kTopRows = 48;

class OnePlayerRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const Picture* picture : {&title_, &ship_, &bullet_, &flash_, &warning_, &menu_}) {
      ASSERT_TRUE(picture->Valid());
    }
    ASSERT_TRUE(prompts_.Valid());
    ASSERT_TRUE(game_.Start()) << "no window appeared";
    ASSERT_TRUE(game_.Focus()) << "the game did not say it had the focus";
  }

  // Seconds since the stage began, counted from the last moment the log did not yet say so:
  // never less than the game's own count.
  double StageSeconds() const { return SecondsSince(stageStart_); }

  Screenshot Grab(const Box& area = Box{0, 0, kWindowWidth, kWindowHeight}) {
    Screenshot shot = game_.Grab(area);
    EXPECT_TRUE(shot.Valid());
    return shot;
  }

  // The places the ship's corner is searched over, `reachX` and `reachY` around `around`, and
  // the part of the window they need.
  static Box ShipCorners(const Found& around, int reachX, int reachY) {
    return Box{std::max(kShipCorners.left, around.x - reachX),
               std::max(kShipCorners.top, around.y - reachY),
               std::min(kShipCorners.right, around.x + reachX),
               std::min(kShipCorners.bottom, around.y + reachY)};
  }
  static Box ShipArea(const Box& corners) {
    return Box{std::max(0, corners.left), std::max(0, corners.top),
               std::min(kWindowWidth, corners.right + kShipWidth),
               std::min(600, corners.bottom + kShipHeight)};
  }
  Found FindShip(const Screenshot& shot, const Box& corners) const {
    return Locate(shot, ship_, kShipFrames, corners.left, corners.top, corners.right,
                  corners.bottom, 0.85);
  }
  // The ship within reach of `around`, in a grab of just that part of the window.
  Found LookForShip(const Found& around, int reachX, int reachY, Screenshot* kept = nullptr) {
    const Box corners = ShipCorners(around, reachX, reachY);
    const Screenshot shot = Grab(ShipArea(corners));
    const Found found = FindShip(shot, corners);
    if (kept != nullptr) *kept = shot;
    return found;
  }

  // Waits until the ship is at rest: in the same place on two grabs with a frame between them
  // (the picture around it changed), so a key let go has been seen. The ship is then where it
  // stays; a ship lost meanwhile is not waited for.
  void Settle() {
    const Found around = shipAt_;
    const Box area = ShipArea(ShipCorners(around, 120, 120));
    Screenshot before(Box{}, {});
    Found was = LookForShip(around, 120, 120, &before);
    WaitFor([&] {
      Screenshot now(Box{}, {});
      const Found is = LookForShip(around, 120, 120, &now);
      if (Region(now, area) == Region(before, area)) return false;
      const bool settled = !is.found || (was.found && is.x == was.x && is.y == was.y);
      before = now;
      was = is;
      return settled;
    });
    if (was.found) shipAt_ = was;
  }

  // Holds an arrow key until the ship has gone its way by more than `distance` pixels, the ship
  // searched along that way. False if it never does (or is lost).
  bool MoveShip(const std::string& key, int dx, int dy, int distance,
                Clock::duration patience = std::chrono::seconds(20)) {
    const Found from = shipAt_;
    const bool moved = game_.Hold(
        key,
        [&] {
          const Found at = LookForShip(from, dx != 0 ? 900 : 4, dy != 0 ? 600 : 4);
          if (at.found) shipAt_ = at;
          return at.found && dx * (at.x - from.x) + dy * (at.y - from.y) > distance;
        },
        patience);
    Settle();
    return moved;
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
    ASSERT_TRUE(game_.GrabUntil(shot, [this](const Screenshot& grab) {
      return TitleShows(grab, title_) && prompts_.AsksForEnter(grab);
    })) << "no title asking for Enter";
    ExpectTitleAround(shot);

    ASSERT_TRUE(game_.Hold("Return", [this] { return prompts_.AsksHowMany(game_.Grab()); }))
        << "Enter was not seen";
    shot = Grab();
    ExpectTitleAround(shot);
    EXPECT_TRUE(prompts_.AsksHowMany(shot));
    EXPECT_FALSE(prompts_.AsksForEnter(shot));
  }

  void OneShipAndFullBars() {
    ASSERT_TRUE(game_.HoldUntilLogged("1", "CreatePlayers() start", &stageStart_))
        << "the game did not start";
    shipAt_ = Found{true, kShipStartX, kShipStartY, 0};
    EXPECT_TRUE(WaitFor([this] { return LookForShip(shipAt_, 0, 0).found; }))
        << "no ship at (425, 500)";
    const Screenshot shot = Grab();
    EXPECT_TRUE(FindShip(shot, ShipCorners(shipAt_, 0, 0)).found) << "no ship at (425, 500)";
    // Nowhere else: a one-player game has one ship.
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

  // Holds an arrow key until the ship has gone more than 30 pixels (four frames at 8 pixels
  // each) its way; the other axis does not move.
  void Steer(const std::string& key, int dx, int dy) {
    SCOPED_TRACE(key);
    const Found from = shipAt_;
    ASSERT_TRUE(MoveShip(key, dx, dy, 30))
        << "the ship did not go its way from (" << from.x << ", " << from.y << "); last seen at ("
        << shipAt_.x << ", " << shipAt_.y << ")";
    if (dx != 0) {
      EXPECT_EQ(shipAt_.y, from.y);
    } else {
      EXPECT_EQ(shipAt_.x, from.x);
    }
  }

  // The centre shot of a volley flies up from the ship's middle.
  Box BulletArea() const {
    return Box{std::max(0, shipAt_.x - 5), 0,
               std::min(kWindowWidth, shipAt_.x + 15 + bullet_.Width() / 5),
               std::max(1, shipAt_.y - 10 + bullet_.Height())};
  }
  Found FindBullet(const Screenshot& shot) const {
    return Locate(shot, bullet_, 5, shipAt_.x - 5, 0, shipAt_.x + 15, shipAt_.y - 10, 0.9);
  }

  // A shot may meet a swooper at once, so grabs are looked at until one shows it.
  void Fire() {
    const Found ship = LookForShip(shipAt_, 100, 100);
    if (ship.found) shipAt_ = ship;
    EXPECT_FALSE(FindBullet(Grab(BulletArea())).found) << "a shot before any was fired";
    EXPECT_TRUE(game_.Hold(
        "space", [this] { return FindBullet(Grab(BulletArea())).found; }, std::chrono::seconds(20)))
        << "no shot over the ship after fire";
  }

  // The first swoopers dive on the bottom centre from about five seconds in: the ship leaves
  // for the bottom of the lane they cross on their way down, where it will bring them down.
  void ToTheLane() {
    EXPECT_TRUE(MoveShip("Down", 0, 1, kBottomRow - 1 - shipAt_.y)) << "not at the bottom";
    EXPECT_TRUE(MoveShip("Left", -1, 0, shipAt_.x - kKillLane - 1)) << "not in the lane";
  }

  // Fires from the lane, sweeping a little, until the experience number changes. Swoopers fire
  // down as they fly: the ship is safest where it brings them down.
  void KillShowsOnThePanel() {
    const Screenshot before = Grab();
    const std::vector<int> experience = Region(before, kExperienceNumber);
    EXPECT_GT(DarkLettering(before, kExperienceNumber), 5)
        << "no number where the experience shows";
    bool changed = false;
    const HeldKeys fire("space");
    for (int sweep = 0; !changed && StageSeconds() < kKillDeadline; ++sweep) {
      const int way = sweep % 2 == 0 ? 1 : -1;
      const Found from = shipAt_;
      game_.Hold(
          way > 0 ? "Right" : "Left",
          [&] {
            changed = Region(Grab(kExperienceNumber), kExperienceNumber) != experience;
            const Found at = LookForShip(from, 300, 4);
            if (at.found) shipAt_ = at;
            return changed || (at.found && way * (at.x - from.x) >= 40);
          },
          std::chrono::seconds(2));
    }
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
  double WarningCoverage() {
    return WarningCoverage(
        Grab(Box{kWarningX, kWarningY, kWarningX + 610, kWarningY + warning_.Height()}));
  }

  // A ship that lost a life starts again at the bottom centre, where the swoopers' dives meet:
  // it goes back to the lane, held only a moment so that the watch on the sign goes on.
  void BackToTheLane() {
    const Found ship = Locate(Grab(Box{0, 300, kWindowWidth, 600}), ship_, kShipFrames, 0, 300, 850,
                              kBottomRow, 0.85);
    if (!ship.found || ship.x <= kKillLane + 60) return;
    shipAt_ = ship;
    MoveShip("Left", -1, 0, ship.x - kKillLane - 1, std::chrono::seconds(2));
  }

  // The ship fires on from the lane while it waits: the swoopers it brings down cannot shoot it.
  // The sign is due 551 frames into the stage; lost frames and the pauses make it later, never
  // earlier.
  void FirstWarning() {
    const HeldKeys fire("space");
    bool absentSeen = false;
    for (int look = 0; StageSeconds() < kWarningFirstSecond - 1.5; ++look) {
      EXPECT_LT(WarningCoverage(), 0.8) << "the warning at " << StageSeconds() << " s";
      absentSeen = true;
      if (look % 2 == 0) BackToTheLane();
      Sleep(250);
    }
    double shown = -1, closest = 0;
    const auto noticeBy = Clock::now() + kPatience;
    for (int look = 0; shown < 0 && Clock::now() < noticeBy; ++look) {
      const double coverage = WarningCoverage();
      closest = std::max(closest, coverage);
      if (coverage > 0.8) {
        shown = StageSeconds();
      } else {
        absentSeen = true;
      }
      if (look % 20 == 19) BackToTheLane();
      Sleep(30);
    }
    ASSERT_GE(shown, 0) << "no warning sign by " << StageSeconds() << " s; at best "
                        << closest * 100 << "% of it showed";
    // Never early: the ticker counts no faster than the clock.
    EXPECT_GE(shown, kWarningFirstSecond - 0.3);
    double lastShown = shown;
    // Clearly gone, not just flown over by a few enemies.
    ASSERT_TRUE(WaitFor([&] {
      const double coverage = WarningCoverage();
      if (coverage > 0.8) lastShown = StageSeconds();
      return coverage < 0.3;
    })) << "the warning sign stayed";
    // Shown for about three seconds, never a mere blink: judged only when the sign was seen to
    // come, not found already up after a slow step.
    if (absentSeen) {
      EXPECT_GE(lastShown - shown, kWarningSeconds / 3);
    }
  }

  // A bomb's flash shows for two frames: the top of the window is grabbed again and again
  // while the key is held, until a grab shows it.
  bool FlashShows() {
    const Screenshot shot = Grab(Box{0, 0, kWindowWidth, kTopRows});
    for (int frame = 0; frame < 3; ++frame) {
      if (Coverage(shot, Frame{&flash_, frame, 900, kTopRows}, 0, 0) > 0.8) return true;
    }
    return false;
  }
  void BombFlash() {
    const std::vector<int> bombs = Region(Grab(kBombsNumber), kBombsNumber);
    int grabs = 0;
    EXPECT_TRUE(game_.Hold(
        "z",
        [&] {
          ++grabs;
          return FlashShows();
        },
        std::chrono::seconds(10)))
        << "no bomb flash in " << grabs << " grabs";
    EXPECT_TRUE(WaitFor([&] { return Region(Grab(kBombsNumber), kBombsNumber) != bombs; }))
        << "the bombs left did not change";
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
  bool MenuShows() {
    return Coverage(Grab(Box{0, 0, kWindowWidth, kTopRows}), Frame{&menu_, 0, 0, kTopRows}, 0, 0) >
           0.95;
  }

  void UpgradeMenu() {
    // A held menu key toggles again after six frames: it is let go as soon as the menu shows.
    ASSERT_TRUE(game_.Hold("Tab", [this] { return MenuShows(); }))
        << "the upgrade menu is not shown";
    Screenshot shot = Grab();
    EXPECT_GT(Coverage(shot, Frame{&menu_}, 0, 0), 0.95) << "the upgrade menu is not shown";
    EXPECT_EQ(Highlighted(shot), 0);
    for (const Box& number : kMenuNumbers) EXPECT_GT(RedLettering(shot, number), 5);
    // The panel stays under the menu, with its bars.
    EXPECT_GT(CountColour(shot, kEnergyBar, kBlue), 0);

    // The menu pauses play: the picture stands while frames would have run.
    Sleep(300);
    EXPECT_TRUE(SameGrab(shot, Grab()));

    // A held arrow moves the highlight every fourth frame: let go once it has moved, it has
    // moved by one.
    const Box bars{kMenuBars[0].left, kMenuBars[0].top, kMenuBars[3].right, kMenuBars[3].bottom};
    int highlighted = 0;
    EXPECT_TRUE(game_.Hold("Down", [&] {
      highlighted = Highlighted(Grab(bars));
      return highlighted != 0;
    })) << "the highlight did not move";
    EXPECT_EQ(highlighted, 1);

    ASSERT_TRUE(game_.Hold("Tab", [this] { return !MenuShows(); })) << "the menu did not close";
    shot = Grab();
    EXPECT_LT(Coverage(shot, Frame{&menu_}, 0, 0), 0.5) << "the menu did not close";
    EXPECT_TRUE(WaitFor([&] { return !SameGrab(shot, Grab()); }))
        << "play did not go on after the menu";
  }

  void FocusLostPauses() {
    OtherWindow other;
    ASSERT_TRUE(other.Open()) << "the second window did not appear";
    ASSERT_TRUE(other.TakeFocusFrom(game_)) << "the game did not say it lost the focus";
    focusLostAt_ = StageSeconds();
    const Screenshot first = Grab();
    Sleep(500);  // frames would run now, had the game not stopped
    EXPECT_TRUE(SameGrab(first, Grab())) << "frames ran without the focus";

    ASSERT_TRUE(game_.Focus()) << "the game did not say it had the focus again";
    const Screenshot resumed = Grab();
    EXPECT_TRUE(WaitFor([&] { return !SameGrab(resumed, Grab()); }))
        << "frames did not resume with the focus";
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
  const TitlePrompts prompts_;
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
