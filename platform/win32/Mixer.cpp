// The audio output on WINMM's waveOut: 16-bit stereo buffers filled by a thread of ours from
// the mix. Without a device the same thread keeps the mix moving in real time, silently, so
// that samples still start, loop and end as they would be heard; and when a device fails (a
// headset pulled out), it opens the default device again and the sound goes on.
#include "platform/Mixer.h"

#include "platform/win32/Win32.h"

#include <mmsystem.h>

#include <array>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Mp3Frames.h"
#include "platform/SoundFile.h"
#include "platform/WaveFile.h"
#include "platform/MixCore.h"
#include "platform/win32/Mp3.h"
#include "platform/win32/WaveOut.h"

namespace skyrift::platform {

struct MixerMusic {
  std::unique_ptr<JoinedMp3> frames;  // read from the file as the music plays
};

namespace {

// Four buffers of 2048 frames: 186 ms queued at 44.1 kHz, room enough for a busy machine to
// be late with a buffer without the device running dry. The feeder wakes once a buffer: larger
// buffers wake it half as often as 1024 frames did, for the same time queued.
constexpr size_t kBufferFrames = 2048;
constexpr int kBufferCount = 4;
// How long the feeder waits for the device before it looks again, and how long a device may
// take no sound before it counts as failed.
constexpr DWORD kWaitMs = 100;
constexpr DWORD kStalledMs = 1000;
// How often a missing device is looked for again.
constexpr DWORD kRetryMs = 1000;

struct Output {
  int rate = 0;
  std::unique_ptr<MixState> mix;  // guarded by `lock`
  std::mutex lock;
  HWAVEOUT device = nullptr;    // the feeder thread's alone
  HANDLE bufferDone = nullptr;  // signalled by the device each time it finishes a buffer
  std::array<WAVEHDR, kBufferCount> headers{};
  std::array<std::array<int16_t, kBufferFrames * 2>, kBufferCount> buffers{};
  std::thread feeder;
  std::atomic<bool> stopping{false};
};

Output* output = nullptr;
// The player's master volume, kept while no output is open for the next to take.
float masterGain = 1.0f;
std::string loadError;
WaveOutCalls calls;
std::atomic<int> reopenings{0};
std::atomic<bool> devicePlaying{false};

// The feeder runs in the multimedia class "Games" where the system has it (avrt.dll, Vista
// on), else at a raised priority, so that a busy machine does not starve the device.
class FeederPriority {
 public:
  FeederPriority() {
    using Set = HANDLE(WINAPI*)(LPCWSTR, LPDWORD);
    avrt_ = LoadLibraryW(L"avrt.dll");
    const auto set = avrt_ != nullptr ? reinterpret_cast<Set>(reinterpret_cast<void*>(
                                            GetProcAddress(avrt_, "AvSetMmThreadCharacteristicsW")))
                                      : nullptr;
    DWORD task = 0;
    task_ = set != nullptr ? set(L"Games", &task) : nullptr;
    if (task_ == nullptr) SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  }
  ~FeederPriority() {
    using Revert = BOOL(WINAPI*)(HANDLE);
    if (task_ != nullptr) {
      const auto revert = reinterpret_cast<Revert>(
          reinterpret_cast<void*>(GetProcAddress(avrt_, "AvRevertMmThreadCharacteristics")));
      if (revert != nullptr) revert(task_);
    }
    if (avrt_ != nullptr) FreeLibrary(avrt_);
  }
  FeederPriority(const FeederPriority&) = delete;
  FeederPriority& operator=(const FeederPriority&) = delete;

 private:
  HMODULE avrt_ = nullptr;
  HANDLE task_ = nullptr;
};

void CloseDevice() {
  if (output->device == nullptr) return;
  waveOutReset(output->device);
  for (WAVEHDR& header : output->headers) {
    if (header.dwFlags & WHDR_PREPARED)
      waveOutUnprepareHeader(output->device, &header, sizeof header);
  }
  waveOutClose(output->device);
  output->device = nullptr;
}

bool WriteBuffer(WAVEHDR& header) {
  {
    std::lock_guard<std::mutex> hold(output->lock);
    output->mix->Render(reinterpret_cast<int16_t*>(header.lpData), kBufferFrames);
  }
  return calls.write(output->device, &header, sizeof header) == MMSYSERR_NOERROR;
}

// Opens the default device and queues every buffer; false, with nothing open, when any step
// fails.
bool OpenDevice() {
  WAVEFORMATEX format{WAVE_FORMAT_PCM,
                      2,
                      static_cast<DWORD>(output->rate),
                      static_cast<DWORD>(output->rate * 4),
                      4,
                      16,
                      0};
  if (calls.open(&output->device, WAVE_MAPPER, &format,
                 reinterpret_cast<DWORD_PTR>(output->bufferDone), 0,
                 CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    output->device = nullptr;
    return false;
  }
  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& header = output->headers[i];
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(output->buffers[i].data());
    header.dwBufferLength = static_cast<DWORD>(kBufferFrames * 4);
    if (calls.prepare(output->device, &header, sizeof header) != MMSYSERR_NOERROR) {
      CloseDevice();
      return false;
    }
  }
  for (WAVEHDR& header : output->headers) {
    if (!WriteBuffer(header)) {
      CloseDevice();
      return false;
    }
  }
  return true;
}

void Feed() {
  const FeederPriority priority;
  const DWORD period = static_cast<DWORD>(kBufferFrames * 1000 / output->rate);
  bool playing = devicePlaying = OpenDevice();
  DWORD lastHeard = GetTickCount(), lastTried = lastHeard;
  while (!output->stopping) {
    if (!playing) {
      // No device: the mix advances at the pace a device would take it, and a device is looked
      // for again now and then (one may be plugged in).
      Sleep(period);
      std::array<int16_t, kBufferFrames * 2> silent;
      {
        std::lock_guard<std::mutex> hold(output->lock);
        output->mix->Render(silent.data(), kBufferFrames);
      }
      if (GetTickCount() - lastTried >= kRetryMs) {
        lastTried = lastHeard = GetTickCount();
        playing = devicePlaying = OpenDevice();
      }
      continue;
    }
    WaitForSingleObject(output->bufferDone, kWaitMs);
    bool failed = false, heard = false;
    for (WAVEHDR& header : output->headers) {
      if (output->stopping || !(header.dwFlags & WHDR_DONE)) continue;
      heard = true;
      failed = failed || !WriteBuffer(header);
    }
    const DWORD now = GetTickCount();
    if (heard) lastHeard = now;
    if (failed || now - lastHeard >= kStalledMs) {
      CloseDevice();
      ++reopenings;
      lastTried = lastHeard = now;
      playing = devicePlaying = OpenDevice();
    }
  }
  CloseDevice();
  devicePlaying = false;
}

// Without a codec the game is silent where its music should be, and a line on a standard error
// nobody sees is not enough: the player is told once a run, in a box on a thread of its own, so
// that the game neither waits for it nor has its window's messages run from inside the box's.
void SayThereIsNoMusic() {
  static std::once_flag said;
  std::call_once(said, [] {
    std::thread([] {
      MessageBoxW(nullptr,
                  L"Skyrift plays without music: this Windows has no MP3 codec.\n\n"
                  L"On an N edition of Windows, install the Media Feature Pack (Settings, "
                  L"Apps, Optional features), then start the game again.",
                  L"Skyrift", MB_OK | MB_ICONWARNING | MB_TOPMOST | MB_SETFOREGROUND);
    }).detach();
  });
}

bool ValidChannel(int channel) {
  return output != nullptr && channel >= 0 && channel < output->mix->Channels();
}

}  // namespace

bool OpenMixer(int rate, int channels, int reserved) {
  if (output != nullptr) return true;
  if (rate <= 0) return false;
  output = new Output;
  output->rate = rate;
  output->mix = std::make_unique<MixState>(channels, reserved, rate);
  output->mix->SetMasterGain(masterGain);
  output->bufferDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (output->bufferDone == nullptr) {
    delete output;
    output = nullptr;
    return false;
  }
  output->feeder = std::thread(Feed);
  return true;
}

void CloseMixer() {
  if (output == nullptr) return;
  output->stopping = true;
  SetEvent(output->bufferDone);
  output->feeder.join();
  CloseHandle(output->bufferDone);
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
  auto music = std::make_unique<MixerMusic>(MixerMusic{OpenMp3File(fileName, loadError)});
  if (music->frames == nullptr) return nullptr;
  // Opened once here to refuse what the codec cannot play, as a failed load.
  if (PlayMp3(*music->frames, false, output->rate, &loadError) == nullptr) {
    if (loadError == kNoMp3Codec) SayThereIsNoMusic();
    return nullptr;
  }
  return music.release();
}

const std::string& LoadError() {
  return loadError;
}

WaveOutCalls& DeviceCalls() {
  return calls;
}

int DeviceReopenings() {
  return reopenings;
}

bool DevicePlaying() {
  return devicePlaying;
}

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
  auto source = PlayMp3(*music->frames, loop, output->rate);
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

void SetMasterGain(float gain) {
  masterGain = std::clamp(gain, 0.0f, 1.0f);
  if (output == nullptr) return;
  std::lock_guard<std::mutex> hold(output->lock);
  output->mix->SetMasterGain(masterGain);
}

float MasterGain() {
  return masterGain;
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
