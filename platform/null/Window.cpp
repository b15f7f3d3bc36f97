// A window that is never seen: its frame is a surface in memory that presenting leaves as it
// is, and the only messages are those the program queues itself.
#include "platform/Window.h"

#include <chrono>
#include <thread>

#include "platform/MessageQueue.h"
#include "platform/Report.h"

namespace skyrift::platform {

struct Window::Impl {
  std::unique_ptr<Surface> frame;
};

Window::Window(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Window::~Window() = default;

// A real system: a window of the client size with the caption and icons, hidden, its frame the
// memory it shows; null with `error` set on failure.
std::unique_ptr<Window> Window::Create(const WindowSpec& spec, std::string& error) {
  auto impl = std::make_unique<Impl>();
  impl->frame = Surface::CreateTarget(spec.clientWidth, spec.clientHeight, 0);
  if (impl->frame == nullptr) {
    error = "cannot make the window's frame";
    return nullptr;
  }
  return std::make_unique<Window>(std::move(impl));
}

// No other window can take the focus: once shown, the window has it.
// A real system: show the window; the system then sends Activate when it takes the focus.
void Window::Show() {
  QueueMessage(Message{MessageKind::Activate, 1});
}

// A real system: the off-screen frame the game draws into.
Surface* Window::Frame() {
  return impl_->frame.get();
}

// A real system: put the frame on the screen (scaled and letterboxed when the window is not its
// size).
void Window::Present() {}

// A real system: turn the system's next event into a Message (activate, paint, mouse, keys into
// KeyEvent, close); false when none waits.
bool PollMessage(Message& message) {
  return TakeQueuedMessage(message);
}

// Nothing but the program itself can send a message, so only the time is waited out.
// A real system: sleep until an event arrives or `timeoutMs` passes, never spinning.
void WaitMessage(int timeoutMs) {
  if (QueuedMessageWaiting() || timeoutMs <= 0) return;
  std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
}

// A real system: the system's message box, and the text on ReportLine.
void ShowErrorBox(Window*, const char* caption, const char* text) {
  ReportLine(std::string(caption) + ": " + text);
}

}  // namespace skyrift::platform
