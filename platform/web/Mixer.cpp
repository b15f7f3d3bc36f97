// Sound through Web Audio: the shared mixer's 16-bit stereo, pulled by the page's audio node a
// block at a time on the page's thread. Browsers let a page sound only once the player has
// pressed a key or clicked, so the audio starts then; until it runs (and under node, where
// there is none) the mix moves on by the clock, silently, so that samples still start, loop
// and end as they would be heard. The music is MP3 decoded by the browser, which takes a
// moment: it plays from when it is ready.
#include "platform/Mixer.h"

#include <emscripten.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/MixCore.h"
#include "platform/Mp3Frames.h"

namespace skyrift::platform {

struct MixerMusic {
  int id = 0;
  StereoPcm pcm;  // empty until the browser has decoded it
};

namespace {

// 2048 frames, 46 ms at 44.1 kHz, a block: the audio node keeps two of them queued, so a stall
// of the page's thread shorter than a block is not heard.
constexpr int kBlockFrames = 2048;
// The audio node pulls a block every 46 ms; a mix it has not pulled for longer is the clock's.
constexpr uint32_t kPulledLatelyMs = 250;

struct Output {
  int rate = 0;
  std::unique_ptr<MixState> mix;
  uint32_t movedAt = 0;  // when the mix was last moved on, by the audio node or the clock
  uint32_t pulledAt = 0;
  bool pulled = false;
  std::vector<int16_t> silent;  // where the clock's share of the mix goes
};

Output* output = nullptr;
std::string loadError;
float masterGain = 1.0f;              // the player's, kept while no output is open
std::map<int, MixerMusic*> decoding;  // by id, until the browser answers
int nextMusicId = 1;

// Makes the audio context on the first key or click, with a script processor node that pulls
// the mix; counts the blocks it plays and those that are not silent. 0 where there is no Web
// Audio (node). Debian's emscripten has no audio worklets, hence the script processor, which
// keeps a block queued behind the one playing.
// clang-format off
EM_JS(int, OpenPageAudio, (int rate, int blockFrames), {
  if (typeof window === 'undefined' || !window.AudioContext) return 0;
  const stats = Module.skyriftAudio = {state: 'waiting', blocks: 0, loudBlocks: 0};
  const block = _malloc(blockFrames * 4);
  const start = () => {
    if (stats.context) {
      stats.context.resume();
      return;
    }
    const context = new AudioContext({sampleRate: rate, latencyHint: 'interactive'});
    const node = context.createScriptProcessor(blockFrames, 0, 2);
    node.onaudioprocess = event => {
      _SkyriftMix(block, blockFrames);
      const pcm = new Int16Array(HEAP16.buffer, block, blockFrames * 2);
      const left = event.outputBuffer.getChannelData(0);
      const right = event.outputBuffer.getChannelData(1);
      let peak = 0;
      for (let i = 0; i < blockFrames; ++i) {
        left[i] = pcm[2 * i] / 32768;
        right[i] = pcm[2 * i + 1] / 32768;
        peak = Math.max(peak, Math.abs(pcm[2 * i]), Math.abs(pcm[2 * i + 1]));
      }
      stats.blocks++;
      if (peak > 64) stats.loudBlocks++;
    };
    node.connect(context.destination);
    context.onstatechange = () => { stats.state = context.state; };
    stats.context = context;
    stats.state = context.state;
  };
  for (const kind of ['keydown', 'mousedown', 'touchstart']) {
    addEventListener(kind, start, {capture: true});
  }
  // A hidden page is silent, its looping sounds with it; shown again, it sounds on.
  document.addEventListener('visibilitychange', () => {
    if (!stats.context) return;
    if (document.hidden) {
      stats.context.suspend();
    } else {
      stats.context.resume();
    }
  });
  return 1;
});

// Decodes an MP3 file's bytes off the page's thread and hands the two channels back; nothing
// where the browser cannot decode (node), or when it fails.
EM_JS(void, DecodePageMusic, (int id, const uint8_t* bytes, int size, int rate), {
  if (typeof OfflineAudioContext === 'undefined') return;
  const copy = HEAPU8.slice(bytes, bytes + size).buffer;
  new OfflineAudioContext(2, 1, rate).decodeAudioData(copy).then(buffer => {
    const frames = buffer.length;
    const left = _malloc(frames * 4);
    const right = _malloc(frames * 4);
    HEAPF32.set(buffer.getChannelData(0), left >> 2);
    HEAPF32.set(buffer.getChannelData(buffer.numberOfChannels > 1 ? 1 : 0), right >> 2);
    _SkyriftMusicDecoded(id, left, right, frames);
    _free(left);
    _free(right);
  }, error => console.error('Skyrift: the browser cannot decode the music:', error));
});
// clang-format on

// The decoded music, from its start, looping or not; silence until the browser has decoded it.
class DecodedMusic : public MusicSource {
 public:
  DecodedMusic(const MixerMusic& music, bool loop) : music_(music), loop_(loop) {}
  size_t Read(int16_t* stereo, size_t frames) override {
    const StereoPcm& pcm = music_.pcm;
    if (pcm.empty()) {
      std::fill(stereo, stereo + frames * 2, 0);
      return frames;
    }
    size_t written = 0;
    while (written < frames) {
      if (position_ >= pcm.size()) {
        if (!loop_) break;
        position_ = 0;
      }
      const size_t count = std::min((pcm.size() - position_) / 2, frames - written);
      std::copy_n(pcm.begin() + static_cast<ptrdiff_t>(position_), count * 2, stereo + written * 2);
      position_ += count * 2;
      written += count;
    }
    return written;
  }

 private:
  const MixerMusic& music_;
  bool loop_;
  size_t position_ = 0;
};

// Moves the mix on by the time that has passed, silently, while no audio node pulls it.
void FollowTheClock() {
  if (output == nullptr) return;
  const uint32_t now = GetTickCount();
  if (output->pulled && TicksBetween(output->pulledAt, now) < kPulledLatelyMs) return;
  const uint64_t frames = static_cast<uint64_t>(TicksBetween(output->movedAt, now)) *
                          static_cast<uint64_t>(output->rate) / 1000;
  output->movedAt = now;
  for (uint64_t left = frames; left > 0;) {
    const size_t step = std::min<uint64_t>(left, output->silent.size() / 2);
    output->mix->Render(output->silent.data(), step);
    left -= step;
  }
}

MixState* Mix() {
  FollowTheClock();
  return output != nullptr ? output->mix.get() : nullptr;
}

bool ValidChannel(int channel) {
  return Mix() != nullptr && channel >= 0 && channel < output->mix->Channels();
}

}  // namespace

bool OpenMixer(int rate, int channels, int reserved) {
  if (output != nullptr) return true;
  output = new Output;
  output->rate = rate;
  output->mix = std::make_unique<MixState>(channels, reserved, rate);
  output->mix->SetMasterGain(masterGain);
  output->movedAt = GetTickCount();
  output->silent.resize(kBlockFrames * 2);
  OpenPageAudio(rate, kBlockFrames);
  return true;
}

// The page's audio node stays: the page has one game, which closes its sound only as it ends.
void CloseMixer() {
  delete output;
  output = nullptr;
}

bool MixerIsOpen() {
  return output != nullptr;
}

MixerChunk* LoadChunk(const char* fileName) {
  loadError.clear();
  if (output == nullptr || fileName == nullptr) return nullptr;
  return LoadMixerChunk(fileName, loadError);
}

void FreeChunk(MixerChunk* chunk) {
  if (chunk == nullptr) return;
  if (MixState* mix = Mix()) mix->Forget(chunk);
  delete chunk;
}

int PlayChunk(int channel, MixerChunk* chunk, bool loop) {
  if (Mix() == nullptr || chunk == nullptr || (channel != -1 && !ValidChannel(channel))) return -1;
  return output->mix->Play(channel, chunk, loop);
}

void HaltChannel(int channel) {
  if (ValidChannel(channel)) output->mix->Halt(channel);
}

void SetChannelVolume(int channel, int volume) {
  if (ValidChannel(channel)) output->mix->SetVolume(channel, volume);
}

void PauseChannel(int channel, bool paused) {
  if (ValidChannel(channel)) output->mix->Pause(channel, paused);
}

bool ChannelPaused(int channel) {
  return ValidChannel(channel) && output->mix->Paused(channel);
}

bool ChannelPlaying(int channel) {
  return ValidChannel(channel) && output->mix->Playing(channel);
}

MixerMusic* LoadMusic(const char* fileName) {
  loadError.clear();
  if (output == nullptr || fileName == nullptr) return nullptr;
  const std::unique_ptr<JoinedMp3> frames = OpenMp3File(fileName, loadError);
  if (frames == nullptr) return nullptr;
  // The browser is given the frames alone, joined, and copies them as it starts decoding.
  std::vector<uint8_t> joined(frames->Size());
  joined.resize(frames->Read(0, joined.data(), joined.size()));
  auto* music = new MixerMusic{nextMusicId++, {}};
  decoding[music->id] = music;
  DecodePageMusic(music->id, joined.data(), static_cast<int>(joined.size()), output->rate);
  return music;
}

const std::string& LoadError() {
  return loadError;
}

void FreeMusic(MixerMusic* music) {
  if (music == nullptr) return;
  decoding.erase(music->id);
  if (MixState* mix = Mix()) mix->ForgetMusic(music);
  delete music;
}

bool PlayMusic(MixerMusic* music, bool loop) {
  if (Mix() == nullptr || music == nullptr) return false;
  output->mix->PlayMusic(music, std::make_unique<DecodedMusic>(*music, loop));
  return true;
}

void HaltMusic() {
  if (MixState* mix = Mix()) mix->PlayMusic(nullptr, nullptr);
}

void SetMasterGain(float gain) {
  masterGain = std::clamp(gain, 0.0f, 1.0f);
  if (MixState* mix = Mix()) mix->SetMasterGain(masterGain);
}

float MasterGain() {
  return masterGain;
}

void SetMusicVolume(int volume) {
  if (MixState* mix = Mix()) mix->SetMusicVolume(volume);
}

int MusicVolume() {
  MixState* mix = Mix();
  return mix != nullptr ? mix->MusicVolume() : 0;
}

void PauseMusic(bool paused) {
  if (MixState* mix = Mix()) mix->PauseMusic(paused);
}

bool MusicPaused() {
  MixState* mix = Mix();
  return mix != nullptr && mix->MusicPaused();
}

bool MusicPlaying() {
  MixState* mix = Mix();
  return mix != nullptr && mix->MusicPlaying();
}

}  // namespace skyrift::platform

// The audio node's pull: the next block of the mix.
extern "C" EMSCRIPTEN_KEEPALIVE void SkyriftMix(int16_t* stereo, int frames) {
  using namespace skyrift::platform;
  if (output == nullptr) {
    std::fill(stereo, stereo + frames * 2, 0);
    return;
  }
  FollowTheClock();
  output->pulled = true;
  output->pulledAt = output->movedAt = GetTickCount();
  output->mix->Render(stereo, static_cast<size_t>(frames));
}

// The browser's decoding of a music file, at the output's rate.
extern "C" EMSCRIPTEN_KEEPALIVE void SkyriftMusicDecoded(int id, const float* left,
                                                         const float* right, int frames) {
  using namespace skyrift::platform;
  const auto found = decoding.find(id);
  if (found == decoding.end()) return;  // freed while the browser decoded it
  StereoPcm& pcm = found->second->pcm;
  pcm.resize(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    pcm[2 * i] = static_cast<int16_t>(std::clamp(left[i], -1.0f, 1.0f) * 32767.0f);
    pcm[2 * i + 1] = static_cast<int16_t>(std::clamp(right[i], -1.0f, 1.0f) * 32767.0f);
  }
  decoding.erase(found);
}
