#include "game/Settings.h"

#include <fstream>
#include <sstream>

#include "platform/Files.h"
#include "platform/Report.h"

namespace skyrift {
namespace {

std::string settingsFile;
bool writeFailureTold = false;

bool ReadNumber(const std::string& word, int low, int high, int& value) {
  if (word.empty() || word.size() > 2 || word.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoi(word);
  return value >= low && value <= high;
}

}  // namespace

Settings ParseSettings(const std::string& text, std::string& problem) {
  Settings settings;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string name, value, extra;
    words >> name >> value >> extra;
    if (name.empty() || name[0] == '#') continue;
    int read = 0;
    bool good = extra.empty();
    if (good && name == "volume") {
      good = ReadNumber(value, 0, kFullVolume, read);
      settings.volume = read;
    } else if (good && name == "muted") {
      good = ReadNumber(value, 0, 1, read);
      settings.muted = read == 1;
    } else {
      good = false;
    }
    if (!good) {
      // Only the line's number: the file's own bytes could be anything.
      problem = "line " + std::to_string(number) + " is not a setting";
      return Settings{};
    }
  }
  return settings;
}

std::string SettingsText(const Settings& settings) {
  return "# Skyrift's volume, 0 to " + std::to_string(kFullVolume) +
         ", and whether it is muted (1) or not (0)\nvolume " + std::to_string(settings.volume) +
         "\nmuted " + (settings.muted ? "1" : "0") + "\n";
}

void SetSettingsFile(std::string path) {
  settingsFile = std::move(path);
}

Settings LoadSettings() {
  if (settingsFile.empty()) return Settings{};
  std::ifstream file(platform::Utf8Path(settingsFile), std::ios::binary);
  if (!file) return Settings{};
  std::ostringstream text;
  text << file.rdbuf();
  std::string problem;
  const Settings settings = ParseSettings(text.str(), problem);
  if (!problem.empty()) {
    platform::ReportLine("Skyrift: \"" + settingsFile + "\" is damaged (" + problem +
                         "); the volume is full");
  }
  return settings;
}

void SaveSettings(const Settings& settings) {
  if (settingsFile.empty()) return;
  std::ofstream file(platform::Utf8Path(settingsFile), std::ios::binary | std::ios::trunc);
  file << SettingsText(settings);
  file.close();
  if (!file && !writeFailureTold) {
    writeFailureTold = true;
    platform::ReportLine("Skyrift: cannot write \"" + settingsFile +
                         "\"; the volume is not kept for the next start");
  }
}

}  // namespace skyrift
