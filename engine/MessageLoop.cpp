#include "engine/MessageLoop.h"

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "platform/Clock.h"
#include "platform/Window.h"

namespace skyrift {

int32_t _iNextFrameTick = 0;

namespace {

// Milliseconds to wait until the tick count has passed the next-frame time; 0 when it has.
// Tick counts wrap, so only their difference counts. No frame ever waits longer than one frame
// delay: a next-frame time further ahead (the 0 it starts from, after the system has run 25
// days or more, or one left from before a long sleep) is already due.
uint32_t UntilNextFrame(uint32_t now, int frameDelay) {
  const uint32_t ahead = static_cast<uint32_t>(_iNextFrameTick) - now;
  return ahead <= static_cast<uint32_t>(frameDelay) ? ahead + 1 : 0;
}

// Once the engine is gone, the window's last messages are left to the default handling.
void Deliver(const platform::Message& message) {
  if (Engine* engine = Engine::Current) engine->OnWindowMessage(engine->GetWindow(), message);
}

}  // namespace

bool RunFrameIfDue(Engine& engine) {
  if (engine.IsAsleep()) return false;
  const uint32_t now = platform::GetTickCount();
  const int delay = engine.GetFrameDelay();
  if (UntilNextFrame(now, delay) != 0) return false;
  // Counted from the frame that was due, not a fixed schedule: late frames are not made up.
  _iNextFrameTick = static_cast<int32_t>(now + static_cast<uint32_t>(delay));
  PollKeys();
  engine.PollJoystick();
  GameFrame();
  return true;
}

int RunMessageLoop() {
  platform::SetHeldLoopHandler(&Deliver);
  for (;;) {
    platform::Message message;
    if (platform::PollMessage(message)) {
      if (message.kind == platform::MessageKind::Quit) {
        platform::SetHeldLoopHandler(nullptr);
        return static_cast<int>(message.wParam);
      }
      Deliver(message);
      continue;
    }
    Engine* engine = Engine::Current;
    if (engine == nullptr || engine->IsAsleep()) {
      platform::WaitMessage(-1);
      continue;
    }
    if (!RunFrameIfDue(*engine)) {
      platform::WaitMessage(
          static_cast<int>(UntilNextFrame(platform::GetTickCount(), engine->GetFrameDelay())));
    }
  }
}

}  // namespace skyrift
