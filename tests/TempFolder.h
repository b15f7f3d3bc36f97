// A fresh folder of the test's own under the system's temporary directory, removed with all it
// holds when the object goes; optionally the working directory while it lives, since the game
// reads and writes its files (controls.txt, log.txt, the samples) where it is started.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace skyrift::testing {

class TempFolder {
 public:
  enum class Enter { No, Yes };

  explicit TempFolder(const std::string& prefix = "skyrift", Enter enter = Enter::No) {
    namespace fs = std::filesystem;
    // Test processes run side by side: a random name that no one has made yet.
    std::random_device entropy;
    do {
      path_ = fs::temp_directory_path() / (prefix + "-" + std::to_string(entropy()));
    } while (!fs::create_directories(path_));
    if (enter == Enter::Yes) {
      previous_ = fs::current_path();
      fs::current_path(path_);
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!previous_.empty()) std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;  // empty unless the folder was entered
};

// The lines of a text file, such as the game's log.txt, without their line ends (Windows's
// included); none if it does not exist.
inline std::vector<std::string> FileLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace skyrift::testing
