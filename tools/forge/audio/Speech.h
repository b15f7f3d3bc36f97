// The ship computer's spoken announcements: the speech synthesiser's words, made to sound as if
// they came over the ship's radio.
#pragma once

#include <string>

#include "audio/Effects.h"

namespace skyrift::forge::audio {

// Speaks `text` with flite's US English voice and processes it into the ship computer's voice:
// mono at the synthesiser's own rate. Returns false with a message on failure.
bool MakeAnnouncement(const std::string& text, Sound& sound, std::string& error);

}  // namespace skyrift::forge::audio
