#include "platform/Files.h"

#include <SDL.h>

namespace skyrift::platform {

std::string ProgramFolder() {
  char* base = SDL_GetBasePath();
  if (base == nullptr) return {};
  std::string folder(base);
  SDL_free(base);
  return folder;
}

}  // namespace skyrift::platform
