// One image of the game: filled from a bitmap resource, a bitmap file or blank in one colour,
// and drawn whole or a region of it, opaque or with a key colour left out.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Resources.h"
#include "platform/Surface.h"
#include "platform/Types.h"

namespace skyrift {

class Bitmap {
 public:
  Bitmap();
  Bitmap(HDC dc, const char* fileName);
  Bitmap(HDC dc, uint32_t resourceId, HINSTANCE instance);
  Bitmap(HDC dc, int width, int height, COLORREF colour);
  virtual ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  BOOL LoadFromFile(HDC dc, const char* fileName);
  BOOL LoadFromResource(HDC dc, uint32_t resourceId, HINSTANCE instance);
  BOOL CreateBlank(HDC dc, int width, int height, COLORREF colour);
  void Release();

  void Draw(HDC dc, int x, int y, BOOL transparent, COLORREF key = kMagenta) const;
  void DrawRegion(HDC dc, int x, int y, int regionX, int regionY, int regionWidth, int regionHeight,
                  BOOL transparent, COLORREF key = kMagenta) const;

  int GetWidth() const { return width; }
  int GetHeight() const { return height; }
  // The image itself; null while the Bitmap is empty.
  const platform::Surface* GetHandle() const { return handle.get(); }

 private:
  std::unique_ptr<platform::Surface> handle;
  int32_t width = 0;   // pixels, all animation frames together
  int32_t height = 0;  // pixels, as the header gives it
};

}  // namespace skyrift
