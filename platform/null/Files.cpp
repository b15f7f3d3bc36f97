// No system to ask where the program is: the folder it was started from stands for the game's
// folder, which keeps all the game's files, as a portable game does.
#include "platform/Files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/FilePlaces.h"

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
  const std::string controls = programFolder + "/controls.txt";
  return FilePlaces{programFolder,
                    controls,
                    controls,
                    programFolder + "/log.txt",
                    programFolder + "/settings.txt",
                    {}};
}

// A real system: opens without waiting (a named pipe with no reader would hold the opening)
// and refuses what it opened unless it is a regular file. The standard library alone cannot
// open without waiting, so what is there is looked at first.
std::string AppendText(const std::string& path, std::string_view text, bool afresh) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(Utf8Path(path), error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return "not a regular file";
  }
  errno = 0;
  std::ofstream file(Utf8Path(path), afresh ? std::ios::trunc : std::ios::app);
  file << text;
  file.close();
  if (file) return {};
  return errno != 0 ? std::strerror(errno) : "cannot be written";
}

}  // namespace skyrift::platform
