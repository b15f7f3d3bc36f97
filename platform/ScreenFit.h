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
// frame, and a few resampled rows, so a layer keeps one scaler for its window.
class FrameScaler {
 public:
  // AVX2 is used where the processor has it, unless `wideVectors` is false (for the tests, which
  // hold both ways to the same pixels).
  explicit FrameScaler(bool wideVectors = true);

  void Scale(const uint8_t* source, size_t sourcePitch, int sourceWidth, int sourceHeight,
             uint8_t* target, size_t targetPitch, const Placement& to);

 private:
  void Plan(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);
  const uint32_t* Resampled(const uint8_t* source, size_t sourcePitch, int row);
  void ResampleRow(const uint32_t* from, uint32_t* out) const;

  [[maybe_unused]] bool wide_ = false;  // AVX2 in use (never read where there is no SSE2)
  int sourceWidth_ = 0, sourceHeight_ = 0, targetWidth_ = 0, targetHeight_ = 0;
  // Across, target pixels go by fours. The pixels of a four take the same number of neighbouring
  // source pixels, each from its own first, with weights of 0 where it takes fewer. Each tap's
  // weights for the four follow one another, each twice (for each 16-bit half of a pixel).
  std::vector<int> columnFirst_;
  std::vector<int> fourTaps_;        // the taps of each four
  std::vector<size_t> fourWeights_;  // where a four's weights start
  std::vector<uint16_t> columnWeights_;
  bool twoTaps_ = false;  // every four takes two taps
  // Down: each target row's first source row, how many rows, and where its weights start.
  std::vector<int> rowFirst_, rowCount_, rowOffset_;
  std::vector<uint16_t> rowWeights_;
  // The last source rows resampled across, as many as one target row takes, and which source
  // row each holds: a target row is mixed from rows still in the cache.
  std::vector<uint32_t> resampled_;
  std::vector<int> held_;
  std::vector<const uint32_t*> taken_;  // the rows the target row being made takes
};

// Paints black every pixel of a 32-bit target outside `picture`.
void FillBars(uint8_t* target, size_t targetPitch, int targetWidth, int targetHeight,
              const Placement& picture);

}  // namespace skyrift::platform
