#include "platform/Mp3Frames.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "platform/Mixer.h"
#include "platform/SoundFile.h"

namespace skyrift::platform {
namespace {

constexpr int kHighestBitrate = 320000;  // bits per second
// The music is read this much at a time as it plays: about two seconds at 128 kbit/s.
constexpr size_t kMusicReadAhead = 32 * 1024;

struct Header {
  int version = 0;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
  int rateIndex = 0;
  int rate = 0;
  int channels = 0;
  bool crc = false;
  size_t bytes = 0;

  bool SameStream(const Header& other) const {
    return version == other.version && rateIndex == other.rateIndex && channels == other.channels;
  }
};

// A layer III frame header at `p` (4 bytes); false if there is none.
bool ReadHeader(const uint8_t* p, Header& header) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0 || ((p[1] >> 1) & 3) != 1) return false;
  const int version = (p[1] >> 3) & 3;
  const int bitrateIndex = p[2] >> 4, rateIndex = (p[2] >> 2) & 3;
  if (version == 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return false;
  static constexpr int kBitrates[2][15] = {
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
  static constexpr int kRates[3] = {44100, 48000, 32000};
  const bool mpeg1 = version == 3;
  const int bitrate = kBitrates[mpeg1 ? 0 : 1][bitrateIndex] * 1000;
  header.version = version;
  header.rateIndex = rateIndex;
  header.rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  header.channels = (p[3] >> 6) == 3 ? 1 : 2;
  header.crc = (p[1] & 1) == 0;
  header.bytes =
      static_cast<size_t>((mpeg1 ? 144 : 72) * bitrate / header.rate + ((p[2] >> 1) & 1));
  return true;
}

// Reads the encoder's info frame ("Xing" or "Info" after the side information) and the delay
// and padding its encoder tag records; false when the frame is an ordinary one.
bool ReadInfoFrame(const uint8_t* frame, const Header& header, Mp3Frames& frames) {
  const size_t side =
      header.version == 3 ? (header.channels == 1 ? 17 : 32) : (header.channels == 1 ? 9 : 17);
  size_t at = 4 + (header.crc ? 2 : 0) + side;
  if (at + 8 > header.bytes ||
      (std::memcmp(frame + at, "Xing", 4) != 0 && std::memcmp(frame + at, "Info", 4) != 0)) {
    return false;
  }
  const uint8_t flags = frame[at + 7];
  at += 8;
  if (flags & 1) frames.infoCountAt = at, at += 4;
  if (flags & 2) frames.infoBytesAt = at, at += 4;
  at += (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
  // The encoder tag: nine bytes naming the encoder, then the delay and padding as two 12-bit
  // numbers at bytes 21 to 23.
  if (at + 24 <= header.bytes && std::isalpha(frame[at]) && std::isalpha(frame[at + 1])) {
    const uint8_t* gap = frame + at + 21;
    frames.encoderDelay = gap[0] << 4 | gap[1] >> 4;
    frames.padding = (gap[1] & 0x0F) << 8 | gap[2];
  }
  return true;
}

}  // namespace

std::optional<Mp3Frames> ScanMp3(const uint8_t* file, size_t size, std::string& why) {
  if (file == nullptr || size == 0) {
    why = "it is empty";
    return std::nullopt;
  }
  if (size >= 12 && std::memcmp(file, "RIFF", 4) == 0 && std::memcmp(file + 8, "WAVE", 4) == 0) {
    why = "it is a WAV file, not MP3";
    return std::nullopt;
  }
  size_t at = 0, end = size;
  if (size >= 10 && std::memcmp(file, "ID3", 3) == 0) {
    at = 10 +
         ((file[6] & 0x7F) << 21 | (file[7] & 0x7F) << 14 | (file[8] & 0x7F) << 7 |
          (file[9] & 0x7F)) +
         (file[5] & 0x10 ? 10 : 0);
  }
  if (size >= 128 && std::memcmp(file + size - 128, "TAG", 3) == 0) end = size - 128;

  // A frame counts when the next one follows where it ends (or the file ends there); after a
  // stretch of damage, where a stray header is likelier, when two more follow.
  const auto followed = [&](size_t from, const Header& header, int count) {
    for (size_t next = from + header.bytes; count > 0; --count) {
      if (next == end) return true;
      Header following;
      if (next + 4 > end || !ReadHeader(file + next, following) || !following.SameStream(header) ||
          next + following.bytes > end) {
        return false;
      }
      next += following.bytes;
    }
    return true;
  };
  Mp3Frames frames;
  std::optional<Header> stream;
  bool inStep = false;  // the previous frame ended where this position is
  for (; at + 4 <= end;) {
    Header header;
    if (ReadHeader(file + at, header) && (!stream || header.SameStream(*stream)) &&
        at + header.bytes <= end && followed(at, header, inStep ? 1 : 2)) {
      if (!stream) {
        stream = header;
        frames.rate = header.rate;
        frames.channels = header.channels;
        frames.samplesPerFrame = header.version == 3 ? 1152 : 576;
        if (ReadInfoFrame(file + at, header, frames)) {
          frames.info = Mp3Frame{at, header.bytes};
          at += header.bytes;
          inStep = true;
          continue;
        }
      }
      frames.audio.push_back(Mp3Frame{at, header.bytes});
      at += header.bytes;
      inStep = true;
    } else {
      if (stream) ++frames.skippedBytes;
      ++at;
      inStep = false;
    }
  }
  if (frames.audio.empty()) {
    why = "it holds no MP3 sound";
    return std::nullopt;
  }
  if (frames.Seconds() > kMaxMusicSeconds) {
    why = "it holds " + std::to_string(std::llround(frames.Seconds())) +
          " s of music, more than the " + std::to_string(kMaxMusicSeconds) + " s music may";
    return std::nullopt;
  }
  // Looping or not, a piece that is all encoder's silence would play nothing, or loop nothing.
  if (uint64_t{static_cast<unsigned>(frames.encoderDelay + frames.padding)} >= frames.Samples()) {
    why = "it holds no sound once its encoder's silence is cut";
    return std::nullopt;
  }
  return frames;
}

JoinedMp3::JoinedMp3(ReadAt read, Mp3Frames frames)
    : read_(std::move(read)), frames_(std::move(frames)) {
  if (frames_.info) {
    info_.resize(frames_.info->bytes);
    if (!read_(frames_.info->at, info_.data(), info_.size())) info_.clear();
  }
  starts_.reserve(frames_.audio.size() + 1);
  uint64_t at = info_.size();
  for (const Mp3Frame& frame : frames_.audio) {
    starts_.push_back(at);
    at += frame.bytes;
  }
  starts_.push_back(at);
  // A crafted info frame may name fields past its own end: those are left alone, not written
  // over the next frame's header.
  const auto write = [this](size_t field, uint64_t value) {
    if (field == 0 || field + 4 > info_.size()) return;
    for (int i = 0; i < 4; ++i) info_[field + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
  };
  write(frames_.infoCountAt, frames_.audio.size());
  write(frames_.infoBytesAt, Size());
}

size_t JoinedMp3::Read(uint64_t at, uint8_t* into, size_t bytes) {
  std::lock_guard<std::mutex> hold(lock_);
  size_t done = 0;
  for (; done < bytes && at < info_.size(); ++done, ++at) into[done] = info_[at];
  // The frame holding `at`, then each after it.
  auto frame =
      static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), at) - starts_.begin()) -
      1;
  for (; done < bytes && frame < frames_.audio.size(); ++frame) {
    const uint64_t within = at - starts_[frame];
    const size_t take =
        static_cast<size_t>(std::min<uint64_t>(bytes - done, frames_.audio[frame].bytes - within));
    if (!read_(frames_.audio[frame].at + within, into + done, take)) break;
    done += take;
    at += take;
  }
  return done;
}

bool JoinedMp3::AppendFrame(size_t index, std::vector<uint8_t>& into) {
  const size_t had = into.size();
  into.resize(had + frames_.audio[index].bytes);
  std::lock_guard<std::mutex> hold(lock_);
  if (read_(frames_.audio[index].at, into.data() + had, frames_.audio[index].bytes)) return true;
  into.resize(had);
  return false;
}

std::unique_ptr<JoinedMp3> OpenMp3(ReadAt read, uint64_t size, std::string& why) {
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!read(0, bytes.data(), bytes.size())) {
    why = "it cannot be read";
    return nullptr;
  }
  std::optional<Mp3Frames> frames = ScanMp3(bytes.data(), bytes.size(), why);
  if (!frames) return nullptr;
  return std::make_unique<JoinedMp3>(std::move(read), std::move(*frames));
}

std::unique_ptr<JoinedMp3> OpenMp3File(const char* name, std::string& why) {
  auto file = std::make_shared<std::ifstream>();
  if (!OpenSoundFile(*file, name, why)) return nullptr;
  const auto size = static_cast<uint64_t>(file->tellg());
  if (size > uint64_t{kMaxMusicSeconds} * kHighestBitrate / 8 * 5 / 4) {
    why = "it is too large";
    return nullptr;
  }
  return OpenMp3(ReadAheadFromFile(std::move(file), kMusicReadAhead), size, why);
}

}  // namespace skyrift::platform
