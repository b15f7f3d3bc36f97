#include "game/Pause.h"

#include "engine/Sound.h"
#include "game/Controls.h"
#include "game/Presenting.h"
#include "game/Stages.h"
#include "graphics/Bitmap.h"
#include "graphics/Lettering.h"
#include "platform/Keyboard.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kKeyEscape = 0x1B;
constexpr int kKeyPause = 0x13;

// The sign: the word, lettered at its size by the forge, and under it the key that resumes, in
// the game's lettering. It sits inside the interlude page's width, so the page covers it.
constexpr RECT kSignBand{230, 250, 670, 350};
constexpr RECT kResumeLine{236, 316, 664, 346};
constexpr COLORREF kSignGround = RGB(0, 0, 0);
constexpr COLORREF kSignEdge = RGB(255, 200, 40);
constexpr COLORREF kSignText = RGB(255, 220, 90);

bool keyWasDown[2] = {false, false};
bool focusLost = false;

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
  const bool escape = PressedSinceLastFrame(kKeyEscape, keyWasDown[0]);
  const bool pauseKey = PressedSinceLastFrame(kKeyPause, keyWasDown[1]);
  if ((escape || pauseKey) && (_bPlayPaused || Pausable())) SetPaused(!_bPlayPaused);
  return _bPlayPaused;
}

bool PlayPaused() {
  return _bPlayPaused;
}

void ShowSignForLostFocus() {
  if (!Pausable()) return;
  focusLost = true;
  PresentFrame();
}

void ForgetLostFocus() {
  focusLost = false;
}

bool PauseSignShown() {
  return _bPlayPaused || focusLost;
}

void DrawPauseSign(HDC dc) {
  if (dc == nullptr) return;
  dc->Fill(kSignBand, kSignEdge);
  dc->Fill(RECT{kSignBand.left + 3, kSignBand.top + 3, kSignBand.right - 3, kSignBand.bottom - 3},
           kSignGround);
  if (_bmpPaused != nullptr) {
    _bmpPaused->Draw(dc, (kSignBand.left + kSignBand.right - _bmpPaused->GetWidth()) / 2,
                     kSignBand.top + 6, TRUE);
  }
  // Either key resumes; a key a player owns does not, so the sign names one that does.
  const char* resume = !BoundToAnAction(kKeyEscape)  ? "ESC TO RESUME"
                       : !BoundToAnAction(kKeyPause) ? "PAUSE TO RESUME"
                                                     : "";
  LetterCentred(dc, kResumeLine, resume, kSignText);
}

}  // namespace skyrift
