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

FilePlaces PlaceGameFiles(const std::string& programFolder) {
  PosixFileSystem system;
  return PlaceFiles(programFolder, System::Linux, system);
}

}  // namespace skyrift::platform
