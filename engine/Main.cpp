// The program entry: find where the game's files live, move into its data folder, initialise
// the game, make the window, run the loop.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "engine/CommandLine.h"
#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/MessageLoop.h"
#include "platform/FilePlaces.h"
#include "platform/Files.h"
#include "platform/Report.h"
#include "platform/Resources.h"
#include "platform/Window.h"

namespace {

// The game opens its samples and music by name alone: started from any other folder it would
// miss them. Its log and controls are placed apart, where the player may write. Where the
// game's folder cannot be found or entered, the game still starts in the folder it was started
// from, which is most often its own, rather than refuse. False when the game's own files are not
// there at all.
bool EnterGameFolders() {
  using namespace skyrift;
  std::string program = platform::ProgramFolder();
  if (program.empty()) {
    platform::ReportLine(
        "Skyrift: the system does not say where the game's folder is; starting in the current "
        "folder");
    program = ".";
  }
  const platform::FilePlaces places = platform::PlaceGameFiles(program);
  // The program alone (opened from inside a zip, or copied out of its folder) would play with no
  // keys and no sound and give a reason for every file: one message says what is wrong instead.
  if (!GameFilesPresent(places.dataFolder)) {
    platform::ReportGameFilesMissing();
    return false;
  }
  for (const std::string& problem : places.problems) platform::ReportLine("Skyrift: " + problem);
  std::error_code error;
  std::filesystem::current_path(platform::Utf8Path(places.dataFolder), error);
  if (error) {
    platform::ReportLine("Skyrift: cannot enter the game's folder \"" + places.dataFolder +
                         "\": " + error.message() + "; starting in the current folder");
  }
  GamePlaceFiles(places.logFile, places.controlsFile, places.defaultControls, places.settingsFile);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace skyrift;
  const CommandLineAnswer answer =
      ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc), SKYRIFT_VERSION);
  if (!answer.play) {
    if (answer.exitCode == 0) {
      platform::PrintAnswer(answer.text + "\n");
    } else {
      platform::ReportLine(answer.text);
    }
    return answer.exitCode;
  }
  if (!EnterGameFolders()) return 1;
  if (!GameInitialize(platform::ProgramModule())) {
    platform::ShowErrorBox(nullptr, "Skyrift", "cannot start: not enough memory");
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
