#include "bench/ResizeWindow.h"

#include "platform/win32/Win32.h"

namespace skyrift::bench {

// Windows keeps a captioned window within the screen, so the size is reached the way a player
// reaches it: F11 makes the window the whole monitor, which must be of that size.
bool ResizeGameWindow(const char* title, int width, int height) {
  ::HWND window = FindWindowA(nullptr, title);
  if (window == nullptr) return false;
  SendMessageA(window, WM_KEYDOWN, VK_F11, 0);
  ::RECT client{};
  GetClientRect(window, &client);
  return client.right == width && client.bottom == height;
}

}  // namespace skyrift::bench
