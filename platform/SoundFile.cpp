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

ReadAt ReadAheadFromFile(std::shared_ptr<std::ifstream> file, size_t stretch) {
  struct Held {
    uint64_t at = 0;
    std::vector<uint8_t> bytes;
  };
  auto held = std::make_shared<Held>();
  return [file, held, stretch, direct = ReadFromFile(file)](uint64_t at, uint8_t* into,
                                                            size_t count) {
    if (count >= stretch) return direct(at, into, count);  // never held whole
    const auto holds = [&] {
      return at >= held->at && at - held->at <= held->bytes.size() &&
             count <= held->bytes.size() - (at - held->at);
    };
    if (!holds()) {
      // The stretch from `at`, or as much of it as the file has: its last frames are near its end.
      held->at = at;
      held->bytes.resize(stretch);
      file->clear();
      file->seekg(static_cast<std::streamoff>(at));
      file->read(reinterpret_cast<char*>(held->bytes.data()),
                 static_cast<std::streamsize>(held->bytes.size()));
      held->bytes.resize(file->fail() && !file->eof() ? 0 : static_cast<size_t>(file->gcount()));
      if (!holds()) return false;
    }
    if (count > 0) std::memcpy(into, held->bytes.data() + (at - held->at), count);
    return true;
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
