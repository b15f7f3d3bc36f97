'use strict';
// The forged pictures (uncompressed, bottom-up, 4- or 8-bit Windows bitmaps) read for comparing
// with what the canvas shows, and the canvas's pixels as the page reads them.
const fs = require('fs');

class Picture {
  constructor(width, height, rgb) {
    this.width = width;
    this.height = height;
    this.rgb = rgb;  // 0xRRGGBB per pixel, top row first
  }

  static fromBmp(file) {
    const bytes = fs.readFileSync(file);
    if (bytes.toString('latin1', 0, 2) !== 'BM') throw new Error(`${file}: not a bitmap`);
    const pixelsAt = bytes.readUInt32LE(10);
    const headerSize = bytes.readUInt32LE(14);
    const width = bytes.readInt32LE(18);
    const height = bytes.readInt32LE(22);
    const bits = bytes.readUInt16LE(28);
    const colours = bytes.readUInt32LE(46) || 1 << bits;
    const palette = [];
    for (let i = 0; i < colours; ++i) {
      const at = 14 + headerSize + 4 * i;
      palette.push((bytes[at + 2] << 16) | (bytes[at + 1] << 8) | bytes[at]);
    }
    const stride = Math.floor((width * bits + 31) / 32) * 4;
    const rgb = new Uint32Array(width * height);
    for (let y = 0; y < height; ++y) {
      const row = pixelsAt + (height - 1 - y) * stride;
      for (let x = 0; x < width; ++x) {
        const index = bits === 8 ? bytes[row + x] : (bytes[row + (x >> 1)] >> (x & 1 ? 0 : 4)) & 15;
        rgb[y * width + x] = palette[index];
      }
    }
    return new Picture(width, height, rgb);
  }

  // The canvas's pixels, from its RGBA bytes (base64).
  static fromCanvas(width, height, base64) {
    const bytes = Buffer.from(base64, 'base64');
    const rgb = new Uint32Array(width * height);
    for (let i = 0; i < rgb.length; ++i) {
      rgb[i] = (bytes[4 * i] << 16) | (bytes[4 * i + 1] << 8) | bytes[4 * i + 2];
    }
    return new Picture(width, height, rgb);
  }

  at(x, y) {
    return this.rgb[y * this.width + x];
  }
}

const MAGENTA = 0xff00ff;

// Where a frame of `picture` (its frames side by side) shows with at least `share` of its opaque
// pixels, searching the rows top to bottom and the columns left to right; null when nowhere.
function locate(shot, picture, frames, left, top, right, bottom, share) {
  const frameWidth = picture.width / frames;
  for (let f = 0; f < frames; ++f) {
    const dots = [];
    for (let y = 0; y < picture.height; ++y) {
      for (let x = 0; x < frameWidth; ++x) {
        const colour = picture.at(f * frameWidth + x, y);
        if (colour !== MAGENTA) dots.push([x, y, colour]);
      }
    }
    const allowed = Math.floor((1 - share) * dots.length);
    for (let y = top; y <= bottom; ++y) {
      for (let x = left; x <= right; ++x) {
        let missing = 0;
        for (const [dx, dy, colour] of dots) {
          const sx = x + dx, sy = y + dy;
          const inside = sx >= 0 && sx < shot.width && sy >= 0 && sy < shot.height;
          if (!inside || shot.at(sx, sy) !== colour) {
            if (++missing > allowed) break;
          }
        }
        if (missing <= allowed) return {x, y, frame: f};
      }
    }
  }
  return null;
}

module.exports = {Picture, locate};
