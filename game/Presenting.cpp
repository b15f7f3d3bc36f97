// Presenting a frame: painted off-screen for the current state (GameDraw) and copied to the
// window. The stage cycle, the pause and the still screens all present through here.
#include "game/Presenting.h"

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "game/Volume.h"
#include "world/Globals.h"

namespace skyrift {

void PresentFrame() {
  if (_hOffscreenDC == nullptr) return;
  GameDraw(_hOffscreenDC);
  HWND window = _pEngine != nullptr ? _pEngine->GetWindow() : nullptr;
  if (window == nullptr) return;
  if (HDC windowDC = window->Frame()) {
    windowDC->Blit(*_hOffscreenBitmap, 0, 0, _pEngine->GetWidth(), _pEngine->GetHeight(), 0, 0,
                   FALSE, 0);
    // Over the copy shown, so that the frame the screens keep drawing on stays the game's own.
    DrawVolumeBar(windowDC);
    window->Present();
  }
}

}  // namespace skyrift
