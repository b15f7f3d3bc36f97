// MIDI songs on the MCI sequencer. It plays through the system's own MIDI output, beside the
// mixer; like the mixer's music, a song is only opened while the audio output is open.
#include "platform/Midi.h"

#include "platform/win32/Win32.h"

#include <mmsystem.h>

#include <string>

#include "platform/Mixer.h"
#include "platform/win32/Utf16.h"

namespace skyrift::platform {
namespace {

MCIDEVICEID song = 0;  // the one open song, 0 while none is

DWORD Command(MCIDEVICEID device, UINT message, DWORD_PTR flags, void* parameters) {
  return static_cast<DWORD>(
      mciSendCommandW(device, message, flags, reinterpret_cast<DWORD_PTR>(parameters)));
}

}  // namespace

unsigned OpenMidi(const char* fileName) {
  if (fileName == nullptr || !MixerIsOpen()) return 0;
  const std::wstring name = Utf16(fileName);
  MCI_OPEN_PARMSW open{};
  open.lpstrDeviceType = L"sequencer";
  open.lpstrElementName = name.c_str();
  if (Command(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, &open) != 0) return 0;
  CloseMidi(song);
  song = open.wDeviceID;
  return song;
}

bool PlayMidi(unsigned device, bool fromStart) {
  if (device == 0 || device != song) return false;
  MCI_PLAY_PARMS play{};
  // Without a starting point the sequencer carries on from where it was paused.
  return Command(song, MCI_PLAY, fromStart ? MCI_FROM : 0, &play) == 0;
}

void PauseMidi(unsigned device) {
  if (device == 0 || device != song) return;
  MCI_GENERIC_PARMS pause{};
  Command(song, MCI_PAUSE, MCI_WAIT, &pause);
}

void CloseMidi(unsigned device) {
  if (device == 0 || device != song) return;
  MCI_GENERIC_PARMS close{};
  Command(song, MCI_CLOSE, MCI_WAIT, &close);
  song = 0;
}

bool MidiPlaying(unsigned device) {
  if (device == 0 || device != song) return false;
  MCI_STATUS_PARMS status{};
  status.dwItem = MCI_STATUS_MODE;
  return Command(song, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &status) == 0 &&
         status.dwReturn == MCI_MODE_PLAY;
}

}  // namespace skyrift::platform
