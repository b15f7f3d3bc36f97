// No system to ask where the program is: the game starts in the folder it was started from
// and keeps all its files there, as a portable game does.
#include "platform/FilePlaces.h"
#include "platform/Files.h"

namespace skyrift::platform {

std::string ProgramFolder() {
  return {};
}

FilePlaces PlaceGameFiles(const std::string& programFolder) {
  return FilePlaces{programFolder, programFolder + "/controls.txt", programFolder + "/log.txt", {}};
}

}  // namespace skyrift::platform
