#include "engine/MessageLoop.h"

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "platform/Clock.h"
#include "platform/Window.h"

namespace skyrift {

int32_t _iNextFrameTick = 0;

bool RunFrameIfDue(Engine& engine) {
  if (engine.IsAsleep()) return false;
  const auto now = static_cast<int32_t>(platform::GetTickCount());
  if (now <= _iNextFrameTick) return false;
  // Counted from the frame that was due, not a fixed schedule: late frames are not made up.
  _iNextFrameTick = now + engine.GetFrameDelay();
  PollKeys();
  engine.PollJoystick();
  GameFrame();
  return true;
}

int RunMessageLoop() {
  for (;;) {
    platform::Message message;
    if (platform::PeekMessage(message)) {
      if (message.kind == platform::MessageKind::Quit) return static_cast<int>(message.wParam);
      // Once the engine is gone, the window's last messages are left to the default handling.
      if (Engine* engine = Engine::Current) engine->OnWindowMessage(engine->GetWindow(), message);
      continue;
    }
    Engine* engine = Engine::Current;
    if (engine == nullptr || engine->IsAsleep()) {
      platform::WaitMessage(-1);
      continue;
    }
    if (!RunFrameIfDue(*engine)) {
      const int32_t wait = _iNextFrameTick - static_cast<int32_t>(platform::GetTickCount()) + 1;
      platform::WaitMessage(wait > 0 ? wait : 0);
    }
  }
}

}  // namespace skyrift
