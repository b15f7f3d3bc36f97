// MIDI songs. A song plays only where a MIDI synthesiser is installed and the audio output is
// open; otherwise opening or playing it fails and nothing sounds. On SDL songs go through the
// mixer's one music player: a playing song stands in for the stage music, and the stage music,
// once started again, for the song. Windows' sequencer plays a song beside the stage music. The
// null layer has no synthesiser.
#pragma once

namespace skyrift::platform {

// Opens a .mid file as a song; its device number (never 0), or 0 when it cannot be played.
unsigned OpenMidi(const char* fileName);
// Plays the song from where it stands, or from its start; false when it cannot.
bool PlayMidi(unsigned device, bool fromStart);
// Pauses the song if it is the one playing.
void PauseMidi(unsigned device);
// Stops and frees the song; unknown devices are ignored.
void CloseMidi(unsigned device);
// Whether the song is playing now (not paused, not finished, not replaced).
bool MidiPlaying(unsigned device);

}  // namespace skyrift::platform
