// Where the game's files live: its read-only data (samples, music, the default controls) and
// the files it writes or a player edits (log.txt, controls.txt, settings.txt). The rules are
// written once here; each platform layer only answers the system's questions. Paths are UTF-8.
#pragma once

#include <string>
#include <vector>

namespace skyrift::platform {

// The questions only the system can answer, asked by PlaceFiles.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // An environment variable's value, empty when it is unset.
  virtual std::string Variable(const char* name) const = 0;
  virtual bool IsFile(const std::string& path) const = 0;
  // Whether anything at all is there: a file, a folder, a named pipe, a dangling link...
  virtual bool Exists(const std::string& path) const = 0;
  // Whether this process may make files in an existing folder.
  virtual bool CanWriteIn(const std::string& folder) const = 0;
  // Makes the folder and its parents as needed and checks it can be written: empty when it can,
  // otherwise the reason.
  virtual std::string MakeFolder(const std::string& folder) = 0;
  // Copies a file into a new one the player may edit, whole or not at all: empty on success,
  // otherwise the reason.
  virtual std::string CopyAsNew(const std::string& from, const std::string& to) = 0;
};

enum class System { Linux, Windows };

struct FilePlaces {
  std::string dataFolder;             // samples, music and the default controls.txt
  std::string controlsFile;           // the controls the game reads
  std::string defaultControls;        // read instead when the player's own bind nothing
  std::string logFile;                // empty when no log can be kept
  std::string settingsFile;           // the player's volume; empty when none can be kept
  std::vector<std::string> problems;  // one line each for standard error
};

// Portable (the game's files beside the executable, and that folder writable): everything
// beside it. Otherwise the per-user folders, made as needed, with the controls copied there
// from the default the first time.
FilePlaces PlaceFiles(const std::string& programFolder, System system, FileSystem& files);

// The places for this process, asked of the running system.
FilePlaces PlaceGameFiles(const std::string& programFolder);

// The running system's answers, on a layer that has a file system to ask.
FileSystem& SystemFiles();

}  // namespace skyrift::platform
