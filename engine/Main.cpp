// The program entry: find where the game's files live, move into its data folder, initialise
// the game, make the window, run the loop.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/MessageLoop.h"
#include "platform/FilePlaces.h"
#include "platform/Files.h"
#include "platform/Resources.h"
#include "platform/Window.h"

namespace {

// The game opens its samples and music by name alone: started from any other folder it would
// miss them. Its log and controls are placed apart, where the player may write.
bool EnterGameFolders() {
  using namespace skyrift;
  const std::string program = platform::ProgramFolder();
  if (program.empty()) {
    std::fprintf(stderr, "Skyrift: cannot find the game's folder: the system does not say where it is\n");
    return false;
  }
  const platform::FilePlaces places = platform::PlaceGameFiles(program);
  for (const std::string& problem : places.problems) std::fprintf(stderr, "Skyrift: %s\n", problem.c_str());
  std::error_code error;
  std::filesystem::current_path(platform::Utf8Path(places.dataFolder), error);
  if (error) {
    std::fprintf(stderr, "Skyrift: cannot enter the game's folder \"%s\": %s\n",
                 places.dataFolder.c_str(), error.message().c_str());
    return false;
  }
  GamePlaceFiles(places.logFile, places.controlsFile);
  return true;
}

}  // namespace

int main() {
  using namespace skyrift;
  if (!EnterGameFolders()) return 1;
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
