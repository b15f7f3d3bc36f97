// The two music loops as tables: sections of bars on a 16th-note grid. Read a lead line as
// four beats of four 16ths per bar; '-' holds the note before, '.' is a rest.
#include "audio/Sequencer.h"

namespace skyrift::forge::audio {

namespace {

// --- "Skyward": the title and stage 1. D major, 108 bpm, a rock backbeat under a bright
// plucked arpeggio and a singing saw lead. Verse and chorus twice, then a light bridge whose
// riser and snare roll lead back into the first verse. -------------------------------------

constexpr Groove kBrightGrooves[] = {
    // name     kick                 snare                hat                  open hat
    {"rock", "X......xX.x.....", "....X.......X...", "x.x.x.x.x.x.x.x.", "..............x."},
    {"push", "X..x..x.X.x..x..", "....X.......X..o", "xoxoxoxoxoxoxoxo", "................"},
    {"fill", "X......xX.......", "....X.....o.XxXX", "x.x.x.x.x.......", "................"},
    {"ride", "X...............", "................", "..x...x...x...x.", "................"},
    {"roll", "X.......X.......", "o.o.o.o.xxxxXXXX", "................", "................"},
};

// The verse theme: dotted-eighth leaps down each chord, then a run back up.
constexpr const char* kBrightVerse =
    "A5 - - F#5 - - D5 - E5 - F#5 - A5 - - -   C#6 - - A5 - - E5 - F#5 - E5 - C#5 - - - "
    "D6 - - B5 - - F#5 - A5 - B5 - D6 - - -    B5 - - - A5 - - - G5 - - - F#5 - E5 - "
    "A5 - - F#5 - - D5 - E5 - F#5 - A5 - - -   C#6 - - E6 - - C#6 - B5 - A5 - E5 - - - "
    "D6 - - B5 - - G5 - A5 - B5 - D6 - - -     C#6 - - - - - - - E5 - F#5 - G5 - A5 - ";

// The chorus: long notes that climb to the top of the range and fall back to the dominant.
constexpr const char* kBrightChorus =
    "B5 - - - - - A5 - B5 - - - D6 - - -       C#6 - - - - - B5 - A5 - - - E5 - - - "
    "F#5 - - - - - A5 - C#6 - - - A5 - - -     B5 - - - - - - - D6 - - - C#6 - B5 - "
    "B5 - - - - - A5 - B5 - - - D6 - - -       E6 - - - - - D6 - C#6 - - - A5 - - - "
    "F#5 - - - A5 - - - D6 - - - - - - -       E6 - - - C#6 - - - A5 - - - E5 - . . ";

constexpr Section kBrightSections[] = {
    // bars chords                drums                                             bass
    //   arpeggio            pad    lead           harmony brightness crash riser
    {8, "D A Bm G D A G A", "rock rock rock rock rock rock rock fill", "R-r.R-r.o-r.R-r.",
     "0123012301230123", true, kBrightVerse, 0, 1.0, true, false},
    {8, "G A F#m Bm G A D A", "push push push push push push push fill", "R-r-o-r-R-r-o-r-",
     "0.1.2.3.4.3.2.1.", true, kBrightChorus, 0, 1.0, true, false},
    {8, "D A Bm G D A G A", "rock rock rock rock rock rock rock fill", "R-r.R-r.o-r.R-r.",
     "0123012301230123", true, kBrightVerse, -2, 1.0, true, false},
    {8, "G A F#m Bm G A D A", "push push push push push push push fill", "R-r-o-r-R-r-o-r-",
     "0.1.2.3.4.3.2.1.", true, kBrightChorus, -2, 1.0, true, false},
    {4, "Bm G Em A", "ride ride ride roll", "R-------R-------",  //
     "0123012301230123", true, "", 0, 0.6, true, true},
};

constexpr Timbre kBrightTimbre = {.kickHz = 52.0,
                                  .bassCutoff = 320.0,
                                  .bassSweep = 1900.0,
                                  .padCutoff = 4800.0,
                                  .padDetuneCents = 12.0,
                                  .leadCutoff = 6500.0,
                                  .leadPulseWidth = 0.35,
                                  .leadPulseMix = 0.2,
                                  .arpCutoff = 5500.0,
                                  .arpLowest = 62,
                                  .reverbSize = 0.8,
                                  .delaySteps = 3,
                                  .duck = 0.55,
                                  .kickDb = -6.0,
                                  .snareDb = -6.0,
                                  .hatDb = -11.0,
                                  .bassDb = -13.0,
                                  .padDb = -14.0,
                                  .arpDb = -10.0,
                                  .leadDb = -10.0};

// --- "Undertow": stage 2. E minor with a raised leading tone, 152 bpm, a galloping bass and a
// hollow square lead over dark pads, no arpeggio but in the breakdown. Verse, chorus, a
// half-time breakdown, verse and chorus again, then a muffled four-bar build whose riser is the
// pickup into the first verse. -------------------------------------------------------------

constexpr Groove kDarkGrooves[] = {
    // name     kick                 snare                hat                  open hat
    {"intro", "X...X...X...X...", "................", "x.x.x.x.x.x.x.x.", "................"},
    {"drive", "X..x..X...X..x..", "....X.......X...", "xoxoxoxoxoxoxoxo", "................"},
    {"four", "X...X...X...X...", "....X.......X...", "xox.xox.xox.xox.", "..x...x...x...x."},
    {"fill", "X..x..X...X.....", "....X.......XxXX", "xoxoxoxoxoxo....", "................"},
    {"none", "................", "................", "................", "................"},
    {"air", "................", "................", "x.o.x.o.x.o.x.o.", "................"},
    {"half", "X.........X.....", "........X.......", "x.x.x.x.x.x.x.x.", "................"},
    {"roll", "X.......X.......", "x.x.x.x.xxxxXXXX", "................", "................"},
};

// The riff: up the minor chord and down the scale, answered over the leading tone.
constexpr const char* kDarkVerse =
    "E5 - - G5 - - B5 - A5 - G5 - F#5 - G5 -   E5 - - - - - - - C5 - D5 - E5 - G5 - "
    "F#5 - - A5 - - D6 - C6 - B5 - A5 - F#5 -  D#5 - - - - - F#5 - B5 - - - A5 - F#5 - "
    "E5 - - G5 - - B5 - A5 - G5 - F#5 - G5 -   C6 - - B5 - - G5 - E5 - - - G5 - A5 - "
    "A5 - - - C6 - - - B5 - A5 - G5 - F#5 -    D#5 - - - F#5 - - - B5 - - - - - . . ";

// The chorus: wide, held notes over a four-to-the-floor lift.
constexpr const char* kDarkChorus =
    "G5 - - - - - - - C6 - - - B5 - G5 -       A5 - - - - - - - D6 - - - C6 - A5 - "
    "B5 - - - - - - - - - - - G5 - A5 -        B5 - - - E6 - - - D6 - - - B5 - - - "
    "G5 - - - - - - - C6 - - - B5 - G5 -       A5 - - - - - - - D6 - - - E6 - F#6 - "
    "D#6 - - - - - - - B5 - - - F#5 - - -      B5 - - - - - - - - - - - A5 - - - ";

// The breakdown's slow line over the pads.
constexpr const char* kDarkBreak =
    "C6 - - - - - - - B5 - - - A5 - - -        B5 - - - - - - - - - - - G5 - - - "
    "E5 - - - - - - - G5 - - - C6 - - -        B5 - - - - - - - - - - - . . . . "
    "C6 - - - - - - - B5 - - - A5 - - -        B5 - - - - - - - G5 - - - E6 - - - "
    "E6 - - - - - - - D6 - - - C6 - - -        B5 - - - - - - - D#6 - - - F#6 - - - ";

constexpr Section kDarkSections[] = {
    {8, "Em C D B Em C Am B", "drive drive drive drive drive drive drive fill", "R.rrR.rrR.rrR.ro",
     "", true, kDarkVerse, 0, 1.0, true, false},
    {8, "C D Em Em C D B B", "four four four four four four four fill", "R-r-r-r-R-r-o-r-", "",
     true, kDarkChorus, 0, 1.0, true, false},
    {8, "Am Em C B Am Em C B", "none none air air half half half roll", "R-------R-------",
     "0.1.2.3.2.1.0.1.", true, kDarkBreak, 0, 0.55, true, true},
    {8, "Em C D B Em C Am B", "drive drive drive drive drive drive drive fill", "R.rrR.rrR.rrR.ro",
     "", true, kDarkVerse, -2, 1.0, true, false},
    {8, "C D Em Em C D B B", "four four four four four four four fill", "R-r-r-r-R-r-o-r-", "",
     true, kDarkChorus, -2, 1.0, true, false},
    {4, "Em C D B", "intro intro intro fill", "R.rrR.rrR.rrR.ro",  //
     "", false, "", 0, 0.4, false, true},
};

constexpr Timbre kDarkTimbre = {.kickHz = 46.0,
                                .bassCutoff = 200.0,
                                .bassSweep = 900.0,
                                .padCutoff = 900.0,
                                .padDetuneCents = 16.0,
                                .leadCutoff = 2200.0,
                                .leadPulseWidth = 0.5,
                                .leadPulseMix = 0.85,
                                .arpCutoff = 1500.0,
                                .arpLowest = 59,
                                .reverbSize = 0.86,
                                .delaySteps = 3,
                                .duck = 0.6,
                                .kickDb = -2.0,
                                .snareDb = -5.0,
                                .hatDb = -21.0,
                                .bassDb = -6.0,
                                .padDb = -13.0,
                                .arpDb = -15.0,
                                .leadDb = -11.0};

const Song kBright = {
    "Skyward",       108.0,         2,          {0, 2, 4, 5, 7, 9, 11}, kBrightGrooves,
    kBrightSections, kBrightTimbre, 0x5C1A4A2Du};
const Song kDark = {"Undertow",   152.0,         4,           {0, 2, 3, 5, 7, 8, 10},
                    kDarkGrooves, kDarkSections, kDarkTimbre, 0xDA4C0DE5u};

}  // namespace

const Song& BrightSong() {
  return kBright;
}
const Song& DarkSong() {
  return kDark;
}

}  // namespace skyrift::forge::audio
