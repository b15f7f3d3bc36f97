#include "graphics/Lettering.h"

#include <algorithm>
#include <map>

namespace skyrift {
namespace {

constexpr int kScratchWidth = 900, kScratchHeight = 40;
constexpr COLORREF kGround = RGB(0, 0, 0), kInk = RGB(255, 255, 255);

struct Ink {
  int left = 0, right = 0;  // from the scratch's left edge; right exclusive
};

// Where the text's ink lies when lettered right-aligned in the scratch. The screens letter the
// same few lines every frame: each is measured once.
Ink MeasureInk(const std::string& text) {
  static std::map<std::string, Ink> measured;
  if (const auto found = measured.find(text); found != measured.end()) return found->second;
  Ink& ink = measured[text];
  const auto scratch = platform::Surface::CreateTarget(kScratchWidth, kScratchHeight, kGround);
  if (scratch == nullptr || text.empty()) return ink;
  scratch->WriteText(RECT{0, 0, kScratchWidth, kScratchHeight}, text.c_str(), kInk);
  ink.left = kScratchWidth;
  for (int y = 0; y < kScratchHeight; ++y) {
    for (int x = 0; x < kScratchWidth; ++x) {
      if (scratch->GetPixel(x, y) == kGround) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x + 1);
    }
  }
  if (ink.right == 0) ink.left = 0;
  return ink;
}

// A line wider than its area (a long key name on a narrow plate) is lettered at its own width
// over the area's ground stretched to match, then squeezed back into the area column by column:
// narrower letters rather than letters cut off or spilling over the plate's rim.
void LetterSqueezed(HDC dc, const RECT& area, const std::string& text, const Ink& ink,
                    COLORREF colour) {
  const int room = area.right - area.left, height = area.bottom - area.top;
  const int width = ink.right - ink.left;
  const auto wide = platform::Surface::CreateTarget(width, height, kGround);
  if (wide == nullptr) return;
  for (int x = 0; x < width; ++x) {
    wide->Blit(*dc, area.left + x * room / width, area.top, 1, height, x, 0, false, 0);
  }
  // Right-aligned, the ink ends (kScratchWidth - ink.right) short of its rectangle's right edge.
  wide->WriteText(RECT{0, 0, width + (kScratchWidth - ink.right), height}, text.c_str(), colour);
  for (int x = 0; x < room; ++x) {
    dc->Blit(*wide, x * width / room, 0, 1, height, area.left + x, area.top, false, 0);
  }
}

}  // namespace

void LetterCentred(HDC dc, const RECT& area, const std::string& text, COLORREF colour) {
  if (dc == nullptr) return;
  const Ink ink = MeasureInk(text);
  const int width = ink.right - ink.left;
  if (width == 0) return;
  if (width > area.right - area.left && area.bottom > area.top) {
    LetterSqueezed(dc, area, text, ink, colour);
    return;
  }
  // Right-aligned text ends (kScratchWidth - ink.right) short of its rectangle's right edge.
  const int right = (area.left + area.right + width) / 2 + (kScratchWidth - ink.right);
  dc->WriteText(RECT{area.left, area.top, right, area.bottom}, text.c_str(), colour);
}

}  // namespace skyrift
