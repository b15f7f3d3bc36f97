// The game's window on Win32: a window class with the executable's icons, a fixed-size window
// centred on the work area of the monitor it starts on, sized by that monitor's scale, and the
// system's messages turned into the few the engine answers. F11 (unless a player has it) and
// Alt+Enter switch it to fullscreen and back. Key messages go to the keyboard's reading first,
// and the keys Windows keeps for itself (Alt and F10 opening the menu) are kept from it.
#include "platform/Window.h"

#include <algorithm>

#include "platform/Keyboard.h"
#include "platform/MessageQueue.h"
#include "platform/Report.h"
#include "platform/ScreenFit.h"
#include "platform/win32/Focus.h"
#include "platform/win32/Keyboard.h"
#include "platform/win32/Pixels.h"

namespace skyrift::platform {

struct Window::Impl {
  ::HWND handle = nullptr;
  std::unique_ptr<Surface> frame;   // the game's frame, always at its own size
  std::unique_ptr<Surface> scaled;  // the client's picture when the client is another size
  FrameScaler scaler;
  bool fullscreen = false;
  bool barsDue = true;         // the area around the picture needs painting
  WINDOWPLACEMENT windowed{};  // where the window was before fullscreen
  ~Impl();
};

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The one game window, for the messages that concern its size and place.
Window::Impl* gameWindow = nullptr;
bool toldActive = false;  // what the engine was last told

constexpr UINT kBaseDpi = 96;

::RECT WorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  return info.rcWork;
}

// The monitor the program is started on: the one of the window it was started from (Explorer's
// or a console's), else the one under the pointer.
HMONITOR StartingMonitor() {
  if (HMONITOR monitor = MonitorFromWindow(GetForegroundWindow(), MONITOR_DEFAULTTONULL))
    return monitor;
  ::POINT pointer{};
  GetCursorPos(&pointer);
  return MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
}

// Sizes the client by the monitor's scale, made smaller where the window would not fit the work
// area, and places the window: centred on the work area, or from `at` kept inside it.
void Place(const Window::Impl& window, UINT dpi, const ::RECT& work, const ::POINT* at) {
  const int frameWidth = window.frame->Width(), frameHeight = window.frame->Height();
  ::RECT extra{0, 0, 0, 0};
  AdjustWindowRectExForDpi(&extra, kStyle, FALSE, 0, dpi);
  const int extraWidth = extra.right - extra.left, extraHeight = extra.bottom - extra.top;
  const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
  const Placement client = FitWindow(frameWidth, frameHeight, static_cast<int>(dpi), extraWidth,
                                     extraHeight, workWidth, workHeight);
  const int width = client.width + extraWidth, height = client.height + extraHeight;
  int x = work.left + (workWidth - width) / 2, y = work.top + (workHeight - height) / 2;
  if (at != nullptr) {
    x = std::clamp<int>(at->x, work.left, std::max<int>(work.left, work.right - width));
    y = std::clamp<int>(at->y, work.top, std::max<int>(work.top, work.bottom - height));
  }
  SetWindowPos(window.handle, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Fullscreen is a borderless window over the whole monitor, the desktop's mode unchanged.
void ToggleFullscreen(Window::Impl& window) {
  ::HWND handle = window.handle;
  if (!window.fullscreen) {
    window.windowed.length = sizeof window.windowed;
    GetWindowPlacement(handle, &window.windowed);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &info);
    const ::RECT& screen = info.rcMonitor;
    SetWindowLongA(handle, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    SetWindowPos(handle, nullptr /* the top */, screen.left, screen.top, screen.right - screen.left,
                 screen.bottom - screen.top, SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
  } else {
    SetWindowLongA(handle, GWL_STYLE, kStyle | WS_VISIBLE);
    SetWindowPlacement(handle, &window.windowed);
    SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
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
    case WM_DPICHANGED:
      // Moved to a monitor of another scale: the client follows it, still fitting.
      if (gameWindow != nullptr && !gameWindow->fullscreen) {
        const auto* suggested = reinterpret_cast<const ::RECT*>(lParam);
        const ::POINT at{suggested->left, suggested->top};
        Place(*gameWindow, HIWORD(wParam),
              WorkArea(MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST)), &at);
      }
      return 0;
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
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = module;
  windowClass.hIcon = static_cast<HICON>(
      LoadImageA(module, MAKEINTRESOURCEA(spec.largeIcon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(spec.smallIcon),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
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
  // Made on the starting monitor's work area first, so that it takes that monitor's scale, then
  // sized by it.
  const ::RECT work = WorkArea(StartingMonitor());
  impl->handle = CreateWindowExA(0, spec.className, spec.title, kStyle, work.left, work.top,
                                 clientWidth, clientHeight, nullptr, nullptr, module, nullptr);
  if (impl->handle == nullptr) {
    error = LastError("cannot create the window");
    return nullptr;
  }
  gameWindow = impl.get();
  Place(*impl, GetDpiForWindow(impl->handle), work, nullptr);
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
