#include "game/Volume.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "engine/Sound.h"
#include "game/Controls.h"
#include "game/Settings.h"
#include "platform/Keyboard.h"

namespace skyrift {
namespace {

constexpr int kKeyMinus = 0xBD, kKeyPadMinus = 0x6D;
constexpr int kKeyPlus = 0xBB, kKeyPadPlus = 0x6B;  // the = key carries + on its shift
constexpr int kKeyMute = 'M';
constexpr int kVolumeKeys[] = {kKeyMinus, kKeyPadMinus, kKeyPlus, kKeyPadPlus, kKeyMute};

constexpr int kBarFrames = 36;  // a second and a half at 24 frames a second

// Top right of the play area, clear of the title's and the menus' lettering.
constexpr RECT kBarBox{700, 12, 888, 44};
constexpr RECT kBarLabel{706, 12, 786, 44};
constexpr int kCellLeft = 795, kCellTop = 21, kCellWidth = 7, kCellGap = 2, kCellHeight = 14;
constexpr COLORREF kBarGround = RGB(0, 0, 0);
constexpr COLORREF kBarEdge = RGB(255, 200, 40);
constexpr COLORREF kBarText = RGB(255, 220, 90);
constexpr COLORREF kCellOff = RGB(70, 60, 30);

Settings settings;
bool keyWasDown[std::size(kVolumeKeys)] = {};
int barFramesLeft = 0;

// Loudness follows the square of the level, so each step sounds about as large as the last.
void Apply() {
  const float share = settings.muted ? 0.0f : static_cast<float>(settings.volume) / kFullVolume;
  SetMasterGain(share * share);
}

}  // namespace

void LoadVolume() {
  settings = LoadSettings();
  Apply();
}

bool PollVolumeKeys() {
  // Every key is read every frame, so that no press is left over for a later one.
  bool pressed[std::size(kVolumeKeys)];
  for (size_t i = 0; i < std::size(kVolumeKeys); ++i) {
    pressed[i] = PressedSinceLastFrame(kVolumeKeys[i], keyWasDown[i]);
  }
  const int steps = (pressed[2] || pressed[3] ? 1 : 0) - (pressed[0] || pressed[1] ? 1 : 0);
  if (steps == 0 && !pressed[4]) return false;
  Settings next = settings;
  if (pressed[4]) next.muted = !next.muted;
  if (steps != 0) {
    next.volume = std::clamp(next.volume + steps, 0, kFullVolume);
    next.muted = false;  // turning the volume is meant to be heard
  }
  barFramesLeft = kBarFrames;
  if (next == settings) return true;  // shown again, at its end stop
  settings = next;
  Apply();
  SaveSettings(settings);
  return true;
}

bool VolumeBarEnds() {
  if (barFramesLeft == 0) return false;
  return --barFramesLeft == 0;
}

RECT VolumeBarArea() {
  return barFramesLeft > 0 ? kBarBox : RECT{};
}

void DrawVolumeBar(HDC dc) {
  if (dc == nullptr || barFramesLeft == 0) return;
  dc->Fill(kBarBox, kBarEdge);
  dc->Fill(RECT{kBarBox.left + 2, kBarBox.top + 2, kBarBox.right - 2, kBarBox.bottom - 2},
           kBarGround);
  dc->WriteText(kBarLabel, settings.muted ? "MUTED" : "VOLUME", kBarText);
  for (int cell = 0; cell < kFullVolume; ++cell) {
    const int left = kCellLeft + cell * (kCellWidth + kCellGap);
    const bool lit = !settings.muted && cell < settings.volume;
    dc->Fill(RECT{left, kCellTop, left + kCellWidth, kCellTop + kCellHeight},
             lit ? kBarText : kCellOff);
  }
}

}  // namespace skyrift
