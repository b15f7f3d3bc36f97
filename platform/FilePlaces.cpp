// The placement rules for the game's files, on any system: the layers answer the questions.
#include "platform/FilePlaces.h"

#include <cctype>

namespace skyrift::platform {
namespace {

constexpr const char* kControls = "controls.txt";
constexpr const char* kLog = "log.txt";
constexpr const char* kSettings = "settings.txt";

bool IsSeparator(char c, System system) {
  return c == '/' || (system == System::Windows && c == '\\');
}

std::string WithoutTrailingSeparators(std::string folder, System system) {
  while (folder.size() > 1 && IsSeparator(folder.back(), system)) folder.pop_back();
  return folder;
}

std::string Join(const std::string& folder, const std::string& name, System system) {
  return folder + (system == System::Windows ? '\\' : '/') + name;
}

// The installed layout, found from the program so that an unpacked package works from any
// root: <root>/usr/games/skyrift reads <root>/usr/share/games/skyrift.
std::string InstalledDataFolder(const std::string& programFolder) {
  const size_t slash = programFolder.find_last_of('/');
  if (slash == std::string::npos) return {};
  return programFolder.substr(0, slash) + "/share/games/skyrift";
}

// Only an absolute folder is used: the game moves into its data folder once started, and a
// relative one would then name another place. On Windows "C:x" and "\x" count as relative too.
bool IsAbsolute(const std::string& path, System system) {
  if (system == System::Linux) return !path.empty() && path.front() == '/';
  const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                     path[1] == ':' && IsSeparator(path[2], system);
  const bool share =
      path.size() >= 2 && IsSeparator(path[0], system) && IsSeparator(path[1], system);
  return drive || share;
}

// An XDG base folder: the variable when it holds an absolute path, else its default under the
// home folder; empty when neither is known.
std::string XdgFolder(const FileSystem& files, const char* variable, const char* underHome) {
  std::string base = files.Variable(variable);
  if (!IsAbsolute(base, System::Linux)) {
    const std::string home = files.Variable("HOME");
    if (!IsAbsolute(home, System::Linux)) return {};
    base = WithoutTrailingSeparators(home, System::Linux) + underHome;
  }
  return WithoutTrailingSeparators(base, System::Linux) + "/skyrift";
}

// " in "folder"", or nothing when there is no folder to name.
std::string In(const std::string& folder) {
  return folder.empty() ? "" : " in \"" + folder + "\"";
}

// Empty when the folder is ready to be written, otherwise why not.
std::string Prepare(FileSystem& files, const std::string& folder, const char* unknownBecause) {
  return folder.empty() ? unknownBecause : files.MakeFolder(folder);
}

// The log's path, unless something that is no file holds its name: a named pipe there would
// stop the game at its first line.
std::string LogUnlessTaken(const FileSystem& files, const std::string& log,
                           std::vector<std::string>& problems) {
  if (!files.Exists(log) || files.IsFile(log)) return log;
  problems.push_back("cannot keep log.txt: \"" + log + "\" is not a regular file; no log is kept");
  return {};
}

}  // namespace

FilePlaces PlaceFiles(const std::string& programFolderAsGiven, System system, FileSystem& files) {
  const std::string programFolder = WithoutTrailingSeparators(programFolderAsGiven, system);
  FilePlaces places;
  const bool portable = files.IsFile(Join(programFolder, kControls, system));
  const std::string installed = system == System::Linux ? InstalledDataFolder(programFolder) : "";
  const bool isInstalled =
      !portable && !installed.empty() && files.IsFile(Join(installed, kControls, system));
  places.dataFolder = isInstalled ? installed : programFolder;
  const std::string defaultControls = Join(places.dataFolder, kControls, system);
  places.controlsFile = places.defaultControls = defaultControls;

  // An installed game never writes beside its executable, not even when root runs it.
  if (!isInstalled && files.CanWriteIn(programFolder)) {
    places.logFile = LogUnlessTaken(files, Join(programFolder, kLog, system), places.problems);
    places.settingsFile = Join(programFolder, kSettings, system);
    return places;
  }

  std::string stateFolder, configFolder;
  const char* stateUnknownBecause = "neither XDG_STATE_HOME nor HOME is set to an absolute path";
  const char* configUnknownBecause = "neither XDG_CONFIG_HOME nor HOME is set to an absolute path";
  if (system == System::Windows) {
    const std::string local = files.Variable("LOCALAPPDATA");
    if (IsAbsolute(local, system)) {
      stateFolder = configFolder =
          Join(WithoutTrailingSeparators(local, system), "Skyrift", system);
    }
    stateUnknownBecause = configUnknownBecause = "LOCALAPPDATA is not set to an absolute path";
  } else {
    stateFolder = XdgFolder(files, "XDG_STATE_HOME", "/.local/state");
    configFolder = XdgFolder(files, "XDG_CONFIG_HOME", "/.config");
  }

  const std::string stateProblem = Prepare(files, stateFolder, stateUnknownBecause);
  if (stateProblem.empty()) {
    places.logFile = LogUnlessTaken(files, Join(stateFolder, kLog, system), places.problems);
  } else {
    places.problems.push_back("cannot keep log.txt" + In(stateFolder) + ": " + stateProblem +
                              "; no log is kept");
  }

  // Without a default there is nothing to copy or fall back on: the reading of the controls
  // says so, once, rather than a promise of default keys here.
  const bool hasDefault = files.IsFile(defaultControls);
  const std::string readingDefault = "; the default keys are read from \"" + defaultControls + "\"";
  // On Windows both files share one folder: it is made, or found wanting, once.
  const std::string configProblem = !configFolder.empty() && configFolder == stateFolder
                                        ? stateProblem
                                        : Prepare(files, configFolder, configUnknownBecause);
  if (!configProblem.empty()) {
    if (hasDefault) {
      places.problems.push_back("cannot keep controls.txt" + In(configFolder) + ": " +
                                configProblem + readingDefault);
    }
    return places;
  }
  places.settingsFile = Join(configFolder, kSettings, system);
  // The player's own copy, made once from the default so there is one to edit.
  const std::string own = Join(configFolder, kControls, system);
  if (files.IsFile(own)) {
    places.controlsFile = own;
  } else if (files.Exists(own)) {
    if (hasDefault) {
      places.problems.push_back("cannot keep controls.txt: \"" + own + "\" is not a regular file" +
                                readingDefault);
    }
  } else if (hasDefault) {
    const std::string copyProblem = files.CopyAsNew(defaultControls, own);
    if (copyProblem.empty()) {
      places.controlsFile = own;
    } else {
      places.problems.push_back("cannot copy \"" + defaultControls + "\" to \"" + own +
                                "\": " + copyProblem + readingDefault);
    }
  }
  return places;
}

}  // namespace skyrift::platform
