// The players' key bindings, read once from controls.txt.
#pragma once

namespace skyrift {

void LoadControls();

}  // namespace skyrift
