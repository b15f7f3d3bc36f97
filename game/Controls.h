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

}  // namespace skyrift
