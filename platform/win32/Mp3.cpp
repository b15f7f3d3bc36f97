// The system's ACM MP3 codec turns the file's frames into 16-bit PCM at the file's own rate
// and channel count; the mixer's format is made from that here. The codec is fed the audio
// frames alone (platform/Mp3Frames.h): a damaged stretch is stepped over, and the encoder's
// info frame, which a decoder would play as a frame of silence, is left out. A looping piece
// keeps one codec fed across its seam, and the silence the encoder put at either end is cut,
// so the loop is seamless.
#include "platform/win32/Mp3.h"

#include "platform/win32/Win32.h"

#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>

#include "platform/Mp3Frames.h"

namespace skyrift::platform {
namespace {

// Compressed bytes handed to the codec at a time: about a quarter of a second, decoded on the
// mixer thread while it holds the mix, so a call is short.
constexpr size_t kSourceBytes = 4 * 1024;
// The samples a layer III decoder's synthesis lags behind its input, by which the encoder's
// recorded delay and padding are counted.
constexpr uint64_t kDecoderDelay = 529;

// Widens to stereo and resamples (linearly) to `outputRate`; `pcm` holds `channels` (1 or 2)
// interleaved samples per frame at `rate`.
StereoPcm ToOutputFormat(const int16_t* pcm, size_t frames, int channels, int rate,
                         int outputRate) {
  const auto outFrames =
      static_cast<size_t>((static_cast<uint64_t>(frames) * outputRate + rate - 1) / rate);
  StereoPcm out(outFrames * 2);
  if (frames == 0) return out;
  // Position in the source in 32.32 fixed point, so long samples keep their pitch exactly.
  const uint64_t step = (static_cast<uint64_t>(rate) << 32) / outputRate;
  uint64_t position = 0;
  for (size_t i = 0; i < outFrames; ++i, position += step) {
    const size_t at = static_cast<size_t>(position >> 32);
    const size_t next = at + 1 < frames ? at + 1 : at;
    const int64_t fraction = static_cast<int64_t>((position >> 16) & 0xFFFF);
    for (int side = 0; side < 2; ++side) {
      const int channel = channels == 2 ? side : 0;
      const int64_t a = pcm[at * channels + channel], b = pcm[next * channels + channel];
      out[i * 2 + side] = static_cast<int16_t>(a + (((b - a) * fraction) >> 16));
    }
  }
  return out;
}

class Mp3Stream : public MusicSource {
 public:
  Mp3Stream(JoinedMp3& music, bool loop, int outputRate)
      : music_(music), frames_(music.Frames()), loop_(loop), outputRate_(outputRate) {}
  ~Mp3Stream() override {
    if (stream_ != nullptr) acmStreamClose(stream_, 0);
  }

  bool Open() {
    const Mp3Frame& first = frames_.audio.front();
    MPEGLAYER3WAVEFORMAT source{};
    source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source.wfx.nChannels = static_cast<WORD>(frames_.channels);
    source.wfx.nSamplesPerSec = static_cast<DWORD>(frames_.rate);
    source.wfx.nAvgBytesPerSec =
        static_cast<DWORD>(first.bytes * frames_.rate / frames_.samplesPerFrame);
    source.wfx.nBlockAlign = 1;
    source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    source.wID = MPEGLAYER3_ID_MPEG;
    source.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    source.nBlockSize = static_cast<WORD>(first.bytes);
    source.nFramesPerBlock = 1;
    source.nCodecDelay = 0;
    WAVEFORMATEX pcm{WAVE_FORMAT_PCM,
                     static_cast<WORD>(frames_.channels),
                     static_cast<DWORD>(frames_.rate),
                     static_cast<DWORD>(frames_.rate * frames_.channels * 2),
                     static_cast<WORD>(frames_.channels * 2),
                     16,
                     0};
    if (acmStreamOpen(&stream_, nullptr, &source.wfx, &pcm, nullptr, 0, 0, 0) != 0) {
      stream_ = nullptr;
      return false;
    }
    DWORD outputBytes = 0;
    acmStreamSize(stream_, kSourceBytes * 2, &outputBytes, ACM_STREAMSIZEF_SOURCE);
    output_.resize(std::max<DWORD>(outputBytes, 256 * 1024));
    return true;
  }

  size_t Read(int16_t* stereo, size_t frames) override {
    size_t written = 0;
    while (written < frames) {
      if (readAt_ == ready_.size() && !Decode()) break;
      const size_t take = std::min((ready_.size() - readAt_) / 2, frames - written) * 2;
      std::copy_n(ready_.begin() + readAt_, take, stereo + written * 2);
      readAt_ += take;
      written += take / 2;
    }
    return written;
  }

 private:
  // Hands the codec its next stretch of frames and keeps what it gives back of the sound;
  // false when nothing more will come.
  bool Decode() {
    for (int attempt = 0; attempt < 16; ++attempt) {
      const size_t count = frames_.audio.size();
      while (pending_.size() < kSourceBytes && (loop_ || next_ < count)) {
        if (next_ == count) next_ = 0;  // straight on into the next pass, the codec fed throughout
        // A frame the file no longer holds (it changed while playing) is left out.
        music_.AppendFrame(next_++, pending_);
      }
      if (pending_.empty()) return false;
      const bool last = !loop_ && next_ == count;
      ACMSTREAMHEADER header{};
      header.cbStruct = sizeof header;
      header.pbSrc = pending_.data();
      header.cbSrcLength = static_cast<DWORD>(pending_.size());
      header.pbDst = output_.data();
      header.cbDstLength = static_cast<DWORD>(output_.size());
      if (acmStreamPrepareHeader(stream_, &header, 0) != 0) return false;
      const MMRESULT result = acmStreamConvert(
          stream_, &header, last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN);
      acmStreamUnprepareHeader(stream_, &header, 0);
      // What the codec cannot take is dropped rather than offered again: a stretch it refuses
      // is skipped, and the music plays on.
      const size_t used = result == 0 && header.cbSrcLengthUsed > 0 && !last
                              ? header.cbSrcLengthUsed
                              : pending_.size();
      pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
      const size_t got = result == 0 ? header.cbDstLengthUsed / (2 * frames_.channels) : 0;
      if (KeepSound(reinterpret_cast<const int16_t*>(output_.data()), got)) return true;
      if (last) return false;
    }
    return false;
  }

  // Moves the decoded frames that are sound into ready_, leaving out the decoder's lag at the
  // start and, in every pass, the encoder's delay and padding. False when none are.
  bool KeepSound(const int16_t* pcm, size_t frames) {
    const int channels = frames_.channels;
    const uint64_t pass = frames_.Samples();
    const uint64_t from = frames_.encoderDelay, to = pass - frames_.padding;
    kept_.clear();
    for (size_t i = 0; i < frames; ++i) {
      const uint64_t decoded = decoded_ + i;
      if (decoded < kDecoderDelay) continue;
      const uint64_t inPass = (decoded - kDecoderDelay) % pass;
      if (inPass >= from && inPass < to)
        kept_.insert(kept_.end(), pcm + i * channels, pcm + (i + 1) * channels);
    }
    decoded_ += frames;
    if (kept_.empty()) return false;
    ready_ =
        ToOutputFormat(kept_.data(), kept_.size() / channels, channels, frames_.rate, outputRate_);
    readAt_ = 0;
    return true;
  }

  JoinedMp3& music_;
  const Mp3Frames& frames_;
  bool loop_;
  int outputRate_;
  HACMSTREAM stream_ = nullptr;
  size_t next_ = 0;               // the next frame to hand to the codec
  std::vector<uint8_t> pending_;  // handed over and not yet taken by the codec
  std::vector<uint8_t> output_;
  uint64_t decoded_ = 0;  // frames the codec has given back so far
  std::vector<int16_t> kept_;
  StereoPcm ready_;  // decoded and not yet read, from readAt_ on
  size_t readAt_ = 0;
};

}  // namespace

std::unique_ptr<MusicSource> PlayMp3(JoinedMp3& music, bool loop, int outputRate,
                                     std::string* why) {
  auto stream = std::make_unique<Mp3Stream>(music, loop, outputRate);
  if (!stream->Open()) {
    if (why != nullptr) *why = kNoMp3Codec;
    return nullptr;
  }
  return stream;
}

}  // namespace skyrift::platform
