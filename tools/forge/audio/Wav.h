// Reading and writing the RIFF wave files the game loads its samples from.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "audio/Dsp.h"

namespace skyrift::forge::audio {

enum class WavFormat { Mono8, Mono16, Stereo16 };

// Writes samples in -1..1 (interleaved left, right for stereo) as uncompressed PCM. 8-bit
// samples are dithered and their quantisation noise shaped up towards the top of the band,
// where the ear hears it least.
// Returns false with a message in `error` when the file cannot be written.
bool WriteWav(const std::filesystem::path& file, const std::vector<double>& samples, int rate,
              WavFormat format, std::string& error);

}  // namespace skyrift::forge::audio
