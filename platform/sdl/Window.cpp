#include "platform/Window.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/Keyboard.h"
#include "platform/sdl/ScanCodes.h"
#include "platform/sdl/SurfaceImpl.h"

namespace skyrift::platform {

struct Window::Impl {
  SDL_Window* sdl = nullptr;
  std::unique_ptr<Surface> frame;
  ~Impl() {
    frame.reset();
    if (sdl != nullptr) SDL_DestroyWindow(sdl);
  }
};

namespace {

std::optional<int> quitCode;

uint32_t Read32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// The largest 32-bit image of an .ico file as a surface SDL can use for the window icon.
SDL_Surface* IconSurface(const uint8_t* file, size_t size) {
  if (file == nullptr || size < 6 || Read16(file + 2) != 1) return nullptr;
  const size_t count = Read16(file + 4);
  const uint8_t* best = nullptr;
  int bestSide = 0;
  for (size_t i = 0; i < count && 6 + (i + 1) * 16 <= size; ++i) {
    const uint8_t* entry = file + 6 + i * 16;
    const uint32_t length = Read32(entry + 8), offset = Read32(entry + 12);
    if (offset > size || length > size - offset || length < 40) continue;
    const uint8_t* image = file + offset;
    const int width = static_cast<int32_t>(Read32(image + 4));
    const int height = static_cast<int32_t>(Read32(image + 8)) / 2;
    if (Read32(image) != 40 || Read16(image + 14) != 32 || width <= 0 || width > 256 ||
        height != width || 40 + size_t(width) * height * 4 > length) {
      continue;
    }
    if (width > bestSide) {
      best = image;
      bestSide = width;
    }
  }
  if (best == nullptr) return nullptr;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, bestSide, bestSide, 32, SDL_PIXELFORMAT_BGRA32);
  if (icon == nullptr) return nullptr;
  for (int y = 0; y < bestSide; ++y) {  // rows are stored bottom-up
    std::memcpy(static_cast<uint8_t*>(icon->pixels) + y * icon->pitch,
                best + 40 + size_t(bestSide - 1 - y) * bestSide * 4, size_t(bestSide) * 4);
  }
  return icon;
}

Message MouseMessage(MessageKind kind, int x, int y) {
  return Message{kind, 0, (static_cast<uint32_t>(x) & 0xFFFF) | ((static_cast<uint32_t>(y) & 0xFFFF) << 16)};
}

// The message an SDL event stands for, if any.
std::optional<Message> Translate(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      return Message{MessageKind::Destroy};
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      KeyEvent(VirtualKeyFromScancode(event.key.keysym.scancode), event.type == SDL_KEYDOWN);
      return std::nullopt;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool isDown = event.type == SDL_MOUSEBUTTONDOWN;
      if (event.button.button == SDL_BUTTON_LEFT) {
        return MouseMessage(isDown ? MessageKind::LeftDown : MessageKind::LeftUp, event.button.x, event.button.y);
      }
      if (event.button.button == SDL_BUTTON_RIGHT) {
        return MouseMessage(isDown ? MessageKind::RightDown : MessageKind::RightUp, event.button.x, event.button.y);
      }
      return std::nullopt;
    }
    case SDL_MOUSEMOTION:
      return MouseMessage(MessageKind::MouseMove, event.motion.x, event.motion.y);
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
          return Message{MessageKind::Activate, 1};
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
          return Message{MessageKind::Activate, 0};
        case SDL_WINDOWEVENT_EXPOSED:
          return Message{MessageKind::Paint};
        case SDL_WINDOWEVENT_CLOSE:
          return Message{MessageKind::Destroy};
        default:
          return std::nullopt;
      }
    default:
      return std::nullopt;
  }
}

// Why no display could be opened. A DISPLAY that is set but names no working server is not a
// missing DISPLAY: the reason is what SDL's X11 driver reports when asked for by name.
std::string DisplayProblem() {
  const char* display = SDL_getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return "cannot open a display (is DISPLAY set?)";
  std::string reason = "no display server answered";
  if (SDL_VideoInit("x11") != 0) {
    reason = SDL_GetError();
  } else {
    SDL_VideoQuit();
  }
  return std::string("cannot open the display \"") + display + "\": " + reason;
}

}  // namespace

Window::Window(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Window::~Window() = default;

std::unique_ptr<Window> Window::Create(const char* title, int clientWidth, int clientHeight,
                                       const uint8_t* iconFile, size_t iconSize, std::string& error) {
  // Copying a software frame to the window beats an OpenGL texture on machines without a GPU.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = std::string("cannot open a display: ") + SDL_GetError();
    return nullptr;
  }
  // SDL falls back to an invisible driver when there is no display; only a caller that asked
  // for one by name (the headless tests) gets it.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  if (driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
      (requested == nullptr || std::strcmp(requested, driver) != 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    error = DisplayProblem();
    return nullptr;
  }
  auto impl = std::make_unique<Impl>();
  impl->sdl = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth,
                               clientHeight, SDL_WINDOW_HIDDEN);
  if (impl->sdl == nullptr) {
    error = std::string("cannot create the window: ") + SDL_GetError();
    return nullptr;
  }
  if (SDL_Surface* icon = IconSurface(iconFile, iconSize)) {
    SDL_SetWindowIcon(impl->sdl, icon);
    SDL_FreeSurface(icon);
  }
  return std::make_unique<Window>(std::move(impl));
}

void Window::Show() { SDL_ShowWindow(impl_->sdl); }

Surface* Window::Frame() {
  SDL_Surface* surface = SDL_GetWindowSurface(impl_->sdl);
  if (surface == nullptr) return nullptr;
  if (impl_->frame == nullptr || impl_->frame->impl().sdl != surface) impl_->frame = WrapSurface(surface);
  return impl_->frame.get();
}

void Window::Present() { SDL_UpdateWindowSurface(impl_->sdl); }

bool PeekMessage(Message& message) {
  if (quitCode) {
    message = Message{MessageKind::Quit, static_cast<uint32_t>(*quitCode)};
    quitCode.reset();
    return true;
  }
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (auto translated = Translate(event)) {
      message = *translated;
      return true;
    }
  }
  return false;
}

void WaitMessage(int timeoutMs) {
  if (quitCode) return;
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
    if (timeoutMs > 0) SDL_Delay(static_cast<Uint32>(timeoutMs));
    return;
  }
  if (timeoutMs < 0) {
    SDL_WaitEvent(nullptr);
  } else {
    SDL_WaitEventTimeout(nullptr, timeoutMs);
  }
}

void PostQuitMessage(int exitCode) { quitCode = exitCode; }

void ShowErrorBox(Window* owner, const char* caption, const char* text) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text,
                           owner != nullptr ? owner->impl().sdl : nullptr);
}

}  // namespace skyrift::platform
