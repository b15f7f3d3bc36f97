// The audio output on WINMM's waveOut: 16-bit stereo buffers filled by a thread of ours from
// the mix. Without a device the same thread keeps the mix moving in real time, silently, so
// that samples still start, loop and end as they would be heard.
#include "platform/Mixer.h"

#include "platform/win32/Win32.h"

#include <mmsystem.h>

#include <array>
#include <atomic>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Files.h"
#include "platform/win32/MixCore.h"
#include "platform/win32/Mp3.h"

namespace skyrift::platform {

struct MixerMusic {
  std::vector<uint8_t> file;
};

namespace {

constexpr size_t kBufferFrames = 1024;
constexpr int kBufferCount = 4;
// A file larger than this cannot be a sample or a piece the game would load.
constexpr size_t kMaxFileBytes = 64u * 1024 * 1024;

struct Output {
  int rate = 0;
  std::unique_ptr<MixState> mix;  // guarded by `lock`
  std::mutex lock;
  HWAVEOUT device = nullptr;
  HANDLE bufferDone = nullptr;  // signalled by the device each time it finishes a buffer
  std::array<WAVEHDR, kBufferCount> headers{};
  std::array<std::array<int16_t, kBufferFrames * 2>, kBufferCount> buffers{};
  std::thread feeder;
  std::atomic<bool> stopping{false};
};

Output* output = nullptr;
std::string loadError;

void FillBuffer(WAVEHDR& header) {
  {
    std::lock_guard<std::mutex> hold(output->lock);
    output->mix->Render(reinterpret_cast<int16_t*>(header.lpData), kBufferFrames);
  }
  waveOutWrite(output->device, &header, sizeof header);
}

void Feed() {
  if (output->device == nullptr) {
    // No device: the mix advances at the pace a device would take it.
    std::array<int16_t, kBufferFrames * 2> silent{};
    const DWORD period = static_cast<DWORD>(kBufferFrames * 1000 / output->rate);
    while (!output->stopping) {
      Sleep(period);
      std::lock_guard<std::mutex> hold(output->lock);
      output->mix->Render(silent.data(), kBufferFrames);
    }
    return;
  }
  for (WAVEHDR& header : output->headers) FillBuffer(header);
  while (!output->stopping) {
    WaitForSingleObject(output->bufferDone, INFINITE);
    for (WAVEHDR& header : output->headers) {
      if (!output->stopping && (header.dwFlags & WHDR_DONE)) FillBuffer(header);
    }
  }
}

bool OpenDevice(int rate) {
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, static_cast<DWORD>(rate), static_cast<DWORD>(rate * 4), 4, 16, 0};
  output->bufferDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (output->bufferDone == nullptr) return false;
  if (waveOutOpen(&output->device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(output->bufferDone),
                  0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    output->device = nullptr;
    return false;
  }
  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& header = output->headers[i];
    header.lpData = reinterpret_cast<LPSTR>(output->buffers[i].data());
    header.dwBufferLength = static_cast<DWORD>(kBufferFrames * 4);
    waveOutPrepareHeader(output->device, &header, sizeof header);
  }
  return true;
}

bool ValidChannel(int channel) {
  return output != nullptr && channel >= 0 && channel < output->mix->Channels();
}

// The whole file, or nothing with the reason in loadError.
std::vector<uint8_t> ReadFile(const char* fileName) {
  loadError = WhyNotARegularFile(fileName);
  if (!loadError.empty()) return {};
  std::ifstream in(fileName, std::ios::binary | std::ios::ate);
  const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
  if (size <= 0 || static_cast<uint64_t>(size) > kMaxFileBytes) {
    loadError = size < 0 ? "it cannot be opened" : size == 0 ? "it is empty" : "it is too large";
    return {};
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (!in) {
    loadError = "it cannot be read";
    return {};
  }
  return bytes;
}

}  // namespace

bool OpenMixer(int rate, int channels, int reserved) {
  if (output != nullptr) return true;
  if (rate <= 0) return false;
  output = new Output;
  output->rate = rate;
  output->mix = std::make_unique<MixState>(channels, reserved, rate);
  // A machine without a sound card still gets a game that runs, just without sound.
  if (!OpenDevice(rate) && output->bufferDone != nullptr) {
    CloseHandle(output->bufferDone);
    output->bufferDone = nullptr;
  }
  output->feeder = std::thread(Feed);
  return true;
}

void CloseMixer() {
  if (output == nullptr) return;
  output->stopping = true;
  if (output->bufferDone != nullptr) SetEvent(output->bufferDone);
  output->feeder.join();
  if (output->device != nullptr) {
    waveOutReset(output->device);
    for (WAVEHDR& header : output->headers) waveOutUnprepareHeader(output->device, &header, sizeof header);
    waveOutClose(output->device);
  }
  if (output->bufferDone != nullptr) CloseHandle(output->bufferDone);
  delete output;
  output = nullptr;
}

bool MixerIsOpen() { return output != nullptr; }

MixerChunk* LoadChunk(const char* fileName) {
  loadError.clear();
  if (output == nullptr || fileName == nullptr) return nullptr;
  const std::vector<uint8_t> file = ReadFile(fileName);
  if (!loadError.empty()) return nullptr;
  auto pcm = DecodeWav(file.data(), file.size(), output->rate, &loadError);
  if (!pcm) return nullptr;
  return new MixerChunk{std::move(*pcm)};
}

void FreeChunk(MixerChunk* chunk) {
  if (chunk == nullptr) return;
  if (output != nullptr) {
    std::lock_guard<std::mutex> hold(output->lock);
    output->mix->Forget(chunk);
  }
  delete chunk;
}

int PlayChunk(int channel, MixerChunk* chunk, bool loop) {
  if (output == nullptr || chunk == nullptr || (channel != -1 && !ValidChannel(channel))) return -1;
  std::lock_guard<std::mutex> hold(output->lock);
  return output->mix->Play(channel, chunk, loop);
}

void HaltChannel(int channel) {
  if (!ValidChannel(channel)) return;
  std::lock_guard<std::mutex> hold(output->lock);
  output->mix->Halt(channel);
}

void SetChannelVolume(int channel, int volume) {
  if (!ValidChannel(channel)) return;
  std::lock_guard<std::mutex> hold(output->lock);
  output->mix->SetVolume(channel, volume);
}

void PauseChannel(int channel, bool paused) {
  if (!ValidChannel(channel)) return;
  std::lock_guard<std::mutex> hold(output->lock);
  output->mix->Pause(channel, paused);
}

bool ChannelPaused(int channel) {
  if (!ValidChannel(channel)) return false;
  std::lock_guard<std::mutex> hold(output->lock);
  return output->mix->Paused(channel);
}

bool ChannelPlaying(int channel) {
  if (!ValidChannel(channel)) return false;
  std::lock_guard<std::mutex> hold(output->lock);
  return output->mix->Playing(channel);
}

MixerMusic* LoadMusic(const char* fileName) {
  loadError.clear();
  if (output == nullptr || fileName == nullptr) return nullptr;
  auto music = std::make_unique<MixerMusic>();
  music->file = ReadFile(fileName);
  if (!loadError.empty()) return nullptr;
  // Opened once here to refuse what the codec cannot play, as a failed load.
  if (OpenMp3(music->file, false, output->rate) == nullptr) {
    loadError = "the system's MP3 codec cannot play it";
    return nullptr;
  }
  return music.release();
}

const std::string& LoadError() { return loadError; }

void FreeMusic(MixerMusic* music) {
  if (music == nullptr) return;
  if (output != nullptr) {
    std::lock_guard<std::mutex> hold(output->lock);
    output->mix->ForgetMusic(music);
  }
  delete music;
}

bool PlayMusic(MixerMusic* music, bool loop) {
  if (output == nullptr || music == nullptr) return false;
  auto source = OpenMp3(music->file, loop, output->rate);
  if (source == nullptr) return false;
  std::lock_guard<std::mutex> hold(output->lock);
  output->mix->PlayMusic(music, std::move(source));
  return true;
}

void HaltMusic() {
  if (output == nullptr) return;
  std::lock_guard<std::mutex> hold(output->lock);
  output->mix->PlayMusic(nullptr, nullptr);
}

void SetMusicVolume(int volume) {
  if (output == nullptr) return;
  std::lock_guard<std::mutex> hold(output->lock);
  output->mix->SetMusicVolume(volume);
}

int MusicVolume() {
  if (output == nullptr) return 0;
  std::lock_guard<std::mutex> hold(output->lock);
  return output->mix->MusicVolume();
}

void PauseMusic(bool paused) {
  if (output == nullptr) return;
  std::lock_guard<std::mutex> hold(output->lock);
  output->mix->PauseMusic(paused);
}

bool MusicPaused() {
  if (output == nullptr) return false;
  std::lock_guard<std::mutex> hold(output->lock);
  return output->mix->MusicPaused();
}

bool MusicPlaying() {
  if (output == nullptr) return false;
  std::lock_guard<std::mutex> hold(output->lock);
  return output->mix->MusicPlaying();
}

}  // namespace skyrift::platform
