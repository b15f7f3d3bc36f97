#include "platform/Mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Limiter.h"
#include "platform/MixCore.h"
#include "platform/Mp3Frames.h"
#include "platform/Report.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {

// SDL's music reads from the joined frames, which live as long as it.
struct MixerMusic {
  std::unique_ptr<JoinedMp3> frames;
  Mix_Music* music = nullptr;
};

namespace {

// SDL's decoder reads the joined frames as a file of their own, a stretch at a time.
struct Position {
  JoinedMp3* frames;
  uint64_t at = 0;
};
Position& PositionOf(SDL_RWops* stream) {
  return *static_cast<Position*>(stream->hidden.unknown.data1);
}
SDL_RWops* ReadJoined(JoinedMp3& frames) {
  SDL_RWops* stream = SDL_AllocRW();
  if (stream == nullptr) return nullptr;
  stream->type = SDL_RWOPS_UNKNOWN;
  stream->hidden.unknown.data1 = new Position{&frames};
  stream->size = [](SDL_RWops* self) {
    return static_cast<Sint64>(PositionOf(self).frames->Size());
  };
  stream->seek = [](SDL_RWops* self, Sint64 offset, int whence) -> Sint64 {
    Position& position = PositionOf(self);
    const Sint64 base = whence == RW_SEEK_SET   ? 0
                        : whence == RW_SEEK_CUR ? static_cast<Sint64>(position.at)
                                                : static_cast<Sint64>(position.frames->Size());
    if (base + offset < 0) return SDL_SetError("seek before the start");
    position.at = static_cast<uint64_t>(base + offset);
    return static_cast<Sint64>(position.at);
  };
  stream->read = [](SDL_RWops* self, void* into, size_t size, size_t count) -> size_t {
    Position& position = PositionOf(self);
    if (size == 0) return 0;
    const size_t got =
        position.frames->Read(position.at, static_cast<uint8_t*>(into), size * count);
    position.at += got;
    return got / size;
  };
  stream->write = [](SDL_RWops*, const void*, size_t, size_t) -> size_t { return 0; };
  stream->close = [](SDL_RWops* self) {
    delete &PositionOf(self);
    SDL_FreeRW(self);
    return 0;
  };
  return stream;
}

bool open = false;
int outputRate = 0;
std::optional<Limiter> limiter;
std::string loadError;
std::atomic<float> masterGain{1.0f};  // read by the audio thread
// The samples play on channels of the shared mixer, which keeps them in 16 bits as every system
// does; SDL's mixer plays only the music. The audio thread adds the channels to SDL's mix.
std::mutex voicesLock;
std::optional<MixState> voices;  // guarded by voicesLock

Mix_Music* Native(MixerMusic* music) {
  return music->music;
}

// The mix runs in floating point: SDL's music and the channels are summed without clamping, so
// the sum of many loud effects reaches the limiter whole instead of already clipped, and the
// limiter brings it under full scale before SDL converts it for the device.
void LimitMix(void*, Uint8* stream, int bytes) {
  auto* samples = reinterpret_cast<float*>(stream);
  const size_t frames = bytes / (2 * sizeof(float));
  {
    const std::lock_guard<std::mutex> hold(voicesLock);
    if (voices) voices->AddVoices(samples, frames);
  }
  if (limiter) limiter->Process(samples, frames);
  const float gain = masterGain.load(std::memory_order_relaxed);
  if (gain < 1.0f) {
    for (size_t i = 0; i < frames * 2; ++i) samples[i] *= gain;
  }
}

// The sound system's libraries write their own complaints on standard error while SDL tries
// them one after another (eight lines from ALSA on a machine without a sound card); the player
// is told the one reason that matters, by the game, instead.
class QuietStandardError {
 public:
  QuietStandardError() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && nowhere >= 0) dup2(nowhere, STDERR_FILENO);
    if (nowhere >= 0) close(nowhere);
  }
  ~QuietStandardError() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

bool TryOpen(int rate) {
  const QuietStandardError quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudioDevice(rate, AUDIO_F32SYS, 2, 1024, nullptr, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) !=
      0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

// SDL picks its audio driver from the environment when the subsystem starts; the dummy driver
// is only ever used when asked for by name.
bool TryOpenSilent(int rate) {
  const char* previous = SDL_getenv("SDL_AUDIODRIVER");
  const std::optional<std::string> saved =
      previous ? std::optional<std::string>(previous) : std::nullopt;
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
  const bool opened = TryOpen(rate);
  if (saved) {
    SDL_setenv("SDL_AUDIODRIVER", saved->c_str(), 1);
  } else {
    ::unsetenv("SDL_AUDIODRIVER");
  }
  return opened;
}

}  // namespace

bool OpenMixer(int rate, int channels, int reserved) {
  if (open) return true;
  Mix_Init(MIX_INIT_MP3);  // mp3 support may be built in; a failure here is not final
  // A machine without a sound card still gets a game that runs, just without sound.
  if (!TryOpen(rate)) {
    const std::string reason = SDL_GetError();
    if (!TryOpenSilent(rate)) {
      Mix_Quit();
      return false;
    }
    ReportLine("Skyrift: no sound device (" + reason + "); playing without sound");
  }
  open = true;
  outputRate = rate;
  Mix_QuerySpec(&outputRate, nullptr, nullptr);
  limiter.emplace(outputRate);
  Mix_AllocateChannels(0);
  {
    const std::lock_guard<std::mutex> hold(voicesLock);
    voices.emplace(channels, reserved, outputRate);
  }
  Mix_SetPostMix(LimitMix, nullptr);
  return true;
}

void CloseMixer() {
  if (!open) return;
  Mix_HaltMusic();
  Mix_SetPostMix(nullptr, nullptr);
  Mix_CloseAudio();
  limiter.reset();
  {
    const std::lock_guard<std::mutex> hold(voicesLock);
    voices.reset();
  }
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  open = false;
}

bool MixerIsOpen() {
  return open;
}

MixerChunk* LoadChunk(const char* fileName) {
  loadError.clear();
  if (!open || fileName == nullptr) return nullptr;
  return LoadMixerChunk(fileName, loadError);
}

void FreeChunk(MixerChunk* chunk) {
  if (chunk == nullptr) return;
  {
    const std::lock_guard<std::mutex> hold(voicesLock);
    if (voices) voices->Forget(chunk);
  }
  delete chunk;
}

int PlayChunk(int channel, MixerChunk* chunk, bool loop) {
  const std::lock_guard<std::mutex> hold(voicesLock);
  return voices ? voices->Play(channel, chunk, loop) : -1;
}

void HaltChannel(int channel) {
  const std::lock_guard<std::mutex> hold(voicesLock);
  if (voices) voices->Halt(channel);
}

void SetChannelVolume(int channel, int volume) {
  const std::lock_guard<std::mutex> hold(voicesLock);
  if (voices) voices->SetVolume(channel, volume);
}

void PauseChannel(int channel, bool paused) {
  const std::lock_guard<std::mutex> hold(voicesLock);
  if (voices) voices->Pause(channel, paused);
}

bool ChannelPaused(int channel) {
  const std::lock_guard<std::mutex> hold(voicesLock);
  return voices && voices->Paused(channel);
}

bool ChannelPlaying(int channel) {
  const std::lock_guard<std::mutex> hold(voicesLock);
  return voices && voices->Playing(channel);
}

MixerMusic* LoadMusic(const char* fileName) {
  loadError.clear();
  if (!open || fileName == nullptr) return nullptr;
  // SDL's decoder gives up for good at the first stretch it cannot resynchronise over (a
  // kilobyte), and a WAV file named .mp3 plays as noise: it is given the frames alone.
  // They are read from the file as the music plays, never held whole.
  auto music = std::make_unique<MixerMusic>();
  music->frames = OpenMp3File(fileName, loadError);
  if (music->frames == nullptr) return nullptr;
  SDL_RWops* stream = ReadJoined(*music->frames);
  music->music = stream != nullptr ? Mix_LoadMUSType_RW(stream, MUS_MP3, SDL_TRUE) : nullptr;
  if (music->music == nullptr) {
    loadError = Mix_GetError();
    return nullptr;
  }
  return music.release();
}

const std::string& LoadError() {
  return loadError;
}

void FreeMusic(MixerMusic* music) {
  if (music == nullptr) return;
  Mix_FreeMusic(Native(music));
  delete music;
}

bool PlayMusic(MixerMusic* music, bool loop) {
  if (!open || music == nullptr) return false;
  return Mix_PlayMusic(Native(music), loop ? -1 : 1) == 0;
}

void HaltMusic() {
  if (open) Mix_HaltMusic();
}

void SetMusicVolume(int volume) {
  if (open) Mix_VolumeMusic(std::clamp(volume, 0, MIX_MAX_VOLUME));
}

int MusicVolume() {
  return open ? Mix_VolumeMusic(-1) : 0;
}

void PauseMusic(bool paused) {
  if (!open) return;
  if (paused) {
    Mix_PauseMusic();
  } else {
    Mix_ResumeMusic();
  }
}

bool MusicPaused() {
  return open && Mix_PausedMusic() != 0;
}

bool MusicPlaying() {
  return open && Mix_PlayingMusic() != 0;
}

void SetMasterGain(float gain) {
  masterGain.store(std::clamp(gain, 0.0f, 1.0f), std::memory_order_relaxed);
}

float MasterGain() {
  return masterGain.load(std::memory_order_relaxed);
}

}  // namespace skyrift::platform
