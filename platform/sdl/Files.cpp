#include "platform/Files.h"

#include <SDL.h>

#include "platform/FilePlaces.h"
#include "platform/PosixFileSystem.h"

namespace skyrift::platform {

std::string ProgramFolder() {
  char* base = SDL_GetBasePath();
  if (base == nullptr) return {};
  std::string folder(base);
  SDL_free(base);
  return folder;
}

std::string AppendText(const std::string& path, std::string_view text, bool afresh) {
  return AppendTextPosix(path, text, afresh);
}

FileSystem& SystemFiles() {
  static PosixFileSystem system;
  return system;
}

FilePlaces PlaceGameFiles(const std::string& programFolder) {
  return PlaceFiles(programFolder, System::Linux, SystemFiles());
}

}  // namespace skyrift::platform
