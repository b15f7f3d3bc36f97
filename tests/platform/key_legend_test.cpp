// The keys on the title and under the upgrade menus are lettered from the bindings, in the
// system's own lettering: the forge's pictures leave their places blank, and a key bound to
// player 1 reads there exactly as the same key does where player 2 has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "Harness.h"
#include "Keys.h"
#include "graphics/Bitmap.h"
#include "resources/KeyPlaces.h"
#include "world/Globals.h"

namespace skyrift::testing {
namespace {

using namespace keyplaces;
using Pixels = std::vector<COLORREF>;

constexpr int kFireColumn = 1, kBombColumn = 2;
constexpr const char* kShipped = "38 40 37 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81\n";
// Player 1 fires with F and bombs with G, as player 2 does.
constexpr const char* kLikePlayerTwo = "38 40 37 39 70 71 88 67 9 87 83 65 68 70 71 84 82 81\n";

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

// What the title shows in each plate ([player - 1][column]) with these controls.
struct Plates {
  Pixels shown[2][kColumns];
  Pixels painted[2][kColumns];  // the forge's picture alone
};

Plates TitlePlates(const char* controls) {
  GameHarness game;
  std::ofstream(game.Folder() / "controls.txt") << controls;
  Plates plates;
  if (!game.Start()) return plates;
  game.Step(2);
  for (int player = 1; player <= 2; ++player) {
    for (int column = 0; column < kColumns; ++column) {
      plates.shown[player - 1][column] = Read(*_hOffscreenDC, PlateInside(player, column));
      plates.painted[player - 1][column] =
          Read(*_bmpTitle->GetHandle(), PlateInside(player, column));
    }
  }
  return plates;
}

// Pixels as dark as the plates' lettering: the plates themselves are light.
long DarkPixels(const Pixels& pixels) {
  return std::count_if(pixels.begin(), pixels.end(), [](COLORREF c) {
    return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90;
  });
}

TEST(KeyLegend, ThePicturesLeaveThePlatesBlankAndTheGameLettersTheBoundKeys) {
  const Plates shipped = TitlePlates(kShipped);
  for (int player = 0; player < 2; ++player) {
    for (int column = 0; column < kColumns; ++column) {
      SCOPED_TRACE(::testing::Message() << "player " << player + 1 << " column " << column);
      ASSERT_FALSE(shipped.painted[player][column].empty());
      EXPECT_EQ(DarkPixels(shipped.painted[player][column]), 0) << "blank in the picture";
      EXPECT_GT(DarkPixels(shipped.shown[player][column]), 10) << "lettered on screen";
    }
  }
  EXPECT_NE(shipped.shown[0][kFireColumn], shipped.shown[1][kFireColumn]) << "SPACE is not F";

  const Plates rebound = TitlePlates(kLikePlayerTwo);
  for (int column = 0; column < kColumns; ++column) {
    SCOPED_TRACE(column);
    const bool rebinds = column == kFireColumn || column == kBombColumn;
    if (rebinds) {
      EXPECT_EQ(rebound.shown[0][column], rebound.shown[1][column]);
    }
    EXPECT_EQ(rebound.shown[0][column] == shipped.shown[0][column], !rebinds);
    EXPECT_EQ(rebound.shown[1][column], shipped.shown[1][column]);
  }
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
  // From the fire plate's right edge to the bullet-time plate's left one, all but the bomb
  // plate's inside is as the picture has it.
  const int from = ColumnCentre(kFireColumn) + PlateWidth(kFireColumn) / 2;
  const int to = ColumnCentre(kBombColumn + 1) - PlateWidth(kBombColumn + 1) / 2;
  long changed = 0;
  for (int y = inside.top; y < inside.bottom; ++y) {
    for (int x = from; x < to; ++x) {
      const bool onPlate = x >= inside.left && x < inside.right;
      changed +=
          !onPlate && _hOffscreenDC->GetPixel(x, y) != _bmpTitle->GetHandle()->GetPixel(x, y);
    }
  }
  EXPECT_EQ(changed, 0);
}

// The line under player 1's menu, in pixels of the text's own colour, and player 2's.
struct MenuLines {
  Pixels first, second;
};

Pixels InkOfMenuLine(const GameHarness& game) {
  Pixels ink;
  for (int y = kMenuHintTop; y < kMenuHintBottom; ++y) {
    for (int x = 0; x < 900; ++x) ink.push_back(game.Pixel(x, y) == RGB(208, 218, 240) ? 1 : 0);
  }
  return ink;
}

// Opens player 1's menu with `menu1`, then player 2's with `menu2`.
MenuLines UpgradeMenuLines(const char* controls, int menu1, int menu2) {
  GameHarness game;
  std::ofstream(game.Folder() / "controls.txt") << controls;
  MenuLines lines;
  if (!game.Start()) return lines;
  game.Step(3);
  game.Hold(kEnter, 2);
  game.Hold(kTwo, 3);
  game.Step(10);
  game.Hold(menu1, 2);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  lines.first = InkOfMenuLine(game);
  game.Step(6);
  game.Hold(menu1, 2);
  game.Step(6);
  game.Hold(menu2, 2);
  EXPECT_EQ(_iGameState, GameStateUpgrade2);
  lines.second = InkOfMenuLine(game);
  return lines;
}

TEST(KeyLegend, TheMenuLineNamesThePlayersOwnKeys) {
  const MenuLines shipped = UpgradeMenuLines(kShipped, kP1Menu, kP2Menu);
  ASSERT_FALSE(shipped.first.empty());
  EXPECT_GT(std::count(shipped.first.begin(), shipped.first.end(), 1u), 200);
  EXPECT_NE(shipped.first, shipped.second) << "UP / DOWN, SPACE, TAB are not W / S, F, Q";
  // Player 1 choosing with W and S, buying with F and leaving with Q reads as player 2 does
  // (who leaves with N meanwhile).
  const MenuLines same =
      UpgradeMenuLines("87 83 37 39 70 90 88 67 81 38 40 65 68 32 71 84 82 78\n", 'Q', 'N');
  EXPECT_EQ(same.first, shipped.second);
}

}  // namespace
}  // namespace skyrift::testing
