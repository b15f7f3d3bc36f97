// Keys on Windows. Whether a key is down is the system's answer (GetAsyncKeyState's high bit
// follows the keyboard itself); whether it was pressed since the game last asked, and whether
// the system keeps it, come from the window's own key messages. GetAsyncKeyState's own "pressed"
// bit is shared by every program, and an overlay or a macro tool that asks first takes the
// press. The table that tests feed adds its keys on top.
#include "platform/Keyboard.h"

#include "platform/win32/Win32.h"

#include "platform/KeyTable.h"
#include "platform/win32/Focus.h"
#include "platform/win32/Keyboard.h"

namespace skyrift::platform {
namespace {

bool pressed[256] = {};  // pressed since the game last asked about the key
bool taken[256] = {};    // the system's or the window's until released: not the game's

// The key a message is about: Shift, Ctrl and Alt by their side, as the game may bind either.
int MessageKey(WPARAM wParam, LPARAM lParam) {
  const bool extended = (lParam & (1 << 24)) != 0;
  switch (wParam) {
    case VK_SHIFT:
      return MapVirtualKeyW((lParam >> 16) & 0xFF, MAPVK_VSC_TO_VK_EX) == VK_RSHIFT ? VK_RSHIFT
                                                                                    : VK_LSHIFT;
    case VK_CONTROL:
      return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU:
      return extended ? VK_RMENU : VK_LMENU;
    default:
      return static_cast<int>(wParam);
  }
}

// Held now and the game's: a key the system took reads as up until it is let go, which the
// system tells even when the release went to another window.
bool GameKeyDown(int key) {
  for (const auto& keys : kSidedKeys) {
    if (key == keys.generic) return GameKeyDown(keys.left) || GameKeyDown(keys.right);
  }
  if ((::GetAsyncKeyState(key) & 0x8000) == 0) {
    taken[key] = false;
    return false;
  }
  return !taken[key];
}

// GetAsyncKeyState reads the keyboard whoever has the focus: Alt+Tab would press player 1's Tab
// on the way out. No key of the system's is the game's while another window is the active one.
uint16_t SystemKeyState(int key) {
  const bool press = pressed[key];
  pressed[key] = false;
  if (!GameWindowHasFocus()) return 0;
  return static_cast<uint16_t>((GameKeyDown(key) ? 0x8000 : 0) | (press ? 1 : 0));
}

}  // namespace

void KeyMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return;
  if ((lParam & (1 << 30)) != 0) return;  // the system repeating a held key: no new press
  const int key = MessageKey(wParam, lParam);
  if (key <= 0 || key > 255) return;
  // The state the keys were in when this one went down, not as they are by now.
  taken[key] = PressedForSystem(key, [](int code) { return (GetKeyState(code) & 0x8000) != 0; });
  if (taken[key]) return;
  pressed[key] = true;
  for (const auto& keys : kSidedKeys) {
    if (key == keys.left || key == keys.right) pressed[keys.generic] = true;
  }
}

void IgnoreUntilReleased(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return;
  taken[virtualKey] = true;
  pressed[virtualKey] = false;  // it was pressed for the window
}

int16_t GetAsyncKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  return static_cast<int16_t>(QueryKeyTable(virtualKey) | SystemKeyState(virtualKey));
}

}  // namespace skyrift::platform
