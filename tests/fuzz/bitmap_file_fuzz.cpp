// Feeds arbitrary bytes to the image loaders, as a bitmap file and as a bitmap resource (the
// same bytes less the 14-byte file header), and draws whatever loads onto a small target.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"

namespace {

using skyrift::Bitmap;
using skyrift::platform::Surface;

// Converting an image for keyed drawing costs four bytes a pixel; past this the fuzzer would
// spend its memory and time there instead of in the loader.
constexpr int64_t kMaxKeyedPixels = 4 * 1024 * 1024;

void DrawEveryWay(const Bitmap& image, Surface& target) {
  const skyrift::platform::Surface* handle = image.GetHandle();
  if (handle == nullptr) return;
  image.Draw(&target, -3, -2, skyrift::FALSE);
  image.DrawRegion(&target, 5, 4, -1, 2, image.GetWidth() + 2, 9, skyrift::FALSE);
  if (int64_t{handle->Width()} * handle->Height() <= kMaxKeyedPixels) {
    image.Draw(&target, 7, 1, skyrift::TRUE);
    image.DrawRegion(&target, -4, 6, 3, -2, 20, image.GetHeight(), skyrift::TRUE);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/skyrift_bitmap_fuzz_" + std::to_string(getpid()) + ".bmp";
  static const bool removeAtExit = [] { return std::atexit([] { std::remove(path.c_str()); }) == 0; }();
  (void)removeAtExit;
  static auto target = Surface::CreateTarget(48, 40, skyrift::RGB(40, 40, 40));

  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
    Bitmap fromFile;
    fromFile.LoadFromFile(target.get(), path.c_str());
    DrawEveryWay(fromFile, *target);
  }

  // An exact-size copy, so that reading one byte past the resource is caught.
  const std::vector<uint8_t> resource(size > 14 ? data + 14 : data + size, data + size);
  const skyrift::platform::ResourceEntry entry{2000, skyrift::platform::kBitmapResource, 0,
                                               resource.data(), resource.size()};
  const skyrift::platform::ResourceModule module{&entry, 1};
  const Bitmap fromResource(target.get(), 2000, &module);
  DrawEveryWay(fromResource, *target);
  return 0;
}
