// The audio frames of an MPEG layer III file, found by their headers: what a decoder is fed,
// with everything else (tags, stray bytes, a damaged stretch) left out, and the encoder's info
// frame apart, with the silence the encoder recorded at either end of the sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skyrift::platform {

struct Mp3Frame {
  size_t at = 0;     // in the file
  size_t bytes = 0;  // the whole frame, header included
};

struct Mp3Frames {
  int rate = 0;             // Hz
  int channels = 0;         // 1 or 2
  int samplesPerFrame = 0;  // per channel: 1152 for MPEG-1, 576 for MPEG-2 and 2.5
  std::vector<Mp3Frame> audio;
  std::optional<Mp3Frame> info;  // the encoder's info frame, which holds no sound
  size_t infoCountAt = 0;        // where in it the frame count is (big-endian), 0 when it has none
  size_t infoBytesAt = 0;        // where the file's size is, 0 when it has none
  int encoderDelay = 0;          // samples the encoder put before the sound, from the info frame
  int padding = 0;               // samples it put after the sound
  size_t skippedBytes = 0;       // bytes between frames that are no frame: damage

  uint64_t Samples() const { return uint64_t{audio.size()} * samplesPerFrame; }
  double Seconds() const { return rate == 0 ? 0.0 : static_cast<double>(Samples()) / rate; }
};

// The whole of a music file, or nothing with the reason in `why`. A file longer than
// kMaxMusicSeconds take at MPEG's highest bit rate (with room for tags and damage) is refused
// unread.
std::optional<std::vector<uint8_t>> ReadMusicFile(const char* name, std::string& why);

// The frames of the `size` bytes at `file`; nothing, with the reason in `why`, when there are
// none to play, there is more music than kMaxMusicSeconds (platform/Mixer.h), or nothing is
// left once the encoder's delay and padding are cut.
std::optional<Mp3Frames> ScanMp3(const uint8_t* file, size_t size, std::string& why);

// A music file read whole, and where its frames are in it.
struct Mp3File {
  std::vector<uint8_t> bytes;
  Mp3Frames frames;
};
// The file and its frames; nothing, with the reason in `why`, when it cannot be read or holds
// no music to play (ReadMusicFile, then ScanMp3).
std::optional<Mp3File> ReadMp3File(const char* name, std::string& why);

// Rewrites `file` (the bytes `frames` was scanned from) as the info frame (when there is one)
// and the audio frames end to end, in place, so that a long piece is never held twice: the same
// music without what a decoder would stumble over. The info frame is made to count what is
// joined, since a decoder that trims the encoder's padding finds the end of the sound by that
// count.
void JoinFrames(std::vector<uint8_t>& file, const Mp3Frames& frames);

}  // namespace skyrift::platform
