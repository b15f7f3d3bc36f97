// The floor under the Windows build's figures: the least a Win32 program can do and still show
// the game's picture, a window presenting a 900 x 732 DIB at 24 frames a second with the same
// wait between frames (a 1 ms timer, MsgWaitForMultipleObjects). Measured beside skyrift.exe by
// scripts/measure-windows; what the game costs above it is the game's own.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <mmsystem.h>

#include <cstdint>

namespace {

constexpr int kWidth = 900, kHeight = 732;
constexpr DWORD kFrameDelay = 1000 / 24;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = module;
  windowClass.lpszClassName = L"GdiFloor";
  if (RegisterClassW(&windowClass) == 0) return 1;
  RECT outer{0, 0, kWidth, kHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  HWND window = CreateWindowExW(0, L"GdiFloor", L"GdiFloor", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, module, nullptr);
  if (window == nullptr) return 1;

  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = kWidth;
  format.bmiHeader.biHeight = -kHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC frame = CreateCompatibleDC(nullptr);
  HBITMAP picture = CreateDIBSection(frame, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (picture == nullptr) return 1;
  SelectObject(frame, picture);
  ShowWindow(window, SW_SHOWNORMAL);

  timeBeginPeriod(1);
  DWORD next = timeGetTime();
  for (uint32_t count = 0;; ++count) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        timeEndPeriod(1);
        return 0;
      }
      DispatchMessageW(&message);
    }
    const DWORD now = timeGetTime();
    if (static_cast<int32_t>(now - next) < 0) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, next - now, QS_ALLINPUT);
      continue;
    }
    next = now + kFrameDelay;
    static_cast<uint32_t*>(bits)[count % (kWidth * kHeight)] = count;  // a frame that changes
    HDC screen = GetDC(window);
    BitBlt(screen, 0, 0, kWidth, kHeight, frame, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
  }
}
