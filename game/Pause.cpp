#include "game/Pause.h"

#include "engine/Sound.h"
#include "game/Controls.h"
#include "game/Presenting.h"
#include "game/Stages.h"
#include "platform/Keyboard.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kKeyEscape = 0x1B;
constexpr int kKeyPause = 0x13;

// The sign: the game's lettering drawn once at its own size, then enlarged block by block so it
// keeps its pixels' shape. It sits inside the interlude page's width, so the page covers it.
constexpr int kSignScale = 4;
constexpr RECT kSignBand{230, 250, 670, 350};
constexpr COLORREF kSignGround = RGB(0, 0, 0);
constexpr COLORREF kSignEdge = RGB(255, 200, 40);
constexpr COLORREF kSignText = RGB(255, 220, 90);
constexpr int kLetteringWidth = 100, kLetteringHeight = 22;

bool keyWasDown[2] = {false, false};

// Any stage's play, its interlude and the upgrade menus; not the title or game over.
bool Pausable() {
  switch (_iGameState) {
    case GameStateInterlude:
    case GameStateUpgrade1:
    case GameStateUpgrade2:
      return true;
    default:
      return StageOfState(_iGameState) != nullptr;
  }
}

// A press since the last frame: the key went down, or was tapped between two frames. A held
// key is one press, however often the system repeats it.
bool Pressed(int code, bool& wasDown) {
  const int16_t state = platform::GetAsyncKeyState(code);
  const bool down = state < 0;
  const bool pressed = (down && !wasDown) || (!down && (state & 1) != 0);
  wasDown = down;
  // A key bound in controls.txt to a player's action keeps that meaning.
  return pressed && !BoundToAnAction(code);
}

void SetPaused(bool pause) {
  _bPlayPaused = pause ? TRUE : FALSE;
  // As on a lost focus: the music and the one looping sample wait with the game.
  SetChannelPaused(kMusicChannel, pause ? TRUE : FALSE);
  SetChannelPaused(kBulletTimeChannel, pause ? TRUE : FALSE);
  if (pause) PresentFrame();  // the frozen picture, with the sign over it
}

}  // namespace

bool PollPauseKeys() {
  // Both keys are read every frame, so that a press is never left over for a later one.
  const bool escape = Pressed(kKeyEscape, keyWasDown[0]);
  const bool pauseKey = Pressed(kKeyPause, keyWasDown[1]);
  if ((escape || pauseKey) && (_bPlayPaused || Pausable())) SetPaused(!_bPlayPaused);
  return _bPlayPaused;
}

bool PlayPaused() {
  return _bPlayPaused;
}

void DrawPauseSign(HDC dc) {
  if (dc == nullptr) return;
  const auto lettering =
      platform::Surface::CreateTarget(kLetteringWidth, kLetteringHeight, kSignGround);
  if (lettering == nullptr) return;
  lettering->WriteText(RECT{0, 0, kLetteringWidth, kLetteringHeight}, "PAUSED", kSignText);
  // The lettering is right-aligned: find its left edge, to centre it on the band.
  int left = kLetteringWidth;
  for (int y = 0; y < kLetteringHeight; ++y) {
    for (int x = 0; x < left; ++x) {
      if (lettering->GetPixel(x, y) != kSignGround) left = x;
    }
  }
  dc->Fill(kSignBand, kSignEdge);
  dc->Fill(RECT{kSignBand.left + 3, kSignBand.top + 3, kSignBand.right - 3, kSignBand.bottom - 3},
           kSignGround);
  const int width = (kLetteringWidth - left) * kSignScale;
  const int x0 = (kSignBand.left + kSignBand.right - width) / 2;
  const int y0 = (kSignBand.top + kSignBand.bottom - kLetteringHeight * kSignScale) / 2;
  for (int y = 0; y < kLetteringHeight; ++y) {
    for (int x = left; x < kLetteringWidth; ++x) {
      const COLORREF colour = lettering->GetPixel(x, y);
      if (colour == kSignGround) continue;
      const int px = x0 + (x - left) * kSignScale, py = y0 + y * kSignScale;
      dc->Fill(RECT{px, py, px + kSignScale, py + kSignScale}, colour);
    }
  }
}

}  // namespace skyrift
