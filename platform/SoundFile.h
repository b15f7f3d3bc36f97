// Reading a sound or music file from disk, the same way on every platform.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace skyrift::platform {

// Fills `bytes` bytes at `into` from the file at offset `at`; false when the file ends first.
using ReadAt = std::function<bool(uint64_t at, uint8_t* into, size_t bytes)>;
// Reads from the `size` bytes at `bytes`, which must outlive what is returned.
ReadAt ReadFromMemory(const uint8_t* bytes, size_t size);
// Reads from an open file, kept open for as long as what is returned is.
ReadAt ReadFromFile(std::shared_ptr<std::ifstream> file);
// The same for a file read a little at a time from start to end, as music is while it plays:
// the file is read `stretch` bytes at once and small reads are served from that, so a frame of
// music costs a copy rather than a seek and a read of the system's. Larger reads go straight to
// the file. Like the file itself, what is returned is for one thread at a time.
ReadAt ReadAheadFromFile(std::shared_ptr<std::ifstream> file, size_t stretch);

// Opens a regular file for reading, positioned at its end (so that tellg gives its size); false
// with the reason in `why` when it cannot be.
bool OpenSoundFile(std::ifstream& in, const char* name, std::string& why);

// The first `limit` bytes of the file (all of a shorter one), or nothing with the reason in
// `why`. Only regular files are read (see WhyNotARegularFile).
std::optional<std::vector<uint8_t>> ReadFileStart(const char* name, uint64_t limit,
                                                  std::string& why);

}  // namespace skyrift::platform
