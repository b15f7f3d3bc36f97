// Runs the real game headless (on the null platform layer in the game's tests, on the system's
// own in the platform's) in a fresh temporary working directory, with a clock and keys the test
// drives, one frame at a time.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/Types.h"

namespace skyrift::testing {

class GameHarness {
 public:
  // Copies the shipped controls.txt, samples and music into a temporary folder unless told
  // otherwise, makes it the working directory, and starts the game up to its window.
  explicit GameHarness(bool withGameFiles = true);
  ~GameHarness();

  // Starts the game (GameInitialize, the window, its activation). False if any step failed.
  bool Start();
  // Runs `count` frames, advancing the driven clock by one frame delay plus one each time.
  void Step(int count = 1);
  // Holds or releases a key (a Windows virtual-key code).
  void Press(int virtualKey);
  void Release(int virtualKey);
  // Holds a key over `frames` frames, then lets it go.
  void Hold(int virtualKey, int frames);
  // Sends the window's activation or deactivation message.
  void Activate(bool active);
  // Closes the window as a player would; the game ends.
  void Close();

  // A pixel of the off-screen frame.
  COLORREF Pixel(int x, int y) const;
  // A pixel of the picture last shown in the window.
  COLORREF ShownPixel(int x, int y) const;
  // The lines of log.txt.
  std::vector<std::string> LogLines() const { return FileLines(folder_.Path() / "log.txt"); }
  const std::filesystem::path& Folder() const { return folder_.Path(); }

 private:
  TempFolder folder_{"skyrift-test", TempFolder::Enter::Yes};
  uint32_t clock_ = 1000;
  bool running_ = false;
};

}  // namespace skyrift::testing
