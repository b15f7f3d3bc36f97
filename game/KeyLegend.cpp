#include "game/KeyLegend.h"

#include <string>

#include "game/KeyNames.h"
#include "graphics/Bitmap.h"
#include "graphics/Lettering.h"
#include "resources/KeyPlaces.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

using keyplaces::Cut;

constexpr COLORREF kPlateText = RGB(16, 20, 28);
constexpr COLORREF kMenuText = RGB(208, 218, 240);

PlayerKeys KeysOf(int player) {
  if (player == 1) {
    return {_iKeyP1Up,   _iKeyP1Down,       _iKeyP1Left,     _iKeyP1Right, _iKeyP1Fire,
            _iKeyP1Bomb, _iKeyP1BulletTime, _iKeyP1Recharge, _iKeyP1Menu};
  }
  return {_iKeyP2Up,   _iKeyP2Down,       _iKeyP2Left,     _iKeyP2Right, _iKeyP2Fire,
          _iKeyP2Bomb, _iKeyP2BulletTime, _iKeyP2Recharge, _iKeyP2Menu};
}

// A name the forge lettered (the shipped key's) is shown as it lettered it, from its cut picture;
// any other is lettered here, in the game's face.
void Show(HDC dc, const std::string& name, const std::string& shipped, const Bitmap* forged,
          const Cut& cut, const keyplaces::Place& lettering, COLORREF colour) {
  if (name == shipped && forged != nullptr) {
    forged->DrawRegion(dc, cut.screen.left, cut.screen.top, cut.pictureX, cut.pictureY,
                       cut.screen.right - cut.screen.left, cut.screen.bottom - cut.screen.top,
                       FALSE);
    return;
  }
  LetterCentred(dc, RECT{lettering.left, lettering.top, lettering.right, lettering.bottom}, name,
                colour);
}

}  // namespace

void DrawTitleKeyLegend(HDC dc) {
  using namespace keyplaces;
  for (int player = 1; player <= 2; ++player) {
    const auto names = LegendNames(KeysOf(player));
    const auto shipped = LegendNames(ShippedKeys(player));
    for (int column = 0; column < kColumns; ++column) {
      Show(dc, names[column], shipped[column], _bmpKeyLegend, LegendCut(player, column),
           PlateLettering(player, column), kPlateText);
    }
  }
}

void DrawUpgradeMenuKeys(HDC dc, int player) {
  Show(dc, MenuKeysLine(KeysOf(player)), MenuKeysLine(ShippedKeys(player)),
       player == 1 ? _bmpUpgradeKeys1 : _bmpUpgradeKeys2, keyplaces::kMenuKeysCut,
       keyplaces::kMenuKeysCut.screen, kMenuText);
}

}  // namespace skyrift
