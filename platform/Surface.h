// A picture in memory: an 8-bit paletted image, or a 32-bit drawing target (what the game
// calls a device context). All copying, keying, filling and lettering goes through here.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Types.h"

namespace skyrift::platform {

class Surface {
 public:
  // An 8-bit image whose palette holds `colours` entries (at most 256); pixels start at 0.
  // Null when the size is not positive, too large, or memory runs out.
  static std::unique_ptr<Surface> CreateIndexed(int width, int height, const COLORREF* palette,
                                                int colours);
  // A 32-bit drawing target filled with one colour. Null on failure.
  static std::unique_ptr<Surface> CreateTarget(int width, int height, COLORREF colour);

  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const;
  int Height() const;

  // Row y of an indexed image, top row first: one palette index per pixel.
  uint8_t* IndexRow(int y);

  // Copies the region (sx, sy, w, h) of `source` to (dx, dy) at the same size, clipped to both
  // surfaces. When `keyed`, pixels of the key colour are left out.
  void Blit(const Surface& source, int sx, int sy, int w, int h, int dx, int dy, bool keyed,
            COLORREF key);
  void Fill(const RECT& area, COLORREF colour);
  void SetPixel(int x, int y, COLORREF colour);
  COLORREF GetPixel(int x, int y) const;

  // One line of text, right-aligned and vertically centred in `area`, on a transparent ground.
  void WriteText(const RECT& area, const char* text, COLORREF colour);

  struct Impl;
  explicit Surface(std::unique_ptr<Impl> impl);
  Impl& impl() { return *impl_; }
  const Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace skyrift::platform

namespace skyrift {
// A drawing target, as the game passes it around.
using HDC = platform::Surface*;
}  // namespace skyrift
