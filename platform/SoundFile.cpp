#include "platform/SoundFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Files.h"

namespace skyrift::platform {

bool OpenSoundFile(std::ifstream& in, const char* name, std::string& why) {
  why = WhyNotARegularFile(name);
  if (!why.empty()) return false;
  in.open(name, std::ios::binary | std::ios::ate);
  if (!in) why = std::strerror(errno);
  return static_cast<bool>(in);
}

std::optional<std::vector<uint8_t>> ReadFileStart(const char* name, uint64_t limit,
                                                  std::string& why) {
  std::ifstream in;
  if (!OpenSoundFile(in, name, why)) return std::nullopt;
  const uint64_t size = std::min(static_cast<uint64_t>(in.tellg()), limit);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    why = "it cannot be read";
    return std::nullopt;
  }
  return bytes;
}

}  // namespace skyrift::platform
