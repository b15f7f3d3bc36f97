// The program entry: initialise the game, make the window, run the loop.
#include <cstdio>

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/MessageLoop.h"
#include "platform/Resources.h"

int main() {
  using namespace skyrift;
  if (!GameInitialize(platform::ProgramModule())) {
    GameEnd();
    return 1;
  }
  if (!Engine::Current->CreateGameWindow(0)) {
    // Without a window there is no game: say why and fail, rather than exit quietly.
    std::fprintf(stderr, "Skyrift: %s\n", Engine::Current->GetWindowError().c_str());
    GameEnd();
    return 1;
  }
  return RunMessageLoop();
}
