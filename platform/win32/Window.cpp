// The game's window on Win32: a window class with the executable's icons, a window centred on
// the work area of the monitor it starts on, sized by that monitor's scale and following the
// scale of any monitor it is moved to, which the player may resize and maximise (the frame
// letterboxed in it), and the system's messages turned into the few the engine answers. F11
// (unless a player has it) and Alt+Enter switch it to fullscreen and back. Key messages go to
// the keyboard's reading first, and the keys Windows keeps for itself (Alt and F10 opening the
// menu) are kept from it.
#include "platform/Window.h"

#include <algorithm>

#include "platform/Keyboard.h"
#include "platform/MessageQueue.h"
#include "platform/Report.h"
#include "platform/ScreenFit.h"
#include "platform/win32/Focus.h"
#include "platform/win32/GamepadScan.h"
#include "platform/win32/Keyboard.h"
#include "platform/win32/Pixels.h"

namespace skyrift::platform {

struct Window::Impl {
  ::HWND handle = nullptr;
  std::unique_ptr<Surface> frame;   // the game's frame, always at its own size
  std::unique_ptr<Surface> scaled;  // the client's picture when the client is another size
  FrameScaler scaler;
  bool fullscreen = false;
  bool barsDue = true;          // the area around the picture needs painting
  bool movingOrSizing = false;  // inside the system's own loop of a drag by the caption
  WINDOWPLACEMENT windowed{};   // where the window was before fullscreen
  UINT windowedDpi = 0;         // and the scale it was sized for
  ~Impl();
};

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
// The smallest client the player may size the window to: a quarter of the frame each way.
constexpr int kSmallestPart = 4;

// The one game window, for the messages that concern its size and place.
Window::Impl* gameWindow = nullptr;
bool toldActive = false;  // what the engine was last told

constexpr UINT kBaseDpi = 96;

// Windows 10 before version 1607 has neither call: looked up at run time, so that the program
// still starts there, at the system's scale, rather than be refused by the loader.
using DpiForWindowCall = UINT(WINAPI*)(::HWND);
using AdjustForDpiCall = BOOL(WINAPI*)(::RECT*, DWORD, BOOL, DWORD, UINT);

template <typename Call>
Call User32Call(const char* name) {
  return reinterpret_cast<Call>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT WindowDpi(::HWND handle) {
  static const auto dpiForWindow = User32Call<DpiForWindowCall>("GetDpiForWindow");
  if (dpiForWindow != nullptr) return dpiForWindow(handle);
  ::HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

// The borders and caption around a client at `dpi`.
::SIZE FrameExtra(UINT dpi) {
  static const auto adjustForDpi = User32Call<AdjustForDpiCall>("AdjustWindowRectExForDpi");
  ::RECT extra{0, 0, 0, 0};
  if (adjustForDpi != nullptr) {
    adjustForDpi(&extra, kStyle, FALSE, 0, dpi);
  } else {
    AdjustWindowRectEx(&extra, kStyle, FALSE, 0);
  }
  return ::SIZE{extra.right - extra.left, extra.bottom - extra.top};
}

::RECT WorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  return info.rcWork;
}

// The outer size of the window whose client shows the frame at the monitor's scale, made
// smaller where it would not fit the work area.
::SIZE FittedSize(const Window::Impl& window, UINT dpi, const ::RECT& work) {
  const ::SIZE extra = FrameExtra(dpi);
  const Placement client =
      FitWindow(window.frame->Width(), window.frame->Height(), static_cast<int>(dpi), extra.cx,
                extra.cy, work.right - work.left, work.bottom - work.top);
  return ::SIZE{client.width + extra.cx, client.height + extra.cy};
}

// Sizes the window for `dpi` and centres it on the work area.
void PlaceCentred(const Window::Impl& window, UINT dpi, const ::RECT& work) {
  const ::SIZE size = FittedSize(window, dpi, work);
  SetWindowPos(window.handle, nullptr, work.left + (work.right - work.left - size.cx) / 2,
               work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moves the window, its size kept, so that it lies on the work area of its monitor (its top left
// corner, where it is larger), keeping the caption within reach.
void KeepOnWorkArea(const Window::Impl& window) {
  ::RECT outer{};
  GetWindowRect(window.handle, &outer);
  const ::RECT work = WorkArea(MonitorFromWindow(window.handle, MONITOR_DEFAULTTONEAREST));
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  const int x =
      std::clamp<int>(outer.left, work.left, std::max<int>(work.left, work.right - width));
  const int y = std::clamp<int>(outer.top, work.top, std::max<int>(work.top, work.bottom - height));
  if (x != outer.left || y != outer.top) {
    SetWindowPos(window.handle, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Fullscreen covers the whole of the monitor the window is on.
void FillMonitor(const Window::Impl& window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(MonitorFromWindow(window.handle, MONITOR_DEFAULTTONEAREST), &info);
  const ::RECT& screen = info.rcMonitor;
  SetWindowPos(window.handle, nullptr /* the top */, screen.left, screen.top,
               screen.right - screen.left, screen.bottom - screen.top,
               SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

// Fullscreen is a borderless window over the whole monitor, the desktop's mode unchanged. Left
// on a monitor of another scale than the window had, the window is made afresh for that one.
void ToggleFullscreen(Window::Impl& window) {
  ::HWND handle = window.handle;
  if (!window.fullscreen) {
    window.windowed.length = sizeof window.windowed;
    GetWindowPlacement(handle, &window.windowed);
    window.windowedDpi = WindowDpi(handle);
    SetWindowLongA(handle, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    FillMonitor(window);
  } else {
    const UINT dpi = WindowDpi(handle);
    const HMONITOR monitor = MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST);
    SetWindowLongA(handle, GWL_STYLE, kStyle | WS_VISIBLE);
    if (dpi == window.windowedDpi) {
      SetWindowPlacement(handle, &window.windowed);
      SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    } else {
      PlaceCentred(window, dpi, WorkArea(monitor));
    }
  }
  window.fullscreen = !window.fullscreen;
  window.barsDue = true;
  InvalidateRect(handle, nullptr, FALSE);
}

constexpr bool Repeated(LPARAM lParam) {
  return (lParam & (1 << 30)) != 0;
}

Message MouseMessage(MessageKind kind, LPARAM lParam) {
  return Message{kind, 0, static_cast<uint32_t>(lParam & 0xFFFFFFFF)};
}

// Activation is told by three messages, and which of them a change brings depends on how it
// came (a click, Alt+Tab, the taskbar restoring a minimised window): the engine hears each
// change once.
void TellActive(bool active) {
  if (active == toldActive) return;
  toldActive = active;
  QueueMessage(Message{MessageKind::Activate, active ? 1u : 0u});
}

// Active, and in the player's hands: in front, not minimised.
bool InFront(::HWND handle) {
  return GetForegroundWindow() == handle && !IsIconic(handle);
}

LRESULT CALLBACK WindowProcedure(::HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  KeyMessage(message, wParam, lParam);
  switch (message) {
    case WM_ACTIVATE: {
      // A minimised window is told it is active as it shrinks: it sleeps all the same.
      TellActive(LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0);
      return 0;
    }
    case WM_ACTIVATEAPP:
      if (wParam == FALSE)
        TellActive(false);
      else if (!IsIconic(handle) && GetForegroundWindow() == handle)
        TellActive(true);
      return 0;
    case WM_SYSCOMMAND:
      // A tapped Alt or F10 would enter the menu's modal loop and stall the game until the next
      // key; Alt+F4 and the mouse on the system menu are other commands and go on as usual.
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_SYSKEYDOWN:
      if (wParam != VK_RETURN || gameWindow == nullptr) break;
      // Alt+Enter: the Enter is the window's, and stays out of the game's sight until released.
      IgnoreUntilReleased(VK_RETURN);
      if (!Repeated(lParam)) ToggleFullscreen(*gameWindow);
      return 0;
    case WM_SYSCHAR:
      if (wParam == '\r') return 0;  // Alt+Enter was handled; no beep
      break;
    case WM_KEYDOWN:
      if (wParam != VK_F11 || IsGameKey(VK_F11) || gameWindow == nullptr) break;
      if (!Repeated(lParam)) ToggleFullscreen(*gameWindow);
      return 0;
    case WM_SETCURSOR:
      if (gameWindow != nullptr && gameWindow->fullscreen && LOWORD(lParam) == HTCLIENT) {
        SetCursor(nullptr);  // no pointer over a fullscreen game
        return TRUE;
      }
      break;
    case WM_ENTERSIZEMOVE:
      // Windows runs a loop of its own while the window is dragged or sized, and no frame runs
      // until it ends: the game is told at once that it lost the player, so that its music
      // and looping sound pause with it, as they do for any lost focus.
      if (gameWindow != nullptr) gameWindow->movingOrSizing = true;
      TellActive(false);
      DeliverQueuedMessages();
      return 0;
    case WM_EXITSIZEMOVE:
      if (gameWindow != nullptr) {
        gameWindow->movingOrSizing = false;
        if (!gameWindow->fullscreen) KeepOnWorkArea(*gameWindow);
      }
      TellActive(InFront(handle));
      return 0;
    case WM_GETDPISCALEDSIZE:
      // About to move to a monitor of another scale: the size the window takes there, fitted to
      // the work area of the monitor it is dragged to, so that the rectangle Windows then
      // suggests is the right one. Fullscreen takes the whole monitor when it arrives.
      if (gameWindow != nullptr && !gameWindow->fullscreen && !IsZoomed(handle)) {
        ::POINT pointer{};
        GetCursorPos(&pointer);
        const ::RECT work = WorkArea(gameWindow->movingOrSizing
                                         ? MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST)
                                         : MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST));
        *reinterpret_cast<::SIZE*>(lParam) = FittedSize(*gameWindow, LOWORD(wParam), work);
        return TRUE;
      }
      break;
    case WM_DPICHANGED:
      // The rectangle Windows suggests keeps the window under the pointer during a drag: taken as
      // it is. Kept on the work area once the drag ends, or at once when no drag moved it.
      if (gameWindow != nullptr) {
        if (gameWindow->fullscreen) {
          FillMonitor(*gameWindow);
        } else {
          const auto* suggested = reinterpret_cast<const ::RECT*>(lParam);
          SetWindowPos(handle, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
          if (!gameWindow->movingOrSizing) KeepOnWorkArea(*gameWindow);
        }
        gameWindow->barsDue = true;
      }
      return 0;
    case WM_DISPLAYCHANGE:
      // Another resolution: fullscreen covers the monitor as it now is.
      if (gameWindow != nullptr) {
        if (gameWindow->fullscreen) {
          FillMonitor(*gameWindow);
        } else {
          KeepOnWorkArea(*gameWindow);
        }
        gameWindow->barsDue = true;
      }
      break;
    case WM_DEVICECHANGE:
      // Sent to every window when a device comes or goes: perhaps a pad (DBT_DEVNODES_CHANGED).
      if (wParam == 0x0007) GamepadDevicesChanged();
      break;
    case WM_GETMINMAXINFO:
      if (gameWindow != nullptr && !gameWindow->fullscreen) {
        const UINT dpi = WindowDpi(handle);
        const ::SIZE extra = FrameExtra(dpi);
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize.x =
            MulDiv(gameWindow->frame->Width() / kSmallestPart, static_cast<int>(dpi), kBaseDpi) +
            extra.cx;
        limits->ptMinTrackSize.y =
            MulDiv(gameWindow->frame->Height() / kSmallestPart, static_cast<int>(dpi), kBaseDpi) +
            extra.cy;
        return 0;
      }
      break;
    case WM_SIZE:
      if (gameWindow != nullptr) gameWindow->barsDue = true;
      // Restored from the taskbar, a window that stayed active while minimised may hear only this.
      if (wParam == SIZE_MINIMIZED) TellActive(false);
      if (wParam == SIZE_RESTORED && GetForegroundWindow() == handle) TellActive(true);
      break;
    case WM_PAINT: {
      if (gameWindow != nullptr) gameWindow->barsDue = true;
      PAINTSTRUCT paint;
      BeginPaint(handle, &paint);
      EndPaint(handle, &paint);
      QueueMessage(Message{MessageKind::Paint});
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the game's frame covers the whole client area
    case WM_LBUTTONDOWN:
      QueueMessage(MouseMessage(MessageKind::LeftDown, lParam));
      return 0;
    case WM_LBUTTONUP:
      QueueMessage(MouseMessage(MessageKind::LeftUp, lParam));
      return 0;
    case WM_RBUTTONDOWN:
      QueueMessage(MouseMessage(MessageKind::RightDown, lParam));
      return 0;
    case WM_RBUTTONUP:
      QueueMessage(MouseMessage(MessageKind::RightUp, lParam));
      return 0;
    case WM_MOUSEMOVE:
      QueueMessage(MouseMessage(MessageKind::MouseMove, lParam));
      return 0;
    case WM_CLOSE:
      // The engine ends the game and lets the window go; the window is destroyed with it.
      QueueMessage(Message{MessageKind::Destroy});
      return 0;
    default:
      break;
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

// Registers the engine's window class, once for each name.
bool RegisterClassOnce(::HINSTANCE module, const WindowSpec& spec) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExA(module, spec.className, &windowClass)) return true;
  // Redrawn whole when resized. Each window of the class keeps its own device context, so that
  // presenting a frame fetches it instead of setting up a new one (Wine looks up the X resources
  // again for every context it makes).
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = module;
  windowClass.hIcon = static_cast<HICON>(
      LoadImageA(module, MAKEINTRESOURCEA(spec.largeIcon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(spec.smallIcon),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = spec.className;
  return RegisterClassExA(&windowClass) != 0;
}

std::string LastError(const char* what) {
  return std::string(what) + " (system error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

Window::Impl::~Impl() {
  if (gameWindow == this) gameWindow = nullptr;
  if (handle != nullptr) DestroyWindow(handle);
}

// What the activation messages said, which costs no call to the system on every key read.
bool GameWindowHasFocus() {
  return gameWindow != nullptr && toldActive;
}

Window::Window(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Window::~Window() = default;

// The window class carries the executable's own icons, compiled in by the resource script.
std::unique_ptr<Window> Window::Create(const WindowSpec& spec, std::string& error) {
  ::HINSTANCE module = GetModuleHandleW(nullptr);
  const int clientWidth = spec.clientWidth, clientHeight = spec.clientHeight;
  if (!RegisterClassOnce(module, spec)) {
    error = LastError("cannot register the window class");
    return nullptr;
  }
  auto impl = std::make_unique<Impl>();
  impl->frame = Surface::CreateTarget(clientWidth, clientHeight, 0);
  if (impl->frame == nullptr) {
    error = "cannot make the window's frame";
    return nullptr;
  }
  // Made where Windows places a new window, so that it opens on the monitor the player started
  // it from (a shortcut's launcher says which), then sized by that monitor's scale and centred.
  impl->handle =
      CreateWindowExA(0, spec.className, spec.title, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      clientWidth, clientHeight, nullptr, nullptr, module, nullptr);
  if (impl->handle == nullptr) {
    error = LastError("cannot create the window");
    return nullptr;
  }
  gameWindow = impl.get();
  PlaceCentred(*impl, WindowDpi(impl->handle),
               WorkArea(MonitorFromWindow(impl->handle, MONITOR_DEFAULTTONEAREST)));
  return std::make_unique<Window>(std::move(impl));
}

void Window::Show() {
  ShowWindow(impl_->handle, SW_SHOWNORMAL);
  SetForegroundWindow(impl_->handle);
}

Surface* Window::Frame() {
  return impl_->frame.get();
}

// A client of the frame's size takes the frame as it is; any other size (a scaled monitor, a
// small screen, fullscreen) takes it scaled, nearest-neighbour, with black bars around it.
void Window::Present() {
  Impl& window = *impl_;
  ::RECT client{};
  GetClientRect(window.handle, &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;  // minimised
  ::HDC target = GetDC(window.handle);
  if (target == nullptr) return;
  Surface& frame = *window.frame;
  if (width == frame.Width() && height == frame.Height()) {
    BitBlt(target, 0, 0, width, height, DeviceContext(frame), 0, 0, SRCCOPY);
  } else {
    if (window.scaled == nullptr || window.scaled->Width() != width ||
        window.scaled->Height() != height) {
      window.scaled = Surface::CreateTarget(width, height, 0);
      window.barsDue = true;
    }
    if (window.scaled != nullptr) {
      Surface::Pixels& picture = window.scaled->pixels();
      const Placement area = Letterbox(frame.Width(), frame.Height(), width, height);
      GdiFlush();  // the frame's last drawing is in its pixels before they are read
      if (window.barsDue) FillBars(picture.bits, picture.stride, width, height, area);
      window.scaler.Scale(frame.pixels().bits, frame.pixels().stride, frame.Width(), frame.Height(),
                          picture.bits, picture.stride, area);
      // Only the picture changes from frame to frame; the bars go out when they were painted.
      if (window.barsDue) {
        BitBlt(target, 0, 0, width, height, DeviceContext(*window.scaled), 0, 0, SRCCOPY);
        window.barsDue = false;
      } else {
        BitBlt(target, area.x, area.y, area.width, area.height, DeviceContext(*window.scaled),
               area.x, area.y, SRCCOPY);
      }
    }
  }
  ReleaseDC(window.handle, target);
}

bool PollMessage(Message& message) {
  MSG system;
  while (!QueuedMessageWaiting() && ::PeekMessageA(&system, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&system);
    DispatchMessageA(&system);
  }
  return TakeQueuedMessage(message);
}

void WaitMessage(int timeoutMs) {
  if (QueuedMessageWaiting()) return;
  // Wakes for any input or message that arrives, or when the next frame is due: never spins.
  MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs),
                              QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void ShowErrorBox(Window* owner, const char* caption, const char* text) {
  ReportLine(std::string(caption) + ": " + text);
  MessageBoxA(owner != nullptr ? owner->impl().handle : nullptr, text, caption,
              MB_OK | MB_ICONERROR);
}

}  // namespace skyrift::platform
