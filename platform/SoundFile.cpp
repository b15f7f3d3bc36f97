#include "platform/SoundFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Files.h"

namespace skyrift::platform {

ReadAt ReadFromMemory(const uint8_t* bytes, size_t size) {
  return [bytes, size](uint64_t at, uint8_t* into, size_t count) {
    if (at > size || count > size - at) return false;
    std::memcpy(into, bytes + at, count);
    return true;
  };
}

ReadAt ReadFromFile(std::shared_ptr<std::ifstream> file) {
  return [file = std::move(file)](uint64_t at, uint8_t* into, size_t count) {
    file->clear();
    file->seekg(static_cast<std::streamoff>(at));
    return static_cast<bool>(
        file->read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(count)));
  };
}

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
