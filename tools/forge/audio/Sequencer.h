// A small pattern sequencer for the music loops: songs are tables of sections on a 16th-note
// grid (chords, a drum groove, a bass pattern, an arpeggio, pads and a lead melody), rendered
// by a handful of synthesiser voices into one seamless stereo loop.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skyrift::forge::audio {

// One bar of drums: a character per 16th step. 'X' accent, 'x' normal, 'o' ghost, '.' silent.
struct Groove {
  const char* name;
  const char* kick;
  const char* snare;
  const char* hat;
  const char* openHat;
};

// A run of bars that share their instruments.
//   chords: one chord per bar ("Em", "F#m7", "Dsus4"); "C,D" splits a bar into halves.
//   drums:  one groove name per bar, or a single name for every bar.
//   bass:   16 steps over the bar's chord: 'r' root, 'o' octave, 'f' fifth (capital: accented),
//           '-' hold, '.' rest. Empty for none.
//   arp:    16 steps, a digit picks a chord tone counted upward from the root ('3' on a triad is
//           the octave), '-' hold, '.' rest. Empty for none.
//   lead:   16 whitespace-separated tokens per bar: a note ("C#5"), '-' hold, '.' rest.
//   harmony: scale steps of a second, softer lead voice (-2: a third below); 0 for none.
struct Section {
  int bars;
  const char* chords;
  const char* drums;
  const char* bass;
  const char* arp;
  bool pad;
  const char* lead;
  int harmony;
  double brightness;  // 1 is the song's normal filter setting; lower for a muffled build-up
  bool crash;         // a crash cymbal on the section's first beat
  bool riser;         // a noise sweep rising through the section's last bar
};

// The sound of a song's instruments and its mix, levels in dB.
struct Timbre {
  double kickHz;          // where the kick's pitch drop settles
  double bassCutoff;      // bass filter at rest, Hz
  double bassSweep;       // what the bass filter envelope adds on each note, Hz
  double padCutoff;       // Hz
  double padDetuneCents;  // spread of the pad's three saws
  double leadCutoff;      // Hz
  double leadPulseWidth;  // of the lead's pulse oscillator
  double leadPulseMix;    // 0 all saw, 1 all pulse
  double arpCutoff;       // Hz
  int arpLowest;          // lowest MIDI note the arpeggio's root may take
  double reverbSize;      // 0..1
  int delaySteps;         // echo time of the lead and arpeggio, in 16th steps
  double duck;            // how far the kick pushes the pads and bass down, 0..1
  double kickDb, snareDb, hatDb, bassDb, padDb, arpDb, leadDb;
};

struct Song {
  const char* title;
  double bpm;
  int key;                   // pitch class of the tonic, C = 0
  std::array<int, 7> scale;  // semitones above the tonic, for the harmony voice
  std::span<const Groove> grooves;
  std::span<const Section> sections;
  Timbre timbre;
  uint64_t seed;
};

// The title and stage-one music: driving and bright.
const Song& BrightSong();
// The stage-two music: darker and faster.
const Song& DarkSong();

// Renders the whole song as one loop of interleaved stereo samples at kRate, in -1..1, whose end
// runs seamlessly into its start. Returns false with a message when the song's tables are wrong.
bool RenderSong(const Song& song, std::vector<float>& stereo, std::string& error);

}  // namespace skyrift::forge::audio
