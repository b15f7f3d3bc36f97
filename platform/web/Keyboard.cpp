// Keys from the page's key events on the canvas. Their keyCode is the Windows virtual-key code,
// so controls.txt reads the same as on the other systems. F11 and Alt+Enter switch fullscreen
// and never reach the game; keys the browser would act on are kept from it.
#include <emscripten.h>

#include "platform/KeyTable.h"
#include "platform/Keyboard.h"
#include "platform/web/Page.h"

namespace skyrift::platform {
namespace {

constexpr int kEnter = 0x0D;
constexpr int kF11 = 0x7A;

// An Enter that went down with Alt is fullscreen's until it is released.
bool swallowEnter = false;

// Keys that scroll the page, move the focus, go back or open the quick find.
bool BrowserActsOn(int keyCode) {
  switch (keyCode) {
    case 0x08:  // Backspace
    case 0x09:  // Tab
    case kEnter:
    case 0x20:  // Space
    case 0x21:  // Page Up
    case 0x22:  // Page Down
    case 0x23:  // End
    case 0x24:  // Home
    case 0x25:  // the arrows
    case 0x26:
    case 0x27:
    case 0x28:
    case 0xBF:  // '/'
    case 0xDE:  // '\''
      return true;
    default:
      return false;
  }
}

}  // namespace

int16_t GetAsyncKeyState(int virtualKey) {
  return static_cast<int16_t>(QueryKeyTable(virtualKey));
}

}  // namespace skyrift::platform

extern "C" EMSCRIPTEN_KEEPALIVE int SkyriftKey(int keyCode, int down, int altHeld, int repeat) {
  using namespace skyrift::platform;
  // A held key's repeats change nothing; the browser is kept from them as from the first.
  if (repeat) return keyCode == kF11 || BrowserActsOn(keyCode) ? 1 : 0;
  if (keyCode == kEnter && swallowEnter) {
    if (!down) swallowEnter = false;
    return 1;
  }
  // An F11 that a player has bound is that player's key; Alt+Enter always switches.
  const bool fullscreenF11 = keyCode == kF11 && !IsGameKey(kF11);
  if (fullscreenF11 || (keyCode == kEnter && down && altHeld)) {
    if (keyCode == kEnter) swallowEnter = true;
    if (down) ToggleFullscreen();
    return 1;
  }
  KeyEvent(keyCode, down != 0);
  return BrowserActsOn(keyCode) ? 1 : 0;
}
