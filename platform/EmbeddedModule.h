// The resource table the build embeds in the program with .incbin (resources/embed.cmake),
// for the layers that have no resource system of their own to ask.
#pragma once

#include "platform/Resources.h"

namespace skyrift::platform {

// The embedded resources; an empty module when the program was linked without them.
const ResourceModule* EmbeddedModule();

}  // namespace skyrift::platform
