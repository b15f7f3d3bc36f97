// Resources embedded in the executable (see resources/skyrift.rc), looked up by number and type.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skyrift::platform {

enum ResourceType : uint16_t {
  kBitmapResource = 2,      // a bitmap file without its 14-byte file header
  kRcDataResource = 10,     // raw bytes (the text face)
  kIconGroupResource = 14,  // a whole .ico file
};

// One row of the table the build generates; the layout is fixed by resources/embed.cmake.
struct ResourceEntry {
  uint16_t id;
  uint16_t type;
  uint32_t reserved;
  const uint8_t* data;
  uint64_t size;
};

// A set of resources: the executable's own, or one a test puts together.
struct ResourceModule {
  const ResourceEntry* entries;
  size_t count;
};

// The resources linked into this program (an empty module when none were linked).
const ResourceModule* ProgramModule();

// The text face WriteText prints in, and its em in pixels.
constexpr uint16_t kTextFaceResource = 3000;
constexpr int kTextFacePixelSize = 15;

// The resource of that number and type, or null.
const ResourceEntry* LookUpResource(const ResourceModule* module, uint16_t id, uint16_t type);

// Lets the system take back the memory pages that hold one of the program's own resources once
// its bytes have been read; they are read again from the executable if ever needed. Entries of
// other modules are left alone.
void ReleaseResource(const ResourceEntry* entry);

}  // namespace skyrift::platform

namespace skyrift {
// The module an image is loaded from, as the game passes it around.
using HINSTANCE = const platform::ResourceModule*;
}  // namespace skyrift
