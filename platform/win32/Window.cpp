// The game's window on Win32: a window class with the executable's icons, a fixed-size window
// centred on the screen, and the system's messages turned into the few the engine answers.
// Keys are read from the system by GetAsyncKeyState, so key messages need no handling here.
#include "platform/Window.h"

#include <cstdio>
#include <deque>
#include <optional>

#include "platform/win32/SurfaceImpl.h"

namespace skyrift::platform {

struct Window::Impl {
  ::HWND handle = nullptr;
  std::unique_ptr<Surface> frame;
  ~Impl() {
    if (handle != nullptr) DestroyWindow(handle);
  }
};

namespace {

constexpr char kClassName[] = "SkyriftWindow";
constexpr WORD kLargeIcon = 1000, kSmallIcon = 1001;  // the resource script's icons
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

std::deque<Message> queue;
std::optional<int> quitCode;

Message MouseMessage(MessageKind kind, LPARAM lParam) {
  return Message{kind, 0, static_cast<uint32_t>(lParam & 0xFFFFFFFF)};
}

LRESULT CALLBACK WindowProcedure(::HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE: {
      // A minimised window is told it is active as it shrinks: it sleeps all the same.
      const bool active = LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0;
      queue.push_back(Message{MessageKind::Activate, active ? 1u : 0u});
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(handle, &paint);
      EndPaint(handle, &paint);
      queue.push_back(Message{MessageKind::Paint});
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the game's frame covers the whole client area
    case WM_LBUTTONDOWN: queue.push_back(MouseMessage(MessageKind::LeftDown, lParam)); return 0;
    case WM_LBUTTONUP: queue.push_back(MouseMessage(MessageKind::LeftUp, lParam)); return 0;
    case WM_RBUTTONDOWN: queue.push_back(MouseMessage(MessageKind::RightDown, lParam)); return 0;
    case WM_RBUTTONUP: queue.push_back(MouseMessage(MessageKind::RightUp, lParam)); return 0;
    case WM_MOUSEMOVE: queue.push_back(MouseMessage(MessageKind::MouseMove, lParam)); return 0;
    case WM_CLOSE:
      // The engine ends the game and lets the window go; the window is destroyed with it.
      queue.push_back(Message{MessageKind::Destroy});
      return 0;
    default:
      return DefWindowProcA(handle, message, wParam, lParam);
  }
}

bool RegisterClassOnce(::HINSTANCE module) {
  static const bool registered = [module] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = module;
    windowClass.hIcon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(kLargeIcon), IMAGE_ICON,
                                                      0, 0, LR_DEFAULTSIZE));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(kSmallIcon), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0;
  }();
  return registered;
}

std::string LastError(const char* what) {
  return std::string(what) + " (system error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

Window::Window(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Window::~Window() = default;

// The window class carries the executable's own icons, so the .ico bytes are not needed here.
std::unique_ptr<Window> Window::Create(const char* title, int clientWidth, int clientHeight,
                                       const uint8_t* /*iconFile*/, size_t /*iconSize*/,
                                       std::string& error) {
  ::HINSTANCE module = GetModuleHandleW(nullptr);
  if (!RegisterClassOnce(module)) {
    error = LastError("cannot register the window class");
    return nullptr;
  }
  ::RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  // The client area, not the frame, is centred, as it is on every other system.
  const int x = (GetSystemMetrics(SM_CXSCREEN) - clientWidth) / 2 + outer.left;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - clientHeight) / 2 + outer.top;
  auto impl = std::make_unique<Impl>();
  impl->frame = Surface::CreateTarget(clientWidth, clientHeight, 0);
  if (impl->frame == nullptr) {
    error = "cannot make the window's frame";
    return nullptr;
  }
  impl->handle = CreateWindowExA(0, kClassName, title, kStyle, x, y, width, height, nullptr,
                                 nullptr, module, nullptr);
  if (impl->handle == nullptr) {
    error = LastError("cannot create the window");
    return nullptr;
  }
  return std::make_unique<Window>(std::move(impl));
}

void Window::Show() {
  ShowWindow(impl_->handle, SW_SHOWNORMAL);
  SetForegroundWindow(impl_->handle);
}

Surface* Window::Frame() { return impl_->frame.get(); }

void Window::Present() {
  if (::HDC window = GetDC(impl_->handle)) {
    const Surface::Impl& frame = impl_->frame->impl();
    BitBlt(window, 0, 0, frame.width, frame.height, frame.dc, 0, 0, SRCCOPY);
    ReleaseDC(impl_->handle, window);
  }
}

bool PeekMessage(Message& message) {
  if (quitCode) {
    message = Message{MessageKind::Quit, static_cast<uint32_t>(*quitCode)};
    quitCode.reset();
    return true;
  }
  MSG system;
  while (queue.empty() && ::PeekMessageA(&system, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&system);
    DispatchMessageA(&system);
  }
  if (queue.empty()) return false;
  message = queue.front();
  queue.pop_front();
  return true;
}

void WaitMessage(int timeoutMs) {
  if (quitCode || !queue.empty()) return;
  // Wakes for any input or message that arrives, or when the next frame is due: never spins.
  MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs),
                              QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void PostQuitMessage(int exitCode) { quitCode = exitCode; }

void ShowErrorBox(Window* owner, const char* caption, const char* text) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  MessageBoxA(owner != nullptr ? owner->impl().handle : nullptr, text, caption, MB_OK | MB_ICONERROR);
}

}  // namespace skyrift::platform
