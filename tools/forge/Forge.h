// The asset forge: draws every picture and synthesises every sound of the game at build time.
#pragma once

#include <cstddef>
#include <filesystem>

namespace skyrift::forge {

// Writes the bitmaps, both icons and the text face named in resources/skyrift.rc into outDir,
// and beside them the screens whose keys the game letters as painted with the shipped keys
// ("lettered_title.bmp"...), for the tests. Returns a process exit code (0 on success).
int ForgeImages(const std::filesystem::path& outDir);

// Writes a PNG of every image side by side, magenta shown as a checkerboard, for review.
int WriteContactSheet(const std::filesystem::path& imageDir, const std::filesystem::path& pngFile);

// Writes the fifteen .wav samples and the two .mp3 music loops into outDir. With an endsDir,
// also writes there, for each loop, the first and last kMusicEndFrames frames of the sound its
// encoder was given ("stage2.ends.f32": 32-bit float stereo, the start then the end), which a
// decoder's output must line up with at the start of the loop and across its seam.
constexpr size_t kMusicEndFrames = 8192;
int ForgeAudio(const std::filesystem::path& outDir, const std::filesystem::path& endsDir = {});

}  // namespace skyrift::forge
