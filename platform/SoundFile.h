// Reading a sound or music file from disk, the same way on every platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skyrift::platform {

// The first `limit` bytes of the file (all of a shorter one), or nothing with the reason in
// `why`. Only regular files are read (see WhyNotARegularFile).
std::optional<std::vector<uint8_t>> ReadFileStart(const char* name, uint64_t limit, std::string& why);

}  // namespace skyrift::platform
