// The painters: the title with its prompts, the play screens, the stage-clear interlude page
// over the picture kept of stage 1's last frame, the two upgrade menus, game over, and the status
// panel under the play area. Each composes its whole picture into the context it is given; none
// of them changes the game beyond the panel's cached numbers.
#include "game/Screens.h"

#include <cstdio>

#include "engine/Engine.h"
#include "game/KeyLegend.h"
#include "game/Presenting.h"
#include "game/Stages.h"
#include "graphics/Background.h"
#include "graphics/Bitmap.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr COLORREF kPanelText = RGB(0, 0, 0);
constexpr COLORREF kMenuRed = RGB(255, 0, 0);
constexpr COLORREF kHullRed = RGB(255, 0, 0);
constexpr COLORREF kEnergyBlue = RGB(0, 0, 255);

constexpr int kPanelTop = 600;
constexpr int kBarLength = 155;  // pixels of a full bar

// The menus' number boxes and highlight bars, by entry.
constexpr RECT kMenuNumbers[4] = {
    {756, 219, 861, 242}, {756, 291, 861, 314}, {756, 365, 861, 390}, {756, 436, 861, 457}};
constexpr RECT kMenuHighlights[4] = {
    {450, 248, 735, 258}, {450, 322, 735, 332}, {450, 396, 735, 406}, {450, 470, 735, 480}};

// One player's half of the status panel.
struct PanelHalf {
  int textLeft;  // the number boxes run from here 100 pixels to the right
  int barLeft;
};
constexpr PanelHalf kLeftHalf{100, 277};
constexpr PanelHalf kRightHalf{550, 724};

void DrawImage(HDC dc, const Bitmap* image, int x, int y, BOOL transparent = TRUE) {
  if (image != nullptr) image->Draw(dc, x, y, transparent, kMagenta);
}

void DrawNumber(HDC dc, const RECT& box, int value, COLORREF colour) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  dc->WriteText(box, text, colour);
}

// current / maximum of a full bar, in single precision and truncated, as the panel always drew
// it: half of 155 is 77.
int BarLength(int current, int maximum) {
  if (maximum <= 0 || current <= 0) return 0;
  if (current >= maximum) return kBarLength;
  const float share = static_cast<float>(current) / static_cast<float>(maximum);
  return static_cast<int>(share * static_cast<float>(kBarLength));
}

void DrawBar(HDC dc, int left, int top, int length, COLORREF colour) {
  if (length > 0) dc->Fill(RECT{left, top, left + length, top + 6}, colour);
}

// What one player's half of the panel shows.
struct HalfShown {
  int bombs = 0, points = 0, lives = 0;
  int hull = -1, energy = -1;  // bar lengths; -1 for no bars (the player is not in play)
  bool operator==(const HalfShown&) const = default;
};

HalfShown ReadHalf(PlayerShip* ship, BOOL out, int& bombs, int& points, int& lives) {
  // An out player's ship may already be deleted: the half keeps its last numbers instead.
  const bool inPlay = !out && ship != nullptr;
  if (inPlay) {
    bombs = ship->GetBombs();
    points = ship->GetPoints();
    lives = ship->GetLives();
  } else if (out) {
    lives = 0;
  }
  HalfShown shown{bombs, points, lives};
  if (inPlay) {
    shown.hull = BarLength(ship->GetHealth(), ship->GetMaxHealth());
    shown.energy = BarLength(ship->GetEnergy(), ship->GetMaxEnergy());
  }
  return shown;
}

void DrawPanelHalf(HDC dc, const PanelHalf& half, const HalfShown& shown) {
  const int left = half.textLeft;
  DrawNumber(dc, RECT{left, 625, left + 100, 680}, shown.bombs, kPanelText);
  DrawNumber(dc, RECT{left, 645, left + 100, 700}, shown.points, kPanelText);
  DrawNumber(dc, RECT{left, 685, left + 100, 700}, shown.lives, kPanelText);
  DrawBar(dc, half.barLeft, 657, shown.hull, kHullRed);
  DrawBar(dc, half.barLeft, 673, shown.energy, kEnergyBlue);
}

// The panel as last drawn, and into which frame. Nothing else draws below the play area while
// the panel shows (the world is clipped to it), so while its numbers stand and the frame is the
// same, the panel is still there and its picture and six lettered numbers are not drawn again.
// The screens that cover it forget it.
struct PanelShown {
  uint64_t frame = 0;  // the frame's Id; 0 for none
  int players = 0;
  HalfShown halves[2];
  bool operator==(const PanelShown&) const = default;
} panelShown;

void ForgetPanel() {
  panelShown.frame = 0;
}

void DrawStatusPanel(HDC dc) {
  PanelShown now;
  now.frame = dc->Id();
  now.players = _iNumPlayers;
  now.halves[0] = ReadHalf(_pPlayer1, _bPlayer1Out, _iHudBombs1, _iHudPoints1, _iHudLives1);
  if (_iNumPlayers > 1)
    now.halves[1] = ReadHalf(_pPlayer2, _bPlayer2Out, _iHudBombs2, _iHudPoints2, _iHudLives2);
  if (now == panelShown) return;
  DrawImage(dc, _bmpHudPanel, 0, kPanelTop);
  DrawPanelHalf(dc, kLeftHalf, now.halves[0]);
  if (_iNumPlayers > 1) DrawPanelHalf(dc, kRightHalf, now.halves[1]);
  panelShown = now;
}

// The world of the last play frame and the panel under it. The panel is opaque: what the world
// would draw below the play area is never seen, and is not drawn.
void DrawWorld(HDC dc) {
  dc->SetClip(RECT{0, 0, dc->Width(), kPanelTop});
  if (_pFarBackground != nullptr) _pFarBackground->Draw(dc);
  if (_pNearBackground != nullptr) _pNearBackground->Draw(dc);
  if (_pEngine != nullptr) _pEngine->DrawAllSprites(dc);
  dc->ClearClip();
  DrawStatusPanel(dc);
}

void DrawUpgradeMenu(HDC dc, const Bitmap* screen, int player, PlayerShip* ship, BOOL out) {
  DrawImage(dc, screen, 0, 0);
  DrawUpgradeMenuKeys(dc, player);
  if (!out && ship != nullptr) {
    const int values[4] = {ship->GetFirepower(), ship->GetBaseSpeed(), ship->GetMaxHealth(),
                           ship->GetMaxEnergy()};
    for (int i = 0; i < 4; ++i) DrawNumber(dc, kMenuNumbers[i], values[i], kMenuRed);
  }
  if (_iUpgradeChoice >= 0 && _iUpgradeChoice < 4)
    dc->Fill(kMenuHighlights[_iUpgradeChoice], kMenuRed);
  DrawStatusPanel(dc);
}

}  // namespace

void DrawTitleScreen(HDC dc) {
  ForgetPanel();
  DrawImage(dc, _bmpTitle, 0, 0, FALSE);
  DrawTitleKeyLegend(dc);
  if (!_bStartPressed) {
    DrawImage(dc, _bmpPressEnter, 300, 450);
  } else if (!_bGameStarted) {
    DrawImage(dc, _bmpHowManyPlayers, 150, 450);
  }
}

void DrawPlayScreen(HDC dc) {
  DrawWorld(dc);
  const Stage* stage = StageOfState(_iGameState);
  if (_bShowStageClear && stage != nullptr && stage->cleared != nullptr) {
    DrawImage(dc, _bmpStageClear, 0, 0);
  }
}

void DrawInterlude(HDC dc) {
  // The page lies over stage 1's last frame as it was when the stage was cleared: not the live
  // world, where the pad's volleys and bombs would show beside the page, nor the off-screen
  // frame, which a menu opened meanwhile has painted over.
  ForgetPanel();
  if (_hStageClearedFrame != nullptr) {
    dc->Blit(*_hStageClearedFrame, 0, 0, _hStageClearedFrame->Width(),
             _hStageClearedFrame->Height(), 0, 0, false, 0);
  }
  if (_bmpInterlude == nullptr) return;
  DrawImage(dc, _bmpInterlude, 450 - _bmpInterlude->GetWidth() / 2,
            366 - _bmpInterlude->GetHeight() / 2);
}

void DrawGameOver(HDC dc) {
  DrawWorld(dc);
  DrawImage(dc, _bmpGameOver, 0, 0);
}

void DrawUpgradeMenu1(HDC dc) {
  DrawUpgradeMenu(dc, _bmpUpgradeMenu1, 1, _pPlayer1, _bPlayer1Out);
}

void DrawUpgradeMenu2(HDC dc) {
  DrawUpgradeMenu(dc, _bmpUpgradeMenu2, 2, _pPlayer2, _bPlayer2Out);
}

void KeepStageClearedFrame() {
  HDC frame = CurrentFrame();
  if (frame == nullptr) return;
  const int width = frame->Width(), height = frame->Height();
  if (_hStageClearedFrame == nullptr) {
    _hStageClearedFrame = platform::Surface::CreateTarget(width, height, 0).release();
  }
  if (_hStageClearedFrame != nullptr) {
    _hStageClearedFrame->Blit(*frame, 0, 0, width, height, 0, 0, false, 0);
  }
}

}  // namespace skyrift
