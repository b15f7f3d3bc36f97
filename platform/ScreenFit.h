// How the game's fixed-size frame meets a screen of any size: the largest rectangle of the
// frame's shape inside an area, the size a window takes so that it fits the usable part of its
// screen, and the nearest-neighbour copy of the frame into a larger or smaller picture. Both
// platform layers share it; nothing above the platform knows the screen's size.
#pragma once

#include <cstddef>
#include <cstdint>

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

// Copies a 32-bit picture into the `to` rectangle of a 32-bit target, each target pixel from
// the source pixel under its centre, so that edges stay sharp at any scale.
void ScaleNearest(const uint8_t* source, size_t sourcePitch, int sourceWidth, int sourceHeight,
                  uint8_t* target, size_t targetPitch, const Placement& to);

// Paints black every pixel of a 32-bit target outside `picture`.
void FillBars(uint8_t* target, size_t targetPitch, int targetWidth, int targetHeight,
              const Placement& picture);

}  // namespace skyrift::platform
