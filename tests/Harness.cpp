#include "Harness.h"

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/MessageLoop.h"
#include "platform/Clock.h"
#include "platform/Keyboard.h"
#include "platform/Resources.h"
#include "platform/Window.h"
#include "world/Globals.h"

namespace skyrift::testing {

namespace fs = std::filesystem;

GameHarness::GameHarness(bool withGameFiles) {
  if (withGameFiles) {
    for (const auto& entry : fs::directory_iterator(SKYRIFT_GAME_DIR)) {
      const auto extension = entry.path().extension();
      if (extension == ".wav" || extension == ".mp3" || entry.path().filename() == "controls.txt") {
        fs::copy_file(entry.path(), folder_.Path() / entry.path().filename());
      }
    }
  }
  platform::DriveClock(clock_);
  platform::ResetKeyboard();
  // A fresh program's globals: nothing in the game resets the stage script, so an earlier run
  // in this process must not leave it played.
  ResetPlayGlobals();
}

GameHarness::~GameHarness() {
  if (running_) Close();
  platform::UseRealClock();
}

bool GameHarness::Start() {
  if (!GameInitialize(platform::ProgramModule())) return false;
  if (!Engine::Current->CreateGameWindow(0)) return false;
  running_ = true;
  Activate(true);
  return true;
}

void GameHarness::Step(int count) {
  for (int i = 0; i < count && Engine::Current != nullptr; ++i) {
    clock_ += static_cast<uint32_t>(Engine::Current->GetFrameDelay()) + 1;
    platform::DriveClock(clock_);
    RunFrameIfDue(*Engine::Current);
  }
}

void GameHarness::Press(int virtualKey) {
  platform::KeyEvent(virtualKey, true);
}
void GameHarness::Release(int virtualKey) {
  platform::KeyEvent(virtualKey, false);
}

void GameHarness::Hold(int virtualKey, int frames) {
  Press(virtualKey);
  Step(frames);
  Release(virtualKey);
}

void GameHarness::Activate(bool active) {
  if (Engine* engine = Engine::Current) {
    engine->OnWindowMessage(engine->GetWindow(),
                            platform::Message{platform::MessageKind::Activate, active ? 1u : 0u});
  }
}

void GameHarness::Close() {
  if (Engine* engine = Engine::Current) {
    engine->OnWindowMessage(engine->GetWindow(), platform::Message{platform::MessageKind::Destroy});
  }
  platform::Message quit;
  while (platform::PollMessage(quit) && quit.kind != platform::MessageKind::Quit) {
  }
  running_ = false;
}

COLORREF GameHarness::Pixel(int x, int y) const {
  return _hOffscreenDC != nullptr ? _hOffscreenDC->GetPixel(x, y) : 0xFFFFFFFF;
}

COLORREF GameHarness::ShownPixel(int x, int y) const {
  HWND window = Engine::Current != nullptr ? Engine::Current->GetWindow() : nullptr;
  HDC shown = window != nullptr ? window->Frame() : nullptr;
  return shown != nullptr ? shown->GetPixel(x, y) : 0xFFFFFFFF;
}

}  // namespace skyrift::testing
