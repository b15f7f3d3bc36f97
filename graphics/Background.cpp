// Backgrounds: a plain fill or picture, a twinkling star field, and the scrolling layers the
// stages stack behind their sprites. Update moves them on; Draw only paints.
#include "graphics/Background.h"

#include <algorithm>

#include "platform/Random.h"

namespace skyrift {

Background::Background(int width, int height, COLORREF colour)
    : width(width), height(height), colour(colour), image(nullptr) {}

Background::Background(Bitmap* image)
    : width(image != nullptr ? image->GetWidth() : 0),
      height(image != nullptr ? image->GetHeight() : 0),
      colour(0),
      image(image) {}

void Background::Draw(HDC dc) {
  if (dc == nullptr) return;
  if (image != nullptr) {
    image->Draw(dc, 0, 0, FALSE);
    return;
  }
  dc->Fill(RECT{0, 0, width, height}, colour);
}

StarField::StarField(int width, int height, int starCount, int twinkleDelay)
    : Background(width, height, 0),
      starCount(std::clamp(starCount, 0, kMaxStars)),
      // A delay below 1 would divide by zero; 1 makes every star twinkle every update.
      twinkleDelay(std::max(twinkleDelay, 1)) {
  for (int i = 0; i < this->starCount; ++i) {
    // Both numbers are drawn even for an empty field, so the sequence does not depend on size.
    const int x = platform::Random();
    const int y = platform::Random();
    stars[i] = POINT{width > 0 ? x % width : 0, height > 0 ? y % height : 0};
    starColours[i] = RGB(128, 128, 128);
  }
}

void StarField::Update() {
  for (int i = 0; i < starCount; ++i) {
    if (platform::Random() % twinkleDelay != 0) continue;
    const auto level = static_cast<uint8_t>(platform::Random() % 256);
    starColours[i] = RGB(level, level, level);
  }
}

void StarField::Draw(HDC dc) {
  if (dc == nullptr) return;
  dc->Fill(RECT{0, 0, width, height}, RGB(0, 0, 0));
  for (int i = 0; i < starCount; ++i) dc->SetPixel(stars[i].x, stars[i].y, starColours[i]);
}

ScrollingLayer::ScrollingLayer(Bitmap* image, int viewWidth, int viewHeight, int direction,
                               int speed, BOOL transparent, COLORREF keyColour)
    : Background(image),
      viewWidth(viewWidth),
      viewHeight(viewHeight),
      direction(direction),
      speed(speed),
      transparent(transparent),
      keyColour(keyColour) {}

// The test comes before the step, so the last step may pass the end by less than `speed`;
// from then on the view stands still.
void ScrollingLayer::Update() {
  switch (direction) {
    case ViewUp:
      if (viewHeight < height) viewHeight += speed;
      break;
    case ViewDown:
      if (offset < height - viewHeight) offset += speed;
      break;
    case ViewRight:
      if (offset < width - viewWidth) offset += speed;
      break;
    case ViewLeft:
      if (viewWidth < width) viewWidth += speed;
      break;
    default:
      break;
  }
}

// The region is drawn at full size from the frame's top-left corner; the target clips it, and
// the status panel covers whatever falls below the play area. An opaque layer that scrolls up or
// down copies only the rows the target keeps, from those it keeps converted.
void ScrollingLayer::Draw(HDC dc) {
  if (image == nullptr) {
    Background::Draw(dc);
    return;
  }
  int left = 0;
  int top = 0;
  switch (direction) {
    case ViewUp:
    case ViewLeft:
      // The region keeps its bottom-right corner on the image's and grows up or left.
      left = width - viewWidth;
      top = height - viewHeight;
      break;
    case ViewDown:
      top = offset;
      break;
    case ViewRight:
      left = offset;
      break;
    default:
      return;
  }
  if (KeepsShownRows() && left >= 0 && top >= 0) {
    // Only the rows the frame keeps: in play, the play area above the panel.
    const int rows = std::min({viewHeight, height - top, dc->Clip().bottom});
    DrawKeptRows(dc, left, top, rows);
    return;
  }
  image->DrawRegion(dc, 0, 0, left, top, viewWidth, viewHeight, transparent, keyColour);
}

bool ScrollingLayer::KeepsShownRows() const {
  return !transparent && (direction == ViewUp || direction == ViewDown) &&
         image->GetHandle() != nullptr && image->GetHandle()->Indexed();
}

void ScrollingLayer::DrawKeptRows(HDC dc, int left, int top, int rows) {
  const int columns = std::min(viewWidth, width - left);
  if (rows <= 0 || columns <= 0) return;
  // Scrolled up or down, the view's left edge and width stay: the same columns are kept.
  if (kept == nullptr || kept->Height() < rows || kept->Width() != columns) {
    kept = platform::Surface::CreateTarget(columns, rows, 0);
    keptTop = keptBottom = top;
    if (kept == nullptr) {
      image->DrawRegion(dc, 0, 0, left, top, viewWidth, viewHeight, transparent, keyColour);
      return;
    }
  }
  const int bottom = top + rows;
  if (bottom <= keptTop || top >= keptBottom) {
    KeepRows(left, top, bottom);
  } else {
    KeepRows(left, top, keptTop);
    KeepRows(left, keptBottom, bottom);
  }
  keptTop = top;
  keptBottom = bottom;
  // Row y is at y % capacity: the rows drawn are one stretch of `kept`, or two across its end.
  const int capacity = kept->Height();
  const int first = top % capacity;
  const int before = std::min(rows, capacity - first);
  dc->Blit(*kept, 0, first, columns, before, 0, 0, false, 0);
  if (before < rows) dc->Blit(*kept, 0, 0, columns, rows - before, 0, before, false, 0);
}

void ScrollingLayer::KeepRows(int left, int from, int to) {
  const int capacity = kept->Height();
  for (int y = from; y < to;) {
    const int slot = y % capacity;
    const int count = std::min(to - y, capacity - slot);
    kept->Blit(*image->GetHandle(), left, y, kept->Width(), count, 0, slot, false, 0);
    y += count;
  }
}

}  // namespace skyrift
