// FreeType glyph rendering into masks, with kerning; faces are opened once and kept.
#include "images/Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <map>
#include <memory>

namespace skyrift::forge {

namespace {

const char* const kBoldSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

std::filesystem::path Preferred(Face face) {
  switch (face) {
    case Face::Logo:
      return "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Black.otf";
    case Face::Display:
      return "/usr/share/fonts/truetype/play/Play-Bold.ttf";
    case Face::Bold:
      return kBoldSans;
    case Face::Condensed:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
  }
  return kBoldSans;
}

struct Library {
  FT_Library lib = nullptr;
  std::map<std::string, FT_Face> faces;
  Library() {
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
  }
  ~Library() {
    for (auto& [name, f] : faces) FT_Done_Face(f);
    if (lib) FT_Done_FreeType(lib);
  }
  FT_Face Open(const std::filesystem::path& path) {
    if (!lib) return nullptr;
    auto it = faces.find(path.string());
    if (it != faces.end()) return it->second;
    FT_Face f = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &f) != 0) f = nullptr;
    faces[path.string()] = f;
    return f;
  }
};

Library& Lib() {
  static Library lib;
  return lib;
}

FT_Face OpenFace(Face face) {
  FT_Face f = Lib().Open(FacePath(face));
  return f;
}

}  // namespace

std::filesystem::path FacePath(Face face) {
  const std::filesystem::path p = Preferred(face);
  std::error_code ec;
  if (std::filesystem::exists(p, ec)) return p;
  // Said once per face: the pictures still build, but their lettering will differ.
  static bool warned[4] = {};
  if (!warned[static_cast<int>(face)]) {
    warned[static_cast<int>(face)] = true;
    std::fprintf(stderr, "forge: %s is missing, lettering with %s instead (run scripts/setup)\n",
                 p.c_str(), kBoldSans);
  }
  return kBoldSans;
}

std::filesystem::path GameTextFace() {
  return kBoldSans;
}

bool FontsReady() {
  if (Lib().Open(kBoldSans) == nullptr) {
    std::fprintf(stderr, "forge: cannot open the font %s (install fonts-dejavu-core)\n", kBoldSans);
    return false;
  }
  return true;
}

TextMask RenderText(Face face, float pixelSize, const std::string& text, float tracking, int pad) {
  TextMask out;
  FT_Face f = OpenFace(face);
  if (!f) return out;
  FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::lround(pixelSize)));
  const int ascender = static_cast<int>(f->size->metrics.ascender >> 6);
  const int descender = static_cast<int>(-(f->size->metrics.descender >> 6));

  // First pass: pen positions with kerning.
  struct Placed {
    FT_UInt glyph;
    float pen;
  };
  std::vector<Placed> placed;
  float pen = 0;
  FT_UInt previous = 0;
  for (unsigned char ch : text) {
    const FT_UInt g = FT_Get_Char_Index(f, ch);
    if (previous && g && FT_HAS_KERNING(f)) {
      FT_Vector k;
      if (FT_Get_Kerning(f, previous, g, FT_KERNING_DEFAULT, &k) == 0)
        pen += static_cast<float>(k.x) / 64.0f;
    }
    placed.push_back({g, pen});
    if (FT_Load_Glyph(f, g, FT_LOAD_DEFAULT) == 0)
      pen += static_cast<float>(f->glyph->advance.x) / 64.0f;
    pen += tracking;
    previous = g;
  }
  const int width = static_cast<int>(std::ceil(pen)) + 2 * pad + 4;
  const int height = ascender + descender + 2 * pad + 2;
  out.mask = Mask(width, height);
  out.baseline = pad + ascender;
  for (const Placed& p : placed) {
    if (FT_Load_Glyph(f, p.glyph, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = f->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    const int ox = pad + 1 + static_cast<int>(std::lround(p.pen)) + slot->bitmap_left;
    const int oy = out.baseline - slot->bitmap_top;
    for (unsigned int y = 0; y < bm.rows; ++y)
      for (unsigned int x = 0; x < bm.width; ++x) {
        const int mx = ox + static_cast<int>(x), my = oy + static_cast<int>(y);
        if (mx < 0 || my < 0 || mx >= width || my >= height) continue;
        const float v = bm.buffer[y * static_cast<unsigned>(bm.pitch) + x] / 255.0f;
        out.mask.At(mx, my) = std::min(1.0f, out.mask.At(mx, my) + v);
      }
  }
  out.inkX0 = width;
  out.inkY0 = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (out.mask.At(x, y) > 0.02f) {
        out.inkX0 = std::min(out.inkX0, x);
        out.inkY0 = std::min(out.inkY0, y);
        out.inkX1 = std::max(out.inkX1, x + 1);
        out.inkY1 = std::max(out.inkY1, y + 1);
      }
  if (out.inkX1 == 0) out.inkX0 = out.inkY0 = 0;
  return out;
}

Box DrawText(Canvas& canvas, Face face, float pixelSize, const std::string& text, float x, float cy,
             const TextStyle& style, Align align) {
  const int pad = static_cast<int>(std::ceil(style.outline)) + style.glow + style.shadow + 2;
  const TextMask t = RenderText(face, pixelSize, text, style.tracking, pad);
  const int inkW = t.inkX1 - t.inkX0, inkH = t.inkY1 - t.inkY0;
  float left = x;
  if (align == Align::Centre) left = x - inkW * 0.5f;
  if (align == Align::Right) left = x - inkW;
  const int dx = static_cast<int>(std::lround(left)) - t.inkX0;
  const int dy = static_cast<int>(std::lround(cy - inkH * 0.5f)) - t.inkY0;
  const float top = static_cast<float>(dy + t.inkY0), span = std::max(1, inkH);

  if (style.glow > 0)
    AddMask(canvas, Blur(Dilate(t.mask, style.glow * 0.3f), style.glow), dx, dy, style.glowColour,
            style.glowStrength);
  if (style.shadow > 0)
    DrawMask(canvas, Dilate(t.mask, style.outline), dx + style.shadow, dy + style.shadow,
             style.shadowColour);
  if (style.outline > 0)
    DrawMask(canvas, Dilate(t.mask, style.outline), dx, dy, style.outlineColour);
  DrawMask(canvas, t.mask, dx, dy,
           [&](Vec p) { return Mix(style.top, style.bottom, Clamp01((p.y - top) / span)); });
  return {dx + t.inkX0, dy + t.inkY0, dx + t.inkX1, dy + t.inkY1};
}

}  // namespace skyrift::forge
