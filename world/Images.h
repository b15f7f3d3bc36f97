// Every image global with its resource number, file and size, from the one list of the game's
// pictures, resources/Images.inc.
#pragma once

#include <cstdint>
#include <iterator>

#include "world/Globals.h"

namespace skyrift {

struct ImageResource {
  uint16_t id;
  const char* file;
  Bitmap** image;
  int width, height;  // pixels
};

inline constexpr ImageResource kImageResources[] = {
#define IMAGE(id, file, global, width, height) {id, file, &global, width, height},
#include "resources/Images.inc"
#undef IMAGE
};
inline constexpr int kImageCount = static_cast<int>(std::size(kImageResources));

// The row of `image`, one of the image globals; null for any other pointer.
inline const ImageResource* ImageResourceOf(Bitmap* const* image) {
  for (const ImageResource& row : kImageResources) {
    if (row.image == image) return &row;
  }
  return nullptr;
}

}  // namespace skyrift
