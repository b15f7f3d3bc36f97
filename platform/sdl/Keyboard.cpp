// The key state the game reads, and SDL's scancodes translated to Windows virtual-key codes.
#include "platform/Keyboard.h"
#include "platform/KeyTable.h"
#include "platform/sdl/ScanCodes.h"

#include <SDL.h>

namespace skyrift::platform {

int16_t GetAsyncKeyState(int virtualKey) {
  return static_cast<int16_t>(QueryKeyTable(virtualKey));
}

namespace {

// The runs: a key's code is its run's first code plus its place in the run.
struct KeyRun {
  SDL_Scancode first, last;
  int firstVirtualKey;
};
constexpr KeyRun kKeyRuns[] = {
    {SDL_SCANCODE_A, SDL_SCANCODE_Z, 0x41},
    {SDL_SCANCODE_1, SDL_SCANCODE_9, 0x31},
    {SDL_SCANCODE_F1, SDL_SCANCODE_F12, 0x70},
    {SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, 0x61},
};

// Every other key the game has a code for; both Enter keys are Windows' one Enter.
struct KeyPair {
  SDL_Scancode scancode;
  int virtualKey;
};
constexpr KeyPair kKeyPairs[] = {
    {SDL_SCANCODE_0, 0x30},
    {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_ESCAPE, 0x1B},
    {SDL_SCANCODE_BACKSPACE, 0x08},
    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_SPACE, 0x20},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_LEFT, 0x25},
    {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_UP, 0x26},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_0, 0x60},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_LSHIFT, 0xA0},
    {SDL_SCANCODE_RSHIFT, 0xA1},
    {SDL_SCANCODE_LCTRL, 0xA2},
    {SDL_SCANCODE_RCTRL, 0xA3},
    {SDL_SCANCODE_LALT, 0xA4},
    {SDL_SCANCODE_RALT, 0xA5},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C},
};

}  // namespace

int VirtualKeyFromScancode(int scancode) {
  for (const KeyRun& run : kKeyRuns) {
    if (scancode >= run.first && scancode <= run.last)
      return run.firstVirtualKey + (scancode - run.first);
  }
  for (const KeyPair& pair : kKeyPairs) {
    if (pair.scancode == scancode) return pair.virtualKey;
  }
  return 0;
}

}  // namespace skyrift::platform
