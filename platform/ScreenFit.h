// How the game's fixed-size frame meets a screen of any size: the largest rectangle of the
// frame's shape inside an area, the size a window takes so that it fits the usable part of its
// screen, and the copy of the frame into a larger or smaller picture. Every platform layer
// shares it; nothing above the platform knows the screen's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skyrift::platform {

struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const Placement&, const Placement&) = default;
};

// The largest rectangle of the frame's shape that fits the area, centred in it; what is left
// over on two sides are the bars.
Placement Letterbox(int frameWidth, int frameHeight, int areaWidth, int areaHeight);

// The client size of a window showing the frame on a monitor of `dpi` dots per inch (96 is
// 100%), shrunk to the largest size of the same shape whose outer size (the client plus
// `extraWidth` and `extraHeight` of borders and caption) fits the usable area.
Placement FitWindow(int frameWidth, int frameHeight, int dpi, int extraWidth, int extraHeight,
                    int usableWidth, int usableHeight);

// Copies a 32-bit picture into the `to` rectangle of a 32-bit target. Smaller, each target
// pixel is the average of the source pixels it covers, so lettering keeps every row and column;
// larger, each source pixel keeps its colour and only the last fraction of a pixel at its edges
// is blended with its neighbour, so every stroke comes out equally wide and sharp. At the same
// size it is a plain copy. It keeps what it worked out for one pair of sizes for the next
// frame, and a row buffer, so a layer keeps one scaler for its window.
class FrameScaler {
 public:
  void Scale(const uint8_t* source, size_t sourcePitch, int sourceWidth, int sourceHeight,
             uint8_t* target, size_t targetPitch, const Placement& to);

  // For each pixel along one side of the target: the source pixels it takes and how much of
  // each, out of 256.
  struct Taps {
    std::vector<int> first;   // the first source pixel of each target pixel
    std::vector<int> count;   // how many from there
    std::vector<int> offset;  // where its weights start in `weights`
    std::vector<uint16_t> weights;
  };
  static Taps TapsFor(int sourceLength, int targetLength);

 private:
  int sourceWidth_ = 0, sourceHeight_ = 0, targetWidth_ = 0, targetHeight_ = 0;
  Taps columns_, rows_;
  std::vector<uint32_t> across_;  // every source row resampled to the target's width
  // Enlarging across: each target pixel's two source pixels, and the second's weight per byte.
  bool twoTaps_ = false;
  std::vector<uint32_t> left_, right_;
  std::vector<uint16_t> byteWeights_;
};

// Paints black every pixel of a 32-bit target outside `picture`.
void FillBars(uint8_t* target, size_t targetPitch, int targetWidth, int targetHeight,
              const Placement& picture);

}  // namespace skyrift::platform
