// The window's own keys on SDL, on its headless video driver: F11 switches to fullscreen and the
// game never sees it, unless a player has F11, whose key it then is alone.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>

#include "platform/Keyboard.h"
#include "platform/Resources.h"
#include "platform/Window.h"

namespace skyrift::platform {
namespace {

constexpr int kF11 = 0x7A;

bool f11Bound = false;

void Send(SDL_Scancode key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = key;
  SDL_PushEvent(&event);
  for (Message message; PollMessage(message);) {
  }
}

bool Fullscreen() {
  SDL_Window* window = SDL_GetKeyboardFocus();
  if (window == nullptr) window = SDL_GetWindowFromID(1);
  return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

TEST(SdlWindowKeys, F11SwitchesToFullscreenUnlessAPlayerHasIt) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  std::string error;
  auto window = Window::Create(
      WindowSpec{ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732}, error);
  ASSERT_NE(window, nullptr) << error;
  window->Show();
  SetGameKeys([](int code) { return f11Bound && code == kF11; });
  ResetKeyboard();

  for (const bool bound : {false, true}) {
    SCOPED_TRACE(bound ? "bound" : "not bound");
    f11Bound = bound;
    const bool before = Fullscreen();
    Send(SDL_SCANCODE_F11, true);
    EXPECT_EQ(Fullscreen(), bound ? before : !before);
    EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(kF11)), bound ? 0x8001 : 0);
    Send(SDL_SCANCODE_F11, false);
  }
  SetGameKeys(nullptr);
}

}  // namespace
}  // namespace skyrift::platform
