// Presenting a frame: painted for the current state (GameDraw) and shown in the window. The
// stage cycle, the pause and the still screens all present through here.
#include "game/Presenting.h"

#include <memory>

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "game/Volume.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

HWND GameWindow() {
  return _pEngine != nullptr ? _pEngine->GetWindow() : nullptr;
}

// The window's own pixels, when they can hold the game's frame as it is.
HDC WindowFrame(HWND window) {
  if (window == nullptr || _pEngine == nullptr) return nullptr;
  HDC frame = window->Frame();
  if (frame == nullptr || frame->Width() != _pEngine->GetWidth() ||
      frame->Height() != _pEngine->GetHeight()) {
    return nullptr;
  }
  return frame;
}

// The volume bar lies over the picture shown, never in the frame the game reads back (the
// stage-clear picture): where the game's frame is the one shown, what the bar covers is kept and
// put back before the frame is next used.
struct Covered {
  std::unique_ptr<platform::Surface> pixels;
  HDC frame = nullptr;  // where the bar lies, until put back
  RECT area{};
} covered;

void PutBackCovered(HDC frame) {
  if (covered.frame == nullptr) return;
  // A frame the window has made since (resized, fullscreen) never held the bar.
  if (covered.frame == frame) {
    const RECT& area = covered.area;
    frame->Blit(*covered.pixels, 0, 0, area.right - area.left, area.bottom - area.top, area.left,
                area.top, false, 0);
  }
  covered.frame = nullptr;
}

void ShowWithVolumeBar(HWND window, HDC shown) {
  const RECT bar = VolumeBarArea();
  const int width = bar.right - bar.left, height = bar.bottom - bar.top;
  if (width > 0 && height > 0 && shown == _hOffscreenDC) {
    if (covered.pixels == nullptr)
      covered.pixels = platform::Surface::CreateTarget(width, height, 0);
    if (covered.pixels != nullptr) {
      covered.pixels->Blit(*shown, bar.left, bar.top, width, height, 0, 0, false, 0);
      covered.frame = shown;
      covered.area = bar;
    }
  }
  DrawVolumeBar(shown);
  window->Present();
}

}  // namespace

void MakeOffscreenFrame() {
  FreeOffscreenFrame();
  const int width = _pEngine != nullptr ? _pEngine->GetWidth() : _iPlayWidth;
  const int height = _pEngine != nullptr ? _pEngine->GetHeight() : kFrameHeight;
  _hOffscreenBitmap = platform::Surface::CreateTarget(width, height, 0).release();
  _hOffscreenDC = _hOffscreenBitmap;
}

void FreeOffscreenFrame() {
  covered.frame = nullptr;
  delete _hOffscreenBitmap;
  _hOffscreenBitmap = nullptr;
  _hOffscreenDC = nullptr;
}

HDC CurrentFrame() {
  if (HDC frame = WindowFrame(GameWindow())) {
    // Drawn where the window shows it, nothing is left to copy; a frame of the game's own is
    // no longer needed.
    if (_hOffscreenBitmap != nullptr) FreeOffscreenFrame();
    _hOffscreenDC = frame;
  } else if (_hOffscreenBitmap == nullptr) {
    MakeOffscreenFrame();
  }
  PutBackCovered(_hOffscreenDC);
  return _hOffscreenDC;
}

void PresentFrame() {
  if (_hOffscreenDC == nullptr) return;
  HDC frame = CurrentFrame();
  if (frame == nullptr) return;
  GameDraw(frame);
  HWND window = GameWindow();
  if (window == nullptr) return;
  HDC shown = frame;
  if (frame == _hOffscreenBitmap) {
    shown = window->Frame();
    if (shown == nullptr) return;
    shown->Blit(*frame, 0, 0, frame->Width(), frame->Height(), 0, 0, false, 0);
  }
  ShowWithVolumeBar(window, shown);
}

}  // namespace skyrift
