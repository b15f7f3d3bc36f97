// The placement rules for the game's files, on any system: the layers answer the questions.
#include "platform/FilePlaces.h"

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

// An XDG base folder: the variable when it holds an absolute path (a relative one is to be
// ignored), else its default under the home folder; empty when neither is known.
std::string XdgFolder(const FileSystem& files, const char* variable, const char* underHome) {
  std::string base = files.Variable(variable);
  if (base.empty() || base.front() != '/') {
    const std::string home = files.Variable("HOME");
    if (home.empty()) return {};
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

  // An installed game never writes beside its executable, not even when root runs it.
  if (!isInstalled && files.CanWriteIn(programFolder)) {
    places.controlsFile = defaultControls;
    places.logFile = Join(programFolder, kLog, system);
    places.settingsFile = Join(programFolder, kSettings, system);
    return places;
  }

  std::string stateFolder, configFolder;
  const char* stateUnknownBecause = "neither XDG_STATE_HOME nor HOME is set";
  const char* configUnknownBecause = "neither XDG_CONFIG_HOME nor HOME is set";
  if (system == System::Windows) {
    const std::string local = files.Variable("LOCALAPPDATA");
    if (!local.empty()) {
      stateFolder = configFolder =
          Join(WithoutTrailingSeparators(local, system), "Skyrift", system);
    }
    stateUnknownBecause = configUnknownBecause = "LOCALAPPDATA is not set";
  } else {
    stateFolder = XdgFolder(files, "XDG_STATE_HOME", "/.local/state");
    configFolder = XdgFolder(files, "XDG_CONFIG_HOME", "/.config");
  }

  const std::string stateProblem = Prepare(files, stateFolder, stateUnknownBecause);
  if (stateProblem.empty()) {
    places.logFile = Join(stateFolder, kLog, system);
  } else {
    places.problems.push_back("cannot keep log.txt" + In(stateFolder) + ": " + stateProblem +
                              "; no log is kept");
  }

  // On Windows both files share one folder: it is made, or found wanting, once.
  const std::string configProblem = !configFolder.empty() && configFolder == stateFolder
                                        ? stateProblem
                                        : Prepare(files, configFolder, configUnknownBecause);
  places.controlsFile = defaultControls;
  if (!configProblem.empty()) {
    places.problems.push_back("cannot keep controls.txt" + In(configFolder) + ": " + configProblem +
                              "; the default keys are read from \"" + defaultControls + "\"");
    return places;
  }
  places.settingsFile = Join(configFolder, kSettings, system);
  // The player's own copy, made once from the default so there is one to edit.
  const std::string own = Join(configFolder, kControls, system);
  const std::string copyProblem = files.IsFile(own) ? "" : files.CopyAsNew(defaultControls, own);
  if (copyProblem.empty()) {
    places.controlsFile = own;
  } else {
    places.problems.push_back("cannot copy \"" + defaultControls + "\" to \"" + own +
                              "\": " + copyProblem + "; the default keys are used");
  }
  return places;
}

}  // namespace skyrift::platform
