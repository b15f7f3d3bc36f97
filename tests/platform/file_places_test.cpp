// Where the game's files live: portable or installed, writable or not, with the per-user
// variables set or not, and folders that cannot be made; on a system told by a table.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FilePlaces.h"

namespace skyrift::platform {
namespace {

class TableFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> variables;
  std::set<std::string> files;
  std::set<std::string> others;  // there, but no regular file: a named pipe, a folder...
  std::set<std::string> writable;
  std::map<std::string, std::string> unmakeable;  // folder, and why it cannot be made
  std::string copyFailure;
  std::vector<std::string> made, copies;

  std::string Variable(const char* name) const override {
    const auto found = variables.find(name);
    return found == variables.end() ? "" : found->second;
  }
  bool IsFile(const std::string& path) const override { return files.count(path) > 0; }
  bool Exists(const std::string& path) const override {
    return files.count(path) > 0 || others.count(path) > 0;
  }
  bool CanWriteIn(const std::string& folder) const override { return writable.count(folder) > 0; }
  std::string MakeFolder(const std::string& folder) override {
    made.push_back(folder);
    const auto found = unmakeable.find(folder);
    return found == unmakeable.end() ? "" : found->second;
  }
  std::string CopyAsNew(const std::string& from, const std::string& to) override {
    copies.push_back(from + " > " + to);
    return copyFailure;
  }
};

struct Case {
  const char* name;
  System system;
  const char* program;
  std::map<std::string, std::string> variables;
  std::set<std::string> files;
  std::set<std::string> writable;
  std::map<std::string, std::string> unmakeable;
  const char* copyFailure;
  // Expected:
  const char* data;
  const char* controls;
  const char* log;
  std::vector<std::string> copies;
  std::vector<std::string> problems;
  std::set<std::string> others = {};
};

const std::map<std::string, std::string> kXdg = {
    {"HOME", "/home/ann"}, {"XDG_STATE_HOME", "/st"}, {"XDG_CONFIG_HOME", "/cf"}};
const std::map<std::string, std::string> kHomeOnly = {{"HOME", "/home/ann"}};
const std::set<std::string> kPortable = {"/g/controls.txt"};
const std::set<std::string> kInstalled = {"/r/usr/share/games/skyrift/controls.txt"};
const char* kInstalledData = "/r/usr/share/games/skyrift";
const char* kInstalledDefault = "/r/usr/share/games/skyrift/controls.txt";

const Case kCases[] = {
    {"portable and writable: everything beside the program, as always",
     System::Linux,
     "/g/",
     kXdg,
     kPortable,
     {"/g"},
     {},
     "",
     "/g",
     "/g/controls.txt",
     "/g/log.txt",
     {},
     {}},
    {"portable but read-only: the XDG folders",
     System::Linux,
     "/g",
     kXdg,
     kPortable,
     {},
     {},
     "",
     "/g",
     "/cf/skyrift/controls.txt",
     "/st/skyrift/log.txt",
     {"/g/controls.txt > /cf/skyrift/controls.txt"},
     {}},
    {"installed, even run by root who may write there: home defaults",
     System::Linux,
     "/r/usr/games/",
     kHomeOnly,
     kInstalled,
     {"/r/usr/games"},
     {},
     "",
     kInstalledData,
     "/home/ann/.config/skyrift/controls.txt",
     "/home/ann/.local/state/skyrift/log.txt",
     {std::string(kInstalledDefault) + " > /home/ann/.config/skyrift/controls.txt"},
     {}},
    {"relative XDG values are ignored",
     System::Linux,
     "/r/usr/games",
     {{"HOME", "/home/ann/"}, {"XDG_STATE_HOME", "st"}, {"XDG_CONFIG_HOME", "cf"}},
     kInstalled,
     {},
     {},
     "",
     kInstalledData,
     "/home/ann/.config/skyrift/controls.txt",
     "/home/ann/.local/state/skyrift/log.txt",
     {std::string(kInstalledDefault) + " > /home/ann/.config/skyrift/controls.txt"},
     {}},
    {"the player's own controls are kept, not copied over",
     System::Linux,
     "/r/usr/games",
     kXdg,
     {kInstalledDefault, "/cf/skyrift/controls.txt"},
     {},
     {},
     "",
     kInstalledData,
     "/cf/skyrift/controls.txt",
     "/st/skyrift/log.txt",
     {},
     {}},
    {"a state folder that cannot be made: no log, the controls still placed",
     System::Linux,
     "/r/usr/games",
     kXdg,
     kInstalled,
     {},
     {{"/st/skyrift", "Permission denied"}},
     "",
     kInstalledData,
     "/cf/skyrift/controls.txt",
     "",
     {std::string(kInstalledDefault) + " > /cf/skyrift/controls.txt"},
     {"cannot keep log.txt in \"/st/skyrift\": Permission denied; no log is kept"}},
    {"a config folder that cannot be made: the default keys",
     System::Linux,
     "/r/usr/games",
     kXdg,
     kInstalled,
     {},
     {{"/cf/skyrift", "Read-only file system"}},
     "",
     kInstalledData,
     kInstalledDefault,
     "/st/skyrift/log.txt",
     {},
     {"cannot keep controls.txt in \"/cf/skyrift\": Read-only file system; the default keys are "
      "read from \"/r/usr/share/games/skyrift/controls.txt\""}},
    {"no home and no XDG: nothing written, the default keys",
     System::Linux,
     "/r/usr/games",
     {},
     kInstalled,
     {},
     {},
     "",
     kInstalledData,
     kInstalledDefault,
     "",
     {},
     {"cannot keep log.txt: neither XDG_STATE_HOME nor HOME is set to an absolute path; no log is "
      "kept",
      "cannot keep controls.txt: neither XDG_CONFIG_HOME nor HOME is set to an absolute path; the "
      "default keys are "
      "read from \"/r/usr/share/games/skyrift/controls.txt\""}},
    {"a copy that fails: the default keys",
     System::Linux,
     "/g",
     kXdg,
     kPortable,
     {},
     {},
     "No space left on device",
     "/g",
     "/g/controls.txt",
     "/st/skyrift/log.txt",
     {"/g/controls.txt > /cf/skyrift/controls.txt"},
     {"cannot copy \"/g/controls.txt\" to \"/cf/skyrift/controls.txt\": No space left on device; "
      "the default keys are read from \"/g/controls.txt\""}},
    {"a program folder with neither layout: portable, missing files fail as they always did",
     System::Linux,
     "/g",
     kXdg,
     {},
     {"/g"},
     {},
     "",
     "/g",
     "/g/controls.txt",
     "/g/log.txt",
     {},
     {}},
    {"a relative HOME is as good as none: the game leaves the folder it names",
     System::Linux,
     "/r/usr/games",
     {{"HOME", "home/ann"}, {"XDG_STATE_HOME", "/st"}},
     kInstalled,
     {},
     {},
     "",
     kInstalledData,
     kInstalledDefault,
     "/st/skyrift/log.txt",
     {},
     {"cannot keep controls.txt: neither XDG_CONFIG_HOME nor HOME is set to an absolute path; "
      "the default keys are read from \"/r/usr/share/games/skyrift/controls.txt\""}},
    {"a portable game unpacked where an installed one also lies: the portable one wins",
     System::Linux,
     "/r/usr/games",
     kXdg,
     {"/r/usr/games/controls.txt", kInstalledDefault},
     {},
     {},
     "",
     "/r/usr/games",
     "/cf/skyrift/controls.txt",
     "/st/skyrift/log.txt",
     {"/r/usr/games/controls.txt > /cf/skyrift/controls.txt"},
     {}},
    {"the installed data folder missing: no copy and no promise of default keys",
     System::Linux,
     "/r/usr/games",
     kXdg,
     {},
     {},
     {},
     "",
     "/r/usr/games",
     "/r/usr/games/controls.txt",
     "/st/skyrift/log.txt",
     {},
     {}},
    {"named pipes where the player's files go are refused, never opened",
     System::Linux,
     "/r/usr/games",
     kXdg,
     kInstalled,
     {},
     {},
     "",
     kInstalledData,
     kInstalledDefault,
     "",
     {},
     {"cannot keep log.txt: \"/st/skyrift/log.txt\" is not a regular file; no log is kept",
      "cannot keep controls.txt: \"/cf/skyrift/controls.txt\" is not a regular file; the default "
      "keys are read from \"/r/usr/share/games/skyrift/controls.txt\""},
     {"/st/skyrift/log.txt", "/cf/skyrift/controls.txt"}},
    {"portable, with a folder in the log's place",
     System::Linux,
     "/g",
     kXdg,
     kPortable,
     {"/g"},
     {},
     "",
     "/g",
     "/g/controls.txt",
     "",
     {},
     {"cannot keep log.txt: \"/g/log.txt\" is not a regular file; no log is kept"},
     {"/g/log.txt"}},
    {"Windows, writable: beside the program",
     System::Windows,
     "C:\\Games\\Skyrift",
     {{"LOCALAPPDATA", "C:\\Users\\Ann\\AppData\\Local"}},
     {"C:\\Games\\Skyrift\\controls.txt"},
     {"C:\\Games\\Skyrift"},
     {},
     "",
     "C:\\Games\\Skyrift",
     "C:\\Games\\Skyrift\\controls.txt",
     "C:\\Games\\Skyrift\\log.txt",
     {},
     {}},
    {"Windows under Program Files: both files in LOCALAPPDATA",
     System::Windows,
     "C:\\Program Files\\Skyrift\\",
     {{"LOCALAPPDATA", "C:\\Users\\Ann\\AppData\\Local\\"}},
     {"C:\\Program Files\\Skyrift\\controls.txt"},
     {},
     {},
     "",
     "C:\\Program Files\\Skyrift",
     "C:\\Users\\Ann\\AppData\\Local\\Skyrift\\controls.txt",
     "C:\\Users\\Ann\\AppData\\Local\\Skyrift\\log.txt",
     {"C:\\Program Files\\Skyrift\\controls.txt > "
      "C:\\Users\\Ann\\AppData\\Local\\Skyrift\\controls.txt"},
     {}},
    {"Windows, a folder that cannot be made is one problem for each file",
     System::Windows,
     "C:\\Program Files\\Skyrift",
     {{"LOCALAPPDATA", "D:\\L"}},
     {"C:\\Program Files\\Skyrift\\controls.txt"},
     {},
     {{"D:\\L\\Skyrift", "Access is denied"}},
     "",
     "C:\\Program Files\\Skyrift",
     "C:\\Program Files\\Skyrift\\controls.txt",
     "",
     {},
     {"cannot keep log.txt in \"D:\\L\\Skyrift\": Access is denied; no log is kept",
      "cannot keep controls.txt in \"D:\\L\\Skyrift\": Access is denied; the default keys are read "
      "from \"C:\\Program Files\\Skyrift\\controls.txt\""}},
    {"Windows without an absolute LOCALAPPDATA (one relative to a drive's current folder is none):"
     " nothing written, the default keys",
     System::Windows,
     "C:\\Program Files\\Skyrift",
     {{"HOME", "C:\\Users\\Ann"}, {"LOCALAPPDATA", "C:AppData\\Local"}},
     {"C:\\Program Files\\Skyrift\\controls.txt"},
     {},
     {},
     "",
     "C:\\Program Files\\Skyrift",
     "C:\\Program Files\\Skyrift\\controls.txt",
     "",
     {},
     {"cannot keep log.txt: LOCALAPPDATA is not set to an absolute path; no log is kept",
      "cannot keep controls.txt: LOCALAPPDATA is not set to an absolute path; the default keys are "
      "read from "
      "\"C:\\Program Files\\Skyrift\\controls.txt\""}},
};

TEST(FilePlaces, EachCaseOfTheTable) {
  for (const Case& row : kCases) {
    SCOPED_TRACE(row.name);
    TableFileSystem system;
    system.variables = row.variables;
    system.files = row.files;
    system.others = row.others;
    system.writable = row.writable;
    system.unmakeable = row.unmakeable;
    system.copyFailure = row.copyFailure;
    const FilePlaces places = PlaceFiles(row.program, row.system, system);
    EXPECT_EQ(places.dataFolder, row.data);
    EXPECT_EQ(places.controlsFile, row.controls);
    EXPECT_EQ(places.logFile, row.log);
    EXPECT_EQ(system.copies, row.copies);
    EXPECT_EQ(places.problems, row.problems);
    // Nothing is made where the game stays portable, and one folder is made only once.
    const std::set<std::string> distinct(system.made.begin(), system.made.end());
    EXPECT_EQ(distinct.size(), system.made.size());
    if (!std::string(row.log).empty() && std::string(row.log).rfind(row.data, 0) == 0) {
      EXPECT_TRUE(system.made.empty());
    }
  }
}

// The volume is the player's, kept beside the player's controls: beside the program when it is
// portable, in the per-user folder otherwise, and nowhere when that folder cannot be made.
TEST(FilePlaces, SettingsLieBesideThePlayersControls) {
  struct Row {
    const char* name;
    System system;
    const char* program;
    std::set<std::string> files, writable;
    std::map<std::string, std::string> unmakeable;
    const char* settings;
  };
  const Row rows[] = {
      {"portable", System::Linux, "/g", kPortable, {"/g"}, {}, "/g/settings.txt"},
      {"installed", System::Linux, "/r/usr/games", kInstalled, {}, {}, "/cf/skyrift/settings.txt"},
      {"no folder of the player's",
       System::Linux,
       "/r/usr/games",
       kInstalled,
       {},
       {{"/cf/skyrift", "Permission denied"}},
       ""},
      {"Windows, read-only",
       System::Windows,
       "C:\\Program Files\\Skyrift",
       {"C:\\Program Files\\Skyrift\\controls.txt"},
       {},
       {},
       "D:\\L\\Skyrift\\settings.txt"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TableFileSystem system;
    system.variables = kXdg;
    system.variables["LOCALAPPDATA"] = "D:\\L";
    system.files = row.files;
    system.writable = row.writable;
    system.unmakeable = row.unmakeable;
    EXPECT_EQ(PlaceFiles(row.program, row.system, system).settingsFile, row.settings);
  }
}

}  // namespace
}  // namespace skyrift::platform
