// The placement questions of platform/FilePlaces.h answered by POSIX, for the layers on systems
// that have it (Linux, a page's emscripten).
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/FilePlaces.h"

namespace skyrift::platform {

class PosixFileSystem : public FileSystem {
 public:
  std::string Variable(const char* name) const override {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
  }
  bool IsFile(const std::string& path) const override {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
  }
  bool CanWriteIn(const std::string& folder) const override {
    return access(folder.c_str(), W_OK | X_OK) == 0;
  }
  std::string MakeFolder(const std::string& folder) override {
    // Each missing level made private to the player, as the per-user folders should be.
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
      const std::string level = folder.substr(0, slash);
      if (mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) return std::strerror(errno);
      if (slash == std::string::npos) break;
    }
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0) return std::strerror(errno);
    if (!S_ISDIR(status.st_mode)) return "not a folder";
    if (!CanWriteIn(folder)) return std::strerror(errno);
    return {};
  }
  std::string CopyAsNew(const std::string& from, const std::string& to) override {
    // Written afresh rather than copied with its mode: the default may be read-only.
    std::ifstream in(from, std::ios::binary);
    if (!in) return std::strerror(errno);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out) return std::strerror(errno);
    out << in.rdbuf();
    out.close();
    if (!out) return "the copy could not be written";
    return {};
  }
};

}  // namespace skyrift::platform
