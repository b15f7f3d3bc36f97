#include "bench/ResizeWindow.h"

#include "platform/win32/Win32.h"

namespace skyrift::bench {

bool ResizeGameWindow(const char* title, int width, int height) {
  ::HWND window = FindWindowA(nullptr, title);
  if (window == nullptr) return false;
  ::RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE, 0);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  ::RECT client{};
  GetClientRect(window, &client);
  return client.right == width && client.bottom == height;
}

}  // namespace skyrift::bench
