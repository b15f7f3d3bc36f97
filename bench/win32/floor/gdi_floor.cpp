// The floor under the Windows build's figures: the least a Win32 program can do and still show
// the game's picture and play its sound, a window presenting a 900 x 732 DIB at 24 frames a
// second with the same wait between frames (a 1 ms timer, MsgWaitForMultipleObjects), and the
// game's waveOut output kept queued with silence. Measured beside skyrift.exe by
// scripts/measure-windows; what the game costs above it is the game's own.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <cstdint>

namespace {

constexpr int kWidth = 900, kHeight = 732;
constexpr DWORD kFrameDelay = 1000 / 24;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The game's output: 16-bit stereo at 44.1 kHz in four buffers of 2048 frames. The frame loop
// puts each finished buffer back in the queue, soon enough for the 186 ms it holds.
constexpr DWORD kRate = 44100;
constexpr DWORD kBufferFrames = 2048;
constexpr int kBufferCount = 4;

struct Sound {
  HWAVEOUT device = nullptr;
  std::array<WAVEHDR, kBufferCount> headers{};
  std::array<std::array<int16_t, kBufferFrames * 2>, kBufferCount> buffers{};
};

// Without a device the floor stays silent, as the game does.
void OpenSound(Sound& sound) {
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
  if (waveOutOpen(&sound.device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    sound.device = nullptr;
    return;
  }
  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& header = sound.headers[i];
    header.lpData = reinterpret_cast<LPSTR>(sound.buffers[i].data());
    header.dwBufferLength = kBufferFrames * 4;
    waveOutPrepareHeader(sound.device, &header, sizeof header);
    waveOutWrite(sound.device, &header, sizeof header);
  }
}

void KeepSoundQueued(Sound& sound) {
  if (sound.device == nullptr) return;
  for (WAVEHDR& header : sound.headers) {
    if (header.dwFlags & WHDR_DONE) waveOutWrite(sound.device, &header, sizeof header);
  }
}

void CloseSound(Sound& sound) {
  if (sound.device == nullptr) return;
  waveOutReset(sound.device);
  for (WAVEHDR& header : sound.headers) {
    waveOutUnprepareHeader(sound.device, &header, sizeof header);
  }
  waveOutClose(sound.device);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = module;
  windowClass.lpszClassName = L"GdiFloor";
  if (RegisterClassW(&windowClass) == 0) return 1;
  RECT outer{0, 0, kWidth, kHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  HWND window = CreateWindowExW(0, L"GdiFloor", L"GdiFloor", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, module, nullptr);
  if (window == nullptr) return 1;

  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = kWidth;
  format.bmiHeader.biHeight = -kHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC frame = CreateCompatibleDC(nullptr);
  HBITMAP picture = CreateDIBSection(frame, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (picture == nullptr) return 1;
  SelectObject(frame, picture);
  ShowWindow(window, SW_SHOWNORMAL);

  static Sound sound;
  OpenSound(sound);
  timeBeginPeriod(1);
  DWORD next = timeGetTime();
  for (uint32_t count = 0;; ++count) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        CloseSound(sound);
        timeEndPeriod(1);
        return 0;
      }
      DispatchMessageW(&message);
    }
    const DWORD now = timeGetTime();
    if (static_cast<int32_t>(now - next) < 0) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, next - now, QS_ALLINPUT);
      continue;
    }
    next = now + kFrameDelay;
    KeepSoundQueued(sound);
    static_cast<uint32_t*>(bits)[count % (kWidth * kHeight)] = count;  // a frame that changes
    HDC screen = GetDC(window);
    BitBlt(screen, 0, 0, kWidth, kHeight, frame, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
  }
}
