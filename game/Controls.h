// The players' key bindings, read once from controls.txt.
#pragma once

#include <string>

namespace skyrift {

// Where the controls are read from (UTF-8; controls.txt in the working folder unless told), and
// the default read instead when that file cannot be read or binds no key (empty: none).
void SetControlsFile(std::string path, std::string defaultPath = {});
void LoadControls();
// Whether a player's action is bound to this key code.
bool BoundToAnAction(int code);
// For the keys of the game around play (pause, volume): a press of `code` since the last frame,
// where `wasDown` is the caller's memory of it. A key that went down, or was pressed again
// between two frames (let go or not); a held key is one press. A key bound to a player's action
// is never one, and is not even asked about: the question would use up a tap between frames
// that the player's action has yet to see.
bool PressedSinceLastFrame(int code, bool& wasDown);

}  // namespace skyrift
