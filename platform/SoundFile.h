// Reading a sound or music file from disk, the same way on every platform.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace skyrift::platform {

// Opens a regular file for reading, positioned at its end (so that tellg gives its size); false
// with the reason in `why` when it cannot be.
bool OpenSoundFile(std::ifstream& in, const char* name, std::string& why);

// The first `limit` bytes of the file (all of a shorter one), or nothing with the reason in
// `why`. Only regular files are read (see WhyNotARegularFile).
std::optional<std::vector<uint8_t>> ReadFileStart(const char* name, uint64_t limit,
                                                  std::string& why);

}  // namespace skyrift::platform
