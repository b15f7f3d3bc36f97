// The window is the page's canvas: each presented frame is put into it, and the page's focus and
// visibility become activation messages. The page's thread must never block, so waiting for the
// next frame hands the thread back to the browser until a timer at the due millisecond resumes
// the loop where it waited; the browser shows the frame at its next refresh.
#include "platform/Window.h"

#include <emscripten.h>

#include <vector>

#include "platform/KeyTable.h"
#include "platform/Keyboard.h"
#include "platform/MessageQueue.h"
#include "platform/Report.h"
#include "platform/web/Page.h"

namespace skyrift::platform {
namespace {

// How long an idle loop (the game asleep) waits before it looks at its messages again.
constexpr int kIdleWaitMs = 50;

// Finds the canvas, sizes it and listens to the page. Keys are the canvas's, so the browser
// keeps its own keys while the player clicks elsewhere on the page.
// clang-format off
EM_JS(int, OpenCanvas, (int width, int height), {
  const canvas = typeof document !== 'undefined' && document.getElementById('canvas');
  if (!canvas) return 0;
  canvas.width = width;
  canvas.height = height;
  Module.skyriftCanvas = canvas.getContext('2d', {alpha: false});
  Module.skyriftFrames = 0;
  const key = (event, down) => {
    if (_SkyriftKey(event.keyCode, down, event.altKey, event.repeat)) event.preventDefault();
  };
  canvas.addEventListener('keydown', event => key(event, 1));
  canvas.addEventListener('keyup', event => key(event, 0));
  // A key let go while the canvas had no focus would otherwise stay down.
  canvas.addEventListener('blur', () => _SkyriftActive(-1));
  const activity = () => _SkyriftActive(!document.hidden && document.hasFocus() ? 1 : 0);
  window.addEventListener('focus', activity);
  window.addEventListener('blur', activity);
  document.addEventListener('visibilitychange', activity);
  Module.skyriftActivity = activity;
  canvas.focus();
  return 1;
});

EM_JS(void, PutFrame, (const void* rgba, int width, int height), {
  const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
  Module.skyriftCanvas.putImageData(new ImageData(pixels, width, height), 0, 0);
  Module.skyriftFrames++;
});

EM_JS(void, ShowActivity, (), { Module.skyriftActivity(); });

// The canvas's frame, with its black bars, fills the screen; the page fits the canvas in it.
EM_JS(void, SwitchFullscreen, (), {
  if (typeof document === 'undefined') return;
  if (document.fullscreenElement) {
    document.exitFullscreen();
  } else {
    const screen = document.getElementById('screen') || document.documentElement;
    screen.requestFullscreen().catch(error => console.error('Skyrift: no fullscreen:', error));
  }
});

EM_JS(void, ShowProblem, (const char* text), {
  const box = typeof document !== 'undefined' && document.getElementById('problem');
  if (!box) return;
  box.textContent = UTF8ToString(text);
  box.hidden = false;
});
// clang-format on

// The last activation sent, so that a focus change that changes nothing sends nothing.
int activeSent = -1;

}  // namespace

struct Window::Impl {
  std::unique_ptr<Surface> frame;
  std::vector<uint32_t> rgba;  // the frame in the canvas's byte order: red first, then opaque
};

Window::Window(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Window::~Window() = default;

std::unique_ptr<Window> Window::Create(const WindowSpec& spec, std::string& error) {
  if (!OpenCanvas(spec.clientWidth, spec.clientHeight)) {
    error = "the page has no canvas to show the game in";
    return nullptr;
  }
  auto impl = std::make_unique<Impl>();
  impl->frame = Surface::CreateTarget(spec.clientWidth, spec.clientHeight, 0);
  if (impl->frame == nullptr) {
    error = "cannot make the window's frame";
    return nullptr;
  }
  impl->rgba.resize(static_cast<size_t>(spec.clientWidth) * spec.clientHeight);
  return std::make_unique<Window>(std::move(impl));
}

// The page is shown already; it is active if it has the focus.
void Window::Show() {
  ShowActivity();
}

Surface* Window::Frame() {
  return impl_->frame.get();
}

void Window::Present() {
  Surface& frame = *impl_->frame;
  uint32_t* out = impl_->rgba.data();
  for (int y = 0; y < frame.Height(); ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(frame.pixels().bits + y * frame.pixels().stride);
    for (int x = 0; x < frame.Width(); ++x) {
      const uint32_t pixel = row[x];
      *out++ =
          0xFF000000u | (pixel & 0x00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
    }
  }
  PutFrame(impl_->rgba.data(), frame.Width(), frame.Height());
}

bool PollMessage(Message& message) {
  return TakeQueuedMessage(message);
}

void WaitMessage(int timeoutMs) {
  if (QueuedMessageWaiting() || timeoutMs == 0) return;
  emscripten_sleep(timeoutMs < 0 ? kIdleWaitMs : timeoutMs);
}

void ShowErrorBox(Window*, const char* caption, const char* text) {
  const std::string line = std::string(caption) + ": " + text;
  ReportLine(line);
  ShowProblem(line.c_str());
}

void ToggleFullscreen() {
  SwitchFullscreen();
}

}  // namespace skyrift::platform

extern "C" EMSCRIPTEN_KEEPALIVE void SkyriftActive(int active) {
  using namespace skyrift::platform;
  if (active <= 0) ResetKeyboard();
  if (active < 0 || active == activeSent) return;
  activeSent = active;
  QueueMessage(Message{MessageKind::Activate, static_cast<uint32_t>(active)});
}
