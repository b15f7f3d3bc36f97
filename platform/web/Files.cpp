// The page's files: the game's data package, preloaded at /game, and the player's folders under
// the home folder, which the page keeps in the browser's storage. The package counts as
// read-only: the page's memory would take a write there, but it would be gone on the next visit,
// so the player's files always go to the per-user folders.
#include "platform/Files.h"

#include <emscripten.h>

#include "platform/FilePlaces.h"
#include "platform/PosixFileSystem.h"

namespace skyrift::platform {
namespace {

constexpr const char* kDataPackage = "/game";

// The page shows the keys of the controls the game reads, and lets the player replace them.
// clang-format off
EM_JS(void, TellPageControls, (const char* path), {
  Module.skyriftControls = UTF8ToString(path);
  if (Module.onControlsPlaced) Module.onControlsPlaced();
});
// clang-format on

class PageFileSystem : public PosixFileSystem {
 public:
  bool CanWriteIn(const std::string& folder) const override {
    return folder != kDataPackage && PosixFileSystem::CanWriteIn(folder);
  }

 protected:
  // The page's files are in its memory, where a write is whole once made; storage.js takes them
  // to the browser's storage. An fsync would wait for that storage, a wait the game's thread
  // cannot make from here (it would stop the page).
  std::string ForceOut(int) override { return {}; }
};

}  // namespace

std::string ProgramFolder() {
  return kDataPackage;
}

std::string AppendText(const std::string& path, std::string_view text, bool afresh) {
  return AppendTextPosix(path, text, afresh);
}

FileSystem& SystemFiles() {
  static PageFileSystem files;
  return files;
}

FilePlaces PlaceGameFiles(const std::string& programFolder) {
  FilePlaces places = PlaceFiles(programFolder, System::Linux, SystemFiles());
  TellPageControls(places.controlsFile.c_str());
  return places;
}

}  // namespace skyrift::platform
