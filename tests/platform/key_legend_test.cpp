// The keys on the title and under the upgrade menus follow the bindings. A key bound as shipped
// shows as the forge lettered it, so that with the shipped controls.txt the screens are exactly
// the forge's paintings with the keys in; any other key is lettered by the game, in the system's
// own lettering, on the blank place the forge's picture leaves for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Harness.h"
#include "Keys.h"
#include "graphics/Bitmap.h"
#include "graphics/Lettering.h"
#include "resources/KeyPlaces.h"
#include "world/Globals.h"

namespace skyrift::testing {
namespace {

using namespace keyplaces;
using Pixels = std::vector<COLORREF>;

constexpr int kFireColumn = 1, kBombColumn = 2;
constexpr const char* kShipped = "38 40 37 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81\n";
// Player 1 fires with L and bombs with B.
constexpr const char* kFireAndBombRebound =
    "38 40 37 39 76 66 88 67 9 87 83 65 68 70 71 84 82 81\n";

constexpr COLORREF kPlateText = RGB(16, 20, 28), kMenuText = RGB(208, 218, 240);
// What the screens draw over their pictures: the title's prompt, the menus' entries.
constexpr RECT kPrompt = {300, 450, 600, 500}, kMenuEntries = {430, 180, 880, 500};

// The inside of a player's plate in a column, clear of its rim.
RECT PlateInside(int player, int column) {
  const int x = ColumnCentre(column), y = kPlayerRows[player - 1];
  return RECT{x - PlateWidth(column) / 2 + 3, y - kPlateHalfHeight + 3,
              x + PlateWidth(column) / 2 - 3, y + kPlateHalfHeight - 3};
}

Pixels Read(const platform::Surface& surface, const RECT& area) {
  Pixels pixels;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) pixels.push_back(surface.GetPixel(x, y));
  }
  return pixels;
}

// Pixels as dark as the plates' lettering: the plates themselves are light.
long DarkPixels(const Pixels& pixels) {
  return std::count_if(pixels.begin(), pixels.end(), [](COLORREF c) {
    return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90;
  });
}

// A place the game letters itself: the forge's blank picture there, and the name on it.
struct Lettered {
  Cut cut;
  Place lettering;
  const char* name;
  COLORREF colour;
};

std::unique_ptr<Bitmap> Forged(const std::string& file) {
  return std::make_unique<Bitmap>(nullptr, (std::string(SKYRIFT_ASSET_DIR) + "/" + file).c_str());
}

// What a screen should show: the forge's painting of it with the shipped keys in (written beside
// its pictures as "lettered_" and the screen's file), but for the places the game letters, which
// show the screen's own picture with the name lettered on it.
std::unique_ptr<platform::Surface> Expected(const std::string& screen,
                                            const std::vector<Lettered>& places = {}) {
  const auto painted = Forged("lettered_" + screen), blank = Forged(screen);
  auto expected = platform::Surface::CreateTarget(900, 732, RGB(0, 0, 0));
  if (painted->GetHandle() == nullptr || blank->GetHandle() == nullptr) return nullptr;
  painted->Draw(expected.get(), 0, 0, FALSE);
  for (const Lettered& place : places) {
    const Place& s = place.cut.screen;
    blank->DrawRegion(expected.get(), s.left, s.top, s.left, s.top, s.right - s.left,
                      s.bottom - s.top, FALSE);
    const Place& l = place.lettering;
    LetterCentred(expected.get(), RECT{l.left, l.top, l.right, l.bottom}, place.name, place.colour);
  }
  return expected;
}

// How many of a screen's pixels, read from the frame's top, differ from what it should show,
// leaving out what the game draws over the picture there; the first is named in `first`.
long Differences(const Pixels& shown, const platform::Surface* expected,
                 const std::vector<RECT>& skipped, std::string& first) {
  if (expected == nullptr || shown.empty()) return -1;
  long differing = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    const int x = static_cast<int>(i % 900), y = static_cast<int>(i / 900);
    if (std::any_of(skipped.begin(), skipped.end(), [x, y](const RECT& r) {
          return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        }))
      continue;
    if (shown[i] == expected->GetPixel(x, y)) continue;
    if (differing++ == 0) first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
  }
  return differing;
}

// The title (the whole frame) with these controls, and each player's upgrade menu (the frame
// above the status panel), opened with the menu keys as shipped.
struct Screens {
  Pixels title, menu1, menu2;
};

Screens ScreensWith(const char* controls) {
  GameHarness game;
  std::ofstream(game.Folder() / "controls.txt") << controls;
  Screens screens;
  if (!game.Start()) return screens;
  game.Step(2);
  screens.title = Read(*_hOffscreenDC, RECT{0, 0, 900, 732});
  game.Step(1);
  game.Hold(kEnter, 2);
  game.Hold(kTwo, 3);
  game.Step(10);
  game.Hold(kP1Menu, 2);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  screens.menu1 = Read(*_hOffscreenDC, RECT{0, 0, 900, 600});
  game.Step(6);
  game.Hold(kP1Menu, 2);
  game.Step(6);
  game.Hold(kP2Menu, 2);
  EXPECT_EQ(_iGameState, GameStateUpgrade2);
  screens.menu2 = Read(*_hOffscreenDC, RECT{0, 0, 900, 600});
  return screens;
}

TEST(KeyLegend, WithTheShippedKeysTheScreensAreTheForgesPaintingsWithTheKeysIn) {
  const Screens shown = ScreensWith(kShipped);
  const auto title = Expected("title.bmp");
  std::string first;
  EXPECT_EQ(Differences(shown.title, title.get(), {kPrompt}, first), 0) << "first at " << first;
  EXPECT_EQ(Differences(shown.menu1, Expected("upgrade_menu1.bmp").get(), {kMenuEntries}, first), 0)
      << "first at " << first;
  EXPECT_EQ(Differences(shown.menu2, Expected("upgrade_menu2.bmp").get(), {kMenuEntries}, first), 0)
      << "first at " << first;

  // The game's own picture leaves the keys out: their places are the game's to fill.
  ASSERT_NE(title, nullptr);
  const auto blank = Forged("title.bmp");
  for (int player = 1; player <= 2; ++player) {
    for (int column = 0; column < kColumns; ++column) {
      SCOPED_TRACE(::testing::Message() << "player " << player << " column " << column);
      EXPECT_EQ(DarkPixels(Read(*blank->GetHandle(), PlateInside(player, column))), 0);
      EXPECT_GT(DarkPixels(Read(*title, PlateInside(player, column))), 10);
    }
  }
}

TEST(KeyLegend, ReboundKeysAreLetteredByTheGameAndTheOthersStayTheForges) {
  const Screens shown = ScreensWith(kFireAndBombRebound);
  std::string first;
  const auto title = Expected(
      "title.bmp", {{LegendCut(1, kFireColumn), PlateLettering(1, kFireColumn), "L", kPlateText},
                    {LegendCut(1, kBombColumn), PlateLettering(1, kBombColumn), "B", kPlateText}});
  EXPECT_EQ(Differences(shown.title, title.get(), {kPrompt}, first), 0) << "first at " << first;
  const auto menu1 =
      Expected("upgrade_menu1.bmp", {{kMenuKeysCut, kMenuKeysCut.screen,
                                      "UP / DOWN: CHOOSE     L: BUY     TAB: LEAVE", kMenuText}});
  EXPECT_EQ(Differences(shown.menu1, menu1.get(), {kMenuEntries}, first), 0)
      << "first at " << first;
  EXPECT_EQ(Differences(shown.menu2, Expected("upgrade_menu2.bmp").get(), {kMenuEntries}, first), 0)
      << "first at " << first;
}

// A name too long for its plate (R SHIFT on the narrow bomb plate) is squeezed into it: lettered
// there, and nothing of it over the rim or the plates beside it.
TEST(KeyLegend, ALongNameIsSqueezedIntoItsPlate) {
  GameHarness game;
  std::ofstream(game.Folder() / "controls.txt")
      << "38 40 37 39 32 161 88 67 9 87 83 65 68 70 71 84 82 81\n";
  ASSERT_TRUE(game.Start());
  game.Step(2);
  const RECT inside = PlateInside(1, kBombColumn);
  EXPECT_GT(DarkPixels(Read(*_hOffscreenDC, inside)), 10) << "lettered";
  // Outside the place it is lettered in, between the plate's sides, the title is as painted,
  // the bomb plate blank.
  const Place lettering = PlateLettering(1, kBombColumn);
  const auto blankBomb =
      Expected("title.bmp", {{LegendCut(1, kBombColumn), lettering, "", kPlateText}});
  std::string first;
  EXPECT_EQ(
      Differences(Read(*_hOffscreenDC, RECT{0, 0, 900, 732}), blankBomb.get(),
                  {kPrompt, {lettering.left, lettering.top, lettering.right, lettering.bottom}},
                  first),
      0)
      << "first at " << first;
}

}  // namespace
}  // namespace skyrift::testing
