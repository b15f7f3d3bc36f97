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

}  // namespace

void LetterCentred(HDC dc, const RECT& area, const std::string& text, COLORREF colour) {
  if (dc == nullptr) return;
  const Ink ink = MeasureInk(text);
  const int width = ink.right - ink.left;
  if (width == 0) return;
  // Right-aligned text ends (kScratchWidth - ink.right) short of its rectangle's right edge.
  const int right = (area.left + area.right + width) / 2 + (kScratchWidth - ink.right);
  dc->WriteText(RECT{area.left, area.top, right, area.bottom}, text.c_str(), colour);
}

}  // namespace skyrift
