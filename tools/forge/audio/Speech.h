// The ship computer's spoken announcements: the speech synthesiser's words, made to sound as if
// they came over the ship's radio.
#pragma once

#include <filesystem>
#include <string>

#include "audio/Effects.h"

namespace skyrift::forge::audio {

// Speaks `text` with espeak-ng (run as a child process writing to `scratchFile`, removed after)
// and processes it into the ship computer's voice. Returns false with a message on failure.
bool MakeAnnouncement(const std::string& text, const std::filesystem::path& scratchFile,
                      Sound& sound, std::string& error);

}  // namespace skyrift::forge::audio
