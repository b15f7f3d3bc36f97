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

// Images the loader rightly accepts but that need more than 16 MiB take about a second each to
// allocate and clear under the sanitizers; the fuzzer would spend its time there instead of in
// the header checks. Their sizes' limit is covered by the unit tests.
bool LargeButAllowed(const uint8_t* data, size_t size) {
  if (size < 26) return false;
  auto read32 = [data](size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(data[at]) | data[at + 1] << 8 |
                                data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24);
  };
  const int64_t width = read32(18), height = read32(22);
  const int64_t bytes = (width + 3) / 4 * 4 * (height < 0 ? -height : height);
  return width > 0 && bytes > 16 * 1024 * 1024 && bytes <= 256 * 1024 * 1024;
}

void DrawEveryWay(const Bitmap& image, Surface& target) {
  if (image.GetHandle() == nullptr) return;
  image.Draw(&target, -3, -2, skyrift::FALSE);
  image.DrawRegion(&target, 5, 4, -1, 2, image.GetWidth() + 2, 9, skyrift::FALSE);
  image.Draw(&target, 7, 1, skyrift::TRUE);
  image.DrawRegion(&target, -4, 6, 3, -2, 20, image.GetHeight(), skyrift::TRUE);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/skyrift_bitmap_fuzz_" + std::to_string(getpid()) + ".bmp";
  static const bool removeAtExit = [] {
    return std::atexit([] { std::remove(path.c_str()); }) == 0;
  }();
  (void)removeAtExit;
  static auto target = Surface::CreateTarget(48, 40, skyrift::RGB(40, 40, 40));
  if (LargeButAllowed(data, size)) return -1;  // not worth keeping in the corpus either

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
