// Lettering through FreeType: strings become coverage masks, which are then filled,
// outlined and made to glow like any other shape.
#pragma once

#include <filesystem>
#include <string>

#include "images/Canvas.h"

namespace skyrift::forge {

enum class Face {
  Logo,       // heavy geometric display face for the title
  Display,    // squared technical face for banners and headings
  Bold,       // plain bold sans, the face the game prints its numbers in
  Condensed,  // condensed bold sans for small labels
};

// Where the faces come from; Display and Logo fall back to the bold sans when their
// packages are missing, so a bare machine still builds the game.
std::filesystem::path FacePath(Face face);
std::filesystem::path GameTextFace();
// False with a message on stderr if not even the bold sans can be opened.
bool FontsReady();

struct TextMask {
  Mask mask;
  int baseline = 0;                                // row of the baseline inside the mask
  int inkX0 = 0, inkY0 = 0, inkX1 = 0, inkY1 = 0;  // bounds of the inked pixels (exclusive ends)
};

// Renders text at a pixel size; tracking adds that many pixels between letters. pad leaves
// room around the letters for outlines and glows.
TextMask RenderText(Face face, float pixelSize, const std::string& text, float tracking = 0,
                    int pad = 0);

struct TextStyle {
  Rgba top = Hex(0xFFFFFF), bottom = Hex(0xFFFFFF);  // vertical gradient over the ink
  float outline = 0;                                 // width of a dark rim
  Rgba outlineColour = Hex(0x000000);
  int glow = 0;  // radius of a soft light behind
  Rgba glowColour = Hex(0xFFFFFF);
  float glowStrength = 1.0f;
  int shadow = 0;  // offset of a drop shadow down-right
  Rgba shadowColour = Hex(0x000000, 0.7f);
  float tracking = 0;
};

enum class Align { Left, Centre, Right };

// Draws text so that its ink is aligned horizontally at x (left edge, centre or right edge)
// and vertically centred on cy. Returns the ink rectangle on the canvas.
Box DrawText(Canvas& canvas, Face face, float pixelSize, const std::string& text, float x, float cy,
             const TextStyle& style, Align align = Align::Centre);

}  // namespace skyrift::forge
