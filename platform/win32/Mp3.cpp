// The system's ACM MP3 codec turns the file's frames into 16-bit PCM at the file's own rate
// and channel count; the mixer's format is made from that here.
#include "platform/win32/Mp3.h"

#include "platform/win32/Win32.h"

#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>

namespace skyrift::platform {
namespace {

// Compressed bytes handed to the codec at a time: about a quarter of a second, decoded on the
// mixer thread while it holds the mix, so a call is short.
constexpr size_t kSourceBytes = 4 * 1024;

struct FrameHeader {
  int rate = 0, channels = 0, bitrate = 0;  // Hz, 1 or 2, bits per second
  size_t bytes = 0;                          // the whole frame
};

// Reads an MPEG audio layer III frame header at `p`; false if there is none.
bool ReadHeader(const uint8_t* p, FrameHeader& header) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0 || ((p[1] >> 1) & 3) != 1) return false;
  const int version = (p[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
  const int bitrateIndex = p[2] >> 4, rateIndex = (p[2] >> 2) & 3;
  if (version == 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return false;
  static constexpr int kBitrates[2][15] = {
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
  static constexpr int kRates[3] = {44100, 48000, 32000};
  const bool mpeg1 = version == 3;
  header.bitrate = kBitrates[mpeg1 ? 0 : 1][bitrateIndex] * 1000;
  header.rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  header.channels = (p[3] >> 6) == 3 ? 1 : 2;
  const int padding = (p[2] >> 1) & 1;
  header.bytes = static_cast<size_t>((mpeg1 ? 144 : 72) * header.bitrate / header.rate + padding);
  return true;
}

// Where the audio frames start: past an ID3v2 tag, at the first frame header followed by
// another (or by the end of the file).
size_t FirstFrame(const std::vector<uint8_t>& file, FrameHeader& header) {
  size_t at = 0;
  if (file.size() >= 10 && std::memcmp(file.data(), "ID3", 3) == 0) {
    at = 10 + ((file[6] & 0x7F) << 21 | (file[7] & 0x7F) << 14 | (file[8] & 0x7F) << 7 | (file[9] & 0x7F));
  }
  for (; at + 4 <= file.size(); ++at) {
    if (!ReadHeader(&file[at], header)) continue;
    FrameHeader next;
    const size_t following = at + header.bytes;
    if (following >= file.size() || (following + 4 <= file.size() && ReadHeader(&file[following], next))) {
      return at;
    }
  }
  return file.size();
}

class Mp3Stream : public MusicSource {
 public:
  Mp3Stream(const std::vector<uint8_t>& file, size_t start, const FrameHeader& header, bool loop,
            int outputRate)
      : file_(file), start_(start), header_(header), loop_(loop), outputRate_(outputRate) {}
  ~Mp3Stream() override { Close(); }

  bool Open() {
    MPEGLAYER3WAVEFORMAT source{};
    source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source.wfx.nChannels = static_cast<WORD>(header_.channels);
    source.wfx.nSamplesPerSec = static_cast<DWORD>(header_.rate);
    source.wfx.nAvgBytesPerSec = static_cast<DWORD>(header_.bitrate / 8);
    source.wfx.nBlockAlign = 1;
    source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    source.wID = MPEGLAYER3_ID_MPEG;
    source.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    source.nBlockSize = static_cast<WORD>(header_.bytes);
    source.nFramesPerBlock = 1;
    source.nCodecDelay = 0;
    WAVEFORMATEX pcm{WAVE_FORMAT_PCM, static_cast<WORD>(header_.channels),
                        static_cast<DWORD>(header_.rate),
                        static_cast<DWORD>(header_.rate * header_.channels * 2),
                        static_cast<WORD>(header_.channels * 2), 16, 0};
    if (acmStreamOpen(&stream_, nullptr, &source.wfx, &pcm, nullptr, 0, 0, 0) != 0) {
      stream_ = nullptr;
      return false;
    }
    DWORD outputBytes = 0;
    acmStreamSize(stream_, kSourceBytes, &outputBytes, ACM_STREAMSIZEF_SOURCE);
    source_.resize(kSourceBytes);
    output_.resize(std::max<DWORD>(outputBytes, 64 * 1024));
    position_ = start_;
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
  void Close() {
    if (stream_ != nullptr) acmStreamClose(stream_, 0);
    stream_ = nullptr;
  }

  // Decodes the next stretch of the file into ready_; at the end it starts over when looping.
  // False when nothing more will come.
  bool Decode() {
    for (int attempt = 0; attempt < 4; ++attempt) {
      if (position_ >= file_.size()) {
        if (!loop_ || emptyPasses_ > 1) return false;
        // A fresh codec state for each pass: the end of one pass must not bleed into the start.
        Close();
        if (!Open()) return false;
        ++emptyPasses_;
      }
      const size_t bytes = std::min(kSourceBytes, file_.size() - position_);
      std::memcpy(source_.data(), file_.data() + position_, bytes);
      ACMSTREAMHEADER header{};
      header.cbStruct = sizeof header;
      header.pbSrc = source_.data();
      header.cbSrcLength = static_cast<DWORD>(bytes);
      header.pbDst = output_.data();
      header.cbDstLength = static_cast<DWORD>(output_.size());
      if (acmStreamPrepareHeader(stream_, &header, 0) != 0) return false;
      const bool last = position_ + bytes >= file_.size();
      const MMRESULT result = acmStreamConvert(stream_, &header,
                                               last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN);
      acmStreamUnprepareHeader(stream_, &header, 0);
      if (result != 0) return false;
      // The codec may leave a partial frame behind: it is handed over again with what follows.
      position_ += header.cbSrcLengthUsed > 0 ? header.cbSrcLengthUsed : bytes;
      const size_t frames = header.cbDstLengthUsed / (2 * header_.channels);
      if (frames == 0) continue;
      emptyPasses_ = 0;
      ready_ = ToOutputFormat(reinterpret_cast<const int16_t*>(output_.data()), frames,
                              header_.channels, header_.rate, outputRate_);
      readAt_ = 0;
      return true;
    }
    return false;
  }

  const std::vector<uint8_t>& file_;
  size_t start_;
  FrameHeader header_;
  bool loop_;
  int outputRate_;
  HACMSTREAM stream_ = nullptr;
  std::vector<uint8_t> source_, output_;
  size_t position_ = 0;
  StereoPcm ready_;  // decoded and not yet read, from readAt_ on
  size_t readAt_ = 0;
  int emptyPasses_ = 0;  // passes in a row that gave nothing: a file that never decodes ends
};

}  // namespace

std::unique_ptr<MusicSource> OpenMp3(const std::vector<uint8_t>& file, bool loop, int outputRate) {
  FrameHeader header;
  const size_t start = FirstFrame(file, header);
  if (start >= file.size()) return nullptr;
  auto stream = std::make_unique<Mp3Stream>(file, start, header, loop, outputRate);
  if (!stream->Open()) return nullptr;
  return stream;
}

}  // namespace skyrift::platform
