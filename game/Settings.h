// The player's own settings, which are not the rules' and so not in controls.txt: the volume
// and whether it is muted, kept in settings.txt beside the player's controls.
#pragma once

#include <string>

namespace skyrift {

constexpr int kFullVolume = 10;

struct Settings {
  int volume = kFullVolume;  // 0 to kFullVolume
  bool muted = false;
  friend bool operator==(const Settings&, const Settings&) = default;
};

// The settings a file's text holds. A damaged text gives the defaults, with why in `problem`;
// a missing setting keeps its default.
Settings ParseSettings(const std::string& text, std::string& problem);
std::string SettingsText(const Settings& settings);

// Where settings.txt is (UTF-8; empty: the settings are not kept).
void SetSettingsFile(std::string path);
// The kept settings: the defaults when the file is missing, and when it is damaged, with one
// line on standard error.
Settings LoadSettings();
// Writes them for the next start; a file that cannot be written is named once.
void SaveSettings(const Settings& settings);

}  // namespace skyrift
