// SDL's disk output for the sound tests: the mix is written to a file as fast as it is made.
// The driver asked for before is given back when the test ends, so that the rest of a run
// sharing the process keeps its own output.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace skyrift::testing {

class DiskOutput {
 public:
  explicit DiskOutput(const std::string& capture) {
    if (const char* driver = std::getenv("SDL_AUDIODRIVER")) previous_ = driver;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
  }
  ~DiskOutput() {
    if (previous_) {
      setenv("SDL_AUDIODRIVER", previous_->c_str(), 1);
    } else {
      unsetenv("SDL_AUDIODRIVER");
    }
  }
  DiskOutput(const DiskOutput&) = delete;
  DiskOutput& operator=(const DiskOutput&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace skyrift::testing
