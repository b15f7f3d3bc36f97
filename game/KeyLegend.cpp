#include "game/KeyLegend.h"

#include <string>

#include "game/KeyNames.h"
#include "graphics/Lettering.h"
#include "resources/KeyPlaces.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr COLORREF kPlateText = RGB(16, 20, 28);
constexpr COLORREF kMenuText = RGB(208, 218, 240);

struct PlayerKeys {
  int up, down, left, right, fire, bomb, bulletTime, recharge, menu;
};

PlayerKeys KeysOf(int player) {
  if (player == 1) {
    return {_iKeyP1Up,   _iKeyP1Down,       _iKeyP1Left,     _iKeyP1Right, _iKeyP1Fire,
            _iKeyP1Bomb, _iKeyP1BulletTime, _iKeyP1Recharge, _iKeyP1Menu};
  }
  return {_iKeyP2Up,   _iKeyP2Down,       _iKeyP2Left,     _iKeyP2Right, _iKeyP2Fire,
          _iKeyP2Bomb, _iKeyP2BulletTime, _iKeyP2Recharge, _iKeyP2Menu};
}

}  // namespace

void DrawTitleKeyLegend(HDC dc) {
  using namespace keyplaces;
  for (int player = 1; player <= 2; ++player) {
    const PlayerKeys keys = KeysOf(player);
    // In the columns' order: move, fire, bomb, bullet time, recharge, upgrades.
    const std::string names[kColumns] = {
        MovementKeysName(keys.up, keys.down, keys.left, keys.right),
        KeyName(keys.fire),
        KeyName(keys.bomb),
        KeyName(keys.bulletTime),
        KeyName(keys.recharge),
        KeyName(keys.menu)};
    const int y = kPlayerRows[player - 1];
    for (int column = 0; column < kColumns; ++column) {
      const int x = ColumnCentre(column);
      LetterCentred(dc,
                    RECT{x - PlateWidth(column) / 2 + 3, y - kPlateHalfHeight,
                         x + PlateWidth(column) / 2 - 3, y + kPlateHalfHeight},
                    names[column], kPlateText);
    }
  }
}

void DrawUpgradeMenuKeys(HDC dc, int player) {
  const PlayerKeys keys = KeysOf(player);
  const std::string line = KeyName(keys.up) + " / " + KeyName(keys.down) + ": CHOOSE     " +
                           KeyName(keys.fire) + ": BUY     " + KeyName(keys.menu) + ": LEAVE";
  LetterCentred(dc, RECT{0, keyplaces::kMenuHintTop, 900, keyplaces::kMenuHintBottom}, line,
                kMenuText);
}

}  // namespace skyrift
