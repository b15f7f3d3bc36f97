// Handing back an embedded picture's pages once it is decoded must never change what the program
// reads: the program's own resources fault back in from the executable, and resources that live
// in ordinary memory (a module a test or a tool puts together) are never touched.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "platform/Resources.h"
#include "platform/Surface.h"

namespace skyrift {
namespace {

std::vector<uint8_t> AssetWithoutFileHeader(const std::string& name) {
  std::ifstream in(std::string(SKYRIFT_ASSET_DIR) + "/" + name, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  return bytes.size() > 14 ? std::vector<uint8_t>(bytes.begin() + 14, bytes.end()) : bytes;
}

TEST(ResourceRelease, ReleasedPicturesReadBackWholeAndLoadAgainTheSame) {
  auto target = platform::Surface::CreateTarget(16, 16, 0);
  // The largest picture spans many pages; the panel is small and shares pages with neighbours.
  for (const auto& [id, file] :
       {std::pair{2001, "stage1_near.bmp"}, std::pair{2500, "hud_panel.bmp"}}) {
    SCOPED_TRACE(file);
    const platform::ResourceEntry* entry = platform::LookUpResource(
        platform::ProgramModule(), static_cast<uint16_t>(id), platform::kBitmapResource);
    ASSERT_NE(entry, nullptr);
    const Bitmap first(target.get(), static_cast<uint32_t>(id), platform::ProgramModule());
    ASSERT_NE(first.GetHandle(), nullptr);
    platform::ReleaseResource(entry);  // again, after the load already did

    const std::vector<uint8_t> expected = AssetWithoutFileHeader(file);
    ASSERT_EQ(entry->size, expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), entry->data));

    const Bitmap second(target.get(), static_cast<uint32_t>(id), platform::ProgramModule());
    ASSERT_NE(second.GetHandle(), nullptr);
    ASSERT_EQ(second.GetWidth(), first.GetWidth());
    ASSERT_EQ(second.GetHeight(), first.GetHeight());
    for (int y = 0; y < first.GetHeight(); y += 97) {
      for (int x = 0; x < first.GetWidth(); x += 89) {
        ASSERT_EQ(second.GetHandle()->GetPixel(x, y), first.GetHandle()->GetPixel(x, y))
            << x << "," << y;
      }
    }
  }
}

TEST(ResourceRelease, ResourcesOutsideTheProgramAreLeftAlone) {
  // Page-aligned and several pages long, so that a release would have whole pages to drop.
  const size_t size = 6 * 4096;
  std::vector<uint8_t> storage(size + 4096);
  uint8_t* data =
      storage.data() + (4096 - reinterpret_cast<uintptr_t>(storage.data()) % 4096) % 4096;
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(i * 7 + 1);
  const platform::ResourceEntry entry{2000, platform::kBitmapResource, 0, data, size};

  platform::ReleaseResource(&entry);
  platform::ReleaseResource(nullptr);

  for (size_t i = 0; i < size; ++i) ASSERT_EQ(data[i], static_cast<uint8_t>(i * 7 + 1)) << i;
}

}  // namespace
}  // namespace skyrift
