// The program entry: move into the game's own folder, initialise the game, make the window,
// run the loop.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/MessageLoop.h"
#include "platform/Files.h"
#include "platform/Resources.h"
#include "platform/Window.h"

namespace {

// The game's files (controls, sounds, music, the log) lie beside the executable, and the game
// opens them by name alone: started from any other folder it would miss them and overwrite a
// log.txt that is not its own.
bool EnterProgramFolder() {
  const std::string folder = skyrift::platform::ProgramFolder();
  std::error_code error;
  if (!folder.empty()) std::filesystem::current_path(folder, error);
  if (folder.empty() || error) {
    std::fprintf(stderr, "Skyrift: cannot enter the game's folder \"%s\": %s\n", folder.c_str(),
                 folder.empty() ? "the system does not say where it is" : error.message().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main() {
  using namespace skyrift;
  if (!EnterProgramFolder()) return 1;
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
