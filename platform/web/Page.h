// What the web layer's files share: the page's own actions, and the entry points the page's
// script calls with its events.
#pragma once

namespace skyrift::platform {

// Fullscreen on or off, as F11 and Alt+Enter ask; the page must still be handling the key's
// event, since browsers grant fullscreen only then.
void ToggleFullscreen();

}  // namespace skyrift::platform

// Called by the page's script. The key's code is the event's keyCode, which is the Windows
// virtual-key code; `repeat` marks the events a held key repeats. The result tells the page to keep
// the browser's own action from the key.
extern "C" int SkyriftKey(int keyCode, int down, int altHeld, int repeat);
// The page was shown or hidden, or gained or lost the focus: `active` when it is shown and has
// the focus.
extern "C" void SkyriftActive(int active);
