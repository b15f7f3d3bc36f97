// The placement questions of platform/FilePlaces.h answered by POSIX, for the layers on systems
// that have it (Linux, a page's emscripten).
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/FilePlaces.h"

namespace skyrift::platform {
namespace posix {

inline std::string Reason() {
  return std::strerror(errno);
}

// A regular file opened without waiting, or -1 with the reason. It is looked at first, so that
// no device is ever opened; O_NONBLOCK then keeps a named pipe put there meanwhile from holding
// the opening until its other end appears, and the check on what was opened refuses it.
inline int OpenRegular(const std::string& path, int flags, std::string& problem) {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    problem = "not a regular file";
    return -1;
  }
  const int file = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (file < 0) {
    // A pipe opened for writing with no reader fails with ENXIO.
    problem = errno == ENXIO ? "not a regular file" : Reason();
    return -1;
  }
  if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
    problem = "not a regular file";
    close(file);
    return -1;
  }
  return file;
}

inline std::string WriteAll(int file, const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = write(file, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return Reason();
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return {};
}

}  // namespace posix

// AppendText on POSIX.
inline std::string AppendTextPosix(const std::string& path, std::string_view text, bool afresh) {
  std::string problem;
  const int file = posix::OpenRegular(path, O_WRONLY | O_CREAT | O_APPEND, problem);
  if (file < 0) return problem;
  if (afresh && ftruncate(file, 0) != 0) problem = posix::Reason();
  if (problem.empty()) problem = posix::WriteAll(file, text.data(), text.size());
  if (close(file) != 0 && problem.empty()) problem = posix::Reason();
  return problem;
}

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
  bool Exists(const std::string& path) const override {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
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
    std::string problem;
    const int in = posix::OpenRegular(from, O_RDONLY, problem);
    if (in < 0) return problem;
    // Written under a name of its own and renamed into place only when whole: a copy cut short
    // (a full disk) must not stay where the next start takes it for the player's own. Written
    // afresh rather than copied with its mode, since the default may be read-only.
    std::string temporary = to + ".XXXXXX";
    const int out = mkstemp(temporary.data());
    if (out < 0) {
      problem = posix::Reason();
      close(in);
      return problem;
    }
    char buffer[4096];
    for (ssize_t got; problem.empty() && (got = read(in, buffer, sizeof buffer)) != 0;) {
      if (got > 0) {
        problem = posix::WriteAll(out, buffer, static_cast<size_t>(got));
      } else if (errno != EINTR) {
        problem = posix::Reason();
      }
    }
    close(in);
    if (problem.empty()) problem = ForceOut(out);
    if (close(out) != 0 && problem.empty()) problem = posix::Reason();
    if (problem.empty() && rename(temporary.c_str(), to.c_str()) != 0) problem = posix::Reason();
    if (!problem.empty()) unlink(temporary.c_str());
    return problem;
  }

 protected:
  // Sends a written file's data to the disk: some file systems tell of a full disk only then.
  virtual std::string ForceOut(int file) {
    return fsync(file) == 0 ? std::string() : posix::Reason();
  }
};

}  // namespace skyrift::platform
