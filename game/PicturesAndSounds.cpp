// Every picture and sample the game uses, made and freed from one list each: the pictures'
// in resources/Images.inc, the samples' in game/Samples.h.
#include "game/PicturesAndSounds.h"

#include <new>

#include "engine/GameCallbacks.h"
#include "engine/Sound.h"
#include "game/Samples.h"
#include "game/Trace.h"
#include "graphics/Bitmap.h"
#include "platform/Files.h"
#include "world/Globals.h"
#include "world/Images.h"

namespace skyrift {

BOOL GameFilesPresent(const std::string& folder) {
  const auto there = [&folder](const char* name) {
    return platform::WhyNotARegularFile(folder + "/" + name).empty();
  };
  if (there("controls.txt")) return TRUE;
  for (const SampleRow& row : kSamples) {
    if (there(row.file)) return TRUE;
  }
  return FALSE;
}

void CreateBitmaps() {
  for (const ImageResource& row : kImageResources) {
    delete *row.image;  // a second call replaces rather than leaks
    // Out of memory leaves the global null; an image that fails to load stays empty.
    *row.image = new (std::nothrow) Bitmap(nullptr, row.id, _hInstance);
  }
  TraceLine("CreateBitmaps()");
}

void DeleteBitmaps() {
  TraceLine("DeleteBitmaps() start");
  for (const ImageResource& row : kImageResources) {
    delete *row.image;
    *row.image = nullptr;
  }
}

void LoadSounds() {
  for (const SampleRow& row : kSamples) {
    FreeSample(*row.sample);
    *row.sample = LoadSample(row.file, row.mode);
  }
}

void FreeSounds() {
  for (const SampleRow& row : kSamples) {
    FreeSample(*row.sample);
    *row.sample = nullptr;
  }
}

}  // namespace skyrift
