// The game's window and its message queue. The system's window events arrive here as the
// handful of messages the engine answers; key events go straight to the key-state table. The
// null layer's window is never seen: its frame is memory, and it has only the messages the
// program queues itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Resources.h"
#include "platform/Surface.h"

namespace skyrift::platform {

enum class MessageKind {
  Create,    // sent by the engine itself once the (hidden) window exists
  Activate,  // wParam 1 when the window gains the focus or is restored, 0 when it loses it
  Paint,     // the window's picture was damaged
  LeftDown,
  LeftUp,
  RightDown,
  RightUp,
  MouseMove,  // lParam: x in the low 16 bits, y above
  Destroy,    // the window was closed or the program asked to quit
  Quit,       // posted by PostQuitMessage; wParam is the exit code
};

struct Message {
  MessageKind kind = MessageKind::Paint;
  uint32_t wParam = 0;
  uint32_t lParam = 0;
};

// What the engine asks of its window.
struct WindowSpec {
  const ResourceModule* module;  // where the icons are found
  const char* className;         // the system's name for this kind of window, where it has one
  const char* title;
  uint16_t largeIcon;  // icon resources of `module`
  uint16_t smallIcon;
  int clientWidth;
  int clientHeight;
};

class Window {
 public:
  // A hidden, fixed-size window centred on the primary screen. Null, with the reason in
  // `error`, when there is no display or the window cannot be made.
  static std::unique_ptr<Window> Create(const WindowSpec& spec, std::string& error);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  void Show();
  // The window's own pixels, drawn into by Paint and by presenting a frame.
  Surface* Frame();
  // Puts what Frame holds on screen.
  void Present();

  struct Impl;
  explicit Window(std::unique_ptr<Impl> impl);
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// Takes the next message; false when none is waiting.
bool PollMessage(Message& message);
// Sleeps until a message may be waiting or `timeoutMs` has passed (negative: no limit).
void WaitMessage(int timeoutMs);
// Makes the next PollMessage answer Quit with this exit code.
void PostQuitMessage(int exitCode);
// Windows holds the program in a loop of its own while the player drags or sizes the window,
// and the engine's loop waits until it ends. What the engine must hear at once meanwhile (the
// window leaving the player's hands) the layer hands to this handler, when one is set.
void SetHeldLoopHandler(void (*handler)(const Message& message));

// Shows an error box (and writes the text to standard error).
void ShowErrorBox(Window* owner, const char* caption, const char* text);

}  // namespace skyrift::platform

namespace skyrift {
using HWND = platform::Window*;
}  // namespace skyrift
