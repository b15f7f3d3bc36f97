// Pieces of the game's music cut short, so that a test hears a loop go round in seconds, and
// the measure of how long the loop is as it reaches the output.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/Mp3Frames.h"

namespace skyrift::testing {

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The info frame and the first `count` audio frames of `mp3`, with `junk` random bytes after
// the first half of them.
inline std::vector<uint8_t> ShortPiece(const std::vector<uint8_t>& mp3, size_t count,
                                       size_t junk = 0) {
  std::string why;
  platform::Mp3Frames frames = *platform::ScanMp3(mp3.data(), mp3.size(), why);
  frames.audio.resize(std::min(count, frames.audio.size()));
  platform::JoinedMp3 joined(platform::ReadFromMemory(mp3.data(), mp3.size()), frames);
  std::vector<uint8_t> piece(joined.Size());
  joined.Read(0, piece.data(), piece.size());
  std::mt19937 random(7);
  std::vector<uint8_t> noise(junk);
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
  const size_t middle = frames.info ? frames.info->bytes : 0;
  size_t at = middle;
  for (size_t i = 0; i < count / 2; ++i) at += frames.audio[i].bytes;
  piece.insert(piece.begin() + static_cast<std::ptrdiff_t>(at), noise.begin(), noise.end());
  return piece;
}

// The samples per channel one pass of `mp3` lasts once the encoder's delay and padding are cut.
inline size_t PassLength(const std::vector<uint8_t>& mp3) {
  std::string why;
  const platform::Mp3Frames frames = *platform::ScanMp3(mp3.data(), mp3.size(), why);
  return frames.Samples() - frames.encoderDelay - frames.padding;
}

// How many frames after `from` the stretch of interleaved stereo `heard` that starts there
// comes round again: the lag between `shortest` and `longest` at which the two stretches
// differ least.
inline size_t RepeatsAfter(const std::vector<float>& heard, size_t from, size_t shortest,
                           size_t longest) {
  constexpr size_t kWindow = 4096;  // frames
  size_t best = 0;
  double bestDifference = std::numeric_limits<double>::max();
  for (size_t lag = shortest; lag <= longest && (from + lag + kWindow) * 2 <= heard.size(); ++lag) {
    double difference = 0.0;
    for (size_t i = from * 2; i < (from + kWindow) * 2 && difference < bestDifference; ++i) {
      const double d = heard[i] - heard[i + lag * 2];
      difference += d * d;
    }
    if (difference < bestDifference) bestDifference = difference, best = lag;
  }
  return best;
}

}  // namespace skyrift::testing
