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
void Window::Show() {
  QueueMessage(Message{MessageKind::Activate, 1});
}

Surface* Window::Frame() {
  return impl_->frame.get();
}

void Window::Present() {}

bool PollMessage(Message& message) {
  return TakeQueuedMessage(message);
}

// Nothing but the program itself can send a message, so only the time is waited out.
void WaitMessage(int timeoutMs) {
  if (QueuedMessageWaiting() || timeoutMs <= 0) return;
  std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
}

void ShowErrorBox(Window*, const char* caption, const char* text) {
  ReportLine(std::string(caption) + ": " + text);
}

}  // namespace skyrift::platform
