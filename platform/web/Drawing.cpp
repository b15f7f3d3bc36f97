// Pixels in plain memory, put into the canvas when a frame is presented, and lettering in the
// game's embedded face, drawn by stb_truetype: one line, right-aligned and vertically centred,
// each glyph's coverage blended over what is there in the given colour.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "platform/Resources.h"
#include "platform/Surface.h"

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

namespace skyrift::platform {
namespace {

// A glyph's coverage, 0 to 255, with where it stands from the pen on the baseline.
struct Glyph {
  int width = 0, height = 0;
  int left = 0, top = 0;  // from the pen, top negative above the baseline
  int advance = 0;        // in font units
  std::vector<uint8_t> coverage;
};

class Face {
 public:
  // Null when the program holds no face or it cannot be read.
  static Face* Get() {
    static Face* face = []() -> Face* {
      const ResourceEntry* entry =
          LookUpResource(ProgramModule(), kTextFaceResource, kRcDataResource);
      if (entry == nullptr) return nullptr;
      auto* opened = new Face;
      if (stbtt_InitFont(&opened->info_, entry->data, 0) == 0) {
        delete opened;
        return nullptr;
      }
      opened->scale_ = stbtt_ScaleForMappingEmToPixels(&opened->info_, kTextFacePixelSize);
      int ascent = 0, descent = 0, gap = 0;
      stbtt_GetFontVMetrics(&opened->info_, &ascent, &descent, &gap);
      opened->ascent_ = static_cast<int>(std::ceil(ascent * opened->scale_));
      opened->height_ = opened->ascent_ - static_cast<int>(std::floor(descent * opened->scale_));
      return opened;
    }();
    return face;
  }

  int Ascent() const { return ascent_; }
  int LineHeight() const { return height_; }
  float Scale() const { return scale_; }
  int Kern(int previous, int next) const {
    return previous == 0 ? 0 : stbtt_GetCodepointKernAdvance(&info_, previous, next);
  }

  // Rendered once, then kept: the panel letters the same digits every frame.
  const Glyph& Of(int codepoint) {
    auto found = glyphs_.find(codepoint);
    if (found != glyphs_.end()) return found->second;
    Glyph& glyph = glyphs_[codepoint];
    int bearing = 0;
    stbtt_GetCodepointHMetrics(&info_, codepoint, &glyph.advance, &bearing);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetCodepointBitmapBox(&info_, codepoint, scale_, scale_, &x0, &y0, &x1, &y1);
    glyph.left = x0, glyph.top = y0;
    glyph.width = std::max(x1 - x0, 0), glyph.height = std::max(y1 - y0, 0);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
    if (!glyph.coverage.empty()) {
      stbtt_MakeCodepointBitmap(&info_, glyph.coverage.data(), glyph.width, glyph.height,
                                glyph.width, scale_, scale_, codepoint);
    }
    return glyph;
  }

 private:
  stbtt_fontinfo info_{};
  float scale_ = 1;
  int ascent_ = 0, height_ = 0;
  std::map<int, Glyph> glyphs_;
};

uint32_t Blend(uint32_t under, uint32_t over, int coverage) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int below = static_cast<int>((under >> shift) & 0xFF);
    const int above = static_cast<int>((over >> shift) & 0xFF);
    out |= static_cast<uint32_t>(below + (above - below) * coverage / 255) << shift;
  }
  return out;
}

}  // namespace

std::unique_ptr<Surface::Pixels> AllocatePixels(int width, int height, int bytesPerPixel) {
  return AllocateHeapPixels(width, height, bytesPerPixel);
}

void Surface::WriteText(const RECT& area, const char* text, COLORREF colour) {
  Face* face = Face::Get();
  if (face == nullptr || text == nullptr || text[0] == '\0' || Indexed()) return;
  // The line's width first, in font units, so that it can end at the area's right edge.
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const size_t length = std::strlen(text);
  int units = 0;
  for (size_t i = 0; i < length; ++i) {
    units += face->Kern(i == 0 ? 0 : bytes[i - 1], bytes[i]) + face->Of(bytes[i]).advance;
  }
  const int width = static_cast<int>(std::ceil(units * face->Scale()));
  const int baseline =
      area.top + (area.bottom - area.top - face->LineHeight()) / 2 + face->Ascent();
  const int clipLeft = std::max(area.left, 0), clipRight = std::min(area.right, Width());
  const int clipTop = std::max(area.top, 0), clipBottom = std::min(area.bottom, Height());
  const uint32_t pixel = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);

  float pen = static_cast<float>(area.right - width);
  for (size_t i = 0; i < length; ++i) {
    pen += face->Kern(i == 0 ? 0 : bytes[i - 1], bytes[i]) * face->Scale();
    const Glyph& glyph = face->Of(bytes[i]);
    const int left = static_cast<int>(std::lround(pen)) + glyph.left;
    const int top = baseline + glyph.top;
    for (int gy = 0; gy < glyph.height; ++gy) {
      const int y = top + gy;
      if (y < clipTop || y >= clipBottom) continue;
      auto* row = reinterpret_cast<uint32_t*>(Row(y));
      for (int gx = 0; gx < glyph.width; ++gx) {
        const int x = left + gx;
        const int coverage = glyph.coverage[static_cast<size_t>(gy) * glyph.width + gx];
        if (x < clipLeft || x >= clipRight || coverage == 0) continue;
        row[x] = Blend(row[x], pixel, coverage);
      }
    }
    pen += glyph.advance * face->Scale();
  }
}

}  // namespace skyrift::platform
