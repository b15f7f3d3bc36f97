// No system to ask where the program is: the folder it was started from stands for the game's
// folder, which keeps all the game's files, as a portable game does.
#include <filesystem>
#include <system_error>

#include "platform/FilePlaces.h"
#include "platform/Files.h"

namespace skyrift::platform {

// A real system: the folder that holds the running executable, as the system reports it.
std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  if (error) return {};
  const std::u8string utf8 = folder.u8string();
  return std::string(utf8.begin(), utf8.end());
}

// A real system: PlaceFiles with the system's answers (its environment, file checks, folder
// making) and its System.
FilePlaces PlaceGameFiles(const std::string& programFolder) {
  return FilePlaces{programFolder,
                    programFolder + "/controls.txt",
                    programFolder + "/log.txt",
                    programFolder + "/settings.txt",
                    {}};
}

}  // namespace skyrift::platform
