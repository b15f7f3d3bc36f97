// The program entry: initialise the game, make the window, run the loop.
#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/MessageLoop.h"
#include "platform/Resources.h"
#include "platform/Window.h"

int main() {
  using namespace skyrift;
  if (!GameInitialize(platform::ProgramModule())) {
    GameEnd();
    return 1;
  }
  if (!Engine::Current->CreateGameWindow(0)) {
    // Without a window there is no game: say why (in a box, and on standard error) and fail,
    // rather than exit quietly.
    platform::ShowErrorBox(nullptr, "Skyrift", Engine::Current->GetWindowError().c_str());
    GameEnd();
    return 1;
  }
  return RunMessageLoop();
}
