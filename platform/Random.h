// The game's random numbers: one generator on every system, drawing as the GNU C library's
// rand() draws (its additive feedback generator of degree 31), so that a seed plays the same
// game on Linux, Windows and in a page, and a recorded replay holds on each.
#pragma once

#include <array>
#include <cstdint>

namespace skyrift::platform {

// The largest number Random returns.
constexpr int kRandomMax = 0x7FFFFFFF;

// Starts the sequence again from `seed`; a seed of 0 draws as 1 does.
void SeedRandom(uint32_t seed);

// The next number, from 0 to kRandomMax.
int Random();

// The generator's whole state without drawing from it, laid out as that C library keeps it:
// first a word of where the read position is (5 times its index, plus 3), then the 31 words of
// the table.
std::array<int32_t, 32> RandomState();

}  // namespace skyrift::platform
