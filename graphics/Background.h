// What is drawn behind the sprites: a plain fill or image, a twinkling star field, or a
// scrolling layer that moves its view over a long image and stops at the end.
#pragma once

#include <memory>

#include "graphics/Bitmap.h"
#include "platform/Types.h"

namespace skyrift {

class Background {
 public:
  Background(int width, int height, COLORREF colour);
  explicit Background(Bitmap* image);
  virtual ~Background() = default;

  virtual void Update() {}
  virtual void Draw(HDC dc);

 protected:
  int width;
  int height;
  COLORREF colour;
  Bitmap* image;  // not owned: the game owns its images
};

class StarField : public Background {
 public:
  static constexpr int kMaxStars = 100;

  StarField(int width, int height, int starCount, int twinkleDelay);
  void Update() override;
  void Draw(HDC dc) override;

  int GetStarCount() const { return starCount; }
  POINT GetStar(int index) const { return stars[index]; }
  COLORREF GetStarColour(int index) const { return starColours[index]; }

 private:
  int starCount;
  int twinkleDelay;  // a star changes brightness on about one update in this many
  POINT stars[kMaxStars];
  COLORREF starColours[kMaxStars];
};

// Named by the way the view travels over the image; the picture moves the other way.
enum ScrollDirection { ViewUp = 1, ViewDown = 2, ViewRight = 3, ViewLeft = 4 };

class ScrollingLayer : public Background {
 public:
  ScrollingLayer(Bitmap* image, int viewWidth, int viewHeight, int direction, int speed,
                 BOOL transparent, COLORREF keyColour);
  void Update() override;
  void Draw(HDC dc) override;

  int GetViewWidth() const { return viewWidth; }
  int GetViewHeight() const { return viewHeight; }
  int GetOffset() const { return offset; }

 private:
  int viewWidth;   // grows under ViewLeft
  int viewHeight;  // grows under ViewUp
  int direction;
  int speed;  // pixels per update
  BOOL transparent;
  COLORREF keyColour;
  int offset = 0;  // how far the view has moved under ViewDown and ViewRight

  // An opaque layer scrolled up or down shows, frame after frame, nearly the rows it showed
  // before: they are kept converted to the frame's pixels, each converted once as it comes into
  // view, and a frame copies them instead of looking up every pixel in the palette.
  bool KeepsShownRows() const;
  // Draws rows [top, top + rows) of the image, from `left` on, at the frame's top.
  void DrawKeptRows(HDC dc, int left, int top, int rows);
  void KeepRows(int left, int from, int to);  // converts image rows [from, to) into `kept`
  std::unique_ptr<platform::Surface> kept;    // image row y at row y % its height
  int keptTop = 0, keptBottom = 0;            // the image rows it holds
};

}  // namespace skyrift
