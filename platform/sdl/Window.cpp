#include "platform/Window.h"

#include <SDL.h>

#include <cstring>
#include <optional>

#include "platform/Keyboard.h"
#include "platform/MessageQueue.h"
#include "platform/Report.h"
#include "platform/ScreenFit.h"
#include "platform/sdl/ScanCodes.h"
#include "platform/sdl/Pixels.h"

namespace skyrift::platform {

struct Window::Impl {
  SDL_Window* sdl = nullptr;
  int frameWidth = 0, frameHeight = 0;
  // The window's own surface, drawn into directly while the window is exactly the frame's size.
  std::unique_ptr<Surface> frame;
  // The frame while the window is larger or smaller: scaled into the window's surface.
  std::unique_ptr<Surface> canvas;
  FrameScaler scaler;
  bool scaled = false;        // what the last frame was drawn into
  bool barsDue = true;        // the area around the picture needs painting
  bool frameRemade = false;   // the window changed size: its surface is new, whatever its address
  bool swallowEnter = false;  // Enter went down as Alt+Enter: not the game's until released
  ~Impl();

  // The game can draw straight into the window's surface.
  bool FitsExactly(const SDL_Surface* surface) const {
    return surface->w == frameWidth && surface->h == frameHeight && DrawableAsTarget(surface);
  }
  // The frame's last picture kept in the canvas, before the window's surface changes size.
  void KeepPicture();
  void ToggleFullscreen();
};

namespace {

// The one game window, for the keys that belong to it rather than to the game.
Window::Impl* gameWindow = nullptr;

uint32_t Read32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

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
  SDL_Surface* icon =
      SDL_CreateRGBSurfaceWithFormat(0, bestSide, bestSide, 32, SDL_PIXELFORMAT_BGRA32);
  if (icon == nullptr) return nullptr;
  for (int y = 0; y < bestSide; ++y) {  // rows are stored bottom-up
    std::memcpy(static_cast<uint8_t*>(icon->pixels) + y * icon->pitch,
                best + 40 + size_t(bestSide - 1 - y) * bestSide * 4, size_t(bestSide) * 4);
  }
  return icon;
}

Message MouseMessage(MessageKind kind, int x, int y) {
  return Message{kind, 0,
                 (static_cast<uint32_t>(x) & 0xFFFF) | ((static_cast<uint32_t>(y) & 0xFFFF) << 16)};
}

// F11 and Alt+Enter switch between the window and fullscreen; the game never sees them, and an
// Enter pressed with Alt stays out of the game's sight until it is released. An F11 that a player
// has bound is that player's key instead; Alt+Enter always switches.
bool WindowKey(const SDL_KeyboardEvent& key) {
  if (gameWindow == nullptr) return false;
  const bool down = key.type == SDL_KEYDOWN;
  const SDL_Scancode code = key.keysym.scancode;
  if (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) {
    if (gameWindow->swallowEnter) {
      if (!down) gameWindow->swallowEnter = false;
      return true;
    }
    if (!down || (key.keysym.mod & KMOD_ALT) == 0) return false;
    gameWindow->swallowEnter = true;
  } else if (code != SDL_SCANCODE_F11 || IsGameKey(VirtualKeyFromScancode(code))) {
    return false;
  }
  if (down && key.repeat == 0) gameWindow->ToggleFullscreen();
  return true;
}

// The message an SDL event stands for, if any.
std::optional<Message> Translate(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      return Message{MessageKind::Destroy};
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (WindowKey(event.key)) return std::nullopt;
      KeyEvent(VirtualKeyFromScancode(event.key.keysym.scancode), event.type == SDL_KEYDOWN);
      return std::nullopt;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool isDown = event.type == SDL_MOUSEBUTTONDOWN;
      if (event.button.button == SDL_BUTTON_LEFT) {
        return MouseMessage(isDown ? MessageKind::LeftDown : MessageKind::LeftUp, event.button.x,
                            event.button.y);
      }
      if (event.button.button == SDL_BUTTON_RIGHT) {
        return MouseMessage(isDown ? MessageKind::RightDown : MessageKind::RightUp, event.button.x,
                            event.button.y);
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
          if (gameWindow != nullptr) gameWindow->barsDue = true;
          return Message{MessageKind::Paint};
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (gameWindow != nullptr) gameWindow->barsDue = gameWindow->frameRemade = true;
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

Window::Impl::~Impl() {
  if (gameWindow == this) gameWindow = nullptr;
  frame.reset();
  if (sdl != nullptr) SDL_DestroyWindow(sdl);
}

void Window::Impl::KeepPicture() {
  SDL_Surface* surface = SDL_GetWindowSurface(sdl);
  if (surface == nullptr || !FitsExactly(surface)) return;
  if (canvas == nullptr) canvas = Surface::CreateTarget(frameWidth, frameHeight, 0);
  if (canvas != nullptr) SDL_BlitSurface(surface, nullptr, SdlSurface(*canvas), nullptr);
}

void Window::Impl::ToggleFullscreen() {
  KeepPicture();
  const bool full = (SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  // Desktop fullscreen: the screen keeps its mode, the frame is scaled to it.
  SDL_SetWindowFullscreen(sdl, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_ShowCursor(full ? SDL_ENABLE : SDL_DISABLE);
  barsDue = true;
}

Window::Window(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Window::~Window() = default;

// SDL keeps no window classes, and the system scales the one icon for every size it shows.
std::unique_ptr<Window> Window::Create(const WindowSpec& spec, std::string& error) {
  // Copying a software frame to the window beats an OpenGL texture on machines without a GPU,
  // at the frame's size and scaled alike: the window's surface never goes through a renderer.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Fullscreen here is the desktop's own mode: losing the focus pauses, it does not minimise.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = std::string("cannot open a display: ") + SDL_GetError();
    return nullptr;
  }
  // SDL falls back to an invisible driver when there is no display; only a caller that asked
  // for one by name (the headless tests) gets it.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  if (driver != nullptr &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
      (requested == nullptr || std::strcmp(requested, driver) != 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    error = DisplayProblem();
    return nullptr;
  }
  auto impl = std::make_unique<Impl>();
  impl->frameWidth = spec.clientWidth;
  impl->frameHeight = spec.clientHeight;
  // The player may resize and maximise it: the frame is letterboxed in whatever size it takes,
  // down to a quarter of its own.
  impl->sdl =
      SDL_CreateWindow(spec.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, spec.clientWidth,
                       spec.clientHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (impl->sdl == nullptr) {
    error = std::string("cannot create the window: ") + SDL_GetError();
    return nullptr;
  }
  SDL_SetWindowMinimumSize(impl->sdl, spec.clientWidth / 4, spec.clientHeight / 4);
  const ResourceEntry* iconFile = LookUpResource(spec.module, spec.largeIcon, kIconGroupResource);
  if (SDL_Surface* icon =
          iconFile != nullptr ? IconSurface(iconFile->data, iconFile->size) : nullptr) {
    SDL_SetWindowIcon(impl->sdl, icon);
    SDL_FreeSurface(icon);
  }
  gameWindow = impl.get();
  return std::make_unique<Window>(std::move(impl));
}

// Once shown, the window manager's frame can be known: where the window with its frame does
// not fit the usable area of its screen, it becomes the largest window of the frame's shape that
// does, centred there. Only a tight screen waits for the window manager to tell its frame.
void Window::Show() {
  constexpr int kRoomForAnyFrame = 64;  // pixels beyond the client, across and down
  constexpr int kFrameWaitMs = 300;
  Impl& window = *impl_;
  SDL_ShowWindow(window.sdl);
  SDL_Rect usable;
  const int display = SDL_GetWindowDisplayIndex(window.sdl);
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) return;
  if (window.frameWidth + kRoomForAnyFrame <= usable.w &&
      window.frameHeight + kRoomForAnyFrame <= usable.h)
    return;
  int top = 0, left = 0, bottom = 0, right = 0;
  // A driver that knows of no frames (the headless ones) has none to wait for.
  for (int waited = 0; waited < kFrameWaitMs &&
                       SDL_GetWindowBordersSize(window.sdl, &top, &left, &bottom, &right) == 0;
       waited += 10) {
    if (top + left + bottom + right > 0) break;
    SDL_Delay(10);
    SDL_PumpEvents();  // the frame's size arrives as a property of the window
  }
  const Placement size = FitWindow(window.frameWidth, window.frameHeight, 96, left + right,
                                   top + bottom, usable.w, usable.h);
  if (size.width == window.frameWidth && size.height == window.frameHeight) return;
  SDL_SetWindowSize(window.sdl, size.width, size.height);
  SDL_SetWindowPosition(window.sdl, usable.x + left + (usable.w - size.width - left - right) / 2,
                        usable.y + top + (usable.h - size.height - top - bottom) / 2);
}

// At the frame's size the game draws straight into the window's surface; otherwise into the
// canvas, which Present scales. Switching between the two carries the last picture across, as
// a paused game draws no new one.
Surface* Window::Frame() {
  Impl& window = *impl_;
  SDL_Surface* surface = SDL_GetWindowSurface(window.sdl);
  if (surface == nullptr) return nullptr;
  if (!window.FitsExactly(surface)) {
    if (window.canvas == nullptr)
      window.canvas = Surface::CreateTarget(window.frameWidth, window.frameHeight, 0);
    window.scaled = true;
    return window.canvas.get();
  }
  // SDL makes the surface anew when the window changes size, and may make it at the address of
  // the one it freed, pixels and all: wrapped anew, it is a new frame to the game, which then
  // draws it whole.
  if (window.frame == nullptr || window.frameRemade || SdlSurface(*window.frame) != surface ||
      window.frame->pixels().bits != surface->pixels) {
    window.frame = WrapSdlSurface(surface);
    window.frameRemade = false;
  }
  if (window.scaled && window.canvas != nullptr) {
    SDL_BlitSurface(SdlSurface(*window.canvas), nullptr, surface, nullptr);
  }
  window.scaled = false;
  return window.frame.get();
}

void Window::Present() {
  Impl& window = *impl_;
  SDL_Surface* surface = SDL_GetWindowSurface(window.sdl);
  if (surface == nullptr) return;
  if (!window.scaled || window.FitsExactly(surface) || window.canvas == nullptr) {
    SDL_UpdateWindowSurface(window.sdl);
    return;
  }
  SDL_Surface* canvas = SdlSurface(*window.canvas);
  const Placement picture =
      Letterbox(window.frameWidth, window.frameHeight, surface->w, surface->h);
  const SDL_Rect area{picture.x, picture.y, picture.width, picture.height};
  if (surface->format->format != canvas->format->format) {
    // A screen of another depth: SDL converts as it scales, still nearest-neighbour.
    if (window.barsDue) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_Rect to = area;
    SDL_BlitScaled(canvas, nullptr, surface, &to);
  } else {
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    auto* pixels = static_cast<uint8_t*>(surface->pixels);
    if (window.barsDue) FillBars(pixels, surface->pitch, surface->w, surface->h, picture);
    window.scaler.Scale(static_cast<const uint8_t*>(canvas->pixels), canvas->pitch, canvas->w,
                        canvas->h, pixels, surface->pitch, picture);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  }
  // Only the picture changes from frame to frame; the bars go out when they were painted.
  if (window.barsDue) {
    SDL_UpdateWindowSurface(window.sdl);
    window.barsDue = false;
  } else {
    SDL_UpdateWindowSurfaceRects(window.sdl, &area, 1);
  }
}

bool PollMessage(Message& message) {
  if (TakeQueuedMessage(message)) return true;
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
  if (QueuedMessageWaiting()) return;
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

void ShowErrorBox(Window* owner, const char* caption, const char* text) {
  ReportLine(std::string(caption) + ": " + text);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text,
                           owner != nullptr ? owner->impl().sdl : nullptr);
}

}  // namespace skyrift::platform
