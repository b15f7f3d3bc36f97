// The audio frames of an MPEG layer III file, found by their headers: what a decoder is fed,
// with everything else (tags, stray bytes, a damaged stretch) left out, and the encoder's info
// frame apart, with the silence the encoder recorded at either end of the sound; and the music
// read from its file as it plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/SoundFile.h"

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

// The frames of the `size` bytes at `file`; nothing, with the reason in `why`, when there are
// none to play, there is more music than kMaxMusicSeconds (platform/Mixer.h), or nothing is
// left once the encoder's delay and padding are cut.
std::optional<Mp3Frames> ScanMp3(const uint8_t* file, size_t size, std::string& why);

// A piece of music as a decoder is fed it: the info frame (when there is one), made to count
// what follows, then the audio frames end to end, without what a decoder would stumble over
// (tags, stray bytes, a damaged stretch). Read from its file a stretch at a time as it plays:
// only where the frames lie is kept, never the file. Reads may come from any thread.
class JoinedMp3 {
 public:
  // The frames `frames` found in what `read` gives.
  JoinedMp3(ReadAt read, Mp3Frames frames);

  const Mp3Frames& Frames() const { return frames_; }
  // Bytes in the joined stream.
  uint64_t Size() const { return starts_.back(); }
  // Copies up to `bytes` bytes of the joined stream from `at`; returns how many, fewer at its
  // end or where the file no longer holds what it held when it was scanned.
  size_t Read(uint64_t at, uint8_t* into, size_t bytes);
  // Appends audio frame `index` to `into`; false when the file no longer holds it.
  bool AppendFrame(size_t index, std::vector<uint8_t>& into);

 private:
  ReadAt read_;
  Mp3Frames frames_;
  std::vector<uint8_t> info_;     // the info frame, made to count the frames joined
  std::vector<uint64_t> starts_;  // where each audio frame starts in the stream, then its end
  std::mutex lock_;
};

// The music in the `size` bytes `read` gives, all read once to be scanned (ScanMp3); nothing,
// with the reason in `why`, when there is none to play.
std::unique_ptr<JoinedMp3> OpenMp3(ReadAt read, uint64_t size, std::string& why);
// The same from a regular file, kept open while the music lives. A file longer than
// kMaxMusicSeconds take at MPEG's highest bit rate (with room for tags and damage) is refused
// unread.
std::unique_ptr<JoinedMp3> OpenMp3File(const char* name, std::string& why);

}  // namespace skyrift::platform
