// MP3 encoding through libmp3lame.
#include "audio/Mp3.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>

#include "audio/Dsp.h"

namespace skyrift::forge::audio {

bool EncodeMp3(const std::vector<float>& stereo, int kbps, std::vector<uint8_t>& mp3,
               std::string& error) {
  const std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(),
                                                                             lame_close);
  if (!lame) {
    error = "cannot start the MP3 encoder";
    return false;
  }
  lame_set_num_channels(lame.get(), 2);
  lame_set_in_samplerate(lame.get(), kRate);
  lame_set_out_samplerate(lame.get(), kRate);
  lame_set_VBR(lame.get(), vbr_off);
  lame_set_brate(lame.get(), kbps);
  lame_set_mode(lame.get(), JOINT_STEREO);
  lame_set_quality(lame.get(), 5);
  lame_set_bWriteVbrTag(lame.get(), 1);            // the Info tag: exact length for gapless loops
  lame_set_write_id3tag_automatic(lame.get(), 0);  // no tags: nothing but audio in the file
  if (lame_init_params(lame.get()) < 0) {
    error = "the MP3 encoder refused its settings";
    return false;
  }

  constexpr int kChunk = 8192;  // frames per call
  std::vector<unsigned char> buffer(kChunk * 5 / 4 + 7200);
  mp3.clear();
  const size_t frames = stereo.size() / 2;
  for (size_t done = 0; done < frames; done += kChunk) {
    const int count = static_cast<int>(std::min<size_t>(kChunk, frames - done));
    const int bytes =
        lame_encode_buffer_interleaved_ieee_float(lame.get(), stereo.data() + 2 * done, count,
                                                  buffer.data(), static_cast<int>(buffer.size()));
    if (bytes < 0) {
      error = "the MP3 encoder failed (" + std::to_string(bytes) + ")";
      return false;
    }
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
  }
  const int tail = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
  if (tail < 0) {
    error = "the MP3 encoder failed to flush";
    return false;
  }
  mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + tail);

  // The encoder left a blank first frame; put the finished Info tag in its place.
  std::vector<unsigned char> tag(4096);
  const size_t tagSize = lame_get_lametag_frame(lame.get(), tag.data(), tag.size());
  if (tagSize == 0 || tagSize > tag.size() || tagSize > mp3.size()) {
    error = "the MP3 encoder gave no Info tag";
    return false;
  }
  std::copy(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(tagSize), mp3.begin());
  return true;
}

}  // namespace skyrift::forge::audio
